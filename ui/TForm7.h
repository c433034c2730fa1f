// The OS5 icon window: the double-density twin of the main window's icon
// picker, with its own View Theme and snapshot buttons.
#pragma once

#include "ui/Controls.h"
#include "ui/IconPickerView.h"
#include "ui/TOpenPictureDialog.h"
#include "ui/WindowSnapshot.h"

#include <QWidget>

#include <memory>

class TForm7 : public QWidget {
    Q_OBJECT
public:
    explicit TForm7(QWidget* parent = nullptr);

    // Icon picker state, as on the main window but for the 72 x 52 cells.
    int SelectedCell = 0;
    int SrcLeft = 6, SrcTop = 16, SrcRight = 78, SrcBottom = 68;
    int CellX = 0, CellY = 0;
    int DstLeft = 0, DstTop = 0, DstRight = 72, DstBottom = 52;

    TButton* Button1;      // R&eturn
    TButton* Button2;      // &View Theme
    TButton* Button3;      // Sho&t
    TButton* Button5;      // &Show Icons; Tag 1 while the icon sheet area is shown
    TButton* Button6;      // &Reset Data
    TButton* Button11;     // snapshot end button, hidden
    TButton* SpeedButton2; // &load bmp
    TLabel* Label4;        // theme icons title
    TLabel* Label5;        // menu title
    TLabel* Label6;        // version; a click opens the About box
    TOpenPictureDialog OpenPictureDialog1{vv::ui::FileKind::IconSheet};
    // The picker's controls over Form1->IconBoard's OS5 side: Image31, the
    // PaintBox1..90 cells with Bevel5..94, the 32 slots, their holders and HighSnap.
    vv::ui::IconPickerView* IconPicker;
    TImage* Image31;  // the double-density icon sheet
    TImage* HighSnap; // the snapshot picture; a click makes it the source of slot clicks
    TImage* Image52;  // picture button: load bmp
    // Sho&t and the end button, drawing into HighSnap.
    std::unique_ptr<vv::ui::WindowSnapshot> Snapshot;

    void Button1Click(); // Return
    void Button2Click(); // View Theme: always the high-resolution theme window
    void Label6Click();  // About
    // Work of the OS5 icon picker and the snapshot; connected, doing nothing yet.
    void Button3Click();
    void Button5Click();
    void Button6Click();
    void Button11Click();
    void SpeedButton2Click();
    // The picker's clicks, one handler each for all cells and all slots.
    void PaintBoxClick(int cell); // SelectedCell = cell
    void IconSlotClick(int slot); // by index in vv::iconSlots(); also sets the partner on Form1
    void HighSnapClick();         // SelectedCell = 0
    // CellX, CellY of SelectedCell (1..90).
    void CellOrigin();
    // Places the strip below the slots for the captions in use: the sheet's
    // controls from the left, the way back from the right, each button as wide
    // as its longest caption needs, the two titles centred between them.
    void layOutStrip();

protected:
    void closeEvent(QCloseEvent* event) override;
};

extern TForm7* Form7;
