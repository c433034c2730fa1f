#include "formats/PaletteMapper.h"

#include <algorithm>

namespace vv::formats {

PaletteMapper::PaletteMapper() {
    const auto& table = kPalmPaletteColours;
    constexpr int levels[6] = {0x00, 0x33, 0x66, 0x99, 0xCC, 0xFF};
    auto levelOf = [&](int v) {
        for (int i = 0; i < 6; ++i)
            if (levels[i] == v)
                return i;
        return -1;
    };
    std::vector<Extra> extras;
    for (int i = 0; i < 256; ++i) {
        const int r = colourRed(table[size_t(i)]), g = colourGreen(table[size_t(i)]),
                  b = colourBlue(table[size_t(i)]);
        const int lr = levelOf(r), lg = levelOf(g), lb = levelOf(b);
        if (lr >= 0 && lg >= 0 && lb >= 0) {
            Cell& cell = cells_[size_t((lr * 6 + lg) * 6 + lb)];
            cell.cubeIndex = i; // ascending, so equal colours keep their highest index
            cell.r = r;
            cell.g = g;
            cell.b = b;
            continue;
        }
        // Of equal extras only the highest index can win: ties go to it.
        extras.erase(std::remove_if(extras.begin(), extras.end(),
                                    [&](const Extra& e) { return e.r == r && e.g == g && e.b == b; }),
                     extras.end());
        extras.push_back({r, g, b, i});
    }
    cubeShortcut_ = std::all_of(cells_.begin(), cells_.end(), [](const Cell& c) { return c.cubeIndex >= 0; });
    for (int v = 0; v < 256; ++v)
        level_[size_t(v)] = static_cast<unsigned char>((v + 25) / 51);
    if (!cubeShortcut_)
        return;
    auto low = [](int level) { return std::max(0, 51 * level - 25); };
    auto high = [](int level) { return std::min(255, 51 * level + 25); };
    for (int lr = 0; lr < 6; ++lr)
        for (int lg = 0; lg < 6; ++lg)
            for (int lb = 0; lb < 6; ++lb) {
                Cell& cell = cells_[size_t((lr * 6 + lg) * 6 + lb)];
                cell.firstCandidate = int(candidates_.size());
                for (const Extra& e : extras) {
                    // d(c, e) - d(c, q) = |e|^2 - |q|^2 - 2 c.(e - q), smallest at
                    // the corner that goes furthest along e - q.
                    const int qe[3] = {e.r - cell.r, e.g - cell.g, e.b - cell.b};
                    const int lv[3] = {lr, lg, lb};
                    long long smallest = (long long)e.r * e.r + e.g * e.g + e.b * e.b -
                                         ((long long)cell.r * cell.r + cell.g * cell.g + cell.b * cell.b);
                    for (int axis = 0; axis < 3; ++axis)
                        smallest -= 2LL * qe[axis] * (qe[axis] > 0 ? high(lv[axis]) : low(lv[axis]));
                    if (smallest <= 0)
                        candidates_.push_back(e);
                }
                cell.endCandidate = int(candidates_.size());
            }
}

int PaletteMapper::slowIndexOf(PaletteColour colour) const {
    return nearestPaletteIndex(colour);
}

} // namespace vv::formats
