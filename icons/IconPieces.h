// The piece files the two builds save from the icon slots, read off the slot
// table: names relative to the start directory with "/" separators, and a copy
// of each slot's picture at the moment of the call.
#pragma once

#include "common/BuildOptions.h"
#include "common/LowArtOnly.h"
#include "common/PieceFile.h"
#include "icons/IconBoard.h"

#include <QList>

namespace vv {

// The icon set's 24 pieces, in saving order: the 12 main slots to
// IconRsrc/Icon03E1..Icon03EB, then their 12 OS5 partners to
// IconRsrc/Icon04H1..Icon04HB, both in family order.
QList<PieceFile> iconSetPieces(const IconBoard& board);

// The theme's 20 low-density icons in saving order: Icon03E0..Icon03EH from the
// main window's Image6..Image23, then Icon13EH (Image43) and Icon23EH (Image44).
QList<PieceFile> themeLowIconPieces(const IconBoard& board);

// The theme's 20 high-density icons in saving order: Icon04H0..Icon04HH from the
// OS5 window's Image13..Image30, then Icon24HH (Image51) and Icon14HH (Image53);
// the OS5 window saves its controls in number order.
QList<PieceFile> themeHighIconPieces(const IconBoard& board);

// The slots of `use` whose own art is only on the main window (isLowArtOnly
// of the two slots' origins), as the pairs of piece files the builds save
// for them, in slot table order.
QList<DensityPair> iconPairsWithLowArtOnly(const IconBoard& board, BuildKind use);

// The same for an icon set build with `options`; empty when the build names no
// density-2 pictures.
QList<DensityPair> iconSetPairsWithLowArtOnly(const IconBoard& board, const BuildOptions& options);

} // namespace vv
