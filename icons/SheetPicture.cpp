#include "icons/SheetPicture.h"

#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QtEndian>

namespace vv {
namespace {

constexpr int FileHeaderSize = 14;

qint64 le32(const QByteArray& b, int at) {
    return qFromLittleEndian<qint32>(b.constData() + at);
}
qint64 le16(const QByteArray& b, int at) {
    return qFromLittleEndian<quint16>(b.constData() + at);
}

} // namespace

QString truncatedBitmapProblem(const QByteArray& head, qint64 fileSize) {
    if (head.size() < FileHeaderSize + 12 || !head.startsWith("BM"))
        return {};
    const qint64 pixelOffset = le32(head, 10);
    const qint64 infoSize = le32(head, 14);
    qint64 width = 0, height = 0, bitCount = 0, compression = 0;
    if (infoSize == 12) { // OS/2 core header
        width = le16(head, 18);
        height = le16(head, 20);
        bitCount = le16(head, 24);
    } else if (infoSize >= 40 && head.size() >= FileHeaderSize + 20) {
        width = le32(head, 18);
        height = qAbs(le32(head, 22)); // negative: stored top-down
        bitCount = le16(head, 28);
        compression = le32(head, 30);
    } else {
        return {};
    }
    // 0 = uncompressed, 3/6 = bit fields: fixed-size rows. RLE sizes vary.
    if (compression != 0 && compression != 3 && compression != 6)
        return {};
    if (width <= 0 || height <= 0 || bitCount <= 0 || bitCount > 32)
        return {};
    const qint64 stride = ((width * bitCount + 31) / 32) * 4;
    const qint64 needed = pixelOffset + stride * height;
    if (fileSize >= needed)
        return {};
    return QStringLiteral("Bitmap pixel data incomplete: %1 x %2 at %3 bits needs %4 bytes, the file has %5")
        .arg(width)
        .arg(height)
        .arg(bitCount)
        .arg(needed)
        .arg(fileSize);
}

SheetLoadResult loadSheetPicture(const QString& path) {
    SheetLoadResult result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.status = SheetLoadResult::Status::Unreadable;
        result.loaderMessage = file.errorString();
        return result;
    }
    const QString truncated = truncatedBitmapProblem(file.peek(64), file.size());
    if (!truncated.isEmpty()) {
        result.status = SheetLoadResult::Status::InvalidPicture;
        result.loaderMessage = truncated;
        return result;
    }
    QImageReader reader(&file);
    QImage image = reader.read();
    if (image.isNull()) {
        result.status = SheetLoadResult::Status::InvalidPicture;
        result.loaderMessage = reader.errorString();
        return result;
    }
    if (image.hasAlphaChannel()) {
        QImage flat(image.size(), QImage::Format_RGB32);
        flat.fill(Qt::white);
        QPainter painter(&flat);
        painter.drawImage(0, 0, image);
        painter.end();
        image = flat;
    } else if (image.format() != QImage::Format_RGB32) {
        image = image.convertToFormat(QImage::Format_RGB32);
    }
    result.picture = image;
    return result;
}

} // namespace vv
