// The high-resolution theme window: loads a 460 x 670 skin sheet, cuts it into
// the 58 double-size pieces (and the low-resolution set at half size) and shows them.
#pragma once

#include "ui/Controls.h"
#include "ui/TOpenPictureDialog.h"

#include <QWidget>

class TForm6 : public QWidget {
    Q_OBJECT
public:
    explicit TForm6(QWidget* parent = nullptr);

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

extern TForm6* Form6;
