// The high-resolution theme window: loads a 460 x 670 skin sheet, cuts it into
// the 58 double-size pieces (and the low-resolution set at half size) and
// shows them. Its pieces are part of Form2->Pieces.
#pragma once

#include "ui/ThemeWindow.h"

class TForm6 : public ThemeWindow {
    Q_OBJECT
public:
    explicit TForm6(QWidget* parent = nullptr);
};

extern TForm6* Form6;
