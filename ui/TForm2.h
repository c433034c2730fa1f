// The low-resolution theme window: loads a 230 x 335 skin sheet, cuts it into
// the 58 theme pieces and shows them as the launcher's screen.
#pragma once

#include "ui/Controls.h"
#include "ui/TOpenPictureDialog.h"

#include <QWidget>

class TForm2 : public QWidget {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);

    TButton* Button1; // &Load Bitmap
    TButton* Button2; // &Return
    TLabel* Label1;   // busy label over the whole window, hidden
    TOpenPictureDialog OpenPictureDialog1;
    // Copy of the main window's start directory, made before each showing;
    // the sheet dialog opens in its ThmeBMP folder.
    QString StartDir;

    void Button1Click(); // load a skin sheet: the slicing work connects here
    void Button2Click(); // Return
};

extern TForm2* Form2;
