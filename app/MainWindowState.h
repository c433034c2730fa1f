// The program-wide state the main window owns: start directory, screen type,
// transparency colour, compression keyword, version and the language's texts.
// The main window carries it as its own members, so handlers reach it as
// Form1->ScreenType; core functions take it by reference.
#pragma once

#include "app/LanguageFile.h"
#include "common/SystemScreens.h"

#include <QString>

#include <array>

namespace vv {

struct MainWindowState {
    // Icon picker: the chosen sheet cell (0 = none, the snapshot picture is
    // used) and the copy rectangles, left, top, right, bottom.
    int SelectedCell = 0;
    int SrcLeft = 3, SrcTop = 8, SrcRight = 39, SrcBottom = 34;
    int CellX = 0, CellY = 0;
    int DstLeft = 0, DstTop = 0, DstRight = 36, DstBottom = 26;

    // Base of every data path; the working directory when the program started.
    QString StartDir;
    int LanguageIndex = 0;
    int ScreenType = kDefaultScreenType; // a ScreenType of the SystemScreen table
    QString TransparentIndex = QStringLiteral("210");
    QString TransparentRed = QStringLiteral("0");
    QString TransparentGreen = QStringLiteral("255");
    QString TransparentBlue = QStringLiteral("0");
    QString CompressKeyword; // "COMPRESS " while compression is on

    QString VersionPrefix = QStringLiteral("ver. ");
    QString VersionNumber = QStringLiteral(VV_VERSION);

    // Texts of the current language; all empty until a language file was read.
    QString LanguageName;
    QString HelpSuffix;
    QString ShowIconsCaption;
    QString HideIconsCaption;
    QString SnapPromptCaption;
    QString SnapBusyCaption;
    MessageTexts Messages;
};

} // namespace vv
