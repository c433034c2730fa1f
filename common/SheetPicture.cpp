#include "common/SheetPicture.h"

#include "formats/BmpHeader.h"
#include "platform/FileErrors.h"

#include <QBuffer>
#include <QImageReader>
#include <QtEndian>

#include <optional>
#include <string>
#include <string_view>

namespace vv {
namespace {

quint32 be32(const QByteArray& b, qsizetype at) {
    return qFromBigEndian<quint32>(b.constData() + at);
}

// PNG: every chunk lies inside the file, up to IEND.
QString incompletePng(const QByteArray& bytes) {
    qsizetype at = 8;
    while (at + 12 <= bytes.size()) {
        const qint64 length = be32(bytes, at);
        const QByteArray type = bytes.mid(at + 4, 4);
        at += 12 + length;
        if (at > bytes.size())
            break;
        if (type == "IEND")
            return {};
    }
    return QStringLiteral("the PNG file ends before its last chunk (IEND): it is cut short");
}

// JPEG: the end-of-image marker after the first scan. Inside a scan a 0xFF
// byte is always followed by 0x00 or a restart marker, so FF D9 there is the end.
QString incompleteJpeg(const QByteArray& bytes) {
    qsizetype at = 2;
    while (at + 4 <= bytes.size() && uchar(bytes[at]) == 0xFF) {
        const uchar marker = uchar(bytes[at + 1]);
        if (marker == 0xFF) { // fill byte
            ++at;
            continue;
        }
        if (marker == 0xDA) {
            if (bytes.indexOf(QByteArrayLiteral("\xFF\xD9"), at + 2) >= 0)
                return {};
            break;
        }
        at += 2 + qFromBigEndian<quint16>(bytes.constData() + at + 2);
    }
    return QStringLiteral("the JPEG file ends before its end-of-image marker: it is cut short");
}

// GIF: the block structure up to the trailer byte.
QString incompleteGif(const QByteArray& bytes) {
    const QString cut = QStringLiteral("the GIF file ends before its trailer: it is cut short");
    const auto u8 = [&](qsizetype at) { return at < bytes.size() ? int(uchar(bytes[at])) : -1; };
    // Sub-blocks: a size byte, that many bytes, until a size of 0.
    const auto skipSubBlocks = [&](qsizetype& at) {
        for (;;) {
            const int size = u8(at);
            if (size < 0)
                return false;
            at += 1 + size;
            if (size == 0)
                return true;
        }
    };
    const int screenFlags = u8(10);
    if (screenFlags < 0)
        return cut;
    qsizetype at = 13 + ((screenFlags & 0x80) ? 3 * (2 << (screenFlags & 7)) : 0);
    for (;;) {
        switch (u8(at)) {
        case 0x3B:
            return {};
        case 0x21:
            at += 2;
            if (!skipSubBlocks(at))
                return cut;
            break;
        case 0x2C: {
            const int flags = u8(at + 9);
            if (flags < 0)
                return cut;
            at += 10 + ((flags & 0x80) ? 3 * (2 << (flags & 7)) : 0) + 1; // descriptor, table, code size
            if (!skipSubBlocks(at))
                return cut;
            break;
        }
        case -1:
            return cut;
        default:
            return QStringLiteral("the GIF file holds an unknown block at byte %1").arg(at);
        }
    }
}

std::string_view viewOf(const QByteArray& bytes) {
    return {bytes.constData(), std::size_t(bytes.size())};
}

QString cutRunsText() {
    return QStringLiteral("the run-length bitmap data ends before its last row: the file is cut short");
}

QString cutPixelsText(const formats::BmpHeader& header, qint64 needed, qint64 fileSize) {
    return QStringLiteral("Bitmap pixel data incomplete: %1 x %2 at %3 bits needs %4 bytes, the file has %5")
        .arg(QString::number(header.width), QString::number(header.height), QString::number(header.bitCount),
             QString::number(needed), QString::number(fileSize));
}

// A BMP file checked as every reader of the program checks it, the data cut
// short in the sheet loader's own words.
QString bitmapProblem(const QByteArray& bytes) {
    if (!bytes.startsWith("BM"))
        return {};
    const formats::BmpCheck check = formats::checkBmpFile(viewOf(bytes));
    switch (check.fault) {
    case formats::BmpFault::None:
        return {};
    case formats::BmpFault::PixelsCut:
        if (!check.header.isRunLength())
            return cutPixelsText(check.header, check.pixelDataEnd(), bytes.size());
        return cutRunsText();
    case formats::BmpFault::RunsCut:
        return cutRunsText();
    case formats::BmpFault::Header:
    case formats::BmpFault::Table:
        break;
    }
    return QString::fromStdString(check.problem);
}

// The plainest BMP files (a 40-byte header, a full or shorter colour table
// right before the pixels, no compression, 1, 4, 8 or 24 bits) decoded here,
// as Qt's reader decodes them: asking Qt would first load every image plugin
// it has to learn that none of them claims the format, which costs more than
// the decoding. Anything else, a pixel naming a colour past the table too, is
// left to Qt. `bytes` has passed the whole file check.
std::optional<QImage> plainBitmap(std::string_view bytes) {
    const std::optional<formats::BmpHeader> found = formats::bmpHeaderOf(bytes, nullptr);
    if (!found)
        return std::nullopt;
    const formats::BmpHeader& h = *found;
    const int bits = h.bitCount;
    if (h.infoSize != 40 || h.compression != std::uint32_t(formats::BmpCompression::None) ||
        (bits != 1 && bits != 4 && bits != 8 && bits != 24))
        return std::nullopt;
    const std::uint32_t colours = h.colourCount();
    const std::int64_t tableEnd = h.tableOffset() + std::int64_t(colours) * h.colourEntrySize();
    if (colours > (bits > 8 ? 0u : 1u << bits) ||
        std::int64_t(h.dataOffset) != (bits > 8 ? h.tableOffset() : tableEnd) ||
        std::int64_t(h.dataOffset) + h.stride() * h.height > std::int64_t(bytes.size()))
        return std::nullopt;
    const auto* data = reinterpret_cast<const uchar*>(bytes.data());
    QRgb table[256];
    for (std::uint32_t i = 0; i < colours; ++i) {
        const uchar* entry = data + h.tableOffset() + 4 * i;
        table[i] = qRgb(entry[2], entry[1], entry[0]);
    }
    QImage picture(int(h.width), int(h.height), QImage::Format_RGB32);
    if (picture.isNull())
        return std::nullopt;
    const int perByte = bits <= 8 ? 8 / bits : 0;
    const uint mask = (1u << bits) - 1;
    const int width = picture.width(), height = picture.height();
    for (int y = 0; y < height; ++y) {
        const uchar* row = data + h.dataOffset + h.stride() * (h.topDown ? y : height - 1 - y);
        auto* out = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < width; ++x) {
            if (bits == 24) {
                out[x] = qRgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
                continue;
            }
            const int shift = 8 - bits * (x % perByte + 1);
            const uint index = (row[x / perByte] >> shift) & mask;
            if (index >= colours)
                return std::nullopt;
            out[x] = table[index];
        }
    }
    picture.setDotsPerMeterX(int(qFromLittleEndian<qint32>(data + 38)));
    picture.setDotsPerMeterY(int(qFromLittleEndian<qint32>(data + 42)));
    return picture;
}

} // namespace

QString incompletePictureProblem(const QByteArray& bytes) {
    if (bytes.startsWith("\x89PNG\r\n\x1A\n"))
        return incompletePng(bytes);
    if (bytes.startsWith("\xFF\xD8"))
        return incompleteJpeg(bytes);
    if (bytes.startsWith("GIF87a") || bytes.startsWith("GIF89a"))
        return incompleteGif(bytes);
    if (bytes.startsWith("BM") && formats::checkBmpFile(viewOf(bytes)).fault == formats::BmpFault::RunsCut)
        return cutRunsText();
    return {};
}

QString truncatedBitmapProblem(const QByteArray& head, qint64 fileSize) {
    const std::optional<formats::BmpHeader> header = formats::bmpHeaderOf(viewOf(head), nullptr);
    // Run-length data has no size that can be known up front.
    if (!header || header->isRunLength())
        return {};
    const qint64 needed = qint64(header->dataOffset) + header->pixelBytes();
    if (fileSize >= needed)
        return {};
    return cutPixelsText(*header, needed, fileSize);
}

SheetLoadResult loadSheetPicture(const QString& path, QRgb transparency) {
    SheetLoadResult result;
    QByteArray bytes;
    if (!readWholeFile(path, kLargestSheetFile, &bytes, &result.loaderMessage)) {
        result.status = SheetLoadResult::Status::Unreadable;
        return result;
    }
    return decodeSheetPicture(bytes, transparency);
}

SheetLoadResult decodeSheetPicture(const QByteArray& bytes, QRgb transparency) {
    SheetLoadResult result;
    // Decoders fill what a cut file lacks with black or leave it as it was,
    // often without a word; a sheet cut from such a picture builds wrong
    // pieces, so it is refused before decoding.
    QString damaged = bitmapProblem(bytes);
    if (damaged.isEmpty())
        damaged = incompletePictureProblem(bytes);
    if (!damaged.isEmpty()) {
        result.status = SheetLoadResult::Status::InvalidPicture;
        result.loaderMessage = damaged;
        return result;
    }
    if (bytes.startsWith("BM"))
        if (std::optional<QImage> plain = plainBitmap(viewOf(bytes))) {
            result.picture = std::move(*plain);
            return result;
        }
    // Qt's reader refuses the 52- and 56-byte info headers that the compiler
    // reads; widened to V4 they are the same picture to it.
    QBuffer buffer;
    if (const std::optional<std::string> widened = formats::withV4InfoHeader(viewOf(bytes)))
        buffer.setData(widened->data(), qsizetype(widened->size()));
    else
        buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    const qint64 limitBytes = qint64(QImageReader::allocationLimit()) * 1024 * 1024;
    if (size.isValid() && limitBytes > 0 && qint64(size.width()) * size.height() * 4 > limitBytes) {
        result.status = SheetLoadResult::Status::InvalidPicture;
        result.loaderMessage =
            QStringLiteral("the picture is %1 x %2 pixels, more than the %3 MB the picture "
                           "reader decodes")
                .arg(QString::number(size.width()), QString::number(size.height()),
                     QString::number(QImageReader::allocationLimit()));
        return result;
    }
    QImage image = reader.read();
    if (image.isNull()) {
        result.status = SheetLoadResult::Status::InvalidPicture;
        result.loaderMessage = reader.errorString();
        return result;
    }
    result.picture = opaqueSheet(image, transparency);
    return result;
}

QImage opaqueSheet(const QImage& image, QRgb transparency) {
    if (!image.hasAlphaChannel())
        return image.format() == QImage::Format_RGB32 ? image : image.convertToFormat(QImage::Format_RGB32);
    // Not premultiplied, so a half-transparent pixel keeps its own colour.
    QImage sheet = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb shown = transparency | 0xFF000000u;
    for (int y = 0; y < sheet.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(sheet.scanLine(y));
        for (int x = 0; x < sheet.width(); ++x)
            line[x] = qAlpha(line[x]) < 128 ? shown : line[x] | 0xFF000000u;
    }
    sheet.reinterpretAsFormat(QImage::Format_RGB32);
    return sheet;
}

} // namespace vv
