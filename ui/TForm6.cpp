#include "ui/TForm6.h"

TForm6* Form6 = nullptr;

using namespace vv::ui;

TForm6::TForm6(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(QStringLiteral("ZazirEravedi"));
    setupFixedWindow(this, 471, 376);

    Button1 = makeButton(this, "Button1", QStringLiteral("&Load Bitmap"), 79, 0, 146, 24);
    Button2 = makeButton(this, "Button2", QStringLiteral("&Return"), 224, 0, 145, 24);

    QFont busyFont(QStringLiteral("Arial"));
    busyFont.setPixelSize(24);
    busyFont.setBold(true);
    Label1 = makeLabel(
        this, "Label1",
        QStringLiteral("             Loading Hi-Res Theme...               Updating Low-Res Theme..."), 0, 0,
        473, 377);
    Label1->setFont(busyFont);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setWordWrap(true);
    Label1->setAutoFillBackground(true);
    Label1->hide();

    connect(Button1, &QPushButton::clicked, this, &TForm6::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm6::Button2Click);
}

void TForm6::Button1Click() {}

void TForm6::Button2Click() {
    close();
}
