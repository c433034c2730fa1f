#include "common/PictureCopy.h"
#include "common/Palette.h"

#include "support/TestPictures.h"

#include <gtest/gtest.h>

using namespace vv;

namespace {

// Every pixel tells where it came from.
QImage coordinateSheet(int w, int h) {
    return test::coordinateSheet({w, h}, [](int x, int y) { return qRgb(x, y, 7); });
}

} // namespace

TEST(PictureCopy, OneToOneWithPixelsOutsideTheSource) {
    const QImage sheet = coordinateSheet(10, 10);
    QImage target = makeRgbPicture({4, 3}, qRgb(1, 2, 3));
    copyPixels(sheet, QRect(8, -1, 4, 3), target, {0, 0}, qRgb(0, 255, 0));
    EXPECT_EQ(target.pixel(0, 0), qRgb(0, 255, 0)); // row -1
    EXPECT_EQ(target.pixel(0, 1), qRgb(8, 0, 7));
    EXPECT_EQ(target.pixel(1, 2), qRgb(9, 1, 7));
    EXPECT_EQ(target.pixel(2, 1), qRgb(0, 255, 0)); // column 10
    EXPECT_EQ(target.size(), QSize(4, 3));
}

TEST(PictureCopy, HalfSizeTakesTheEvenPixels) {
    const QImage sheet = coordinateSheet(20, 20);
    QImage target = makeRgbPicture({5, 5}, qRgb(0, 0, 0));
    copyPixelsHalfSize(sheet, QRect(4, 6, 10, 8), target, {0, 0}, qRgb(0, 255, 0));
    EXPECT_EQ(target.pixel(0, 0), qRgb(4, 6, 7));
    EXPECT_EQ(target.pixel(4, 3), qRgb(12, 12, 7));
    EXPECT_EQ(target.pixel(4, 4), qRgb(0, 0, 0)); // half of 8 rows is 4: row 4 untouched
}

// Whatever formats source and target have, a copied pixel is the source's
// colour made opaque, as pixel() reads it; translucent sources included.
TEST(PictureCopy, EveryFormatCopiesTheOpaqueColour) {
    QImage translucent(6, 4, QImage::Format_ARGB32);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            translucent.setPixel(x, y, qRgba(40 * x, 60 * y, 200, 50 * x));
    for (const QImage::Format from :
         {QImage::Format_RGB32, QImage::Format_ARGB32, QImage::Format_ARGB32_Premultiplied,
          QImage::Format_RGB888, QImage::Format_RGB16, QImage::Format_Indexed8}) {
        const QImage source = translucent.convertToFormat(from);
        for (const QImage::Format to : {QImage::Format_RGB32, QImage::Format_ARGB32,
                                        QImage::Format_ARGB32_Premultiplied, QImage::Format_RGB888}) {
            QImage target = makeRgbPicture({4, 3}, qRgb(1, 2, 3)).convertToFormat(to);
            copyPixels(source, QRect(3, 2, 4, 3), target, {0, 0}, qRgb(0, 255, 0));
            QImage half = makeRgbPicture({3, 2}, qRgb(1, 2, 3)).convertToFormat(to);
            copyPixelsHalfSize(source, QRect(0, 0, 6, 4), half, {0, 0}, qRgb(0, 255, 0));
            for (int y = 0; y < 3; ++y)
                for (int x = 0; x < 4; ++x) {
                    const QRgb expected =
                        x < 3 && y < 2 ? source.pixel(3 + x, 2 + y) | 0xFF000000u : qRgb(0, 255, 0);
                    EXPECT_EQ(target.pixel(x, y), expected)
                        << from << " to " << to << " at " << x << "," << y;
                }
            for (int y = 0; y < 2; ++y)
                for (int x = 0; x < 3; ++x)
                    EXPECT_EQ(half.pixel(x, y), source.pixel(2 * x, 2 * y) | 0xFF000000u)
                        << from << " to " << to << " at " << x << "," << y;
        }
    }
}

TEST(PictureCopy, IndexedTargetHoldsOnlyPaletteColours) {
    const QImage sheet = coordinateSheet(40, 40);
    QImage target = makePalettePicture({40, 40}, qRgb(0, 0, 0));
    copyPixels(sheet, sheet.rect(), target, {0, 0}, qRgb(0, 255, 0));
    ASSERT_EQ(target.format(), QImage::Format_Indexed8);
    ASSERT_EQ(target.colorCount(), 256);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(target.pixelIndex(x, y), formats::nearestPaletteIndex(sheet.pixel(x, y)));
}
