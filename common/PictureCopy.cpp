#include "common/PictureCopy.h"

#include "common/Palette.h"

#include <QBuffer>
#include <QHash>
#include <QImageWriter>

#include <climits>

namespace vv {
namespace {

// Maps colours to an Indexed8 target's own table; pieces repeat few colours,
// so a per-copy cache keeps the nearest-colour search cheap.
class IndexMapper {
public:
    explicit IndexMapper(const QImage& target) : table_(target.colorTable()) {}

    int indexOf(QRgb colour) {
        colour |= 0xFF000000u;
        const auto found = cache_.constFind(colour);
        if (found != cache_.constEnd())
            return *found;
        int index = 0;
        if (table_ == palmColorTable()) {
            index = formats::nearestPaletteIndex(colour);
        } else {
            int best = INT_MAX;
            for (int i = table_.size() - 1; i >= 0; --i) {
                const int dr = qRed(colour) - qRed(table_[i]);
                const int dg = qGreen(colour) - qGreen(table_[i]);
                const int db = qBlue(colour) - qBlue(table_[i]);
                const int d = dr * dr + dg * dg + db * db;
                if (d < best) {
                    best = d;
                    index = i;
                }
            }
        }
        cache_.insert(colour, index);
        return index;
    }

private:
    QVector<QRgb> table_;
    QHash<QRgb, int> cache_;
};

// Formats that hold a pixel as one QRgb word, whose opaque values setPixel
// and pixel() store and return as they are.
bool isPlain32Bit(QImage::Format format) {
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
           format == QImage::Format_ARGB32_Premultiplied;
}

template <typename SourceAt> void writePixels(QImage& target, QPoint topLeft, QSize size, SourceAt sourceAt) {
    const QRect area = QRect(topLeft, size).intersected(target.rect());
    if (area.isEmpty())
        return;
    if (target.format() == QImage::Format_Indexed8) {
        IndexMapper mapper(target);
        for (int y = area.top(); y <= area.bottom(); ++y) {
            uchar* line = target.scanLine(y);
            for (int x = area.left(); x <= area.right(); ++x)
                line[x] = uchar(mapper.indexOf(sourceAt(x - topLeft.x(), y - topLeft.y())));
        }
        return;
    }
    // The 32-bit formats, every piece's among them, written along the line:
    // setPixel would store the same opaque value, one call and format check
    // per pixel.
    if (isPlain32Bit(target.format())) {
        for (int y = area.top(); y <= area.bottom(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(target.scanLine(y));
            for (int x = area.left(); x <= area.right(); ++x)
                line[x] = sourceAt(x - topLeft.x(), y - topLeft.y()) | 0xFF000000u;
        }
        return;
    }
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            target.setPixel(x, y, sourceAt(x - topLeft.x(), y - topLeft.y()) | 0xFF000000u);
}

// Every caller makes the pixel opaque; of these formats pixel() returns the
// stored value, or it with the alpha set.
QRgb pixelOrOutside(const QImage& source, int x, int y, QRgb outside) {
    if (x < 0 || y < 0 || x >= source.width() || y >= source.height())
        return outside;
    if (isPlain32Bit(source.format()))
        return reinterpret_cast<const QRgb*>(source.constScanLine(y))[x];
    return source.pixel(x, y);
}

} // namespace

void copyPixels(const QImage& source, const QRect& sourceRect, QImage& target, QPoint targetTopLeft,
                QRgb outside) {
    writePixels(target, targetTopLeft, sourceRect.size(), [&](int dx, int dy) {
        return pixelOrOutside(source, sourceRect.left() + dx, sourceRect.top() + dy, outside);
    });
}

void copyPixelsHalfSize(const QImage& source, const QRect& sourceRect, QImage& target, QPoint targetTopLeft,
                        QRgb outside) {
    const QSize half(sourceRect.width() / 2, sourceRect.height() / 2);
    writePixels(target, targetTopLeft, half, [&](int dx, int dy) {
        return pixelOrOutside(source, sourceRect.left() + 2 * dx, sourceRect.top() + 2 * dy, outside);
    });
}

QImage makeRgbPicture(QSize size, QRgb fill) {
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(fill | 0xFF000000u);
    return picture;
}

QImage makePalettePicture(QSize size, QRgb fill) {
    QImage picture(size, QImage::Format_Indexed8);
    picture.setColorTable(palmColorTable());
    picture.fill(uint(formats::nearestPaletteIndex(fill)));
    return picture;
}

QByteArray encodedPiece(const QImage& picture, QString* problem) {
    QImage image = picture;
    if (image.format() == QImage::Format_Indexed8 && image.colorCount() < 256) {
        QList<QRgb> table = image.colorTable();
        table.resize(256, qRgb(0, 0, 0));
        image.setColorTable(table);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "bmp");
    if (!writer.write(image) || bytes.isEmpty()) {
        *problem = writer.errorString();
        return {};
    }
    return bytes;
}

QByteArray encodedBitmap(const QImage& picture) {
    QString ignored; // a picture in memory always encodes
    return encodedPiece(picture.convertToFormat(QImage::Format_RGB32), &ignored);
}

QByteArray encodedPicture(const QImage& picture, const QString& path, QRgb transparency) {
    if (!path.endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
        return encodedBitmap(picture);
    QImage withAlpha = picture.convertToFormat(QImage::Format_ARGB32);
    const QRgb shown = transparency | 0xFF000000u;
    for (int y = 0; y < withAlpha.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(withAlpha.scanLine(y));
        for (int x = 0; x < withAlpha.width(); ++x)
            line[x] = (line[x] | 0xFF000000u) == shown ? (line[x] & 0x00FFFFFFu) : line[x] | 0xFF000000u;
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    writer.write(withAlpha);
    return bytes;
}

} // namespace vv
