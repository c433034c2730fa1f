// The 58 theme pieces at both resolutions as the program holds them in memory:
// the built-in default theme until a skin sheet is loaded, then the sheet's cuts;
// each piece with where it came from and when.
#pragma once

#include "common/PictureOrigin.h"
#include "common/SheetPicture.h"
#include "theme/PieceTable.h"

#include <QImage>
#include <QRgb>

#include <array>

namespace vv {

// What a piece receives where its rectangle reaches past the edge of a sheet
// smaller than the grid: the default transparency colour, so the launcher shows
// through there instead of showing garbage.
inline constexpr QRgb kOutsideSheetColour = 0xFF00FF00u;

class ThemePieces {
public:
    // Starts with the built-in default theme.
    ThemePieces();

    // Low pieces are Indexed8 with the full system palette or RGB32 as the piece
    // table says; high pieces are all RGB32. Indices follow themePieceTable().
    const QImage& lowPiece(int index) const { return pieceOf(low_, index, PieceResolution::Low); }
    const QImage& highPiece(int index) const { return pieceOf(high_, index, PieceResolution::High); }
    const QImage& piece(int index, PieceResolution resolution) const;
    const PictureOrigin& origin(int index, PieceResolution resolution) const;

    // Cuts every low piece 1:1 from its rectangle of a 230 x 335 sheet; the high
    // pieces stay as they are.
    void loadLowResolutionSheet(const QImage& sheet, QRgb outside = kOutsideSheetColour);
    // Cuts every high piece 1:1 from its rectangle of a 460 x 670 sheet and
    // rewrites every low piece as the half-size reduction of the same rectangle.
    void loadHighResolutionSheet(const QImage& sheet, QRgb outside = kOutsideSheetColour);
    // Either of the two above by resolution.
    void loadSheet(const QImage& sheet, PieceResolution resolution, QRgb outside = kOutsideSheetColour);
    // Loads the picture at `path` and cuts it as a sheet of `resolution`. On any
    // failure (unreadable file, invalid or truncated picture) no piece changes
    // and the result carries the loader's text.
    SheetLoadResult loadSheetFile(const QString& path, PieceResolution resolution,
                                  QRgb outside = kOutsideSheetColour);
    // Replaces one piece, by default as read back from a database now. A
    // picture of another size or format is copied into a blank piece
    // (clipped, `outside` where it is smaller), so every piece keeps the size
    // and format of the table.
    void setPiece(int index, PieceResolution resolution, const QImage& picture,
                  QRgb outside = kOutsideSheetColour,
                  PictureOrigin origin = PictureOrigin::fresh(PictureSource::Database));
    // Says where a piece came from without changing its picture (a database
    // that had none for it, a kept session).
    void setOrigin(int index, PieceResolution resolution, const PictureOrigin& origin);

private:
    // A built-in piece is drawn when it is first asked for (a null picture
    // until then): a sheet loaded straight away replaces most of them unseen.
    static const QImage& pieceOf(std::array<QImage, kThemePieceCount>& pieces, int index,
                                 PieceResolution resolution);

    mutable std::array<QImage, kThemePieceCount> low_;
    mutable std::array<QImage, kThemePieceCount> high_;
    std::array<PictureOrigin, kThemePieceCount> lowOrigins_{};
    std::array<PictureOrigin, kThemePieceCount> highOrigins_{};
};

// An empty piece of the right size and format for `piece` at `resolution`.
QImage makeBlankPiece(const ThemePiece& piece, PieceResolution resolution);

// A sheet of the given resolution with every piece of `pieces` at its rectangle
// and `background` between them: slicing it gives the pieces back unchanged.
QImage composeSkinSheet(const ThemePieces& pieces, PieceResolution resolution, QRgb background);

} // namespace vv
