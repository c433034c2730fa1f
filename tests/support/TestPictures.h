// Pictures for tests: sheets whose pixels tell where they came from, plain
// fills, and a pixel-by-pixel comparison that names the first miss.
#pragma once

#include <QImage>
#include <QSize>
#include <gtest/gtest.h>

namespace vv::test {

// Every pixel differs from its neighbours, so a copy from the wrong place or at
// the wrong scale shows: red and green the low bytes of x and y, blue their
// high bits (and 0x80, so no pixel is black).
QRgb coordinateColour(int x, int y);

// A sheet of `size` with `colour(x, y)` at each pixel.
QImage coordinateSheet(QSize size, QRgb (*colour)(int, int) = coordinateColour);

QImage filled(QSize size, QRgb colour);

// Checks picture(x, y) == expected(x, y) everywhere, alpha aside; reports the first miss.
template <typename Expected>::testing::AssertionResult pixelsAre(const QImage& picture, Expected expected) {
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if ((picture.pixel(x, y) | 0xFF000000u) != (expected(x, y) | 0xFF000000u))
                return ::testing::AssertionFailure()
                       << "pixel (" << x << ", " << y << ") is " << std::hex << picture.pixel(x, y)
                       << ", expected " << expected(x, y);
    return ::testing::AssertionSuccess();
}

} // namespace vv::test
