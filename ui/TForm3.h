// The Options dialog. Its controls are the live option values: the builds read
// the bit-depth boxes from here even while the dialog is closed, and every
// activation of the main window loads the settings file into them.
#pragma once

#include "app/SettingsFile.h"
#include "common/BitDepths.h"
#include "ui/Controls.h"
#include "ui/TImage.h"
#include "ui/TOpenPictureDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QWidget>

class TForm3 : public QWidget {
    Q_OBJECT
public:
    explicit TForm3(QWidget* parent = nullptr);

    // Copy of the main window's StartDir, made before each showing.
    QString StartDir;
    // What the last settings file held out of range, empty when nothing; shown
    // whenever the dialog is opened until a save writes good values.
    QString SettingsProblem;
    // Palette index (decimal) of the colour chosen or loaded; written by Save.
    QString TransparentIndex;
    // What Save would have written when the dialog was opened or last saved:
    // closing with anything else asks first.
    vv::SettingsRecord SavedOptions;

    TLabel* Label5;   // install tool title
    QLineEdit* Edit1; // install tool path
    TButton* Button3; // Selec&t
    TOpenDialog OpenDialog1{vv::ui::FileKind::InstallTool};
    TLabel* Label4;       // bit depth title
    QCheckBox* CheckBox1; // 1 bpp, the fallback depth
    QCheckBox* CheckBox2; // 2 bpp
    QCheckBox* CheckBox3; // 4 bpp
    QCheckBox* CheckBox4; // 8 bpp
    QCheckBox* CheckBox6; // 16 bpp
    TLabel* Label3;       // System Scr&een:
    QComboBox* ComboBox2; // SystemScreen
    TLabel* Label2;       // Select &Language:
    QComboBox* ComboBox1; // language, filled from Language/*.lng on activation
    TLabel* Label1;       // the current language's own name
    TLabel* Label6;       // compression title
    QCheckBox* CheckBox5; // compression
    TLabel* Label13;      // colour row title; shows the chosen colour's value
    TLabel* Panel1;       // colour swatch; shows the palette index after a choice
    TLabel* Label14;      // "Hex"
    TLabel* Label15;      // "Dec"
    TLabel* Label7;       // red, hexadecimal
    TLabel* Label8;       // green, hexadecimal
    TLabel* Label9;       // blue, hexadecimal
    TLabel* Label10;      // red, decimal
    TLabel* Label11;      // green, decimal
    TLabel* Label12;      // blue, decimal
    TButton* Button1;     // &Save
    TButton* Button2;     // &Apply
    TButton* Button4;     // &Close
    TImage* ProgramIcon;

    // Fills the language list and selects the main window's LanguageIndex.
    void FormActivate();
    void Button1Click();   // Save, and say so
    void Button2Click();   // Apply: save, read back, apply the language
    void Button3Click();   // choose the install tool
    void Button4Click();   // Close (asks first when there are unsaved edits)
    void CheckBox1Click(); // the bit-depth rule, shared by all five depth boxes
    void CheckBox5Click(); // compression keyword
    void Panel1Click();    // choose the transparency colour
    void ProgramIconClick();

    // The box of a depth of kBitDepthRows, found by the table's box name.
    QCheckBox* depthBox(int bpp) const;
    // The depths whose boxes are checked.
    vv::DepthSet checkedDepths() const;
    // Checks exactly the boxes of `depths`, without running the bit-depth rule
    // box by box: the caller judges the set as a whole.
    void showDepths(vv::DepthSet depths);

    // Colours the swatch; its caption text stays legible on it.
    void setSwatchColour(const QColor& colour);

    // Whether the controls hold edits that were not saved.
    bool hasUnsavedEdits() const;
    // Asks Save / Discard / Cancel when there are unsaved edits; true when the
    // dialog may close (saved, discarded, or nothing to ask about).
    bool mayClose();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // The constructor's steps, one group of controls each.
    void makeDepthBoxes();        // the bit-depth title and boxes
    void makeScreenAndLanguage(); // System Screen, language list and the language's name
    void makeColourRow();         // the transparency swatch and its hex and decimal cells
    void makeCompressionBox();    // the compression title and box
    void makeDialogButtons();     // Save, Apply, Close and the program picture
    void makeInstallToolRow();    // the install tool path and Select
    void connectHandlers();

    bool save();
    bool backFromAbout_ = false;
    // Escape closes the dialog, as Close does.
    void keyPressEvent(QKeyEvent* event) override;
};

extern TForm3* Form3;
