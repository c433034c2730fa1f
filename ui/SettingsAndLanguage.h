// The settings file and the language file as the windows see them: reading
// into the Options dialog's controls and the main window's members, saving
// from the dialog, and spreading a language's texts over all six windows.
#pragma once

#include <QString>

#include <optional>

// Reads StartDir/vkdm_settings.cfg into the Options dialog and the main window.
// Returns the language file the settings name, or nothing when the settings
// file cannot be opened (then nothing changes; the caller reports).
std::optional<QString> LoadSettings(const QString& startDir);

// Writes the Options dialog's state to StartDir/vkdm_settings.cfg. On failure
// shows SettingsNotWritten, keeps the old file and changes nothing.
bool SaveSettings(const QString& startDir);

namespace vv {
struct SettingsRecord;
}
// What SaveSettings would write now, from the Options dialog's state.
vv::SettingsRecord OptionsRecord();

// Applies the 101 lines of `languageFile` to every window. A file that cannot
// be opened is reported (LanguageFileDamaged while the Options dialog is shown) and
// leaves every text as it was.
void ApplyLanguage(const QString& languageFile);

namespace vv::ui {
// Creates the six windows in their start-up order, and destroys them again.
void createWindows();
void destroyWindows();
} // namespace vv::ui
