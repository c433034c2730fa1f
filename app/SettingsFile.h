// The options file vkdm_settings.cfg: 370 bytes of fixed layout, little-endian
// integers, one-byte flags and NUL-terminated Windows-1252 texts in fixed fields.
#pragma once

#include "common/BitDepths.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <optional>

namespace vv {

inline constexpr int kSettingsFileSize = 370;
inline constexpr const char* SettingsFileName = "vkdm_settings.cfg";

// Where each field lies in the file; the depth flags' offsets are in kBitDepthRows.
namespace SettingsOffset {
inline constexpr int Compress = 4;
inline constexpr int LanguageIndex = 6;
inline constexpr int ScreenIndex = 10;
inline constexpr int Red = 14;
inline constexpr int Green = 18;
inline constexpr int Blue = 22;
inline constexpr int PaletteIndex = 26;
inline constexpr int LanguageName = 30;
inline constexpr int ScreenText = 50;
inline constexpr int InstallTool = 70;
} // namespace SettingsOffset

inline constexpr int kLanguageNameWidth = 20;
inline constexpr int kScreenTextWidth = 20;
inline constexpr int kInstallToolWidth = 300;

// The install tool a new start directory names: the desktop suite's on
// Windows; elsewhere there is no usual one, so none.
inline QString defaultInstallTool() {
#ifdef Q_OS_WIN
    return QStringLiteral("c:\\palmdesktop\\instapp.exe");
#else
    return {};
#endif
}

// One record of the file. The defaults are what the Options dialog holds before
// any file has been read.
struct SettingsRecord {
    DepthSet depths{16};
    bool compress = true;
    qint32 languageIndex = -1;
    qint32 screenIndex = -1; // SystemScreen list position, stored unmapped
    qint32 red = 0;
    qint32 green = 255;
    qint32 blue = 0;
    qint32 paletteIndex = 210;
    QString languageName;
    QString screenText;
    QString installTool = defaultInstallTool();

    bool operator==(const SettingsRecord&) const = default;
};

// The 370 bytes of `record`. A text longer than its field is cut so that the
// terminator still fits; the padding after it is zero bytes.
QByteArray encodeSettings(const SettingsRecord& record);

// Reads the fields that `bytes` holds completely over a copy of `current`:
// bytes past 370 are ignored, and a field the data ends inside keeps its
// current value, so a short file never reads beyond what it has.
SettingsRecord decodeSettings(const QByteArray& bytes, const SettingsRecord& current);

// Reads the file over `current`; nothing when it cannot be opened.
[[nodiscard]] std::optional<SettingsRecord> readSettingsFile(const QString& path,
                                                             const SettingsRecord& current);

// Writes the file through a temporary name and a rename, so a failed write
// leaves the old file as it was. On failure returns false and sets `error`.
[[nodiscard]] bool writeSettingsFile(const QString& path, const SettingsRecord& record,
                                     QString* error = nullptr);

// What a loaded record holds that no build can use: each transparent colour
// component or palette index outside 0 to 255, named with its value, for the
// language file's out-of-range message. Empty when everything is in range.
// `includeColour` false leaves the three colour components out.
QString settingsRangeProblem(const SettingsRecord& record, bool includeColour = true);

// ScreenType from a stored SystemScreen index, by the screen table (0, 1, 2, 3
// give 1, 2, 3, 3); an index outside the table is taken as it stands.
int screenTypeFromStoredIndex(int storedIndex);
// ScreenType after saving SystemScreen index `listIndex`: as above for an
// index of the table, otherwise `previous` is kept.
int screenTypeAfterSave(int listIndex, int previous);

// "COMPRESS " (with its blank) while compression is on, else empty.
QString compressKeywordFor(bool compress);

} // namespace vv
