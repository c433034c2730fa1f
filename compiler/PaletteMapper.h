// The nearest-colour rule of vv::nearestPaletteIndex (squared RGB distance,
// highest index on ties), answered without searching all 256 entries.
#pragma once

#include <QRgb>

#include <array>
#include <vector>

namespace vv::pdb {

class PaletteMapper {
public:
    PaletteMapper();

    // Same answer as vv::nearestPaletteIndex for every colour; alpha is ignored.
    int indexOf(QRgb colour) const {
        if (!m_cubeShortcut)
            return slowIndexOf(colour);
        const int r = qRed(colour), g = qGreen(colour), b = qBlue(colour);
        int best = m_cube[m_level[r]][m_level[g]][m_level[b]];
        const int cr = r - m_levelValue[m_level[r]], cg = g - m_levelValue[m_level[g]],
                  cb = b - m_levelValue[m_level[b]];
        int bestDistance = cr * cr + cg * cg + cb * cb;
        for (const Extra& e : m_extras) {
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
    int slowIndexOf(QRgb colour) const;

    // The palette is a 6-level colour cube plus a few extra colours. Squared
    // distance separates by axis, and no integer lies midway between two levels,
    // so the nearest cube colour is found per axis and only the extras need a
    // search. Built from the shared table; if that ever stops being a cube the
    // mapper falls back to the full search.
    bool m_cubeShortcut = false;
    std::array<unsigned char, 256> m_level{};
    std::array<int, 6> m_levelValue{};
    int m_cube[6][6][6]{};
    std::vector<Extra> m_extras;
};

} // namespace vv::pdb
