// The About box: product name, version and the program's pictures. It keeps no
// state and does nothing but close.
#pragma once

#include "ui/Controls.h"
#include "ui/TImage.h"

#include <QWidget>

class TAboutBox : public QWidget {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);

    QFrame* Panel1;
    TImage* Image1;      // handheld-screen picture
    TImage* ProgramIcon; // program picture
    TLabel* ProductName;
    TLabel* Credit;
    TLabel* Comments;
    TLabel* Version; // set by the main window on every activation
    TButton* OKButton;

    void OKButtonClick();

protected:
    // Enter takes OK, the default button; Escape closes the box as well.
    void keyPressEvent(QKeyEvent* event) override;
};

extern TAboutBox* AboutBox;
