#include "compiler/BmpDecoder.h"

#include <algorithm>
#include <array>
#include <bit>

namespace vv::pdb {
namespace {

constexpr quint32 opaque = 0xFF000000u;

struct Reader {
    const uchar* data;
    qint64 size;
    quint32 le32(qint64 at) const {
        if (at < 0 || at + 4 > size)
            return 0;
        return quint32(data[at]) | quint32(data[at + 1]) << 8 | quint32(data[at + 2]) << 16 |
               quint32(data[at + 3]) << 24;
    }
    quint16 le16(qint64 at) const {
        if (at < 0 || at + 2 > size)
            return 0;
        return quint16(data[at] | data[at + 1] << 8);
    }
};

// One colour component of a bit-field mask, widened to 8 bits the way Qt's
// reader (Qt 6.4, which read the pictures before) does it: multiplied by
// 256 / (largest value + 1), so 5 bits v become v << 3 with the low bits zero
// (not v << 3 | v >> 2), 6 bits v << 2, and a mask of more than 8 bits gives 0.
// Measured against Qt by the compiler tests; keep it so that no picture's
// colours change.
struct Channel {
    quint32 mask = 0;
    int shift = 0;
    quint32 scale = 0;
    explicit Channel(quint32 m) : mask(m) {
        shift = mask ? std::countr_zero(mask) : 0;
        const quint32 top = mask >> shift;
        scale = top == 0xFFFFFFFFu ? 0 : 256 / (top + 1);
    }
    quint32 operator()(quint32 pixel) const { return ((pixel & mask) >> shift) * scale; }
};

} // namespace

std::optional<Picture> decodeBmp(const QByteArray& bytes, QString* error) {
    auto fail = [&](const QString& text) -> std::optional<Picture> {
        if (error)
            *error = text;
        return std::nullopt;
    };
    const Reader in{reinterpret_cast<const uchar*>(bytes.constData()), bytes.size()};
    const quint32 dataOffset = in.le32(10);
    const quint32 infoSize = in.le32(14);
    qint64 width = 0, height = 0;
    int bitCount = 0;
    quint32 compression = 0, coloursUsed = 0;
    if (infoSize == 12) {
        width = qint16(in.le16(18));
        height = qint16(in.le16(20));
        bitCount = in.le16(24);
    } else if (infoSize == 40 || infoSize == 64 || infoSize == 108 || infoSize == 124) {
        width = qint32(in.le32(18));
        height = qint32(in.le32(22));
        bitCount = in.le16(28);
        compression = in.le32(30);
        coloursUsed = in.le32(46);
    } else {
        return fail(QStringLiteral("unknown BMP header size %1").arg(infoSize));
    }
    const bool topDown = height < 0;
    height = topDown ? -height : height;
    if (width <= 0 || height <= 0)
        return fail(QStringLiteral("BMP picture of %1 x %2 pixels").arg(width).arg(height));
    const bool rle = compression == 1 || compression == 2;
    if (!(compression == 0 || (bitCount == 8 && compression == 1) || (bitCount == 4 && compression == 2) ||
          ((bitCount == 16 || bitCount == 32) && (compression == 3 || compression == 6))))
        return fail(
            QStringLiteral("BMP with %1 bits per pixel and compression %2").arg(bitCount).arg(compression));

    // Where the colour table or the bit masks end, the pixel data begins at the
    // latest; a data offset pointing back into them is not followed.
    qint64 at = 14 + qint64(infoSize);
    std::array<quint32, 256> table{};
    table.fill(opaque); // indices beyond the table show black
    quint32 masks[4] = {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0};
    if (bitCount <= 8) {
        const quint32 colours = coloursUsed ? coloursUsed : 1u << bitCount;
        if (colours > 256)
            return fail(QStringLiteral("BMP colour table of %1 entries").arg(colours));
        const int entry = infoSize == 12 ? 3 : 4;
        if (at + qint64(colours) * entry >= in.size)
            return fail(QStringLiteral("truncated BMP colour table"));
        for (quint32 i = 0; i < colours; ++i, at += entry)
            table[i] = opaque | quint32(in.data[at + 2]) << 16 | quint32(in.data[at + 1]) << 8 | in.data[at];
    } else if (compression == 3 || compression == 6) {
        const qint64 maskAt = 14 + 40;
        for (int i = 0; i < (compression == 6 || infoSize >= 108 ? 4 : 3); ++i)
            masks[i] = in.le32(maskAt + 4 * i);
        if (infoSize == 40)
            at = maskAt + (compression == 6 ? 16 : 12);
        for (const quint32 mask : masks)
            if (mask == 0xFFFFFFFFu) // no room left for a scale: Qt refused these
                return fail(QStringLiteral("BMP bit mask %1").arg(mask, 8, 16, QLatin1Char('0')));
    } else if (bitCount == 16) {
        masks[0] = 0x7C00;
        masks[1] = 0x03E0;
        masks[2] = 0x001F;
    }
    at = std::max<qint64>(at, dataOffset);

    Picture picture{int(width), int(height)};
    auto outRow = [&](qint64 stored) { // stored rows run bottom-up unless the height is negative
        return picture.row(int(topDown ? stored : height - 1 - stored));
    };
    const uchar* data = in.data + at;
    const qint64 available = in.size - at;

    if (rle) {
        // Unwritten pixels keep index 0, as they do in Qt's reader.
        std::vector<uchar> indices(size_t(width * height), 0);
        const bool four = compression == 2;
        qint64 x = 0, y = 0, i = 0;
        auto put = [&](int value) {
            if (x < width)
                indices[size_t(y * width + x)] = uchar(value);
            ++x;
        };
        while (y < height && i < available) {
            int count = data[i++];
            if (count) {
                if (i >= available)
                    break;
                const int value = data[i++];
                count = int(std::min<qint64>(count, width - x));
                for (int k = 0; k < count; ++k)
                    put(four ? (k % 2 ? value & 0x0F : value >> 4) : value);
                continue;
            }
            if (i >= available)
                break;
            const int code = data[i++];
            if (code == 0) {
                x = 0;
                ++y;
            } else if (code == 1) {
                break;
            } else if (code == 2) {
                const int dx = i < available ? data[i] : 0;
                const int dy = i + 1 < available ? data[i + 1] : 0;
                i += 2;
                x = std::min(width - 1, x + dx);
                y = std::min(height - 1, y + dy);
            } else {
                const int count2 = int(std::min<qint64>(code, width - x));
                const qint64 bytesIn = four ? (code + 1) / 2 : code;
                for (int k = 0; k < count2 && (four ? i + k / 2 : i + k) < available; ++k)
                    put(four ? (k % 2 ? data[i + k / 2] & 0x0F : data[i + k / 2] >> 4) : data[i + k]);
                i += (bytesIn + 1) / 2 * 2;
            }
        }
        for (qint64 row = 0; row < height; ++row) {
            quint32* out = outRow(row);
            const uchar* src = indices.data() + row * width;
            for (qint64 px = 0; px < width; ++px)
                out[px] = table[src[px]];
        }
        return picture;
    }

    const qint64 stride = (width * bitCount + 31) / 32 * 4;
    if (stride * height > available)
        return fail(QStringLiteral("truncated BMP pixel data"));
    const Channel red(masks[0]), green(masks[1]), blue(masks[2]);
    const bool plain32 =
        bitCount == 32 && masks[0] == 0x00FF0000u && masks[1] == 0x0000FF00u && masks[2] == 0x000000FFu;
    for (qint64 row = 0; row < height; ++row) {
        const uchar* src = data + row * stride;
        quint32* out = outRow(row);
        switch (bitCount) {
        case 1:
            for (qint64 px = 0; px < width; ++px)
                out[px] = table[(src[px >> 3] >> (7 - (px & 7))) & 1];
            break;
        case 4:
            for (qint64 px = 0; px < width; ++px)
                out[px] = table[px & 1 ? src[px >> 1] & 0x0F : src[px >> 1] >> 4];
            break;
        case 8:
            for (qint64 px = 0; px < width; ++px)
                out[px] = table[src[px]];
            break;
        case 24:
            for (qint64 px = 0; px < width; ++px, src += 3)
                out[px] = opaque | quint32(src[2]) << 16 | quint32(src[1]) << 8 | src[0];
            break;
        case 16:
            for (qint64 px = 0; px < width; ++px, src += 2) {
                const quint32 v = quint32(src[0] | src[1] << 8);
                out[px] = opaque | red(v) << 16 | green(v) << 8 | blue(v);
            }
            break;
        default: // 32
            for (qint64 px = 0; px < width; ++px, src += 4) {
                const quint32 v =
                    quint32(src[0]) | quint32(src[1]) << 8 | quint32(src[2]) << 16 | quint32(src[3]) << 24;
                out[px] =
                    plain32 ? (opaque | (v & 0xFFFFFF)) : (opaque | red(v) << 16 | green(v) << 8 | blue(v));
            }
        }
    }
    return picture;
}

} // namespace vv::pdb
