#include "ui/TAboutBox.h"

#include "ui/Artwork.h"
#include "ui/WorkHistory.h"

#include <QKeyEvent>

TAboutBox* AboutBox = nullptr;

using namespace vv::ui;

TAboutBox::TAboutBox(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About Vedi Vavurir"));
    setupFixedWindow(this, 268, 168);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setLineWidth(2);
    Panel1->setGeometry(0, 0, 268, 168);

    Image1 = new TImage(Panel1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(3, 3, 160, 160);
    Image1->setPicture(handheldScreenPicture());
    ProgramIcon = new TImage(Panel1);
    ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
    ProgramIcon->setGeometry(163, 3, 100, 100);
    ProgramIcon->setPicture(programPicture());

    ProductName =
        makeLabel(Panel1, "ProductName", QStringLiteral("Lanternshade Vedi Vavurir"), 163, 103, 100, 26);
    ProductName->setAlignment(Qt::AlignCenter);
    ProductName->setWordWrap(true);
    QFont bold = ProductName->font();
    bold.setBold(true);
    ProductName->setFont(bold);
    Credit = makeLabel(Panel1, "Credit", QStringLiteral("made by its users"), 163, 128, 100, 13);
    Credit->setAlignment(Qt::AlignCenter);
    QFont small = Credit->font();
    small.setPixelSize(10);
    Credit->setFont(small);

    Comments = makeLabel(Panel1, "Comments", QStringLiteral("Lanternshade looking better!"), 3, 115, 160, 17);
    Version = makeLabel(Panel1, "Version", QStringLiteral("Version 0.0.0.0"), 3, 147, 160, 13);
    for (QLabel* overPicture : {Comments, Version}) {
        overPicture->setAlignment(Qt::AlignCenter);
        overPicture->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
        overPicture->setFont(small);
    }

    OKButton = makeButton(Panel1, "OKButton", QStringLiteral("&OK"), 164, 143, 100, 21);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &TAboutBox::OKButtonClick);
    vv::ui::installUndoActions(this, false);
}

void TAboutBox::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        OKButton->click();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void TAboutBox::OKButtonClick() {
    close();
}
