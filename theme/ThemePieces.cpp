#include "theme/ThemePieces.h"

#include "common/PictureCopy.h"
#include "theme/DefaultTheme.h"

namespace vv {

QImage makeBlankPiece(const ThemePiece& piece, PieceResolution resolution) {
    const QSize size = piece.size(resolution);
    if (piece.depth(resolution) == PieceDepth::Palette8)
        return makePalettePicture(size, kOutsideSheetColour);
    return makeRgbPicture(size, kOutsideSheetColour);
}

// Shared copies: a piece that is changed detaches from the built-in one.
ThemePieces::ThemePieces() = default;

const QImage& ThemePieces::pieceOf(std::array<QImage, kThemePieceCount>& pieces, int index,
                                   PieceResolution resolution) {
    QImage& piece = pieces.at(std::size_t(index));
    if (piece.isNull())
        piece = defaultPiece(index, resolution);
    return piece;
}

const QImage& ThemePieces::piece(int index, PieceResolution resolution) const {
    return resolution == PieceResolution::Low ? lowPiece(index) : highPiece(index);
}

const PictureOrigin& ThemePieces::origin(int index, PieceResolution resolution) const {
    return (resolution == PieceResolution::Low ? lowOrigins_ : highOrigins_).at(index);
}

void ThemePieces::setOrigin(int index, PieceResolution resolution, const PictureOrigin& origin) {
    (resolution == PieceResolution::Low ? lowOrigins_ : highOrigins_).at(index) = origin;
}

void ThemePieces::loadLowResolutionSheet(const QImage& sheet, QRgb outside) {
    std::array<QImage, kThemePieceCount> low;
    const auto& table = themePieceTable();
    for (int i = 0; i < kThemePieceCount; ++i) {
        low[i] = makeBlankPiece(table[i], PieceResolution::Low);
        copyPixels(sheet, table[i].lowSheetRect, low[i], {0, 0}, outside);
    }
    low_.swap(low);
    lowOrigins_.fill(PictureOrigin::fresh(PictureSource::Sheet));
}

void ThemePieces::loadHighResolutionSheet(const QImage& sheet, QRgb outside) {
    std::array<QImage, kThemePieceCount> low;
    std::array<QImage, kThemePieceCount> high;
    const auto& table = themePieceTable();
    for (int i = 0; i < kThemePieceCount; ++i) {
        high[i] = makeBlankPiece(table[i], PieceResolution::High);
        copyPixels(sheet, table[i].highSheetRect, high[i], {0, 0}, outside);
        low[i] = makeBlankPiece(table[i], PieceResolution::Low);
        copyPixelsHalfSize(sheet, table[i].highSheetRect, low[i], {0, 0}, outside);
    }
    low_.swap(low);
    high_.swap(high);
    // One stamp for both: the halved low pieces carry the high art.
    const PictureOrigin origin = PictureOrigin::fresh(PictureSource::Sheet);
    lowOrigins_.fill(origin);
    highOrigins_.fill(origin);
}

void ThemePieces::loadSheet(const QImage& sheet, PieceResolution resolution, QRgb outside) {
    if (resolution == PieceResolution::Low)
        loadLowResolutionSheet(sheet, outside);
    else
        loadHighResolutionSheet(sheet, outside);
}

SheetLoadResult ThemePieces::loadSheetFile(const QString& path, PieceResolution resolution, QRgb outside) {
    SheetLoadResult result = loadSheetPicture(path, outside);
    if (result.loaded())
        loadSheet(result.picture, resolution, outside);
    return result;
}

void ThemePieces::setPiece(int index, PieceResolution resolution, const QImage& picture, QRgb outside,
                           PictureOrigin origin) {
    const ThemePiece& row = themePieceTable().at(index);
    QImage piece = makeBlankPiece(row, resolution);
    if (picture.size() == piece.size() && picture.format() == piece.format())
        piece = picture;
    else
        copyPixels(picture, piece.rect(), piece, {0, 0}, outside);
    (resolution == PieceResolution::Low ? low_ : high_).at(index) = piece;
    setOrigin(index, resolution, origin);
}

QImage composeSkinSheet(const ThemePieces& pieces, PieceResolution resolution, QRgb background) {
    const QSize size = resolution == PieceResolution::Low ? kLowSheetSize : kHighSheetSize;
    QImage sheet = makeRgbPicture(size, background);
    const auto& table = themePieceTable();
    for (int i = 0; i < kThemePieceCount; ++i) {
        const QImage& piece = pieces.piece(i, resolution);
        copyPixels(piece, piece.rect(), sheet, table[i].sheetRect(resolution).topLeft(), background);
    }
    return sheet;
}

} // namespace vv
