#include "reports/bmp_writer.h"

#include <gtest/gtest.h>

#include <QImage>
#include <cstring>

#include "reports/page_frame.h"
#include "support/temp_folder.h"

namespace dorvel::reports {
namespace {

TEST(BmpWriter, HeaderFieldsOfA101PixelWideCapture) {
    QImage image(101, 7, QImage::Format_RGB32);
    image.fill(QColor(10, 20, 30));
    image.setPixelColor(0, 0, QColor(255, 0, 0));    // top-left: last row in the file
    image.setPixelColor(100, 6, QColor(0, 0, 255));  // bottom-right: first row
    const std::string b = EncodeBmp24(image);

    EXPECT_EQ(BmpStride(101), 304);
    ASSERT_EQ(b.size(), 54u + 304u * 7u);
    // "BM", the file size, reserved, the pixel offset; a 40-byte information
    // header: 101 x 7 bottom-up, one plane, 24 bits, uncompressed, 2128 bytes
    // of pixels, the rest zero.
    const std::string header = std::string(
                                   "BM\x86\x08\0\0\0\0\0\0\x36\0\0\0"
                                   "\x28\0\0\0\x65\0\0\0\x07\0\0\0\x01\0\x18\0"
                                   "\0\0\0\0\x50\x08\0\0",
                                   38) +
                               std::string(16, '\0');
    EXPECT_EQ(b.substr(0, 54), header);

    // First stored row is the bottom row, blue-green-red, padded with one zero byte.
    const size_t bottomRight = 54 + 100 * 3;
    EXPECT_EQ(static_cast<uint8_t>(b[bottomRight]), 255);
    EXPECT_EQ(static_cast<uint8_t>(b[bottomRight + 2]), 0);
    EXPECT_EQ(b[54 + 303], '\0');
    const size_t topLeft = 54 + 6 * 304;
    EXPECT_EQ(static_cast<uint8_t>(b[topLeft]), 0);
    EXPECT_EQ(static_cast<uint8_t>(b[topLeft + 2]), 255);
    EXPECT_EQ(static_cast<uint8_t>(b[topLeft + 3]), 30);  // next pixel's blue
}

TEST(BmpWriter, FileReadsBackAndASecondCaptureReplacesTheFirst) {
    test::TempFolder folder;
    const std::string path = folder.File("DATEN.BMP");
    for (const int width : {101, 4, 33}) {
        QImage image(width, 5, QImage::Format_RGB32);
        image.fill(Qt::white);
        for (int x = 0; x < width; ++x)
            image.setPixelColor(x, x % 5, QColor(x * 2 % 256, 100, 200));
        ASSERT_TRUE(WriteBmp24(path, image).ok());

        QImage back(QString::fromStdString(path), "BMP");
        ASSERT_FALSE(back.isNull()) << width;
        ASSERT_EQ(back.size(), image.size());
        for (int x = 0; x < width; ++x) {
            EXPECT_EQ(back.pixelColor(x, x % 5), image.pixelColor(x, x % 5)) << width << "," << x;
            EXPECT_EQ(back.pixelColor(x, (x + 1) % 5), QColor(Qt::white));
        }
    }
}

TEST(BmpWriter, CaptureViewTellsWhetherTheFileWasWritten) {
    test::TempFolder folder;
    QImage image(20, 10, QImage::Format_RGB32);
    image.fill(Qt::red);
    const CaptureOutcome done = CaptureView(folder.path(), kSummaryIndex, image);
    EXPECT_TRUE(done.write.ok());
    EXPECT_EQ(done.message, "Save Complete - ZUSAMMENFASSUNG.BMP");
    EXPECT_EQ(folder.Read("ZUSAMMENFASSUNG.BMP").size(), 54u + 60u * 10u);

    const CaptureOutcome failed = CaptureView(folder.File("missing"), kDataListIndex, image);
    EXPECT_FALSE(failed.write.ok());
    EXPECT_EQ(failed.message.find("Save Complete"), std::string::npos);
    EXPECT_NE(failed.message.find("DATEN.BMP"), std::string::npos);
}

}  // namespace
}  // namespace dorvel::reports
