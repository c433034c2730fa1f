// "Ember", the theme of the shipped sample skin sheets: warm coal and flame
// colours, gradients, pill and round shapes, so that loading a sample sheet
// visibly replaces the built-in default theme piece by piece.
#pragma once

#include "theme/PieceTable.h"
#include "theme/ThemePieces.h"

#include <QImage>

namespace vv::sample {

// Piece `index` of themePieceTable() at `resolution`, in the piece's own size
// and format. The high-resolution pieces are drawn at their own size (finer
// outlines and highlights, smooth gradients), not enlarged from the low ones.
QImage drawSamplePiece(int index, PieceResolution resolution);
// All 58 sample pieces at both resolutions.
ThemePieces samplePieces();
// The sheet vv_themeart writes: the sample pieces at their rectangles, the
// sample sheets' grey between them.
QImage sampleSheet(PieceResolution resolution);

} // namespace vv::sample
