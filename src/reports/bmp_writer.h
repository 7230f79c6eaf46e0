#pragma once

#include <QImage>
#include <string>

#include "store/file_io.h"

namespace dorvel::reports {

// Bytes of one row of a 24-bit picture: 3 bytes per pixel, padded to 4.
inline int BmpStride(int width) {
    return ((width * 24 + 31) & ~31) / 8;
}

// The whole file: 14-byte file header, 40-byte information header, rows
// bottom-up in blue, green, red order, each padded to the stride; no colour
// table. Little-endian throughout.
std::string EncodeBmp24(const QImage& image);

// Writes the picture atomically (an existing file is replaced whole).
WriteResult WriteBmp24(const std::string& path, const QImage& image);

// "Capture View": the page's grabbed client area into its file in the data
// folder. The message is what the user is shown (caption "Merovan"): the
// completion text, or a plain failure when the file could not be written.
struct CaptureOutcome {
    WriteResult write;
    std::string path;
    std::string message;
};
CaptureOutcome CaptureView(const std::string& dataFolder, int pageIndex, const QImage& grabbed);

}  // namespace dorvel::reports
