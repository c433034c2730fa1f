// What Create Theme hands the script writer and the compiler run: the theme's
// 78 families and the piece files to save (and remove afterwards), read off the
// piece table, the bitmap family order and the icon slot table.
#pragma once

#include "common/BuildOptions.h"
#include "common/LowArtOnly.h"
#include "common/PieceFile.h"
#include "common/ResourceFamily.h"
#include "theme/ThemePieces.h"

#include <QList>

namespace vv {

class IconBoard;

// 58 bitmap families in script order, then the 20 theme icon families, all in
// the theme work folder.
QList<ResourceFamily> themeFamilies();

// The 58 pieces of one resolution in piece code order, as "ThmeRsrc/Tbmp03E0.bmp"
// (low) or "ThmeRsrc/Tbmp04E0.bmp" (high), each with a copy of its picture.
QList<PieceFile> themeBitmapPieceFiles(const ThemePieces& pieces, PieceResolution resolution);

// Everything the theme build saves, in saving order: the 20 low icons, the 20
// high icons only when the screen of `screenType` saves them (OS5), the 58
// low pieces and the 58 high pieces, whatever the screen. 136 files, or 156.
// The same list is the removal list after the compiler has run.
QList<PieceFile> themePieceFiles(const ThemePieces& pieces, const IconBoard& icons, int screenType);

// The pieces whose own art is only at low resolution (isLowArtOnly of their
// two origins), as their piece file pairs, in piece table order.
QList<DensityPair> piecePairsWithLowArtOnly(const ThemePieces& pieces);

// Every such pair of a theme build with `options`: the pieces, then the theme
// icons. Empty when the build names no density-2 pictures.
QList<DensityPair> themePairsWithLowArtOnly(const ThemePieces& pieces, const IconBoard& icons,
                                            const BuildOptions& options);

} // namespace vv
