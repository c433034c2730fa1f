#include "tools/launcherdata/LauncherData.h"

#include <QDir>
#include <QSaveFile>

namespace vv::launcherdata {
namespace {

// Everything on the handheld is big-endian.
void appendWord(QByteArray& bytes, quint16 value) {
    bytes.append(char(value >> 8));
    bytes.append(char(value & 0xFF));
}

void appendLong(QByteArray& bytes, quint32 value) {
    appendWord(bytes, quint16(value >> 16));
    appendWord(bytes, quint16(value & 0xFFFF));
}

// Entry code: moveq #0,d0 ; rts. Returns errNone at once if anything ever
// launches the database.
QByteArray entryCode() {
    return QByteArray::fromHex("70004e75");
}

// The code-0 header: 40 bytes above A5 (32 of parameters plus one 8-byte jump
// table entry), no globals below A5, the jump table's size and offset, then the
// single entry in its unloaded form (segment offset 0, move.w #1,-(sp), _LoadSeg).
QByteArray codeZeroHeader() {
    QByteArray bytes;
    appendLong(bytes, 40);
    appendLong(bytes, 0);
    appendLong(bytes, 8);
    appendLong(bytes, 32);
    appendWord(bytes, 0);
    appendWord(bytes, 0x3F3C);
    appendWord(bytes, 1);
    appendWord(bytes, 0xA9F0);
    return bytes;
}

// An empty global-data image: the offset of the code-1 relocation block, three
// empty initialised-data blocks (A5 offset 0, stream ended by a zero byte), then
// six zero relocation counts (three for data, three for code 1).
QByteArray emptyDataResource() {
    constexpr int kBlocks = 3;
    constexpr int kBlockBytes = 5;
    constexpr int kRelocationBlocks = 3;
    QByteArray bytes;
    appendLong(bytes, 4 + kBlocks * kBlockBytes + kRelocationBlocks * 4);
    for (int i = 0; i < kBlocks; ++i) {
        appendLong(bytes, 0);
        bytes.append('\0');
    }
    for (int i = 0; i < 2 * kRelocationBlocks; ++i)
        appendLong(bytes, 0);
    return bytes;
}

// The icon name, zero-terminated and padded to an even length.
QByteArray iconName() {
    QByteArray bytes("Vedi Vavurir");
    bytes.append('\0');
    if (bytes.size() % 2 != 0)
        bytes.append('\0');
    return bytes;
}

constexpr quint16 kRecordVersion = 1;
constexpr quint32 kLauncherCreator = 0x72657A65; // 'reze'

QByteArray identification(quint16 density) {
    QByteArray bytes;
    appendLong(bytes, kLauncherCreator);
    appendWord(bytes, kRecordVersion);
    appendWord(bytes, density);
    return bytes;
}

enum Kind : quint16 { Theme = 1, IconSet = 2 };
enum Screen : quint16 { Standard = 0, DoubleDensity = 1, SonyHighResolution = 2 };

QByteArray information(Kind kind, quint16 depth, quint16 density, Screen screen) {
    QByteArray bytes;
    appendWord(bytes, kRecordVersion);
    appendWord(bytes, kind);
    appendWord(bytes, depth);
    appendWord(bytes, density);
    appendWord(bytes, screen);
    appendWord(bytes, 0); // flags, none defined yet
    return bytes;
}

} // namespace

QList<DataFile> launcherDataFiles() {
    QList<DataFile> files;
    for (const QString& folder : {QStringLiteral("ThmeRsrc"), QStringLiteral("IconRsrc")}) {
        files.append({folder, QStringLiteral("code0001.bin"), entryCode()});
        files.append({folder, QStringLiteral("data0000.bin"), emptyDataResource()});
        files.append({folder, QStringLiteral("code0000.bin"), codeZeroHeader()});
        files.append({folder, QStringLiteral("IdAT03E8.bin"), identification(72)});
        files.append({folder, QStringLiteral("tAIN03E8.bin"), iconName()});
    }
    const QString theme = QStringLiteral("ThmeRsrc");
    files.append({theme, QStringLiteral("IdATOS5.bin"), identification(144)});
    files.append({theme, QStringLiteral("InFO03E8.bin"), information(Theme, 8, 72, Standard)});
    files.append({theme, QStringLiteral("InFO03E4.bin"), information(Theme, 4, 72, Standard)});
    files.append({theme, QStringLiteral("InFO03E2.bin"), information(Theme, 2, 72, Standard)});
    files.append({theme, QStringLiteral("InFOOS5.bin"), information(Theme, 16, 144, DoubleDensity)});
    files.append({theme, QStringLiteral("InFOSONY.bin"), information(Theme, 16, 72, SonyHighResolution)});
    const QString icons = QStringLiteral("IconRsrc");
    files.append({icons, QStringLiteral("InFO03E1.bin"), information(IconSet, 1, 72, Standard)});
    files.append({icons, QStringLiteral("InFO03E2.bin"), information(IconSet, 2, 72, Standard)});
    files.append({icons, QStringLiteral("InFO03E4.bin"), information(IconSet, 4, 72, Standard)});
    files.append({icons, QStringLiteral("InFO03E8.bin"), information(IconSet, 8, 72, Standard)});
    files.append({icons, QStringLiteral("InFO03E6.bin"), information(IconSet, 16, 72, Standard)});
    return files;
}

bool writeLauncherDataFiles(const QString& dataDir, QString* error) {
    for (const DataFile& file : launcherDataFiles()) {
        const QString folder = dataDir + QLatin1Char('/') + file.folder;
        if (!QDir().mkpath(folder)) {
            *error = folder + QStringLiteral(": cannot create the folder");
            return false;
        }
        QSaveFile out(folder + QLatin1Char('/') + file.name);
        if (!out.open(QIODevice::WriteOnly) || out.write(file.bytes) != file.bytes.size() || !out.commit()) {
            *error = out.fileName() + QStringLiteral(": ") + out.errorString();
            return false;
        }
    }
    return true;
}

} // namespace vv::launcherdata
