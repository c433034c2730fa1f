#include "compiler/PictureReader.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

namespace vv::pdb {
namespace {

quint32 le32(const QByteArray& b, int at) {
    const auto* p = reinterpret_cast<const uchar*>(b.constData()) + at;
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}
quint16 le16(const QByteArray& b, int at) {
    const auto* p = reinterpret_cast<const uchar*>(b.constData()) + at;
    return quint16(p[0] | p[1] << 8);
}

// Pictures larger than this are no handheld bitmap; refusing them early keeps a
// hostile header from asking for gigabytes.
constexpr qint64 maxPixels = 16 * 1024 * 1024;

} // namespace

QString PictureReader::checkBmpHeader(const QByteArray& bytes) {
    if (bytes.size() < 2 || bytes[0] != 'B' || bytes[1] != 'M')
        return QStringLiteral("not a Windows BMP picture");
    if (bytes.size() < 26)
        return QStringLiteral("truncated BMP header");
    const quint32 dataOffset = le32(bytes, 10);
    const quint32 infoSize = le32(bytes, 14);
    qint64 width = 0, height = 0;
    int bitCount = 0;
    quint32 compression = 0, imageSize = 0;
    if (infoSize == 12) {
        width = le16(bytes, 18);
        height = le16(bytes, 20);
        bitCount = le16(bytes, 24);
    } else if (infoSize >= 40) {
        if (bytes.size() < 14 + 40)
            return QStringLiteral("truncated BMP header");
        width = qint32(le32(bytes, 18));
        height = qint32(le32(bytes, 22));
        bitCount = le16(bytes, 28);
        compression = le32(bytes, 30);
        imageSize = le32(bytes, 34);
    } else {
        return QStringLiteral("unknown BMP header size %1").arg(infoSize);
    }
    if (14 + qint64(infoSize) > bytes.size())
        return QStringLiteral("truncated BMP header");
    height = height < 0 ? -height : height;
    if (width <= 0 || height <= 0)
        return QStringLiteral("BMP picture of %1 x %2 pixels").arg(width).arg(height);
    if (width * height > maxPixels)
        return QStringLiteral("BMP picture of %1 x %2 pixels is too large").arg(width).arg(height);
    qint64 needed = 0;
    if (compression == 0 || compression == 3 || compression == 6) { // plain rows or bit fields
        if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 &&
            bitCount != 32)
            return QStringLiteral("BMP with %1 bits per pixel").arg(bitCount);
        needed = (width * bitCount + 31) / 32 * 4 * height;
    } else if (compression == 1 || compression == 2) { // RLE8, RLE4: the header states the size
        needed = imageSize;
    } else {
        return QStringLiteral("BMP with unsupported compression %1").arg(compression);
    }
    if (qint64(dataOffset) + needed > bytes.size())
        return QStringLiteral("truncated BMP: the pixel data needs %1 bytes from offset %2, the file has %3")
            .arg(needed)
            .arg(dataOffset)
            .arg(bytes.size());
    return {};
}

std::optional<QImage> PictureReader::decode(const QByteArray& bytes, QString* error) {
    const QString problem = checkBmpHeader(bytes);
    if (!problem.isEmpty()) {
        if (error)
            *error = problem;
        return std::nullopt;
    }
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    QImage image = reader.read();
    if (image.isNull()) {
        if (error)
            *error = reader.errorString();
        return std::nullopt;
    }
    // Indexed pictures are mapped by the colours of their own table, which is
    // what this conversion does; alpha carries no meaning on the handheld.
    if (image.format() != QImage::Format_RGB32)
        image = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    return image;
}

std::optional<QImage> PictureReader::read(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return std::nullopt;
    }
    return decode(file.readAll(), error);
}

} // namespace vv::pdb
