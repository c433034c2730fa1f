#include "ui/TForm2.h"

#include "ui/DatabaseOpening.h"
#include "ui/WorkHistory.h"

TForm2* Form2 = nullptr;

vv::ThemePieces& vv::ui::themePieces() {
    return Form2->Pieces;
}

TForm2::TForm2(QWidget* parent) : ThemeWindow(vv::PieceResolution::Low, parent) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("ZazirEravedi"));
    vv::ui::setupFixedWindow(this, 233, 213);
    placeControls({40, 2, 80, 22}, {120, 2, 81, 22}, {-1, -6, 234, 223}, QStringLiteral("Loading Theme..."));
    // Form2 is not set yet while this window is built.
    showPieces(Pieces);
    vv::ui::installUndoActions(this, true);
    vv::ui::installDatabaseActions(this, vv::ui::DropWindow::ThemeLow);
}
