// The built-in default theme: every piece drawn in code at both resolutions, in
// a small set of system-palette colours so the 8-bit pieces lose nothing.
#pragma once

#include "theme/PieceTable.h"

#include <QImage>
#include <QRgb>

namespace vv {

// The colour the launcher shows through: the default transparency colour.
inline constexpr QRgb kDefaultThemeTransparent = 0xFF00FF00u;
// Between the pieces of the sample sheets: a grey no piece uses, so the grid
// stays visible to a user who paints over a sample sheet.
inline constexpr QRgb kSampleSheetBackground = 0xFFC0C0C0u;

// Piece `index` of themePieceTable() at `resolution`, in the piece's own size
// and format (Indexed8 with the system palette for 8-bit low pieces).
QImage drawDefaultPiece(int index, PieceResolution resolution);
// The same, drawn once for the whole process and shared: every new set of
// pieces starts from them and every build compares its pieces with them.
const QImage& defaultPiece(int index, PieceResolution resolution);

} // namespace vv
