#include "unpack/DatabaseUnpack.h"

#include "buildrun/ResourceScript.h"
#include "common/PictureCopy.h"
#include "common/SystemScreens.h"
#include "compiler/BitmapDecoder.h"
#include "compiler/QtBytes.h"
#include "formats/Endian.h"
#include "formats/PalmDatabase.h"
#include "icons/IconBoard.h"
#include "platform/FileErrors.h"
#include "theme/ThemeFamilies.h"
#include "theme/ThemePieces.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace vv {
namespace {

// The longest member chain the reader follows; the builds write five depths
// at two densities.
constexpr int kLongestChain = 64;

// The resources a build adds besides the families: the DATA trailer and the
// version.
QSet<QByteArray> trailerResourceTypes() {
    QSet<QByteArray> types{kVersionResourceType};
    for (const TrailerRow& row : kTrailerRows)
        types.insert(row.type);
    return types;
}

// Walks the member headers of a family without decoding a pixel, so a member
// claiming a size no theme or icon set can hold is refused before anything is
// allocated for it. Offsets are only read where they lie inside the resource;
// the decoder checks the rest.
QString oversizedMember(std::string_view resource) {
    qsizetype offset = 0;
    for (int guard = 0; guard < kLongestChain && offset + 16 <= qsizetype(resource.size()); ++guard) {
        const int depth = uchar(resource[offset + 8]);
        const int version = uchar(resource[offset + 9]);
        if (depth == 0xFF && version == 1) { // the separator before the density-2 members
            offset += 16;
            continue;
        }
        const int width = qint16(formats::be::read16(resource, offset));
        const int height = qint16(formats::be::read16(resource, offset + 2));
        if (width > kHighSheetSize.width() || height > kHighSheetSize.height())
            return QStringLiteral(
                       "a bitmap of %1 x %2 pixels at offset %3 is larger than any picture of a theme "
                       "or an icon set")
                .arg(width)
                .arg(height)
                .arg(offset);
        quint32 next = 0;
        if (version == 3) {
            if (offset + 24 > qsizetype(resource.size()))
                return {};
            next = formats::be::read32(resource, offset + 20);
        } else if (version == 1 || version == 2) {
            next = quint32(formats::be::read16(resource, offset + 10)) * 4;
        }
        if (next == 0)
            return {};
        offset += next;
    }
    return {};
}

// The decoded pixels of a member with its transparent pixels in `transparency`.
QImage memberPicture(const pdb::DecodedBitmap& member, QRgb transparency) {
    QImage picture = member.image.convertToFormat(QImage::Format_RGB32);
    if (!member.hasTransparency)
        return picture;
    for (int y = 0; y < member.height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < member.width; ++x)
            if (quint32(member.storedValue(x, y)) == member.transparentValue)
                line[x] = transparency | 0xFF000000u;
    }
    return picture;
}

// Which picture a member shows: density 2 always the high one; density 1 the
// high one when it has the high size (a Sony theme), else the low one.
PieceResolution memberResolution(const pdb::DecodedBitmap& member, QSize lowSize, QSize highSize) {
    if (member.density >= 144)
        return PieceResolution::High;
    const QSize size(member.width, member.height);
    return size == highSize && size != lowSize ? PieceResolution::High : PieceResolution::Low;
}

struct Chosen {
    const pdb::DecodedBitmap* low = nullptr;
    const pdb::DecodedBitmap* high = nullptr;
};

// The deepest member of each resolution; on equal depth the first stored.
Chosen chooseMembers(const pdb::DecodedFamily& family, QSize lowSize, QSize highSize) {
    Chosen chosen;
    for (const pdb::DecodedBitmap& member : family.members) {
        if (member.density != 72 && member.density < 144)
            continue; // a density this program never writes
        const pdb::DecodedBitmap*& slot =
            memberResolution(member, lowSize, highSize) == PieceResolution::High ? chosen.high : chosen.low;
        if (!slot || member.depth > slot->depth)
            slot = &member;
    }
    return chosen;
}

// `member` in a picture shaped like `blank`: clipped, with the transparency
// colour where the member is smaller.
QImage fitted(const pdb::DecodedBitmap* member, QImage blank, QRgb transparency) {
    if (!member)
        return {};
    const QImage picture = memberPicture(*member, transparency);
    copyPixels(picture, QRect(QPoint(0, 0), blank.size()), blank, {0, 0}, transparency);
    return blank;
}

struct Reader {
    QRgb transparency;
    QString problem;

    std::optional<pdb::DecodedFamily> decode(const formats::PalmResource& resource) {
        // One arg() call: a type read from the file may hold "%1".
        const QString where =
            QStringLiteral("resource %1 %2: ")
                .arg(QString::fromLatin1(pdb::qtBytes(resource.type)), QString::number(resource.id));
        if (const QString oversized = oversizedMember(resource.bytes); !oversized.isEmpty()) {
            problem = where + oversized;
            return std::nullopt;
        }
        QString error;
        std::optional<pdb::DecodedFamily> family = pdb::BitmapDecoder::decodeFamily(resource.bytes, &error);
        if (!family)
            problem = where + error;
        return family;
    }
};

// Which table entry a resource is: a theme's bitmap family (by index in
// themeBitmapFamilies()) or an icon slot (by index in iconSlots()), or neither.
struct Match {
    int familyIndex = -1;
    int slotIndex = -1;
    bool sonyIds = false; // the family was found by its 1xxxx ID
};

Match matchResource(const formats::PalmResource& resource, bool theme, BuildKind slotUse) {
    Match match;
    const auto& families = themeBitmapFamilies();
    if (theme && resource.type == formats::kBitmapResourceType) {
        for (int f = 0; f < kThemeBitmapFamilyCount && match.familyIndex < 0; ++f) {
            if (families[f].id == resource.id) {
                match.familyIndex = f;
                continue;
            }
            for (const ScreenProfile& screen : screenProfiles()) {
                if (*screen.bitmapIdPrefix && themeBitmapId(screen, families[f].id) == resource.id) {
                    match.familyIndex = f;
                    match.sonyIds = true;
                }
            }
        }
    } else if (resource.type == formats::kIconResourceType) {
        for (int s = 0; s < kIconSlotCount && match.slotIndex < 0; ++s)
            if (iconSlots()[s].use == slotUse && iconSlots()[s].familyId == resource.id)
                match.slotIndex = s;
    }
    return match;
}

// One run of unpackDatabase: the database read, then its resources one by
// one into `out`; a failure stops it with `failure` and `problem` set.
struct Unpacking {
    explicit Unpacking(QRgb shown) : transparency(shown) {}

    QRgb transparency;
    UnpackedDatabase out;
    QString problem;
    UnpackFailure failure = UnpackFailure::None;
    std::optional<formats::PalmDatabase> db;
    QSet<int> piecesFound;
    QSet<int> slotsFound;

    bool fail(UnpackFailure why, const QString& text) {
        failure = why;
        problem = text;
        return false;
    }
    bool theme() const { return out.kind == UnpackedKind::Theme; }
    BuildKind slotUse() const { return theme() ? BuildKind::Theme : BuildKind::IconSet; }

    // The database and its kind.
    bool read(const QByteArray& bytes) {
        if (bytes.size() > kLargestDatabaseFile)
            return fail(
                UnpackFailure::TooLarge,
                QStringLiteral("%1 bytes are more than any theme or icon set holds").arg(bytes.size()));
        std::string error;
        db = formats::PalmDatabase::fromBytes(pdb::bytesOf(bytes), &error);
        if (!db)
            return fail(UnpackFailure::NotADatabase, pdb::qtText(error));
        if (db->type == formats::kThemeDatabaseType)
            out.kind = UnpackedKind::Theme;
        else if (db->type == formats::kIconSetDatabaseType)
            out.kind = UnpackedKind::IconSet;
        else
            return fail(
                UnpackFailure::WrongType,
                QStringLiteral("the database type is \"%1\", neither a theme (thme) nor an icon set (Icns)")
                    .arg(QString::fromLatin1(pdb::qtBytes(db->type))));
        out.name = QString::fromLatin1(pdb::qtBytes(db->name));
        return true;
    }

    // Every family of the tables into its piece or slot; the build's own
    // trailer resources pass, anything else is counted as unknown.
    bool readResources() {
        const QSet<QByteArray> trailer = trailerResourceTypes();
        Reader reader{transparency, {}};
        for (const formats::PalmResource& resource : db->resources) {
            const Match match = matchResource(resource, theme(), slotUse());
            out.sonyIds = out.sonyIds || match.sonyIds;
            if (match.familyIndex < 0 && match.slotIndex < 0) {
                if (!trailer.contains(pdb::qtBytes(resource.type)))
                    ++out.unknownResources;
                continue;
            }
            // Of two families with one ID the first is the one the launcher finds.
            if (match.familyIndex >= 0
                    ? piecesFound.contains(themeBitmapFamilies()[match.familyIndex].pieceIndex)
                    : slotsFound.contains(match.slotIndex))
                continue;
            const std::optional<pdb::DecodedFamily> family = reader.decode(resource);
            if (!family)
                return fail(UnpackFailure::DamagedPicture, reader.problem);
            if (match.familyIndex >= 0)
                storePiece(match.familyIndex, *family);
            else
                storeIcon(match.slotIndex, *family);
        }
        return true;
    }

    void storePiece(int familyIndex, const pdb::DecodedFamily& family) {
        const int piece = themeBitmapFamilies()[familyIndex].pieceIndex;
        piecesFound.insert(piece);
        const ThemePiece& row = themePieceTable()[piece];
        const Chosen chosen = chooseMembers(family, row.lowSize(), row.highSize());
        out.lowPieces[piece] = fitted(chosen.low, makeBlankPiece(row, PieceResolution::Low), transparency);
        out.highPieces[piece] = fitted(chosen.high, makeBlankPiece(row, PieceResolution::High), transparency);
    }

    void storeIcon(int slotIndex, const pdb::DecodedFamily& family) {
        slotsFound.insert(slotIndex);
        const Chosen chosen = chooseMembers(family, kLowIconSize, kHighIconSize);
        out.lowIcons[slotIndex] =
            fitted(chosen.low, makeRgbPicture(kLowIconSize, transparency), transparency);
        out.highIcons[slotIndex] =
            fitted(chosen.high, makeRgbPicture(kHighIconSize, transparency), transparency);
    }

    void listMissingFamilies() {
        if (theme()) {
            for (const ThemeBitmapFamily& family : themeBitmapFamilies())
                if (!piecesFound.contains(family.pieceIndex))
                    out.missingFamilies << QStringLiteral("%1 %2 (%3)")
                                               .arg(QLatin1String(formats::kBitmapResourceType),
                                                    QString::number(family.id), family.piece().code);
        }
        for (int s = 0; s < kIconSlotCount; ++s)
            if (iconSlots()[s].use == slotUse() && !slotsFound.contains(s))
                out.missingFamilies << QStringLiteral("%1 %2 (%3)")
                                           .arg(QLatin1String(formats::kIconResourceType),
                                                QString::number(iconSlots()[s].familyId),
                                                QLatin1String(iconSlots()[s].mainName));
    }
};

} // namespace

bool UnpackedDatabase::hasPieces(PieceResolution resolution) const {
    const auto& pieces = resolution == PieceResolution::Low ? lowPieces : highPieces;
    return std::any_of(pieces.begin(), pieces.end(), [](const QImage& p) { return !p.isNull(); });
}

bool UnpackedDatabase::hasIcons(PieceResolution resolution) const {
    const auto& icons = resolution == PieceResolution::Low ? lowIcons : highIcons;
    return std::any_of(icons.begin(), icons.end(), [](const QImage& p) { return !p.isNull(); });
}

std::optional<UnpackedDatabase> unpackDatabase(const QByteArray& bytes, QRgb transparency, QString* problem,
                                               UnpackFailure* failure) {
    Unpacking unpacking(transparency);
    if (!unpacking.read(bytes) || !unpacking.readResources()) {
        if (problem)
            *problem = unpacking.problem;
        if (failure)
            *failure = unpacking.failure;
        return std::nullopt;
    }
    unpacking.listMissingFamilies();
    return std::move(unpacking.out);
}

std::optional<UnpackedDatabase> unpackDatabaseFile(const QString& path, QRgb transparency, QString* problem,
                                                   UnpackFailure* failure) {
    QByteArray bytes;
    QString error;
    UnpackFailure why =
        QFileInfo(path).size() > kLargestDatabaseFile ? UnpackFailure::TooLarge : UnpackFailure::Unreadable;
    std::optional<UnpackedDatabase> database;
    if (readWholeFile(path, kLargestDatabaseFile, &bytes, &error))
        database = unpackDatabase(bytes, transparency, &error, &why);
    if (database)
        return database;
    if (problem)
        *problem = QDir::toNativeSeparators(path) + QStringLiteral(": ") + error;
    if (failure)
        *failure = why;
    return std::nullopt;
}

void applyUnpackedDatabase(const UnpackedDatabase& database, ThemePieces& pieces, IconBoard& board,
                           bool pairsNamed) {
    const PictureOrigin opened = PictureOrigin::fresh(PictureSource::Database);
    const PictureOrigin without{PictureSource::DatabaseWithout, opened.stamp};
    for (int i = 0; i < kThemePieceCount; ++i) {
        const bool low = !database.lowPieces[i].isNull();
        const bool high = !database.highPieces[i].isNull();
        if (low)
            pieces.setPiece(i, PieceResolution::Low, database.lowPieces[i], kOutsideSheetColour, opened);
        if (high)
            pieces.setPiece(i, PieceResolution::High, database.highPieces[i], kOutsideSheetColour, opened);
        else if (low && pairsNamed)
            pieces.setOrigin(i, PieceResolution::High, without);
    }
    for (int s = 0; s < kIconSlotCount; ++s) {
        const bool low = !database.lowIcons[s].isNull();
        const bool high = !database.highIcons[s].isNull();
        if (low)
            board.setSlotPicture(IconWindow::Main, s, database.lowIcons[s], opened);
        if (high)
            board.setSlotPicture(IconWindow::Os5, s, database.highIcons[s], opened);
        else if (low && pairsNamed)
            board.setSlotOrigin(IconWindow::Os5, s, without);
    }
}

QImage unpackedSkinSheet(const UnpackedDatabase& database, PieceResolution resolution, QRgb background) {
    QImage sheet =
        makeRgbPicture(resolution == PieceResolution::Low ? kLowSheetSize : kHighSheetSize, background);
    const auto& pieces = resolution == PieceResolution::Low ? database.lowPieces : database.highPieces;
    for (int i = 0; i < kThemePieceCount; ++i)
        if (!pieces[i].isNull())
            copyPixels(pieces[i], pieces[i].rect(), sheet,
                       themePieceTable()[i].sheetRect(resolution).topLeft(), background);
    return sheet;
}

QString savePictureAtomically(const QImage& picture, const QString& path, QRgb transparency) {
    QString problem;
    if (!writeWholeFile(path, encodedPicture(picture, path, transparency), &problem))
        return problem;
    return {};
}

} // namespace vv
