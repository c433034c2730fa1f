// The low-resolution theme window: loads a 230 x 335 skin sheet, cuts it into
// the 58 theme pieces and shows them as the launcher's screen. It owns the
// program's theme pieces at both resolutions; the high-resolution window and
// Create Theme reach them as Form2->Pieces.
#pragma once

#include "theme/ThemePieces.h"
#include "ui/ThemeWindow.h"

class TForm2 : public ThemeWindow {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);

    // The built-in default theme until a sheet is loaded on either theme window.
    vv::ThemePieces Pieces;
};

extern TForm2* Form2;
