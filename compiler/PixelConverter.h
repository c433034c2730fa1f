// Turns a picture into the stored rows of a Palm OS bitmap, pixel by pixel and
// without dithering: grey levels from r + g + b at 1, 2 and 4 bpp, the nearest
// system-palette index at 8 bpp, RGB565 by truncation at 16 bpp.
#pragma once

#include "compiler/Picture.h"
#include "formats/PaletteMapper.h"

#include <cstdint>
#include <optional>
#include <string>

namespace vv::pdb {

class PixelConverter {
public:
    // Bytes per stored row: whole 16-bit words.
    static int rowBytes(int width, int depth) { return (width * depth + 15) / 16 * 2; }

    // Grey index for r + g + b (0..765) at 1, 2 or 4 bpp; 0 is white.
    static int greyIndex(int sum, int depth);
    static std::uint16_t rgb565(formats::PaletteColour colour) {
        return std::uint16_t((formats::colourRed(colour) & 0xF8) << 8 |
                             (formats::colourGreen(colour) & 0xFC) << 3 | formats::colourBlue(colour) >> 3);
    }
    // The palette index at 8 bpp. A colour equal to the palette colour of
    // `transparentIndex` becomes exactly that index, so a transparency colour
    // that the palette holds more than once (black) still matches its pixels.
    int paletteIndex(formats::PaletteColour colour, std::optional<int> transparentIndex) const;

    // rowBytes x height bytes, rows top to bottom, MSB-first, padding zeroed.
    std::string convert(const Picture& picture, int depth, std::optional<int> transparentIndex = {}) const;

private:
    formats::PaletteMapper palette_;
};

} // namespace vv::pdb
