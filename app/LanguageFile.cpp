#include "app/LanguageFile.h"

#include "platform/FileErrors.h"

#include "common/AnsiText.h"

#include <QFile>
#include <QFileInfo>

#include <cstring>
#include <iterator>

namespace vv {
namespace {

using K = LanguageTargetKind;

constexpr LanguageLine message(int line, Message which) {
    return {line, K::Message, "Form1", "Messages", indexOf(which)};
}

// Line number, what it sets, on which window. The copies to the high-resolution
// windows are not lines of their own: they follow their twins when applied.
constexpr LanguageLine kLines[] = {
    {1, K::Member, "Form1", "LanguageName", -1},
    {2, K::Caption, "Form1", "Label5", -1},
    {3, K::Caption, "Form3", "Label4", -1},
    {4, K::Caption, "Form1", "SpeedButton2", -1},
    {5, K::Caption, "Form2", "Button1", -1},
    {6, K::Caption, "Form1", "SpeedButton1", -1},
    {7, K::Caption, "Form1", "Button2", -1},
    {8, K::Caption, "Form3", "Button4", -1},
    {9, K::WindowCaption, "Form2", "", -1},
    {10, K::WindowCaption, "Form1", "", -1},
    {11, K::Member, "Form1", "HideIconsCaption", -1},
    {12, K::Member, "Form1", "ShowIconsCaption", -1},
    {13, K::Caption, "Form1", "Label1", -1},
    {14, K::Caption, "Form1", "Button4", -1},
    {15, K::Caption, "Form2", "Button2", -1},
    {16, K::Caption, "Form1", "Button1", -1},
    {17, K::Caption, "Form3", "Button1", -1},
    {18, K::Caption, "Form3", "Label2", -1},
    {19, K::Caption, "Form1", "Button7", -1},
    {20, K::WindowCaption, "AboutBox", "", -1},
    {21, K::Caption, "Form3", "Label3", -1},
    {22, K::Caption, "Form1", "Button3", -1},
    {23, K::Caption, "Form1", "Button6", -1},
    {24, K::Caption, "Form3", "CheckBox1", -1},
    {25, K::Caption, "Form3", "CheckBox2", -1},
    {26, K::Caption, "Form3", "CheckBox3", -1},
    {27, K::Caption, "Form3", "CheckBox4", -1},
    {28, K::Caption, "Form1", "Label4", -1},
    {29, K::Caption, "Form3", "Button2", -1},
    message(30, Message::SettingsNotRead),
    message(31, Message::LanguageNotLoaded),
    message(32, Message::IconSheetUnusable),
    message(33, Message::IconSetNeedsName),
    message(34, Message::ThemeNeedsName),
    message(35, Message::SkinSheetUnusable),
    message(36, Message::SettingsNotWritten),
    message(37, Message::SettingsNotReadBack),
    message(38, Message::LanguageFileDamaged),
    message(39, Message::IconScriptNotReopenable),
    message(40, Message::IconScriptNotCreatable),
    message(41, Message::ThemeScriptNotCreatable),
    message(42, Message::ThemeScriptNotReopenable),
    message(43, Message::ThemeDatabaseNotFound),
    message(44, Message::IconDatabaseNotFound),
    {45, K::Caption, "Form1", "Button8", -1},
    message(46, Message::InstallNeedsName),
    {47, K::Caption, "Form3", "Label5", -1},
    {48, K::Caption, "Form3", "Button3", -1},
    message(49, Message::InstallToolNotRunnable),
    {50, K::DialogTitle, "Form3", "OpenDialog1", -1},
    {51, K::DialogTitle, "Form1", "OpenPictureDialog1", -1},
    {52, K::DialogTitle, "Form2", "OpenPictureDialog1", -1},
    message(53, Message::InstallToolNotStarted),
    message(54, Message::CompilerNotStarted),
    message(55, Message::NoHelpFile),
    message(56, Message::NoInstallTool),
    {57, K::Caption, "Form1", "Button9", -1},
    {58, K::Member, "Form1", "HelpSuffix", -1},
    message(59, Message::FileNotOpened),
    {60, K::Ignored, "", "", -1},
    {61, K::Ignored, "", "", -1},
    {62, K::Ignored, "", "", -1},
    message(63, Message::FileNotWritten),
    message(64, Message::ThemeFolderMissing),
    message(65, Message::IconFolderMissing),
    message(66, Message::DatabaseFolderMissing),
    message(67, Message::SkinSheetWrongSize),
    message(68, Message::IconSheetTooSmall),
    message(69, Message::DatabaseNameTooLong),
    message(70, Message::CompilerReportedError),
    message(71, Message::ScreenNotRead),
    message(72, Message::DatabaseEmpty),
    {73, K::Ignored, "", "", -1},
    {74, K::Ignored, "", "", -1},
    {75, K::Ignored, "", "", -1},
    {76, K::Ignored, "", "", -1},
    {77, K::Ignored, "", "", -1},
    {78, K::Ignored, "", "", -1},
    {79, K::Ignored, "", "", -1},
    {80, K::Ignored, "", "", -1},
    {81, K::Ignored, "", "", -1},
    {82, K::Ignored, "", "", -1},
    {83, K::Caption, "Form7", "Button1", -1},
    {84, K::Caption, "Form1", "SpeedButton3", -1},
    message(85, Message::HighIconSheetUnusable),
    message(86, Message::NoIconSheetLoaded),
    {87, K::Caption, "Form3", "CheckBox5", -1},
    {88, K::Caption, "Form3", "Label6", -1},
    {89, K::WindowCaption, "Form3", "", -1},
    message(90, Message::OptionsSaved),
    {91, K::Ignored, "", "", -1},
    {92, K::Caption, "Form1", "Label2", -1},
    {93, K::Caption, "Form1", "Label3", -1},
    {94, K::Caption, "Form1", "Button10", -1},
    {95, K::Member, "Form1", "SnapPromptCaption", -1},
    {96, K::Ignored, "", "", -1},
    message(97, Message::SnapshotRunning),
    {98, K::Caption, "Form3", "CheckBox6", -1},
    {99, K::Caption, "Form3", "Panel1", -1},
    {100, K::Caption, "Form3", "Label13", -1},
    {101, K::Member, "Form1", "SnapBusyCaption", -1},
    // Texts after line 101: one row each, the same line in every shipped language file.
    // The build run's failures and refusals, and out-of-range settings.
    message(102, Message::AnotherBuildRunning),
    message(103, Message::BuildLockNotTaken),
    message(104, Message::ChooseSystemScreen),
    message(105, Message::CompilerCrashed),
    message(106, Message::CompilerTimedOut),
    message(107, Message::BuildCancelled),
    message(108, Message::NoNewDatabase),
    message(109, Message::NotADatabase),
    message(110, Message::SettingsOutOfRange),
    // Messages that were English only: a piece that cannot be saved, an
    // unreadable resource.bmp, a help file that cannot be opened, the question
    // of an installed copy started outside a start directory.
    message(111, Message::PieceNotSaved),
    message(112, Message::SnapshotCanvasUnreadable),
    message(113, Message::HelpFileNotOpened),
    message(114, Message::NotAStartDirectory),
    message(115, Message::LowArtOnlyQuestion),
    message(116, Message::DoubleAnswer),
    message(117, Message::AsItIsAnswer),
    message(118, Message::CancelAnswer),
    message(119, Message::LowArtOnlyRefusal),
    message(120, Message::SheetSizeQuestion),
    message(121, Message::YesAnswer),
    message(122, Message::NoAnswer),
    message(123, Message::HighSheetQuestion),
    message(124, Message::BothSetsAnswer),
    message(125, Message::CutAnywayAnswer),
    message(126, Message::SheetSizeRefusal),
    message(127, Message::BuildResult),
    message(128, Message::InstallDatabaseMissing),
    message(129, Message::InstallToolHint),
    // What an install tool did with the database.
    message(130, Message::InstallHandedOver),
    message(131, Message::InstallStillRunning),
    message(132, Message::InstallToolFailed),
    message(133, Message::InstallToolCrashed),
    // Closing the Options dialog with unsaved edits.
    message(134, Message::OptionsUnsavedQuestion),
    message(135, Message::SaveAnswer),
    message(136, Message::DiscardAnswer),
    // Reset Data's question, undo and redo, and the kept session.
    message(137, Message::ResetQuestion),
    message(138, Message::UndoStepAction),
    message(139, Message::RedoStepAction),
    message(140, Message::UndoAction),
    message(141, Message::RedoAction),
    message(142, Message::SheetLoadStep),
    message(143, Message::IconPickStep),
    message(144, Message::ResetDataStep),
    message(145, Message::OpenDatabaseStep),
    message(146, Message::NameEditStep),
    message(147, Message::StartAfreshStep),
    message(148, Message::StartAfreshAction),
    message(149, Message::SessionRestored),
    message(150, Message::SessionNotRestored),
    message(151, Message::SessionNotKept),
    // A command-line build stopped by a signal.
    message(152, Message::BuildInterrupted),
    // Texts the windows showed in English only: the theme windows' busy
    // labels, the titles of the twin windows, the About box, the colour and
    // help windows, the fixed tails of the start-up messages, the database
    // menus and the file dialogs' filters.
    {153, K::Caption, "Form2", "Label1", -1},
    message(154, Message::HighThemeLoading),
    message(155, Message::LowThemeUpdating),
    {156, K::WindowCaption, "Form6", "", -1},
    {157, K::WindowCaption, "Form7", "", -1},
    {158, K::Caption, "AboutBox", "ProductName", -1},
    {159, K::Caption, "AboutBox", "Credit", -1},
    {160, K::Caption, "AboutBox", "Comments", -1},
    message(161, Message::AboutVersion),
    {162, K::Caption, "AboutBox", "OKButton", -1},
    {163, K::Caption, "Form3", "Label14", -1},
    {164, K::Caption, "Form3", "Label15", -1},
    message(165, Message::ColourDialogTitle),
    message(166, Message::HelpTitle),
    message(167, Message::HelpClose),
    message(168, Message::SettingsMissingTail),
    message(169, Message::LanguageMissingTail),
    message(170, Message::OpenDatabaseAction),
    message(171, Message::SaveSkinSheetAction),
    message(172, Message::DatabaseRefused),
    message(173, Message::FamiliesMissing),
    message(174, Message::SkinSheetNotSaved),
    message(175, Message::DatabaseFilter),
    message(176, Message::BitmapFilter),
    message(177, Message::PictureFilter),
    message(178, Message::AllFilesFilter),
    message(179, Message::InstallToolPlaceholder),
    // The one-picture forms of lines 115 and 119.
    message(180, Message::LowArtOnlyQuestionOne),
    message(181, Message::LowArtOnlyRefusalOne),
    message(182, Message::OpenDatabaseTitle),
    message(183, Message::SaveSkinSheetTitle),
    message(184, Message::ProgramFilter),
    // Tooltips: what each control does; the windows add its access key.
    {185, K::ToolTip, "Form1", "Button4", -1},
    {186, K::ToolTip, "Form1", "Button9", -1},
    {187, K::ToolTip, "Form1", "Button6", -1},
    {188, K::ToolTip, "Form1", "Button5", -1},
    {189, K::ToolTip, "Form1", "Button7", -1},
    {190, K::ToolTip, "Form1", "Button1", -1},
    {191, K::ToolTip, "Form1", "Button3", -1},
    {192, K::ToolTip, "Form1", "Button2", -1},
    {193, K::ToolTip, "Form1", "Button10", -1},
    {194, K::ToolTip, "Form1", "Edit1", -1},
    {195, K::ToolTip, "Form1", "Button8", -1},
    {196, K::ToolTip, "Form1", "Button11", -1},
    {197, K::ToolTip, "Form1", "SpeedButton2", -1},
    {198, K::ToolTip, "Form1", "SpeedButton1", -1},
    {199, K::ToolTip, "Form1", "SpeedButton3", -1},
    {200, K::ToolTip, "Form1", "IconSetSlots", -1},
    {201, K::ToolTip, "Form1", "ThemeIconSlots", -1},
    {202, K::ToolTip, "Form1", "SheetCells", -1},
    {203, K::ToolTip, "Form1", "SnapshotPictures", -1},
    {204, K::ToolTip, "Form1", "", -1},
    {205, K::ToolTip, "Form2", "", -1},
    {206, K::ToolTip, "Form2", "Button1", -1},
    {207, K::ToolTip, "Form2", "Button2", -1},
    {208, K::ToolTip, "Form7", "Button6", -1},
    {209, K::ToolTip, "Form3", "DepthBoxes", -1},
    {210, K::ToolTip, "Form3", "ComboBox2", -1},
    {211, K::ToolTip, "Form3", "ComboBox1", -1},
    {212, K::ToolTip, "Form3", "CheckBox5", -1},
    {213, K::ToolTip, "Form3", "Panel1", -1},
    {214, K::ToolTip, "Form3", "Button3", -1},
    {215, K::ToolTip, "Form3", "Button1", -1},
    {216, K::ToolTip, "Form3", "Button2", -1},
    {217, K::ToolTip, "Form3", "Button4", -1},
    {218, K::ToolTip, "AboutBox", "OKButton", -1},
    message(219, Message::Os5TitleSuffix),
    message(220, Message::SonyTitleSuffix),
    message(221, Message::DatabaseUnreadable),
    message(222, Message::DatabaseTooLarge),
    message(223, Message::DatabaseNotPalm),
    message(224, Message::DatabaseWrongType),
    message(225, Message::DatabasePictureDamaged),
    message(226, Message::OneFileAtATime),
    message(227, Message::SaveTemplateAction),
    message(228, Message::SaveTemplateTitle),
    // What the command line says instead of a message that names a window's control.
    message(229, Message::CliIconSetNeedsName),
    message(230, Message::CliThemeNeedsName),
    message(231, Message::CliIconScriptNotReopenable),
    message(232, Message::CliIconScriptNotCreatable),
    message(233, Message::CliThemeScriptNotCreatable),
    message(234, Message::CliThemeScriptNotReopenable),
    message(235, Message::CliThemeDatabaseNotFound),
    message(236, Message::CliIconDatabaseNotFound),
    message(237, Message::CliInstallNeedsName),
    message(238, Message::CliInstallToolNotStarted),
    message(239, Message::CliNoInstallTool),
    message(240, Message::CliChooseSystemScreen),
    message(241, Message::CliSettingsOutOfRange),
};

constexpr bool linesAreNumberedInOrder() {
    for (std::size_t i = 0; i < std::size(kLines); ++i)
        if (kLines[i].line != static_cast<int>(i) + 1)
            return false;
    return true;
}
static_assert(linesAreNumberedInOrder());

constexpr bool everyMessageHasOneLine() {
    for (int m = 0; m < kMessageCount; ++m) {
        int rows = 0;
        for (const LanguageLine& line : kLines)
            if (line.kind == K::Message && line.messageIndex == m)
                ++rows;
        if (rows != 1)
            return false;
    }
    return true;
}
static_assert(everyMessageHasOneLine(), "each Message needs exactly one row in the line table");

// The lines of `bytes` as raw bytes, at most `limit` of them. Each byte is
// looked at and copied once, so a large file costs about its own size.
QList<QByteArray> splitLines(const QByteArray& bytes, int limit) {
    QByteArrayView data(bytes);
    const qsizetype endByte = data.indexOf('\xFF');
    if (endByte >= 0)
        data = data.first(endByte);
    const char end = data.contains('\r') ? '\r' : '\n';
    const qsizetype skip = end == '\r' ? 1 : 0; // the LF after a CR
    QList<QByteArray> lines;
    qsizetype position = 0;
    while (lines.size() < limit && position < data.size()) {
        qsizetype stop = data.indexOf(end, position);
        if (stop < 0)
            stop = data.size();
        lines.append(bytes.sliced(position, stop - position));
        position = stop + 1 + skip;
    }
    return lines;
}

} // namespace

extern const int kLanguageLineCount = static_cast<int>(std::size(kLines));

std::span<const LanguageLine> languageLines() {
    return kLines;
}

int languageLineFor(const char* window, const char* control) {
    for (const LanguageLine& line : kLines)
        if (std::strcmp(line.window, window) == 0 && std::strcmp(line.control, control) == 0)
            return line.line;
    return 0;
}

int languageLineOf(Message which) {
    for (const LanguageLine& line : kLines)
        if (line.kind == K::Message && line.messageIndex == indexOf(which))
            return line.line;
    return 0;
}

const LanguageTexts& builtInLanguageLines() {
    static const LanguageTexts texts = [] {
        QFile file(QStringLiteral(":/builtin/Language/vkdm_English.lng"));
        const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        const QList<QByteArray> lines = splitLines(bytes, kLanguageLineCount);
        LanguageTexts decoded(kLanguageLineCount);
        for (qsizetype i = 0; i < lines.size(); ++i)
            decoded[i] = decodeAnsi(lines[i]);
        return decoded;
    }();
    return texts;
}

LanguageTexts readLanguageLines(const QByteArray& bytes) {
    LanguageTexts texts = builtInLanguageLines();
    const QList<QByteArray> lines = splitLines(bytes, kLanguageLineCount);
    for (qsizetype i = 0; i < lines.size(); ++i)
        texts[i] = decodeAnsi(lines[i]);
    return texts;
}

std::optional<LanguageTexts> readLanguageFile(const QString& path) {
    if (path.isEmpty())
        return std::nullopt;
    QByteArray bytes;
    if (!readWholeFile(path, kMaxLanguageFileSize, &bytes))
        return std::nullopt;
    return readLanguageLines(bytes);
}

} // namespace vv
