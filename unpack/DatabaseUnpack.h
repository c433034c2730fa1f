// The way back from a database to pictures: a theme (`thme`) or an icon set
// (`Icns`), whatever tool wrote it, read into the theme pieces and icon slots
// its families belong to by the same piece, family and slot tables the builds
// use. Reading is all or nothing: a database that is damaged anywhere gives a
// problem text and no pictures, so nothing the windows hold changes.
#pragma once

#include "icons/IconSlots.h"
#include "theme/PieceTable.h"

#include <QByteArray>
#include <QImage>
#include <QRgb>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace vv {

class IconBoard;
class ThemePieces;

enum class UnpackedKind { Theme, IconSet };

struct UnpackedDatabase {
    UnpackedKind kind = UnpackedKind::Theme;
    QString name;         // the database's name field
    bool sonyIds = false; // the theme's bitmap families carry the 1xxxx prefix
    // By index in themePieceTable(): the piece in its own size and format, or
    // a null picture when the database holds none at that resolution.
    std::array<QImage, kThemePieceCount> lowPieces;
    std::array<QImage, kThemePieceCount> highPieces;
    // By index in iconSlots(): 32 x 22 and 64 x 44 pictures (RGB32) of the
    // slots the database's kind feeds; null for the others and for missing ones.
    std::array<QImage, kIconSlotCount> lowIcons;
    std::array<QImage, kIconSlotCount> highIcons;
    // Families the tables expect that the database does not hold, as
    // "Tbmp 1000 (EE)" or "tAIB 10000 (Image241)".
    QStringList missingFamilies;
    // Resources neither a family of the tables nor one the builds add
    // (the launcher's code and data): ignored.
    int unknownResources = 0;

    bool hasPieces(PieceResolution resolution) const;
    bool hasIcons(PieceResolution resolution) const;
};

// Why a database was refused, for a window that names it in the user's
// language; the problem text gives the technical detail.
enum class UnpackFailure {
    None,
    Unreadable,     // the file cannot be read
    TooLarge,       // larger than any theme or icon set
    NotADatabase,   // no Palm OS database, or its header is damaged
    WrongType,      // a database, but neither a theme nor an icon set
    DamagedPicture, // a bitmap family of the tables is damaged
};

// Files larger than this are refused unread: a theme with every depth at both
// densities is a few megabytes.
inline constexpr qint64 kLargestDatabaseFile = 32 * 1024 * 1024;

// Reads the bytes of a database. Transparent pixels take `transparency`.
// Nothing, with the reason in `problem`, for anything that is not a sound
// theme or icon set database.
std::optional<UnpackedDatabase> unpackDatabase(const QByteArray& bytes, QRgb transparency, QString* problem,
                                               UnpackFailure* failure = nullptr);
// The same for a file; the problem text starts with the file's name.
std::optional<UnpackedDatabase> unpackDatabaseFile(const QString& path, QRgb transparency, QString* problem,
                                                   UnpackFailure* failure = nullptr);

// Puts every picture the database holds into `pieces` and `board` (low icons on
// the main window's slots, high icons on the OS5 window's), all marked as
// from a database at one moment; the others stay. With `pairsNamed` (the
// screen builds both pictures of each pair) a high picture the database lacks
// beside a low one it holds stays as it was but is marked as left by a
// database that had none, so the OS5 check asks about its pair.
void applyUnpackedDatabase(const UnpackedDatabase& database, ThemePieces& pieces, IconBoard& board,
                           bool pairsNamed = false);

// A skin sheet of `resolution` with every piece the database holds at its
// place and `background` everywhere else.
QImage unpackedSkinSheet(const UnpackedDatabase& database, PieceResolution resolution, QRgb background);

// Writes `picture` as encodedPicture encodes it for `path` (a PNG with
// `transparency` see-through, or a 24-bit BMP) through a temporary file and a
// rename, so `path` holds either its old content or the whole new picture,
// and a link at `path` is replaced, never written through. Empty on success,
// else what went wrong.
QString savePictureAtomically(const QImage& picture, const QString& path, QRgb transparency);

} // namespace vv
