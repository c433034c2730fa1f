#include "common/PictureCopy.h"

#include "common/Palette.h"
#include "formats/BmpHeader.h"
#include "formats/PaletteMapper.h"

#include <QBuffer>
#include <QHash>
#include <QImageWriter>

#include <algorithm>
#include <climits>
#include <optional>

namespace vv {
namespace {

const formats::PaletteMapper& palmMapper() {
    static const formats::PaletteMapper mapper;
    return mapper;
}

// Maps colours to an Indexed8 target's own table; pieces repeat few colours,
// so a per-copy cache keeps the nearest-colour search cheap.
class IndexMapper {
public:
    explicit IndexMapper(const QImage& target)
        : table_(target.colorTable()), palmTable_(table_ == palmColorTable()) {}

    int indexOf(QRgb colour) {
        colour |= 0xFF000000u;
        // Neighbours mostly share a colour.
        if (colour == lastColour_)
            return lastIndex_;
        lastColour_ = colour;
        const auto found = cache_.constFind(colour);
        if (found != cache_.constEnd())
            return lastIndex_ = *found;
        int index = 0;
        if (palmTable_) {
            index = palmMapper().indexOf(colour);
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
        return lastIndex_ = index;
    }

private:
    QVector<QRgb> table_;
    bool palmTable_;
    QHash<QRgb, int> cache_;
    QRgb lastColour_ = 0; // never asked for: every colour asked for is opaque
    int lastIndex_ = 0;
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

// A source's pixels, `outside` beyond its edges. Every caller makes the pixel
// opaque; of these formats pixel() returns the stored value, or it with the
// alpha set. The 32-bit formats are read from their memory directly, without
// a call per pixel.
class SourcePixels {
public:
    SourcePixels(const QImage& source, QRgb outside)
        : source_(source), outside_(outside), width_(source.width()), height_(source.height()),
          bits_(isPlain32Bit(source.format()) ? source.constBits() : nullptr),
          stride_(source.bytesPerLine()) {}

    QRgb at(int x, int y) const {
        if (x < 0 || y < 0 || x >= width_ || y >= height_)
            return outside_;
        if (bits_)
            return reinterpret_cast<const QRgb*>(bits_ + y * stride_)[x];
        return source_.pixel(x, y);
    }

private:
    const QImage& source_;
    const QRgb outside_;
    const int width_, height_;
    const uchar* const bits_;
    const qsizetype stride_;
};

} // namespace

void copyPixels(const QImage& source, const QRect& sourceRect, QImage& target, QPoint targetTopLeft,
                QRgb outside) {
    const SourcePixels pixels(source, outside);
    writePixels(target, targetTopLeft, sourceRect.size(),
                [&](int dx, int dy) { return pixels.at(sourceRect.left() + dx, sourceRect.top() + dy); });
}

void copyPixelsHalfSize(const QImage& source, const QRect& sourceRect, QImage& target, QPoint targetTopLeft,
                        QRgb outside) {
    const QSize half(sourceRect.width() / 2, sourceRect.height() / 2);
    const SourcePixels pixels(source, outside);
    writePixels(target, targetTopLeft, half, [&](int dx, int dy) {
        return pixels.at(sourceRect.left() + 2 * dx, sourceRect.top() + 2 * dy);
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
    picture.fill(uint(palmMapper().indexOf(fill)));
    return picture;
}

namespace {

// The two kinds of picture the program saves, written here: through Qt's
// writer every save would first load each image plugin there is. The bytes
// are those Qt's writer gives (a test compares them).
std::optional<QByteArray> plainBitmapFile(const QImage& picture) {
    const bool indexed = picture.format() == QImage::Format_Indexed8;
    if (!indexed && picture.format() != QImage::Format_RGB32)
        return std::nullopt;
    // Qt's writer fills in 72 dpi where a picture has no resolution.
    const auto resolution = [](int dotsPerMeter) { return dotsPerMeter ? dotsPerMeter : 2834; };
    const int bits = indexed ? 8 : 24;
    const std::uint32_t colours = indexed ? 256 : 0;
    const std::string head =
        formats::plainBmpHeaders(picture.width(), picture.height(), bits, colours,
                                 resolution(picture.dotsPerMeterX()), resolution(picture.dotsPerMeterY()));
    const qsizetype stride = (qsizetype(picture.width()) * bits + 31) / 32 * 4;
    QByteArray bytes(qsizetype(head.size()) + colours * 4 + stride * picture.height(), '\0');
    char* out = std::copy(head.begin(), head.end(), bytes.data());
    if (indexed) {
        const QList<QRgb> table = picture.colorTable();
        for (qsizetype i = 0; i < 256; ++i, out += 4) {
            const QRgb colour = i < table.size() ? table[i] : qRgb(0, 0, 0);
            out[0] = char(qBlue(colour));
            out[1] = char(qGreen(colour));
            out[2] = char(qRed(colour));
        }
    }
    const int width = picture.width();
    for (int y = picture.height() - 1; y >= 0; --y, out += stride) {
        const uchar* line = picture.constScanLine(y);
        if (indexed) {
            std::copy(line, line + width, out);
            continue;
        }
        const auto* pixels = reinterpret_cast<const QRgb*>(line);
        for (int x = 0; x < width; ++x) {
            out[3 * x] = char(qBlue(pixels[x]));
            out[3 * x + 1] = char(qGreen(pixels[x]));
            out[3 * x + 2] = char(qRed(pixels[x]));
        }
    }
    return bytes;
}

} // namespace

QByteArray encodedPiece(const QImage& picture, QString* problem) {
    if (std::optional<QByteArray> plain = plainBitmapFile(picture))
        return std::move(*plain);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "bmp");
    if (!writer.write(picture) || bytes.isEmpty()) {
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
