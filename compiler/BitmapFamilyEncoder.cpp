#include "compiler/BitmapFamilyEncoder.h"

#include "compiler/BigEndian.h"

#include <algorithm>

namespace vv::pdb {
namespace {

constexpr quint16 flagCompressed = 0x8000;
constexpr quint16 flagTransparency = 0x2000;
constexpr quint16 flagDirectColor = 0x0400;

// Layout of the 16-byte separator that ends the chain for handhelds without
// high-density support and tells newer ones that density-2 members follow.
const QByteArray& separator() {
    static const QByteArray bytes = QByteArray::fromHex("0000000000000000ff01000000000000");
    return bytes;
}

void padTo(QByteArray& bytes, int multiple) {
    while (bytes.size() % multiple)
        bytes.append('\0');
}

} // namespace

std::optional<QByteArray> BitmapFamilyEncoder::encodeBitmap(const FamilyMember& m, QString* error) const {
    const int width = m.picture.width(), height = m.picture.height();
    if (width > 0x7FFF || height > 0x7FFF) {
        if (error)
            *error = QStringLiteral("a picture of %1 x %2 pixels is too large for a bitmap")
                         .arg(width)
                         .arg(height);
        return std::nullopt;
    }
    const int rowBytes = PixelConverter::rowBytes(width, m.depth);
    const int version = m.highDensity ? 3 : (m.depth <= 4 ? 1 : 2);
    const bool transparent =
        version >= 2 && ((m.depth == 8 && m.transparentIndex) || (m.depth == 16 && m.transparentColour));
    const QByteArray rows =
        m_converter.convert(m.picture, m.depth, m.depth == 8 ? m.transparentIndex : std::nullopt);

    QByteArray directInfo;
    if (version == 2 && m.depth == 16) {
        directInfo = QByteArray::fromHex("0506050000000000");
        if (m.transparentColour) {
            directInfo[5] = char(qRed(*m.transparentColour));
            directInfo[6] = char(qGreen(*m.transparentColour));
            directInfo[7] = char(qBlue(*m.transparentColour));
        }
    }

    // The data that follows the header (and the direct-colour info), compressed
    // when that is strictly smaller than the plain rows.
    QByteArray data = rows;
    bool compressed = false;
    int compressionType = 0;
    if (m.compress) {
        const qsizetype plainLength = rows.size() + directInfo.size();
        if (version < 3) {
            // Density-1 members keep scanline: older handhelds read nothing else.
            // The reference compiler's 16-bit size also counts the direct-colour info.
            const qsizetype sizeField =
                2 +
                BitmapCompression::compressedSize(Compression::Scanline, rows, rowBytes, height, false,
                                                  plainLength) +
                directInfo.size();
            if (sizeField < plainLength) {
                if (sizeField > 0xFFFF) {
                    if (error)
                        *error = QStringLiteral(
                                     "compressed too big for a version 2 bitmap (%1 bytes, at most 65535)")
                                     .arg(sizeField);
                    return std::nullopt;
                }
                data.clear();
                be::append16(data, quint32(sizeField));
                data.append(BitmapCompression::compress(Compression::Scanline, rows, rowBytes, height));
                compressed = true;
            }
        } else {
            // Version 3 bitmaps only exist on handhelds that read all three methods.
            // Sizes first; only the smallest (the first of equals) is built.
            qsizetype best = plainLength;
            for (const Compression method :
                 {Compression::Scanline, Compression::Rle, Compression::PackBits}) {
                // A count that reaches best - 4 has lost already: stop it there.
                const qsizetype size = 4 + BitmapCompression::compressedSize(method, rows, rowBytes, height,
                                                                             m.depth == 16, best - 4);
                if (size < best) {
                    best = size;
                    compressed = true;
                    compressionType = int(method);
                }
            }
            if (compressed) {
                data.clear();
                data.reserve(best);
                be::append32(data, quint32(best));
                data.append(BitmapCompression::compress(Compression(compressionType), rows, rowBytes, height,
                                                        m.depth == 16));
            }
        }
    }

    quint16 flags = 0;
    if (compressed)
        flags |= flagCompressed;
    if (transparent)
        flags |= flagTransparency;
    if (m.depth == 16)
        flags |= flagDirectColor;

    QByteArray out;
    out.reserve(24 + directInfo.size() + data.size() + 4);
    be::append16(out, quint32(width));
    be::append16(out, quint32(height));
    be::append16(out, quint32(rowBytes));
    be::append16(out, flags);
    out.append(char(m.depth));
    out.append(char(version));
    if (version < 3) {
        be::append16(out, 0); // next depth offset, set by the family
        out.append(char(version == 2 && m.depth == 8 && m.transparentIndex ? *m.transparentIndex & 0xFF : 0));
        out.append(char(0)); // compression type: scanline
        be::append16(out, 0);
        out.append(directInfo);
    } else {
        out.append(char(0x18));
        out.append(char(m.depth == 16 ? 1 : 0));
        out.append(char(0));
        out.append(char(compressionType));
        be::append16(out, highDensityValue);
        quint32 transparentValue = 0;
        if (m.depth == 8 && m.transparentIndex)
            transparentValue = quint32(*m.transparentIndex);
        else if (m.depth == 16 && m.transparentColour)
            transparentValue = PixelConverter::rgb565(*m.transparentColour);
        be::append32(out, transparentValue);
        be::append32(out, 0); // next bitmap offset, set by the family
    }
    out.append(data);
    return out;
}

std::optional<QByteArray> BitmapFamilyEncoder::encode(const QList<FamilyMember>& members, QString* error,
                                                      int* failedMember) const {
    QList<int> order(members.size());
    for (int i = 0; i < members.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        if (members[a].highDensity != members[b].highDensity)
            return !members[a].highDensity;
        return members[a].depth < members[b].depth;
    });
    const bool anyHigh =
        std::any_of(members.begin(), members.end(), [](const FamilyMember& m) { return m.highDensity; });

    QByteArray family;
    for (int k = 0; k < order.size(); ++k) {
        const FamilyMember& m = members[order[k]];
        std::optional<QByteArray> bitmap = encodeBitmap(m, error);
        if (!bitmap) {
            if (failedMember)
                *failedMember = order[k];
            return std::nullopt;
        }
        const bool last = k + 1 == order.size();
        if (!m.highDensity) {
            const bool followed = !last || anyHigh;
            padTo(*bitmap, followed ? 4 : 2);
            if (followed) {
                if (bitmap->size() / 4 > 0xFFFF) {
                    if (error)
                        *error = QStringLiteral("a bitmap of %1 bytes is too large for a family")
                                     .arg(bitmap->size());
                    if (failedMember)
                        *failedMember = order[k];
                    return std::nullopt;
                }
                be::set16(*bitmap, 10, quint32(bitmap->size() / 4));
            }
        } else {
            if (family.isEmpty() || !members[order[k - 1]].highDensity)
                family.append(separator());
            padTo(*bitmap, 4);
            if (!last)
                be::set32(*bitmap, 20, quint32(bitmap->size()));
        }
        family.append(*bitmap);
    }
    return family;
}

} // namespace vv::pdb
