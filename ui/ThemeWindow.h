// What the two theme windows share: the hidden sheet image, the 58 piece images
// at their preview places, the Load Bitmap and Return buttons, the busy label
// and the sheet dialog. TForm2 shows the low-resolution pieces, TForm6 the
// high-resolution ones; both show the one vv::ThemePieces the program has,
// which TForm2 owns as Form2->Pieces.
#pragma once

#include "theme/PieceTable.h"
#include "ui/Controls.h"
#include "ui/TImage.h"
#include "ui/TOpenPictureDialog.h"

#include <QRect>
#include <QRgb>
#include <QWidget>

#include <array>

namespace vv {
class ThemePieces;
}

class ThemeWindow : public QWidget {
    Q_OBJECT
public:
    TButton* Button1 = nullptr; // &Load Bitmap
    TButton* Button2 = nullptr; // &Return
    TLabel* Label1 = nullptr;   // busy label over the whole window, hidden
    TImage* Image1 = nullptr;   // the last sheet loaded here, never shown
    TOpenPictureDialog OpenPictureDialog1{vv::ui::FileKind::SkinSheet};
    // Copy of the main window's start directory, made before each showing;
    // the sheet dialog opens in its ThmeBMP folder.
    QString StartDir;

    vv::PieceResolution resolution() const { return resolution_; }
    // The image of themePieceTable()[index]: Image2 .. Image59 by the table.
    TImage* pieceImage(int index) const { return pieceImages_.at(index); }
    // Shows the program's pieces (Form2->Pieces) of this window's resolution.
    void showPieces();
    void showPieces(const vv::ThemePieces& pieces);

    // Load Bitmap: asks for a sheet and cuts it at this window's resolution. A
    // cancelled dialog or a sheet that cannot be read changes no piece; a
    // reading failure is reported. A sheet of another size is cut only when
    // the user says so (or, on the low-resolution window, a high-resolution
    // sheet as such). Both theme windows show the result.
    void Button1Click();
    // The cut of Load Bitmap for a file already chosen (a picture dropped on the window).
    void loadSheetFile(const QString& path);
    void Button2Click(); // Return

    ~ThemeWindow() override;

protected:
    // Places the sheet image and the piece images; the derived window then adds
    // its buttons and busy label, which stay above the pieces.
    ThemeWindow(vv::PieceResolution resolution, QWidget* parent);
    // The buttons and the busy label at the window's own places, above the
    // pieces, connected to the handlers.
    void placeControls(const QRect& loadButton, const QRect& returnButton, const QRect& busyLabel,
                       const QString& busyCaption);

private:
    vv::PieceResolution resolution_;
    std::array<TImage*, vv::kThemePieceCount> pieceImages_{};
};

namespace vv::ui {

// The program's theme pieces (Form2->Pieces; defined beside their owner).
ThemePieces& themePieces();
// Shows the current pieces on every theme window that exists.
void showPiecesOnThemeWindows();
// What a piece receives where a small sheet has no pixels: the main window's
// current transparency colour, so the launcher shows through there; the
// default green when those texts are not colour values.
QRgb outsideSheetColour();
// The high-resolution window's busy text: loading the high-resolution pieces,
// then, on a line of its own, updating the low-resolution ones.
QString highThemeBusyCaption();

} // namespace vv::ui
