#include "compiler/BitmapDecoder.h"

#include "compiler/BitmapCompression.h"
#include "formats/Endian.h"
#include "formats/PalmPalette.h"

namespace vv::pdb {
namespace {

constexpr int kMaxMembers = 64;

} // namespace

int DecodedBitmap::storedValue(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height)
        return -1;
    const auto* row = reinterpret_cast<const uchar*>(rows.constData()) + qsizetype(y) * rowBytes;
    if (depth == 16)
        return row[2 * x] << 8 | row[2 * x + 1];
    const int perByte = 8 / depth;
    return (row[x / perByte] >> (8 - depth * (x % perByte + 1))) & ((1 << depth) - 1);
}

QList<QRgb> BitmapDecoder::greyTable(int depth) {
    // The levels the compiler's thresholds are centred on.
    switch (depth) {
    case 1:
        return {qRgb(255, 255, 255), qRgb(0, 0, 0)};
    case 2:
        return {qRgb(255, 255, 255), qRgb(0xC0, 0xC0, 0xC0), qRgb(0x80, 0x80, 0x80), qRgb(0, 0, 0)};
    default: {
        QList<QRgb> table;
        for (int i = 0; i < 16; ++i)
            table.push_back(qRgb(255 - 17 * i, 255 - 17 * i, 255 - 17 * i));
        return table;
    }
    }
}

namespace {

// The fixed header and what its version adds; `at` ends where the fields
// before the pixel data begin. Empty when sound, else what is wrong.
QString readHeader(std::string_view resource, int offset, DecodedBitmap& b, qsizetype& at) {
    const auto size = qsizetype(resource.size());
    if (offset < 0 || offset + 16 > size)
        return QStringLiteral("header runs past the end of the resource");
    b.offset = offset;
    b.width = qint16(formats::be::read16(resource, offset));
    b.height = qint16(formats::be::read16(resource, offset + 2));
    b.rowBytes = formats::be::read16(resource, offset + 4);
    b.flags = formats::be::read16(resource, offset + 6);
    b.depth = uchar(resource[offset + 8]);
    b.version = uchar(resource[offset + 9]);
    if (b.version > 3)
        return QStringLiteral("unknown version %1").arg(b.version);
    if (b.version == 0)
        b.depth = 1;
    if (b.depth != 1 && b.depth != 2 && b.depth != 4 && b.depth != 8 && b.depth != 16)
        return QStringLiteral("unknown depth %1").arg(b.depth);
    if (b.width < 0 || b.height < 0)
        return QStringLiteral("negative size");
    if (b.rowBytes != (b.width * b.depth + 15) / 16 * 2)
        return QStringLiteral("rowBytes %1 does not fit width %2 at %3 bpp")
            .arg(b.rowBytes)
            .arg(b.width)
            .arg(b.depth);
    b.compressed = b.flags & 0x8000;
    b.hasTransparency = b.flags & 0x2000;
    at = offset + 16;
    if (b.version == 1 || b.version == 2) {
        b.nextOffset = quint32(formats::be::read16(resource, offset + 10)) * 4;
        if (b.version == 2) {
            b.transparentValue = uchar(resource[offset + 12]);
            b.compressionType = uchar(resource[offset + 13]);
        }
    } else if (b.version == 3) {
        if (offset + 24 > size)
            return QStringLiteral("version 3 header runs past the end of the resource");
        const int headerSize = uchar(resource[offset + 10]);
        if (headerSize < 24)
            return QStringLiteral("version 3 header size %1").arg(headerSize);
        b.compressionType = uchar(resource[offset + 13]);
        b.density = formats::be::read16(resource, offset + 14);
        b.transparentValue = formats::be::read32(resource, offset + 16);
        b.nextOffset = formats::be::read32(resource, offset + 20);
        at = offset + headerSize;
    }
    return {};
}

// The colour table (skipped: the pixels stay indices) and the direct-colour
// info between the header and the pixel data.
QString readHeaderExtras(std::string_view resource, DecodedBitmap& b, qsizetype& at) {
    const auto size = qsizetype(resource.size());
    if (b.flags & 0x4000) {
        if (at + 2 > size)
            return QStringLiteral("colour table runs past the end");
        at += 2 + qsizetype(formats::be::read16(resource, at)) * 4;
    }
    if (b.version == 2 && b.depth == 16) {
        if (at + 8 > size)
            return QStringLiteral("direct-colour info runs past the end");
        b.transparentColour = qRgb(uchar(resource[at + 5]), uchar(resource[at + 6]), uchar(resource[at + 7]));
        b.transparentValue =
            quint32((qRed(b.transparentColour) & 0xF8) << 8 | (qGreen(b.transparentColour) & 0xFC) << 3 |
                    qBlue(b.transparentColour) >> 3);
        at += 8;
    }
    if (at > size)
        return QStringLiteral("header runs past the end of the resource");
    return {};
}

// The stored rows, decompressed when the flags say so; `at` ends after them.
QString readRows(std::string_view resource, DecodedBitmap& b, qsizetype& at) {
    const auto size = qsizetype(resource.size());
    if (!b.compressed) {
        const qsizetype plain = qsizetype(b.rowBytes) * b.height;
        if (at + plain > size)
            return QStringLiteral("pixel data runs past the end of the resource");
        b.rows = qtBytes(resource.substr(size_t(at), size_t(plain)));
        at += plain;
        return {};
    }
    const int prefix = b.version == 3 ? 4 : 2;
    if (at + prefix > size)
        return QStringLiteral("compressed-size field runs past the end");
    b.sizeField = prefix == 4 ? formats::be::read32(resource, at) : formats::be::read16(resource, at);
    at += prefix;
    const Compression method = b.version <= 1 ? Compression::Scanline : Compression(b.compressionType);
    if (b.version >= 2 && b.compressionType > 2)
        return QStringLiteral("unknown compression type %1").arg(b.compressionType);
    std::ptrdiff_t consumed = 0;
    std::optional<std::string> rows = BitmapCompression::decompress(
        method, resource.data() + at, size - at, b.rowBytes, b.height, b.depth == 16, &consumed);
    if (!rows)
        return QStringLiteral("compressed data is cut short or invalid");
    b.rows = qtBytes(*rows);
    at += consumed;
    return {};
}

// The rows as a picture: 16 bits widened to RGB32, lower depths as indices
// into the grey levels or the system palette.
QImage imageOf(const DecodedBitmap& b) {
    if (b.depth == 16) {
        QImage image(b.width, b.height, QImage::Format_RGB32);
        for (int y = 0; y < b.height; ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < b.width; ++x) {
                const int v = b.storedValue(x, y);
                const int r = v >> 11, g = (v >> 5) & 0x3F, bl = v & 0x1F;
                line[x] = qRgb(r << 3 | r >> 2, g << 2 | g >> 4, bl << 3 | bl >> 2);
            }
        }
        return image;
    }
    QImage image(b.width, b.height, QImage::Format_Indexed8);
    image.setColorTable(
        b.depth == 8 ? QList<QRgb>(formats::kPalmPaletteColours.begin(), formats::kPalmPaletteColours.end())
                     : BitmapDecoder::greyTable(b.depth));
    for (int y = 0; y < b.height; ++y) {
        uchar* line = image.scanLine(y);
        for (int x = 0; x < b.width; ++x)
            line[x] = uchar(b.storedValue(x, y));
    }
    return image;
}

} // namespace

std::optional<DecodedBitmap> BitmapDecoder::decodeBitmap(std::string_view resource, int offset,
                                                         QString* error) {
    DecodedBitmap b;
    qsizetype at = 0;
    QString problem = readHeader(resource, offset, b, at);
    if (problem.isEmpty())
        problem = readHeaderExtras(resource, b, at);
    if (problem.isEmpty())
        problem = readRows(resource, b, at);
    if (!problem.isEmpty()) {
        if (error)
            *error = QStringLiteral("bitmap at offset %1: %2").arg(offset).arg(problem);
        return std::nullopt;
    }
    b.length = int(at - offset);
    b.image = imageOf(b);
    return b;
}

std::optional<DecodedFamily> BitmapDecoder::decodeFamily(std::string_view resource, QString* error) {
    DecodedFamily family;
    qsizetype offset = 0;
    for (int guard = 0; guard < kMaxMembers; ++guard) {
        if (offset + 16 <= qsizetype(resource.size()) && uchar(resource[offset + 8]) == 0xFF &&
            resource[offset + 9] == 1) {
            if (family.separatorOffset >= 0) {
                if (error)
                    *error = QStringLiteral("a second separator at offset %1").arg(offset);
                return std::nullopt;
            }
            family.separatorOffset = int(offset);
            offset += 16;
            continue;
        }
        std::optional<DecodedBitmap> member = decodeBitmap(resource, int(offset), error);
        if (!member)
            return std::nullopt;
        family.members.push_back(*member);
        if (member->nextOffset == 0)
            return family;
        if (member->nextOffset < quint32(member->length) ||
            quint64(offset) + member->nextOffset >= quint64(resource.size())) {
            if (error)
                *error = QStringLiteral("bitmap at offset %1: next offset %2 does not lead to another member")
                             .arg(offset)
                             .arg(member->nextOffset);
            return std::nullopt;
        }
        offset += member->nextOffset;
    }
    if (error)
        *error = QStringLiteral("more than %1 members").arg(kMaxMembers);
    return std::nullopt;
}

} // namespace vv::pdb
