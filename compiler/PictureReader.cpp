#include "compiler/PictureReader.h"

#include "compiler/BmpDecoder.h"
#include "compiler/InputFile.h"

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

// Room for what some writers put after the pixels (an ICC profile, padding);
// anything beyond that is no picture this header describes.
constexpr qint64 trailingSlack = 1024 * 1024;
// The most a header, bit masks and a 256-colour table take before the pixels.
constexpr qint64 maxDataOffset = 14 + 124 + 16 + 256 * 4 + trailingSlack;

// Walks a run-length-encoded pixel stream as the decoder reads it and tells
// whether its bytes end while pixels are still missing. `fourBit` selects RLE4.
bool rleEndsEarly(const uchar* data, qint64 size, qint64 width, qint64 height, bool fourBit) {
    qint64 at = 0, x = 0, y = 0;
    auto complete = [&] { return y >= height || (y == height - 1 && x >= width); };
    while (y < height) {
        if (at >= size)
            return !complete();
        const int count = data[at++];
        if (count != 0) { // a run of one value
            if (at >= size)
                return !complete();
            ++at;
            x = qMin(width, x + count);
            continue;
        }
        if (at >= size)
            return !complete();
        const int code = data[at++];
        if (code == 0) { // end of line
            x = 0;
            ++y;
        } else if (code == 1) { // end of picture: the rest is left as it is on purpose
            return false;
        } else if (code == 2) { // move right and down
            if (at + 2 > size)
                return !complete();
            x = qMin(width - 1, x + data[at]);
            y = qMin(height - 1, y + data[at + 1]);
            at += 2;
        } else { // `code` literal pixels, padded to whole 16-bit words
            const qint64 bytes = fourBit ? (code + 1) / 2 : code;
            const qint64 padded = (bytes + 1) / 2 * 2;
            if (at + bytes > size)
                return true;
            at += qMin(padded, size - at);
            x = qMin(width, x + code);
        }
    }
    return false;
}

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
    if ((compression == 1 || compression == 2) &&
        rleEndsEarly(reinterpret_cast<const uchar*>(bytes.constData()) + dataOffset,
                     bytes.size() - dataOffset, width, height, compression == 2))
        return QStringLiteral("truncated BMP: the run-length-encoded pixel data ends before the last row");
    return {};
}

qint64 PictureReader::largestFileFor(const QByteArray& header) {
    if (header.size() < 26 || header[0] != 'B' || header[1] != 'M')
        return header.size();
    const qint64 dataOffset = le32(header, 10);
    const quint32 infoSize = le32(header, 14);
    qint64 width = 0, height = 0;
    int bitCount = 0;
    quint32 compression = 0;
    if (infoSize == 12) {
        width = le16(header, 18);
        height = le16(header, 20);
        bitCount = le16(header, 24);
    } else if (header.size() >= 14 + 40) {
        width = qint32(le32(header, 18));
        height = qint32(le32(header, 22));
        bitCount = le16(header, 28);
        compression = le32(header, 30);
    } else {
        return header.size(); // the full check names what is wrong
    }
    width = qBound<qint64>(0, width, maxPixels);
    height = qBound<qint64>(0, height < 0 ? -height : height, maxPixels);
    if (width * height > maxPixels || dataOffset > maxDataOffset)
        return header.size();
    // Run-length encoding at its worst: two bytes a pixel plus a line end.
    const qint64 pixelBytes = compression == 1 || compression == 2
                                  ? (2 * width + 2) * height + 2
                                  : (width * qBound(1, bitCount, 32) + 31) / 32 * 4 * height;
    return dataOffset + pixelBytes + trailingSlack;
}

std::optional<Picture> PictureReader::decode(const QByteArray& bytes, QString* error) {
    const QString problem = checkBmpHeader(bytes);
    if (!problem.isEmpty()) {
        if (error)
            *error = problem;
        return std::nullopt;
    }
    return decodeBmp(bytes, error);
}

std::optional<Picture> PictureReader::read(const QString& path, QString* error) {
    InputFile file;
    if (!file.open(path, error))
        return std::nullopt;
    // The header says how large the file may be before the whole is read.
    const std::optional<QByteArray> header = file.read(qMin<qint64>(file.size(), 14 + 40), error);
    if (!header)
        return std::nullopt;
    const qint64 largest = largestFileFor(*header);
    if (file.size() > largest) {
        if (error)
            *error = largest > header->size()
                         ? QStringLiteral("the file has %1 bytes, more than its BMP header accounts for (%2)")
                               .arg(file.size())
                               .arg(largest)
                         : checkBmpHeader(*header);
        if (error && error->isEmpty())
            *error = QStringLiteral("the BMP header does not describe a picture this compiler reads");
        return std::nullopt;
    }
    const std::optional<QByteArray> bytes = file.read(file.size(), error);
    if (!bytes)
        return std::nullopt;
    return decode(*bytes, error);
}

} // namespace vv::pdb
