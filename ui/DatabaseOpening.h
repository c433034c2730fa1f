// The way back from a database into the windows: "Open database…" and "Save
// skin sheet…" in the context menus of the theme and icon windows, and files
// dropped on the windows. A database fills both theme windows, the icon slots
// and the database name; a damaged one is refused with its problem and changes
// nothing.
#pragma once

#include "theme/PieceTable.h"

#include <QString>
#include <QStringList>

class QWidget;

namespace vv::ui {

// What a window does with a dropped picture and which menu it offers.
enum class DropWindow {
    Main,      // icon sheet of the main window; "Open database…"
    ThemeLow,  // Load Bitmap of the low-resolution theme window; both menu entries
    ThemeHigh, // Load Bitmap of the high-resolution theme window; both menu entries
    Os5Icons,  // icon sheet of the OS5 icon window; "Open database…"
};

// Accepts drops on `window` and gives it its context menu entries.
void installDatabaseActions(QWidget* window, DropWindow role);
// Gives every window's context menu entries the texts of the language in use.
void applyDatabaseActionTexts();

// Opens a database file into the windows. False, with a message naming the
// file and the problem, when it is refused; then nothing has changed.
bool openDatabaseFile(const QString& path);
// The files named on the program's command line, as a drop of each would do:
// a database opens into the windows, a picture becomes the skin sheet of the
// theme window the screen uses (with the size question). More than one file
// is refused with a message and nothing changes.
void openFilesFromCommandLine(const QStringList& files);
// "Open database…": a file dialog in StartDir/PDBFiles, then openDatabaseFile.
void openDatabaseFromDialog();
// "Save skin sheet…": the current pieces of `resolution` as a sheet (a PNG
// when the name ends in .png, else a 24-bit BMP), written through a temporary
// file. The dialog offers the database name (else
// SkinSheetLow or SkinSheetHigh) with .bmp, and a name typed without an
// extension gets .bmp. A cancelled dialog writes nothing.
void saveSkinSheetFromDialog(PieceResolution resolution);
// "Save template sheet…": a sheet of `resolution` with every piece's rectangle
// marked and named, to paint on; the dialog offers SkinTemplateLow.png or
// SkinTemplateHigh.png.
void saveTemplateSheetFromDialog(PieceResolution resolution);
// The file name "Save skin sheet…" offers for `databaseName` (the name field).
QString suggestedSkinSheetName(const QString& databaseName, PieceResolution resolution);
// `path` with .bmp added when its file name has no extension.
QString withBitmapSuffix(const QString& path);

} // namespace vv::ui
