#include "bmp_writer.h"

#include <cstdint>

#include "page_frame.h"

namespace dorvel::reports {

namespace {

void Put16(std::string& out, uint16_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>(v >> 8));
}

void Put32(std::string& out, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

}  // namespace

std::string EncodeBmp24(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    const int w = rgb.width();
    const int h = rgb.height();
    const uint32_t stride = static_cast<uint32_t>(BmpStride(w));
    const uint32_t imageSize = stride * static_cast<uint32_t>(h);
    const uint32_t headerSize = 14 + 40;

    std::string out;
    out.reserve(headerSize + imageSize);
    out += "BM";
    Put32(out, imageSize + headerSize);
    Put16(out, 0);
    Put16(out, 0);
    Put32(out, headerSize);

    Put32(out, 40);
    Put32(out, static_cast<uint32_t>(w));
    Put32(out, static_cast<uint32_t>(h));  // positive: rows bottom-up
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, 0);  // uncompressed
    Put32(out, imageSize);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);

    const size_t padding = stride - static_cast<uint32_t>(w) * 3;
    for (int y = h - 1; y >= 0; --y) {
        const uchar* row = rgb.constScanLine(y);
        for (int x = 0; x < w; ++x) {
            out.push_back(static_cast<char>(row[3 * x + 2]));
            out.push_back(static_cast<char>(row[3 * x + 1]));
            out.push_back(static_cast<char>(row[3 * x]));
        }
        out.append(padding, '\0');
    }
    return out;
}

WriteResult WriteBmp24(const std::string& path, const QImage& image) {
    return WriteFileAtomic(path, EncodeBmp24(image));
}

CaptureOutcome CaptureView(const std::string& dataFolder, int pageIndex, const QImage& grabbed) {
    CaptureOutcome outcome;
    const std::string_view name = CaptureFileName(pageIndex);
    outcome.path = dataFolder + "/" + std::string(name);
    outcome.write = WriteBmp24(outcome.path, grabbed);
    outcome.message = outcome.write.ok() ? CaptureCompleteMessage(name)
                                         : CaptureFailedMessage(name, outcome.write.detail);
    return outcome;
}

}  // namespace dorvel::reports
