// Loading a skin or icon sheet: any picture the loader knows, made opaque as a
// 24-bit bitmap, with a check the loader itself skips (a BMP whose pixel data ends
// early would otherwise load as a half-black sheet without complaint).
#pragma once

#include <QImage>
#include <QRgb>
#include <QString>

namespace vv {

struct SheetLoadResult {
    enum class Status {
        Loaded,
        InvalidPicture, // not a picture the loader accepts, or a damaged one
        Unreadable,     // the file cannot be opened, or is no regular file
    };
    Status status = Status::Loaded;
    QString loaderMessage; // the loader's own text, empty when loaded
    QImage picture;        // Format_RGB32 when loaded, null otherwise

    bool loaded() const { return status == Status::Loaded; }
};

// Sheet files larger than this are refused unread; a high-resolution sheet
// is a megabyte as a 24-bit BMP.
inline constexpr qint64 kLargestSheetFile = 64 * 1024 * 1024;

// Reads `path` once (a regular file only, see readWholeFile) and decodes it
// from memory, made opaque by opaqueSheet.
SheetLoadResult loadSheetPicture(const QString& path, QRgb transparency);
// The same for a picture's bytes; a picture cut short is refused.
SheetLoadResult decodeSheetPicture(const QByteArray& bytes, QRgb transparency);

// `image` as Format_RGB32: what the painter left transparent (alpha below 128)
// takes `transparency`, the colour the build marks transparent, so it stays
// see-through on the handheld; every other pixel keeps its colour, its alpha
// dropped.
QImage opaqueSheet(const QImage& image, QRgb transparency);

// What is wrong with a PNG, JPEG, GIF or run-length BMP whose data ends
// before the picture does, or an empty text.
QString incompletePictureProblem(const QByteArray& bytes);

// For a Windows bitmap file: the text of what is wrong with its declared pixel
// data size, or an empty text if the file holds all of it (or is not a
// BMP, or uses run-length compression whose size cannot be known up front).
QString truncatedBitmapProblem(const QByteArray& head, qint64 fileSize);

} // namespace vv
