// Pixel copies shared by the skin slicers, the icon pickers and the snapshot:
// one rule for 1:1 copies, one rule for half-size copies, one rule for pixels
// that lie outside the source picture.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRgb>
#include <QString>

namespace vv {

// Copies `sourceRect` of `source` 1:1 to `target` at `targetTopLeft`, clipped to
// `target`. Source pixels outside `source` (a small sheet, a rectangle hanging
// over an edge) become `outside`. An Indexed8 target receives the nearest colour
// of its own colour table (squared distance, highest index on ties), so an 8-bit
// piece only ever holds palette colours. `target` keeps its size and format.
void copyPixels(const QImage& source, const QRect& sourceRect, QImage& target, QPoint targetTopLeft,
                QRgb outside);

// Copies `sourceRect` of `source` into `target` at half the width and height
// (rounding toward zero), starting at `targetTopLeft`. A plain stretching copy
// without smoothing: target pixel (x, y) takes the source pixel (2x, 2y) of the
// rectangle. Same clipping, outside and palette rules as copyPixels.
void copyPixelsHalfSize(const QImage& source, const QRect& sourceRect, QImage& target, QPoint targetTopLeft,
                        QRgb outside);

// A 24-bit picture of the given size, filled with `fill`: the format every
// slot, snapshot and 24-bit piece uses.
QImage makeRgbPicture(QSize size, QRgb fill);
// An 8-bit picture with the full 256-entry system palette, filled with the index
// nearest to `fill`. Saved as an 8-bit BMP with the whole table.
QImage makePalettePicture(QSize size, QRgb fill);

// `picture` as the bytes of a 24-bit BMP file, for the writers that keep
// pictures as files (unpacked sheets and icons, the kept session).
QByteArray encodedBitmap(const QImage& picture);
// `picture` as a BMP file at its own size and format (the build's piece
// files), or empty with `problem` set. A short colour table would make the
// writer choose a 4-bit BMP, so 8-bit pictures get their table padded to 256.
QByteArray encodedPiece(const QImage& picture, QString* problem);
// `picture` as the bytes of the file `path` names: a PNG when its name ends in
// ".png", with the pixels of `transparency` fully transparent, so painters'
// programs show them as such and loading it back gives the same picture;
// otherwise a 24-bit BMP as encodedBitmap.
QByteArray encodedPicture(const QImage& picture, const QString& path, QRgb transparency);

} // namespace vv
