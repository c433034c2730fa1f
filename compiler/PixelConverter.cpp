#include "compiler/PixelConverter.h"

#include <array>

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

int PixelConverter::paletteIndex(formats::PaletteColour colour, std::optional<int> transparentIndex) const {
    if (transparentIndex &&
        (colour & 0xFFFFFF) == (formats::kPalmPaletteColours[size_t(*transparentIndex)] & 0xFFFFFF))
        return *transparentIndex;
    return palette_.indexOf(colour);
}

std::string PixelConverter::convert(const Picture& picture, int depth,
                                    std::optional<int> transparentIndex) const {
    const int width = picture.width(), height = picture.height();
    const int stride = rowBytes(width, depth);
    std::string rows(size_t(stride) * size_t(height), '\0'); // padding stays zero
    auto* out = reinterpret_cast<unsigned char*>(rows.data());
    // No picture colour has alpha 0 after the OR below, so this never matches
    // when there is no transparency index.
    const formats::PaletteColour transparentColour =
        transparentIndex ? (formats::kPalmPaletteColours[size_t(*transparentIndex)] | 0xFF000000u)
                         : formats::PaletteColour(0);
    for (int y = 0; y < height; ++y) {
        const formats::PaletteColour* in = picture.row(y);
        unsigned char* row = out + size_t(y) * size_t(stride);
        if (depth == 16) {
            for (int x = 0; x < width; ++x) {
                const std::uint16_t v = rgb565(in[x]);
                row[2 * x] = static_cast<unsigned char>(v >> 8);
                row[2 * x + 1] = static_cast<unsigned char>(v);
            }
        } else if (depth == 8) {
            // Pictures are mostly runs of one colour: remember the last answer.
            formats::PaletteColour last = ~in[0];
            unsigned char lastIndex = 0;
            for (int x = 0; x < width; ++x) {
                const formats::PaletteColour c = in[x] | 0xFF000000u;
                if (c != last) {
                    last = c;
                    lastIndex = static_cast<unsigned char>(c == transparentColour ? *transparentIndex
                                                                                  : palette_.indexOf(c));
                }
                row[x] = lastIndex;
            }
        } else {
            const auto& table = greyTables().byDepth[slotOf(depth)];
            unsigned char* byte = row;
            int shift = 8 - depth;
            for (int x = 0; x < width; ++x) {
                const formats::PaletteColour c = in[x];
                *byte |= static_cast<unsigned char>(
                    table[size_t(formats::colourRed(c) + formats::colourGreen(c) + formats::colourBlue(c))]
                    << shift);
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
