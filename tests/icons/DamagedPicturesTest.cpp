// Pictures cut short are refused with the reason before anything is cut from
// them: decoders fill a missing part with black or leave it blank, mostly
// without a word.
#include "common/SheetPicture.h"

#include "support/TestFiles.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vv {
namespace {

// The transparency colour of the shipped options.
constexpr QRgb kGreen = 0xFF00FF00u;

QByteArray encoded(const char* format) {
    QImage picture(40, 30, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgb(x * 6, y * 8, (x * y) % 256));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    EXPECT_TRUE(writer.write(picture)) << format;
    return bytes;
}

TEST(DamagedPictures, APictureCutShortIsRefusedWithItsReason) {
    const struct {
        const char* label;
        QByteArray whole;
        const char* reason;
    } cases[] = {
        {"PNG", encoded("png"), "the PNG file ends before its last chunk (IEND)"},
        {"JPEG", encoded("jpeg"), "the JPEG file ends before its end-of-image marker"},
        {"GIF", test::readBytes(test::fixturePath("pictures/noise.gif")),
         "the GIF file ends before its trailer"},
        {"RLE8 BMP", test::readBytes(test::fixturePath("pictures/rle8.bmp")),
         "the run-length bitmap data ends before its last row"},
        {"24-bit BMP", encoded("bmp"), "Bitmap pixel data incomplete"},
    };
    QTemporaryDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        ASSERT_GT(c.whole.size(), 100);
        EXPECT_TRUE(decodeSheetPicture(c.whole, kGreen).loaded())
            << decodeSheetPicture(c.whole, kGreen).loaderMessage.toStdString();
        for (const qsizetype cut : {c.whole.size() / 2, c.whole.size() * 3 / 4}) {
            SCOPED_TRACE(cut);
            // Through the file, as every window and option loads sheets.
            const QString path = dir.filePath(QStringLiteral("cut-%1").arg(cut));
            ASSERT_TRUE(test::writeBytes(path, c.whole.left(cut)));
            const SheetLoadResult result = loadSheetPicture(path, kGreen);
            EXPECT_EQ(result.status, SheetLoadResult::Status::InvalidPicture);
            EXPECT_TRUE(result.loaderMessage.startsWith(QLatin1String(c.reason)))
                << result.loaderMessage.toStdString();
            EXPECT_TRUE(result.picture.isNull());
        }
    }
}

TEST(DamagedPictures, APictureOverTheReadersLimitSaysSo) {
    const int previous = QImageReader::allocationLimit();
    QImageReader::setAllocationLimit(1); // 1 MB: a 1000 x 1000 picture is 4 MB decoded
    QImage big(1000, 1000, QImage::Format_RGB32);
    big.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(big.save(&buffer, "png"));
    const SheetLoadResult result = decodeSheetPicture(bytes, kGreen);
    QImageReader::setAllocationLimit(previous);
    EXPECT_EQ(result.status, SheetLoadResult::Status::InvalidPicture);
    EXPECT_EQ(result.loaderMessage,
              "the picture is 1000 x 1000 pixels, more than the 1 MB the picture reader decodes");
}

} // namespace
} // namespace vv
