#include "ui/TForm6.h"

#include "ui/DatabaseOpening.h"
#include "ui/TForm2.h"
#include "ui/WorkHistory.h"

TForm6* Form6 = nullptr;

TForm6::TForm6(QWidget* parent) : ThemeWindow(vv::PieceResolution::High, parent) {
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(QStringLiteral("ZazirEravedi"));
    vv::ui::setupFixedWindow(this, 471, 376);
    placeControls({79, 0, 145, 24}, {224, 0, 145, 24}, {0, 0, 473, 377}, vv::ui::highThemeBusyCaption());
    // The pieces belong to the low-resolution window, created before this one.
    if (Form2)
        showPieces(Form2->Pieces);
    vv::ui::installUndoActions(this, true);
    vv::ui::installDatabaseActions(this, vv::ui::DropWindow::ThemeHigh);
}
