#include "compiler/PixelConverter.h"

#include "app/Palette.h"

#include <array>
#include <cstring>

namespace vv::pdb {
namespace {

struct GreyTables {
    std::array<std::array<unsigned char, 766>, 3> byDepth{}; // 1, 2, 4 bpp
    GreyTables() {
        for (int s = 0; s <= 765; ++s) {
            byDepth[0][s] = s <= 382 ? 1 : 0;
            byDepth[1][s] = s >= 671 ? 0 : s >= 481 ? 1 : s >= 193 ? 2 : 3;
            byDepth[2][s] = static_cast<unsigned char>(15 - (s + 25) / 51); // round(s / 51); never a tie
        }
    }
};

const GreyTables& greyTables() {
    static const GreyTables tables;
    return tables;
}

int slotOf(int depth) {
    return depth == 1 ? 0 : depth == 2 ? 1 : 2;
}

} // namespace

int PixelConverter::greyIndex(int sum, int depth) {
    return greyTables().byDepth[slotOf(depth)][sum];
}

int PixelConverter::paletteIndex(QRgb colour, std::optional<int> transparentIndex) const {
    if (transparentIndex && (colour & 0xFFFFFF) == (palmSystemPalette()[*transparentIndex] & 0xFFFFFF))
        return *transparentIndex;
    return m_palette.indexOf(colour);
}

QByteArray PixelConverter::convert(const Picture& picture, int depth,
                                   std::optional<int> transparentIndex) const {
    const int width = picture.width(), height = picture.height();
    const int stride = rowBytes(width, depth);
    QByteArray rows(qsizetype(stride) * height, Qt::Uninitialized);
    auto* out = reinterpret_cast<uchar*>(rows.data());
    // No picture colour has alpha 0 after the OR below, so this never matches
    // when there is no transparency index.
    const QRgb transparentColour =
        transparentIndex ? (palmSystemPalette()[*transparentIndex] | 0xFF000000u) : QRgb(0);
    for (int y = 0; y < height; ++y) {
        const QRgb* in = picture.row(y);
        uchar* row = out + qsizetype(y) * stride;
        std::memset(row, 0, size_t(stride));
        if (depth == 16) {
            for (int x = 0; x < width; ++x) {
                const quint16 v = rgb565(in[x]);
                row[2 * x] = uchar(v >> 8);
                row[2 * x + 1] = uchar(v);
            }
        } else if (depth == 8) {
            // Pictures are mostly runs of one colour: remember the last answer.
            QRgb last = ~in[0];
            uchar lastIndex = 0;
            for (int x = 0; x < width; ++x) {
                const QRgb c = in[x] | 0xFF000000u;
                if (c != last) {
                    last = c;
                    lastIndex = uchar(c == transparentColour ? *transparentIndex : m_palette.indexOf(c));
                }
                row[x] = lastIndex;
            }
        } else {
            const auto& table = greyTables().byDepth[slotOf(depth)];
            uchar* byte = row;
            int shift = 8 - depth;
            for (int x = 0; x < width; ++x) {
                const QRgb c = in[x];
                *byte |= uchar(table[qRed(c) + qGreen(c) + qBlue(c)] << shift);
                shift -= depth;
                if (shift < 0) {
                    shift = 8 - depth;
                    ++byte;
                }
            }
        }
    }
    return rows;
}

} // namespace vv::pdb
