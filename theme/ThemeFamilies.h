// The theme's bitmap families in the order the resource script lists them. The
// order is the launcher's, not numeric: 1000 (EE) opens, 2040 (F9) closes.
#pragma once

#include "theme/PieceTable.h"

#include <array>

namespace vv {

struct ThemeBitmapFamily {
    int id;         // before any screen prefix
    int pieceIndex; // into themePieceTable()

    const ThemePiece& piece() const { return themePieceTable()[pieceIndex]; }
};

inline constexpr int kThemeBitmapFamilyCount = kThemePieceCount;

const std::array<ThemeBitmapFamily, kThemeBitmapFamilyCount>& themeBitmapFamilies();

} // namespace vv
