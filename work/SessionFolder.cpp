#include "work/SessionFolder.h"

#include "common/LowArtOnly.h"
#include "common/PictureCopy.h"
#include "icons/IconArt.h"
#include "icons/IconSlots.h"
#include "platform/FileErrors.h"
#include "theme/DefaultTheme.h"
#include "theme/PieceTable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QRegularExpression>
#include <QUrl>

#include <tuple>

namespace vv {
namespace {

const char kFirstLine[] = "Vedi Vavurir session 1";
const char kNameKey[] = "name";
// A kept file larger than this is damaged, not read.
constexpr qint64 kLargestKeptFile = 8 * 1024 * 1024;

struct KeptPicture {
    const char* key;
    QSize size;
};

// The strip of one icon window: its 32 slots side by side, then its snapshot picture.
QSize stripSize(QSize slot) {
    return QSize(slot.width() * (kIconSlotCount + 1), slot.height());
}

const KeptPicture kPictures[] = {
    {"theme-low", kLowSheetSize},
    {"theme-high", kHighSheetSize},
    {"icons-main", stripSize(kLowIconSize)}, // main slots and LowSnap
    {"icons-os5", stripSize(kHighIconSize)}, // OS5 slots and HighSnap
};

// Where each picture came from, one line per kept picture: "origins-theme-low
// s12 b0 ...", a word per piece or slot in table order. A program that knows
// no origins reads past these lines.
const char kOriginsPrefix[] = "origins-";

QByteArray originsLine(const char* key, const QList<PictureOrigin>& origins) {
    QByteArray line = QByteArray(kOriginsPrefix) + key;
    for (const PictureOrigin& origin : origins)
        line += ' ' + originText(origin);
    return line + '\n';
}

// `count` origins from the words of a line; nothing when any is not one.
std::optional<QList<PictureOrigin>> originsOf(const QByteArray& words, qsizetype count) {
    const QList<QByteArray> texts = words.split(' ');
    if (texts.size() != count)
        return std::nullopt;
    QList<PictureOrigin> origins;
    for (const QByteArray& text : texts) {
        const std::optional<PictureOrigin> origin = originFromText(text);
        if (!origin)
            return std::nullopt;
        origins << *origin;
    }
    return origins;
}

QList<PictureOrigin> pieceOrigins(const ThemePieces& pieces, PieceResolution resolution) {
    QList<PictureOrigin> origins;
    for (int i = 0; i < kThemePieceCount; ++i)
        origins << pieces.origin(i, resolution);
    return origins;
}

// A session kept before pictures carried their origins: a picture that is
// still its factory one is taken as built in, every other one as the user's,
// all set at one moment, so the OS5 check asks what it asked when the
// session was kept.
PictureOrigin originByLook(const QImage& picture, const QImage& factory, PictureSource own, quint64 stamp) {
    return samePixels(picture, factory) ? PictureOrigin{} : PictureOrigin{own, stamp};
}

// The only names this folder's files are given; a manifest naming anything
// else (a path, say) is damaged.
const QRegularExpression& keptFileName() {
    static const QRegularExpression name(
        QStringLiteral("^(theme-low|theme-high|icons-main|icons-os5)\\.([0-9]{1,15})\\.bmp$"));
    return name;
}

QImage strip(const SlotPictures& slotPictures, const QImage& snapshot, QSize slot) {
    QImage picture(stripSize(slot), QImage::Format_RGB32);
    picture.fill(Qt::white);
    for (int i = 0; i <= kIconSlotCount; ++i) {
        const QImage& one = i < kIconSlotCount ? slotPictures[i] : snapshot;
        const QImage rgb = one.convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < slot.height() && y < rgb.height(); ++y)
            std::copy_n(reinterpret_cast<const QRgb*>(rgb.constScanLine(y)), qMin(slot.width(), rgb.width()),
                        reinterpret_cast<QRgb*>(picture.scanLine(y)) + i * slot.width());
    }
    return picture;
}

void fromStrip(const QImage& picture, QSize slot, SlotPictures& slotPictures, QImage& snapshot) {
    for (int i = 0; i <= kIconSlotCount; ++i) {
        const QImage one = picture.copy(QRect(QPoint(i * slot.width(), 0), slot));
        (i < kIconSlotCount ? slotPictures[i] : snapshot) = one;
    }
}

// Through the program's one writer: a temporary file beside it, synced,
// renamed over it, never through a link at its name.
QString writeThroughRename(const QString& path, const QByteArray& bytes) {
    QString problem;
    if (writeWholeFile(path, bytes, &problem))
        return {};
    return QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), problem);
}

// A kept picture of exactly `size`; nothing, with `problem` set, otherwise.
std::optional<QImage> readKeptPicture(const QString& path, QSize size, QString& problem) {
    const QFileInfo info(path);
    const QString shown = QDir::toNativeSeparators(info.fileName());
    if (info.isSymLink() || !info.isFile()) {
        problem = QStringLiteral("%1 is missing").arg(shown);
        return std::nullopt;
    }
    if (info.size() > kLargestKeptFile) {
        problem = QStringLiteral("%1 is too large").arg(shown);
        return std::nullopt;
    }
    QImageReader reader(path, "bmp");
    if (reader.size() != size) {
        problem = QStringLiteral("%1 is not a %2 x %3 bitmap")
                      .arg(shown, QString::number(size.width()), QString::number(size.height()));
        return std::nullopt;
    }
    QImage picture = reader.read();
    // A bitmap cut short still decodes, so its size on disk is checked as well.
    const qint64 rowBytes = (qint64(size.width()) * 3 + 3) / 4 * 4;
    if (picture.isNull() || info.size() < rowBytes * size.height()) {
        problem = QStringLiteral("%1 cannot be read: %2").arg(shown, reader.errorString());
        return std::nullopt;
    }
    return picture.convertToFormat(QImage::Format_RGB32);
}

// The origins the manifest names, or for a part it names none of (a session
// kept before origins were), the origins its pictures' look gives. Stamps
// read back stay older than anything set from now on.
void restoreOrigins(WorkState& work, const QHash<QString, QByteArray>& words) {
    const quint64 byLook = nextPictureStamp();
    quint64 newest = 0;
    const std::pair<const char*, PieceResolution> sheets[] = {{"theme-low", PieceResolution::Low},
                                                              {"theme-high", PieceResolution::High}};
    for (const auto& [key, resolution] : sheets) {
        const auto kept = words.contains(QLatin1String(key))
                              ? originsOf(words.value(QLatin1String(key)), kThemePieceCount)
                              : std::nullopt;
        for (int i = 0; i < kThemePieceCount; ++i) {
            const PictureOrigin origin =
                kept ? (*kept)[i]
                     : originByLook(work.pieces->piece(i, resolution), defaultPiece(i, resolution),
                                    PictureSource::Sheet, byLook);
            work.pieces->setOrigin(i, resolution, origin);
            newest = qMax(newest, origin.stamp);
        }
    }
    const std::tuple<const char*, const SlotPictures&, SlotOrigins&, int> strips[] = {
        {"icons-main", *work.mainSlots, work.mainOrigins, 1},
        {"icons-os5", *work.os5Slots, work.os5Origins, 2}};
    for (const auto& [key, pictures, origins, scale] : strips) {
        const auto kept = words.contains(QLatin1String(key))
                              ? originsOf(words.value(QLatin1String(key)), kIconSlotCount)
                              : std::nullopt;
        for (int i = 0; i < kIconSlotCount; ++i) {
            origins[i] =
                kept ? (*kept)[i]
                     : originByLook(pictures[i], factorySlotPicture(i, scale), PictureSource::Cell, byLook);
            newest = qMax(newest, origins[i].stamp);
        }
    }
    keepStampsAbove(newest);
}

// What the manifest says, before any picture it names is read.
struct Manifest {
    QString name;
    QHash<QString, QString> files; // picture key -> file name in the folder
    QHash<QString, QByteArray> originWords;
    qint64 generation = 0; // the highest N the file names use
};

// The lines of the manifest in `folder`; nothing, with `problem` set, when it
// is missing, too large to be one or does not start as one.
std::optional<QList<QByteArray>> readManifestLines(const QString& folder, QString& problem) {
    const QString manifestPath = QDir(folder).filePath(QLatin1String(kSessionFileName));
    const QFileInfo manifestInfo(manifestPath);
    if (manifestInfo.isSymLink() || !manifestInfo.isFile()) {
        problem = QStringLiteral("%1 is missing").arg(QLatin1String(kSessionFileName));
        return std::nullopt;
    }
    if (manifestInfo.size() > 64 * 1024) {
        problem = QStringLiteral("%1 is too large").arg(QLatin1String(kSessionFileName));
        return std::nullopt;
    }
    QFile manifest(manifestPath);
    if (!manifest.open(QIODevice::ReadOnly)) {
        problem = QStringLiteral("%1: %2").arg(QLatin1String(kSessionFileName), manifest.errorString());
        return std::nullopt;
    }
    const QList<QByteArray> lines = manifest.readAll().split('\n');
    if (lines.value(0) != kFirstLine) {
        problem = QStringLiteral("%1 is not a session file").arg(QLatin1String(kSessionFileName));
        return std::nullopt;
    }
    return lines;
}

// The manifest from its lines; nothing, with `problem` set, when it names a
// file that is not one of the folder's own or holds no name. Keys it does not
// know are read past, so a newer program's manifest still opens.
std::optional<Manifest> parseManifest(const QList<QByteArray>& lines, QString& problem) {
    Manifest manifest;
    bool named = false;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray& line = lines[i];
        const qsizetype blank = line.indexOf(' ');
        const QByteArray key = blank < 0 ? line : line.left(blank);
        const QByteArray value = blank < 0 ? QByteArray() : line.mid(blank + 1);
        if (key == kNameKey) {
            manifest.name = QString::fromUtf8(QByteArray::fromPercentEncoding(value));
            named = true;
            continue;
        }
        if (key.startsWith(kOriginsPrefix)) {
            manifest.originWords.insert(QString::fromLatin1(key.mid(qsizetype(sizeof kOriginsPrefix) - 1)),
                                        value);
            continue;
        }
        for (const KeptPicture& picture : kPictures) {
            if (key != picture.key)
                continue;
            const QString file = QString::fromLatin1(value);
            const QRegularExpressionMatch match = keptFileName().match(file);
            if (!match.hasMatch() || match.captured(1) != QLatin1String(picture.key)) {
                problem = QStringLiteral("%1 names %2 for %3")
                              .arg(QLatin1String(kSessionFileName), file, QLatin1String(picture.key));
                return std::nullopt;
            }
            manifest.files.insert(QLatin1String(picture.key), file);
            manifest.generation = qMax(manifest.generation, match.captured(2).toLongLong());
        }
    }
    if (!named) {
        problem = QStringLiteral("%1 holds no name").arg(QLatin1String(kSessionFileName));
        return std::nullopt;
    }
    return manifest;
}

// Every picture of kPictures from the file `files` names for it in `folder`;
// nothing, with `problem` set, at the first that is not named or not whole.
std::optional<QHash<QString, QImage>>
readManifestPictures(const QString& folder, const QHash<QString, QString>& files, QString& problem) {
    QHash<QString, QImage> pictures;
    for (const KeptPicture& picture : kPictures) {
        const QString key = QLatin1String(picture.key);
        if (!files.contains(key)) {
            problem = QStringLiteral("%1 names no %2").arg(QLatin1String(kSessionFileName), key);
            return std::nullopt;
        }
        const std::optional<QImage> read =
            readKeptPicture(QDir(folder).filePath(files.value(key)), picture.size, problem);
        if (!read)
            return std::nullopt;
        pictures.insert(key, *read);
    }
    return pictures;
}

// The work the four pictures and the manifest hold, every part of it.
WorkState workFromPictures(const QHash<QString, QImage>& pictures, const Manifest& manifest) {
    WorkState work;
    work.pieces.emplace();
    // The high sheet first: it also makes the low pieces, which the low sheet then replaces.
    work.pieces->loadSheet(pictures.value(QStringLiteral("theme-high")), PieceResolution::High);
    work.pieces->loadSheet(pictures.value(QStringLiteral("theme-low")), PieceResolution::Low);
    work.mainSlots.emplace();
    work.lowSnap.emplace();
    fromStrip(pictures.value(QStringLiteral("icons-main")), kLowIconSize, *work.mainSlots, *work.lowSnap);
    work.os5Slots.emplace();
    work.highSnap.emplace();
    fromStrip(pictures.value(QStringLiteral("icons-os5")), kHighIconSize, *work.os5Slots, *work.highSnap);
    work.name = manifest.name;
    restoreOrigins(work, manifest.originWords);
    return work;
}

} // namespace

SessionFolder::SessionFolder(QString startDir) : startDir_(std::move(startDir)) {}

QString SessionFolder::folderPath() const {
    return QDir(startDir_).filePath(QLatin1String(kSessionFolderName));
}

QHash<QString, QImage> SessionFolder::keptPictures(const WorkState& work) {
    QHash<QString, QImage> pictures;
    if (work.pieces) {
        pictures.insert(QStringLiteral("theme-low"),
                        composeSkinSheet(*work.pieces, PieceResolution::Low, kOutsideSheetColour));
        pictures.insert(QStringLiteral("theme-high"),
                        composeSkinSheet(*work.pieces, PieceResolution::High, kOutsideSheetColour));
    }
    if (work.mainSlots && work.lowSnap)
        pictures.insert(QStringLiteral("icons-main"), strip(*work.mainSlots, *work.lowSnap, kLowIconSize));
    if (work.os5Slots && work.highSnap)
        pictures.insert(QStringLiteral("icons-os5"), strip(*work.os5Slots, *work.highSnap, kHighIconSize));
    return pictures;
}

SessionFolder::Restored SessionFolder::restore() {
    Restored result;
    const QFileInfo folder(folderPath());
    if (!folder.exists() && !folder.isSymLink())
        return result;
    const auto damaged = [&](const QString& problem) {
        result.status = Restored::Status::Damaged;
        result.problem = problem;
        return result;
    };
    if (folder.isSymLink() || !folder.isDir())
        return damaged(QStringLiteral("it is not a folder of its own"));
    QString problem;
    const std::optional<QList<QByteArray>> lines = readManifestLines(folderPath(), problem);
    if (!lines)
        return damaged(problem);
    const std::optional<Manifest> manifest = parseManifest(*lines, problem);
    if (!manifest)
        return damaged(problem);
    const std::optional<QHash<QString, QImage>> pictures =
        readManifestPictures(folderPath(), manifest->files, problem);
    if (!pictures)
        return damaged(problem);

    result.work = workFromPictures(*pictures, *manifest);
    result.status = Restored::Status::Restored;
    kept_ = result.work;
    files_ = manifest->files;
    generation_ = manifest->generation;
    return result;
}

QString SessionFolder::keep(const WorkState& work) {
    Q_ASSERT(work.parts() == kAllWorkParts);
    if (kept_ && *kept_ == work)
        return {};
    const QString folder = folderPath();
    const QFileInfo folderInfo(folder);
    if (folderInfo.isSymLink() || (folderInfo.exists() && !folderInfo.isDir()))
        return QStringLiteral("%1 is not a folder of its own").arg(QDir::toNativeSeparators(folder));
    if (!folderInfo.exists() && !QDir(startDir_).mkdir(QLatin1String(kSessionFolderName)))
        return QStringLiteral("%1 cannot be created").arg(QDir::toNativeSeparators(folder));

    // Only the pictures that changed since the folder was last read or written.
    QHash<QString, QString> files = files_;
    qint64 generation = generation_;
    const QHash<QString, QImage> pictures = keptPictures(work);
    const QHash<QString, QImage> before = kept_ ? keptPictures(*kept_) : QHash<QString, QImage>();
    for (const KeptPicture& picture : kPictures) {
        const QString key = QLatin1String(picture.key);
        if (files.contains(key) && before.value(key) == pictures.value(key))
            continue;
        const QString file = QStringLiteral("%1.%2.bmp").arg(key, QString::number(++generation));
        if (const QString problem =
                writeThroughRename(QDir(folder).filePath(file), encodedBitmap(pictures.value(key)));
            !problem.isEmpty())
            return problem;
        files.insert(key, file);
    }
    QByteArray manifest = QByteArray(kFirstLine) + '\n';
    manifest += QByteArray(kNameKey) + ' ' + work.name->toUtf8().toPercentEncoding() + '\n';
    for (const KeptPicture& picture : kPictures)
        manifest += QByteArray(picture.key) + ' ' + files.value(QLatin1String(picture.key)).toLatin1() + '\n';
    manifest += originsLine("theme-low", pieceOrigins(*work.pieces, PieceResolution::Low));
    manifest += originsLine("theme-high", pieceOrigins(*work.pieces, PieceResolution::High));
    manifest +=
        originsLine("icons-main", QList<PictureOrigin>(work.mainOrigins.begin(), work.mainOrigins.end()));
    manifest +=
        originsLine("icons-os5", QList<PictureOrigin>(work.os5Origins.begin(), work.os5Origins.end()));
    if (const QString problem =
            writeThroughRename(QDir(folder).filePath(QLatin1String(kSessionFileName)), manifest);
        !problem.isEmpty())
        return problem;

    kept_ = work;
    files_ = files;
    generation_ = generation;
    // Earlier pictures no session names any more, and what a stopped write left.
    const QStringList inUse = files.values();
    for (const QString& entry : QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        const bool temporary = entry.endsWith(QLatin1String(".tmp"));
        const QString plain = temporary ? entry.chopped(4) : entry;
        const bool manifestName = plain == QLatin1String(kSessionFileName);
        if (!manifestName && !keptFileName().match(plain).hasMatch())
            continue; // not ours: left alone
        if (temporary || (!manifestName && !inUse.contains(entry)))
            QFile::remove(QDir(folder).filePath(entry));
    }
    return {};
}

} // namespace vv
