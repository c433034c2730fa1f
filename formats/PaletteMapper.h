// The nearest-colour rule of nearestPaletteIndex (squared RGB distance,
// highest index on ties), answered without searching all 256 entries: the
// compiler maps every pixel through it, the picture code every new colour.
#pragma once

#include "formats/PalmPalette.h"

#include <array>
#include <vector>

namespace vv::formats {

class PaletteMapper {
public:
    PaletteMapper();

    // Same answer as nearestPaletteIndex for every colour; alpha is ignored.
    int indexOf(PaletteColour colour) const {
        if (!cubeShortcut_)
            return slowIndexOf(colour);
        const int r = colourRed(colour), g = colourGreen(colour), b = colourBlue(colour);
        const Cell& cell = cells_[(level_[r] * 6 + level_[g]) * 6 + level_[b]];
        int best = cell.cubeIndex;
        const int cr = r - cell.r, cg = g - cell.g, cb = b - cell.b;
        int bestDistance = cr * cr + cg * cg + cb * cb;
        for (int k = cell.firstCandidate; k < cell.endCandidate; ++k) {
            const Extra& e = candidates_[size_t(k)];
            const int dr = r - e.r, dg = g - e.g, db = b - e.b;
            const int d = dr * dr + dg * dg + db * db;
            if (d < bestDistance || (d == bestDistance && e.index > best)) {
                bestDistance = d;
                best = e.index;
            }
        }
        return best;
    }

private:
    struct Extra {
        int r, g, b, index;
    };
    struct Cell {
        int cubeIndex = -1;
        int r = 0, g = 0, b = 0;                  // the cube colour
        int firstCandidate = 0, endCandidate = 0; // into candidates_
    };
    int slowIndexOf(PaletteColour colour) const;

    // The palette is a 6-level colour cube plus a few extra colours. Squared
    // distance separates by axis, and no integer lies midway between two levels,
    // so the nearest cube colour is found per axis. Of the extras, each cell of
    // the cube (the colours whose nearest cube colour it is) keeps only those
    // that can come at least as near as its cube colour somewhere in the cell:
    // the difference of two squared distances is linear in the colour, so a
    // cell's corners decide it. Built from the shared table; if that ever stops
    // being a cube the mapper falls back to the full search.
    bool cubeShortcut_ = false;
    std::array<unsigned char, 256> level_{};
    std::array<Cell, 216> cells_{};
    std::vector<Extra> candidates_; // per cell, in ascending index order
};

} // namespace vv::formats
