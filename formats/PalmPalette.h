// The Palm OS 8-bit system palette as plain 0xFFRRGGBB integers, built when the
// program is compiled. The program's picture code and the resource compiler
// (which links no Qt) both map colours through this one table.
#pragma once

#include <array>
#include <climits>
#include <cstddef>
#include <cstdint>

namespace vv::formats {

// 0xAARRGGBB, the layout of a QRgb.
using PaletteColour = std::uint32_t;

constexpr int colourRed(PaletteColour c) {
    return int(c >> 16 & 0xFF);
}
constexpr int colourGreen(PaletteColour c) {
    return int(c >> 8 & 0xFF);
}
constexpr int colourBlue(PaletteColour c) {
    return int(c & 0xFF);
}
constexpr PaletteColour opaqueColour(int r, int g, int b) {
    return 0xFF000000u | PaletteColour(r & 0xFF) << 16 | PaletteColour(g & 0xFF) << 8 |
           PaletteColour(b & 0xFF);
}

namespace palette {

// Cube levels by level number: 0 is full intensity.
inline constexpr int cubeLevels[6] = {0xFF, 0xCC, 0x99, 0x66, 0x33, 0x00};

// The handheld's index of a cube colour; black sits at 230, not at 215.
constexpr int cubeIndex(int lr, int lg, int lb) {
    if (lr == 5 && lg == 5 && lb == 5)
        return 230;
    return 108 * (lb / 3) + 18 * lr + 6 * (lb % 3) + lg;
}

constexpr std::array<PaletteColour, 256> build() {
    std::array<PaletteColour, 256> table{};
    table.fill(opaqueColour(0, 0, 0));
    for (int lr = 0; lr < 6; ++lr)
        for (int lg = 0; lg < 6; ++lg)
            for (int lb = 0; lb < 6; ++lb)
                table[std::size_t(cubeIndex(lr, lg, lb))] =
                    opaqueColour(cubeLevels[lr], cubeLevels[lg], cubeLevels[lb]);
    constexpr int greys[] = {0x11, 0x22, 0x44, 0x55, 0x77, 0x88, 0xAA, 0xBB, 0xDD, 0xEE};
    for (int i = 0; i < 10; ++i)
        table[std::size_t(215 + i)] = opaqueColour(greys[i], greys[i], greys[i]);
    table[225] = opaqueColour(0xC0, 0xC0, 0xC0);
    table[226] = opaqueColour(0x80, 0x00, 0x00);
    table[227] = opaqueColour(0x80, 0x00, 0x80);
    table[228] = opaqueColour(0x00, 0x80, 0x00);
    table[229] = opaqueColour(0x00, 0x80, 0x80);
    return table;
}

} // namespace palette

// 256 entries: the 215 non-black colour-cube colours by the handheld's index rule,
// 15 greys and extras at 215..229, black at 230..255.
inline constexpr std::array<PaletteColour, 256> kPalmPaletteColours = palette::build();

// Nearest palette entry by squared RGB distance; on a tie the highest index wins,
// so black maps to 255. This is the rule the compiler uses for 8 bpp bitmaps.
inline int nearestPaletteIndex(PaletteColour colour) {
    const int r = colourRed(colour), g = colourGreen(colour), b = colourBlue(colour);
    int best = 255;
    int bestDistance = INT_MAX;
    for (int i = 255; i >= 0; --i) {
        const PaletteColour entry = kPalmPaletteColours[std::size_t(i)];
        const int dr = r - colourRed(entry), dg = g - colourGreen(entry), db = b - colourBlue(entry);
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
            if (distance == 0)
                break;
        }
    }
    return best;
}

} // namespace vv::formats
