// Language files Language/vkdm_<name>.lng: lines of Windows-1252 text in a
// fixed order, and the one table that says where each line goes. The first 101
// lines are those every language file has always had; newer texts follow them.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <span>

namespace vv {

// Every language-file message the code shows, by name (its line in the comment).
// A new text: a name here, a row of the line table in LanguageFile.cpp and the
// line in each shipped language file.
enum class Message {
    SettingsNotRead,          // line 30
    LanguageNotLoaded,        // line 31
    IconSheetUnusable,        // line 32
    IconSetNeedsName,         // line 33
    ThemeNeedsName,           // line 34
    SkinSheetUnusable,        // line 35
    SettingsNotWritten,       // line 36
    SettingsNotReadBack,      // line 37
    LanguageFileDamaged,      // line 38
    IconScriptNotReopenable,  // line 39
    IconScriptNotCreatable,   // line 40
    ThemeScriptNotCreatable,  // line 41
    ThemeScriptNotReopenable, // line 42
    ThemeDatabaseNotFound,    // line 43
    IconDatabaseNotFound,     // line 44
    InstallNeedsName,         // line 46
    InstallToolNotRunnable,   // line 49
    InstallToolNotStarted,    // line 53
    CompilerNotStarted,       // line 54
    NoHelpFile,               // line 55
    NoInstallTool,            // line 56
    FileNotOpened,            // line 59
    FileNotWritten,           // line 63
    ThemeFolderMissing,       // line 64
    IconFolderMissing,        // line 65
    DatabaseFolderMissing,    // line 66
    SkinSheetWrongSize,       // line 67
    IconSheetTooSmall,        // line 68
    DatabaseNameTooLong,      // line 69
    CompilerReportedError,    // line 70
    ScreenNotRead,            // line 71
    DatabaseEmpty,            // line 72
    HighIconSheetUnusable,    // line 85
    NoIconSheetLoaded,        // line 86
    OptionsSaved,             // line 90
    SnapshotRunning,          // line 97
    // Texts after line 101 go here, in line order.
    // The build run's failures and refusals, and out-of-range settings.
    AnotherBuildRunning, // line 102
    BuildLockNotTaken,   // line 103
    ChooseSystemScreen,  // line 104
    CompilerCrashed,     // line 105
    CompilerTimedOut,    // line 106
    BuildCancelled,      // line 107
    NoNewDatabase,       // line 108
    NotADatabase,        // line 109
    SettingsOutOfRange,  // line 110
    // Messages that were English only.
    PieceNotSaved,            // line 111
    SnapshotCanvasUnreadable, // line 112
    HelpFileNotOpened,        // line 113
    NotAStartDirectory,       // line 114
    // The build checks' questions and refusals, the build result, the install checks.
    LowArtOnlyQuestion,     // line 115
    DoubleAnswer,           // line 116
    AsItIsAnswer,           // line 117
    CancelAnswer,           // line 118
    LowArtOnlyRefusal,      // line 119
    SheetSizeQuestion,      // line 120
    YesAnswer,              // line 121
    NoAnswer,               // line 122
    HighSheetQuestion,      // line 123
    BothSetsAnswer,         // line 124
    CutAnywayAnswer,        // line 125
    SheetSizeRefusal,       // line 126
    BuildResult,            // line 127
    InstallDatabaseMissing, // line 128
    InstallToolHint,        // line 129
    // What an install tool did with the database.
    InstallHandedOver,   // line 130
    InstallStillRunning, // line 131
    InstallToolFailed,   // line 132
    InstallToolCrashed,  // line 133
    // Closing the Options dialog with unsaved edits.
    OptionsUnsavedQuestion, // line 134
    SaveAnswer,             // line 135
    DiscardAnswer,          // line 136
    // Reset Data's question, undo and redo, and the kept session.
    ResetQuestion,      // line 137
    UndoStepAction,     // line 138
    RedoStepAction,     // line 139
    UndoAction,         // line 140
    RedoAction,         // line 141
    SheetLoadStep,      // line 142
    IconPickStep,       // line 143
    ResetDataStep,      // line 144
    OpenDatabaseStep,   // line 145
    NameEditStep,       // line 146
    StartAfreshStep,    // line 147
    StartAfreshAction,  // line 148
    SessionRestored,    // line 149
    SessionNotRestored, // line 150
    SessionNotKept,     // line 151
    BuildInterrupted,   // line 152
    // Texts the windows showed in English only, whatever the language.
    HighThemeLoading,       // line 154
    LowThemeUpdating,       // line 155
    AboutVersion,           // line 161
    ColourDialogTitle,      // line 165
    HelpTitle,              // line 166
    HelpClose,              // line 167
    SettingsMissingTail,    // line 168
    LanguageMissingTail,    // line 169
    OpenDatabaseAction,     // line 170
    SaveSkinSheetAction,    // line 171
    DatabaseRefused,        // line 172
    FamiliesMissing,        // line 173
    SkinSheetNotSaved,      // line 174
    DatabaseFilter,         // line 175
    BitmapFilter,           // line 176
    PictureFilter,          // line 177
    AllFilesFilter,         // line 178
    InstallToolPlaceholder, // line 179
    // The one-picture forms of the counted questions and refusals.
    LowArtOnlyQuestionOne, // line 180
    LowArtOnlyRefusalOne,  // line 181
    // File dialogs' titles and the install tool's filter.
    OpenDatabaseTitle,  // line 182
    SaveSkinSheetTitle, // line 183
    ProgramFilter,      // line 184
    // The main window's title after a screen's name, and why a database was refused.
    Os5TitleSuffix,         // line 219
    SonyTitleSuffix,        // line 220
    DatabaseUnreadable,     // line 221
    DatabaseTooLarge,       // line 222
    DatabaseNotPalm,        // line 223
    DatabaseWrongType,      // line 224
    DatabasePictureDamaged, // line 225
    OneFileAtATime,         // line 226
    SaveTemplateAction,     // line 227
    SaveTemplateTitle,      // line 228
    // The command line's own words where a message names a window's control.
    CliIconSetNeedsName,         // line 229
    CliThemeNeedsName,           // line 230
    CliIconScriptNotReopenable,  // line 231
    CliIconScriptNotCreatable,   // line 232
    CliThemeScriptNotCreatable,  // line 233
    CliThemeScriptNotReopenable, // line 234
    CliThemeDatabaseNotFound,    // line 235
    CliIconDatabaseNotFound,     // line 236
    CliInstallNeedsName,         // line 237
    CliInstallToolNotStarted,    // line 238
    CliNoInstallTool,            // line 239
    CliChooseSystemScreen,       // line 240
    CliSettingsOutOfRange,       // line 241
    Count
};

inline constexpr int kMessageCount = static_cast<int>(Message::Count);

constexpr int indexOf(Message message) {
    return static_cast<int>(message);
}

// The Messages of a language, reachable by name only, so that a renumbered
// message cannot silently show another's text.
class MessageTexts {
public:
    QString& operator[](Message message) { return texts_[indexOf(message)]; }
    const QString& operator[](Message message) const { return texts_[indexOf(message)]; }
    auto begin() { return texts_.begin(); }
    auto end() { return texts_.end(); }
    auto begin() const { return texts_.begin(); }
    auto end() const { return texts_.end(); }
    static constexpr int size() { return kMessageCount; }

private:
    std::array<QString, kMessageCount> texts_;
};

// Lines every language file has had from the start.
inline constexpr int kClassicLanguageLineCount = 101;
// All lines the table knows, the classic ones and those after them.
extern const int kLanguageLineCount;

enum class LanguageTargetKind {
    Ignored,       // read and dropped, kept so the lines after it stay in place
    Caption,       // the caption of control `control` on window `window`
    WindowCaption, // the title of window `window`
    DialogTitle,   // the title of file dialog `control` on window `window`
    Member,        // text member `control` of the main window
    Message,       // Messages[messageIndex] of the main window
    ToolTip,       // the tooltip of control `control` on window `window` (its
                   // twins on the other windows, or a group the windows name)
};

struct LanguageLine {
    int line; // 1-based, as in the file
    LanguageTargetKind kind;
    const char* window;  // global instance name: "Form1", "Form2", "Form3", "AboutBox"
    const char* control; // control or member name
    int messageIndex;    // indexOf(the Message) for Message lines, else -1

    // The Message a Message line sets.
    constexpr Message message() const { return static_cast<Message>(messageIndex); }
};

// Line N of a language file is languageLines()[N - 1].
std::span<const LanguageLine> languageLines();
// The line whose target is window `window`, control or member `control`; 0 when none.
int languageLineFor(const char* window, const char* control);
// The line that holds `message`.
int languageLineOf(Message message);

// The decoded lines of a language, kLanguageLineCount of them.
using LanguageTexts = QStringList;

// Language files larger than this are refused unread.
inline constexpr qint64 kMaxLanguageFileSize = 1024 * 1024;

// The lines of a language file held in memory, by the file's rules: a line ends
// at CR and the byte after the CR is skipped, a lone LF is text; in a file
// without any CR each LF ends a line. 0xFF ends the data. Lines the data does
// not reach keep the built-in English text.
LanguageTexts readLanguageLines(const QByteArray& bytes);
// The lines of the file; nothing when it cannot be opened, is not a regular
// file or is larger than kMaxLanguageFileSize.
[[nodiscard]] std::optional<LanguageTexts> readLanguageFile(const QString& path);
// The built-in English lines, shipped inside the program.
const LanguageTexts& builtInLanguageLines();

} // namespace vv
