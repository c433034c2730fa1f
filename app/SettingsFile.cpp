#include "app/SettingsFile.h"

#include "common/AnsiText.h"
#include "common/SystemScreens.h"
#include "platform/FileErrors.h"

#include <QFile>
#include <QStringList>
#include <QtEndian>

namespace vv {
namespace {

void putInt(QByteArray& bytes, int offset, qint32 value) {
    qToLittleEndian<qint32>(value, bytes.data() + offset);
}

void putText(QByteArray& bytes, int offset, int width, const QString& text) {
    const QByteArray encoded = encodeAnsi(text).left(width - 1);
    std::copy(encoded.cbegin(), encoded.cend(), bytes.begin() + offset);
}

bool has(const QByteArray& bytes, int offset, int width) {
    return bytes.size() >= offset + width;
}

void takeFlag(const QByteArray& bytes, int offset, bool& field) {
    if (has(bytes, offset, 1))
        field = bytes[offset] != 0;
}

void takeInt(const QByteArray& bytes, int offset, qint32& field) {
    if (has(bytes, offset, 4))
        field = qFromLittleEndian<qint32>(bytes.constData() + offset);
}

void takeText(const QByteArray& bytes, int offset, int width, QString& field) {
    if (!has(bytes, offset, width))
        return;
    const QByteArray raw = bytes.mid(offset, width);
    const qsizetype end = raw.indexOf('\0');
    field = decodeAnsi(end < 0 ? raw : raw.left(end));
}

} // namespace

QByteArray encodeSettings(const SettingsRecord& record) {
    namespace O = SettingsOffset;
    QByteArray bytes(kSettingsFileSize, '\0');
    for (const BitDepthRow& row : kBitDepthRows)
        bytes[row.settingsOffset] = record.depths.contains(row.bpp) ? 1 : 0;
    bytes[O::Compress] = record.compress ? 1 : 0;
    putInt(bytes, O::LanguageIndex, record.languageIndex);
    putInt(bytes, O::ScreenIndex, record.screenIndex);
    putInt(bytes, O::Red, record.red);
    putInt(bytes, O::Green, record.green);
    putInt(bytes, O::Blue, record.blue);
    putInt(bytes, O::PaletteIndex, record.paletteIndex);
    putText(bytes, O::LanguageName, kLanguageNameWidth, record.languageName);
    putText(bytes, O::ScreenText, kScreenTextWidth, record.screenText);
    putText(bytes, O::InstallTool, kInstallToolWidth, record.installTool);
    return bytes;
}

SettingsRecord decodeSettings(const QByteArray& data, const SettingsRecord& current) {
    namespace O = SettingsOffset;
    const QByteArray bytes = data.left(kSettingsFileSize);
    SettingsRecord record = current;
    for (const BitDepthRow& row : kBitDepthRows) {
        bool on = record.depths.contains(row.bpp);
        takeFlag(bytes, row.settingsOffset, on);
        record.depths.set(row.bpp, on);
    }
    takeFlag(bytes, O::Compress, record.compress);
    takeInt(bytes, O::LanguageIndex, record.languageIndex);
    takeInt(bytes, O::ScreenIndex, record.screenIndex);
    takeInt(bytes, O::Red, record.red);
    takeInt(bytes, O::Green, record.green);
    takeInt(bytes, O::Blue, record.blue);
    takeInt(bytes, O::PaletteIndex, record.paletteIndex);
    takeText(bytes, O::LanguageName, kLanguageNameWidth, record.languageName);
    takeText(bytes, O::ScreenText, kScreenTextWidth, record.screenText);
    takeText(bytes, O::InstallTool, kInstallToolWidth, record.installTool);
    return record;
}

namespace {
// The record is a few hundred bytes; anything far larger is not ours.
constexpr qint64 kLargestSettingsFile = 1024 * 1024;
} // namespace

std::optional<SettingsRecord> readSettingsFile(const QString& path, const SettingsRecord& current) {
    // Anything but a regular file (a FIFO would block the start) is no settings file.
    QByteArray bytes;
    if (!readWholeFile(path, kLargestSettingsFile, &bytes))
        return std::nullopt;
    return decodeSettings(bytes.left(kSettingsFileSize), current);
}

bool writeSettingsFile(const QString& path, const SettingsRecord& record, QString* error) {
    QString problem;
    if (!writeWholeFile(path, encodeSettings(record), &problem)) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, problem);
        return false;
    }
    return true;
}

namespace {

bool isScreenIndex(int index) {
    return index >= 0 && index < int(screenProfiles().size());
}

} // namespace

QString settingsRangeProblem(const SettingsRecord& record, bool includeColour) {
    struct Field {
        const char* what;
        qint32 value;
        bool colour;
    };
    const Field fields[] = {{"red component of the transparent colour", record.red, true},
                            {"green component of the transparent colour", record.green, true},
                            {"blue component of the transparent colour", record.blue, true},
                            {"transparent palette index", record.paletteIndex, false}};
    QStringList problems;
    for (const Field& field : fields) {
        if ((includeColour || !field.colour) && (field.value < 0 || field.value > 255))
            problems
                << QStringLiteral("the %1 is %2 (0 to 255)").arg(QLatin1String(field.what)).arg(field.value);
    }
    return problems.join(QStringLiteral(", "));
}

int screenTypeFromStoredIndex(int storedIndex) {
    return isScreenIndex(storedIndex) ? screenProfiles()[storedIndex].screenType : storedIndex;
}

int screenTypeAfterSave(int listIndex, int previous) {
    return isScreenIndex(listIndex) ? screenTypeFromStoredIndex(listIndex) : previous;
}

QString compressKeywordFor(bool compress) {
    return compress ? QStringLiteral("COMPRESS ") : QString();
}

} // namespace vv
