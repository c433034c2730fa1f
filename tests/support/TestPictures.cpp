#include "support/TestPictures.h"

namespace vv::test {

QRgb coordinateColour(int x, int y) {
    return qRgb(x & 0xFF, y & 0xFF, ((x >> 8) << 4) | (y >> 8) | 0x80);
}

QImage coordinateSheet(QSize size, QRgb (*colour)(int, int)) {
    QImage sheet(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            sheet.setPixel(x, y, colour(x, y));
    return sheet;
}

QImage filled(QSize size, QRgb colour) {
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(colour);
    return picture;
}

} // namespace vv::test
