// The 58 theme pieces: where each one lies on both skin sheets, its size and
// pixel format, and where the two theme windows show it. Slicing, the default
// theme, the preview, the piece files and the theme families all read this one
// table.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringView>

#include <array>

namespace vv {

enum class PieceDepth {
    Palette8, // 8-bit with the full system palette as colour table
    Rgb24,
};

enum class PieceResolution { Low, High };

struct ThemePiece {
    QString code;        // two characters, the suffix of the piece's file names
    int imageNumber;     // `Image<n>` on both theme windows
    QRect lowSheetRect;  // on the 230 x 335 sheet
    QRect highSheetRect; // on the 460 x 670 sheet: twice the low one, except F9
    PieceDepth lowDepth; // every high-resolution piece is Rgb24
    QPoint lowPreview;   // top-left on the low-resolution theme window
    QPoint highPreview;  // top-left on the high-resolution theme window

    QSize lowSize() const { return lowSheetRect.size(); }
    QSize highSize() const { return highSheetRect.size(); }
    QSize size(PieceResolution resolution) const;
    QRect sheetRect(PieceResolution resolution) const;
    PieceDepth depth(PieceResolution resolution) const;
    QPoint previewPosition(PieceResolution resolution) const;
    QString imageName() const { return QStringLiteral("Image%1").arg(imageNumber); }
    // "Tbmp03E0" / "Tbmp04E0": the base name of the saved piece file.
    QString fileBaseName(PieceResolution resolution) const;
};

inline constexpr int kThemePieceCount = 58;
inline constexpr QSize kLowSheetSize{230, 335};
inline constexpr QSize kHighSheetSize{460, 670};
constexpr QSize skinSheetSize(PieceResolution resolution) {
    return resolution == PieceResolution::Low ? kLowSheetSize : kHighSheetSize;
}

// In piece code order: E0..E9, EA..EZ, F0..F5, B0..BC, F7, F8, F9.
const std::array<ThemePiece, kThemePieceCount>& themePieceTable();
// Index into themePieceTable(), or -1 for a code that names no piece.
int themePieceIndex(QStringView code);

// The kinds of piece a painter draws, told apart by their low-resolution size;
// the one piece of no other size is the launcher's mark.
enum class PieceShape { Tab, Title, Bar, SmallArrowButton, BarButton, Cell, CheckBox, Glyph, Mark };
PieceShape pieceShapeOf(QSize lowSize);
// The place of themePieceTable()[index] among the pieces of its size, in table
// order: with the shape it tells a painter which piece it draws, so the piece
// table stays the only list of codes.
int pieceVariantOf(int index);

} // namespace vv
