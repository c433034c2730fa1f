// The main window: the hub of the program. It owns the program-wide state
// (vv::MainWindowState, reached as Form1->ScreenType and so on), re-reads the
// settings and the language every time it becomes active, and opens every
// other window modally.
#pragma once

#include "app/MainWindowState.h"
#include "icons/IconBoard.h"
#include "ui/Controls.h"
#include "ui/IconPickerView.h"
#include "ui/TImage.h"
#include "ui/TOpenPictureDialog.h"
#include "ui/WindowSnapshot.h"
#include "work/EditHistory.h"

#include <QLineEdit>
#include <QWidget>

#include <memory>

class TForm1 : public QWidget, public vv::MainWindowState {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);

    // The main menu column.
    TButton* Button4; // &Options
    TButton* Button9; // &Help
    TButton* Button6; // &Reset Data
    TButton* Button5; // &Show Icons; Tag 1 while the icon sheet area is shown
    TButton* Button7; // &About
    TButton* Button1; // E&xit
    // Theme group and database name.
    TButton* Button3;  // &View Theme
    TButton* Button2;  // Create Th&eme
    TButton* Button10; // Sho&t
    TLabel* Label1;    // pdb &name:
    QLineEdit* Edit1;  // database name, at most 30 characters
    TButton* Button8;  // &Install on PDA
    TButton* Button11; // snapshot end button, hidden
    // Icon picker column.
    TButton* SpeedButton2; // &load bmp
    TButton* SpeedButton1; // create &pdb
    TButton* SpeedButton3; // Hi-Res I&cons, offered for the 320x320 OS5 screen only
    // Version, program picture, titles and busy labels.
    TImage* ProgramIcon;
    TImage* Image254; // the case drawn around the icon-set slots
    TLabel* Label6;   // version shadow
    TLabel* Label7;   // version
    TLabel* Label5;   // " Main Menu "
    TLabel* Label4;   // "- Default Theme Icons -"
    TLabel* Label2;   // "Creating Theme...", hidden
    TLabel* Label3;   // "Creating Icon Set...", hidden
    QFrame* Bevel1;
    QFrame* Bevel2;
    TImage* DeskShot; // the snapshot canvas, never shown; sized by resource.bmp
    TOpenPictureDialog OpenPictureDialog1{vv::ui::FileKind::IconSheet};

    // The pictures of both icon pickers, one for the whole program: the OS5
    // window reaches it as Form1->IconBoard with vv::IconWindow::Os5.
    vv::IconBoard IconBoard;
    // Undo and redo over the pictures of every window and the database name.
    vv::EditHistory History;
    // The picker's controls made from the slot and grid tables: Image253, the
    // PaintBox1..272 cells with Bevel13..284, the 32 slots, their holders and LowSnap.
    vv::ui::IconPickerView* IconPicker;
    TImage* Image253; // the icon sheet
    TImage* LowSnap;  // the snapshot picture; a click makes it the source of slot clicks
    TImage* Image4;   // picture button: load bmp
    TImage* Image5;   // picture button: create pdb
    // Sho&t and the end button; declared after IconBoard, so a snapshot still
    // running is stopped before the pictures it draws into go away.
    std::unique_ptr<vv::ui::WindowSnapshot> Snapshot;

    // Runs on every activation: the snapshot canvas, the version labels, the
    // settings and the language are read afresh.
    void FormActivate();
    // Hides this window, shows `window` modally, shows this window again and re-activates it.
    void ShowModalFromMain(QWidget* window);

    // Handlers.
    void Button1Click(); // Exit
    void Button4Click(); // Options
    void Button7Click(); // About
    void Label6Click();  // About, from either version label
    void ProgramIconClick();
    void Button9Click();      // Help
    void Button3Click();      // View Theme
    void SpeedButton3Click(); // Hi-Res Icons
    // Handlers whose work belongs to the theme build, icon picker, install and
    // snapshot; connected now, they do nothing until that work lands.
    void Button2Click();      // Create Theme
    void Button5Click();      // Show Icons
    void Button6Click();      // Reset Data
    void Button8Click();      // Install on PDA
    void Button10Click();     // Shot
    void Button11Click();     // end of the snapshot
    void SpeedButton1Click(); // create pdb
    void SpeedButton2Click(); // load bmp
    // The picker's clicks, one handler each for all cells and all slots.
    void PaintBoxClick(int cell); // SelectedCell = cell
    void IconSlotClick(int slot); // by index in vv::iconSlots()
    void LowSnapClick();          // also DeskShot: SelectedCell = 0
    // CellX, CellY of SelectedCell (1..272).
    void CellOrigin();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // The constructor's steps, one group of controls each.
    void makeFramesAndTitles(); // Bevel1, Bevel2 and the titles on their edges
    void makeMenuButtons();     // the main menu column and the theme group's buttons
    void makeVersionBadge();    // the program picture and both version labels
    void makeNameRow();         // database name, Install and the snapshot's end button
    void makePickerButtons();   // load bmp, create pdb, Hi-Res Icons
    void makeIconSetFrame();    // the case around the icon-set slots
    void makeBusyLabels();      // "Creating Theme..." and "Creating Icon Set..."
    void makeIconPicker();      // cells, slots, picture buttons and the snapshot
    void connectHandlers();
    void installWindowActions(); // undo, database drops, start afresh, session
};

extern TForm1* Form1;
