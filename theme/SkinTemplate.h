// A sheet to paint on: every piece's rectangle marked and named, so a painter
// sees where the 58 pieces go before drawing a skin sheet of their own.
#pragma once

#include "theme/PieceTable.h"

#include <QImage>
#include <QRgb>

namespace vv {

// What lies between the pieces: no piece is cut from it.
inline constexpr QRgb kTemplateGapColour = 0xFFA0A0A0u;
// The 1-pixel outline of every piece, and its labels.
inline constexpr QRgb kTemplateOutlineColour = 0xFF303030u;

// A skin sheet of `resolution`'s size (Format_RGB32): each piece's rectangle
// filled in one of a few light colours (neighbours differ), outlined, and
// labelled with its code and, where it fits, its size; the gaps grey.
QImage skinSheetTemplate(PieceResolution resolution);

} // namespace vv
