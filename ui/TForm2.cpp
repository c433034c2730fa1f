#include "ui/TForm2.h"

TForm2* Form2 = nullptr;

using namespace vv::ui;

TForm2::TForm2(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("ZazirEravedi"));
    setupFixedWindow(this, 233, 213);

    Button1 = makeButton(this, "Button1", QStringLiteral("&Load Bitmap"), 40, 2, 81, 23);
    Button2 = makeButton(this, "Button2", QStringLiteral("&Return"), 120, 2, 81, 23);

    QFont busyFont(QStringLiteral("Arial"));
    busyFont.setPixelSize(24);
    busyFont.setBold(true);
    Label1 = makeLabel(this, "Label1", QStringLiteral("Loading Theme..."), -1, -6, 234, 223);
    Label1->setFont(busyFont);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setWordWrap(true);
    Label1->setAutoFillBackground(true);
    Label1->hide();

    connect(Button1, &QPushButton::clicked, this, &TForm2::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm2::Button2Click);
}

void TForm2::Button1Click() {}

void TForm2::Button2Click() {
    close();
}
