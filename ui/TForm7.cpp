#include "ui/TForm7.h"

#include "ui/DatabaseOpening.h"
#include "ui/Dialogs.h"
#include "ui/TAboutBox.h"
#include "ui/TForm1.h"
#include "ui/TForm6.h"
#include "ui/TImage.h"
#include "ui/WorkHistory.h"

#include <QCloseEvent>
#include <QFontMetrics>

TForm7* Form7 = nullptr;

using namespace vv::ui;

TForm7::TForm7(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Form7"));
    setWindowTitle(QStringLiteral("ZaviZiruziv OS5"));
    // Wide enough for the 723-pixel icon sheet below; the picker enlarges the height.
    setupFixedWindow(this, 726, 163);

    // The slots fill rows 4 to 138; the controls share the strip below them,
    // placed by layOutStrip.
    SpeedButton2 = makeSpeedButton(this, "SpeedButton2", QStringLiteral("&load bmp    "), 18, 143, 54, 17);
    Button5 = makeButton(this, "Button5", QStringLiteral("&Show Icons"), 72, 141, 70, 20);
    Button6 = makeButton(this, "Button6", QStringLiteral("&Reset Data"), 146, 141, 70, 20);
    Label5 = makeLabel(this, "Label5", QStringLiteral(" Main Menu "), 222, 144);
    Label4 = makeLabel(this, "Label4", QStringLiteral("- Default Theme Icons -"), 300, 144);
    Button2 = makeButton(this, "Button2", QStringLiteral("&View Theme"), 430, 141, 96, 20);
    Button3 = makeButton(this, "Button3", QStringLiteral("Sho&t"), 530, 141, 37, 20);
    Button1 = makeButton(this, "Button1", QStringLiteral("R&eturn"), 571, 141, 70, 20);
    Label6 = makeLabel(this, "Label6", QStringLiteral("version"), 646, 143, 78, 17);
    Label6->setCursor(Qt::PointingHandCursor);
    QFont versionFont = Label6->font();
    versionFont.setBold(true);
    versionFont.setItalic(true);
    Label6->setFont(versionFont);
    Button11 =
        makeButton(this, "Button11", QStringLiteral("Press the '&F' key to complete Snapshot Process..."),
                   222, 140, 345, 22);
    Button11->hide();

    // The picker reads and writes the program's one IconBoard on the main window.
    IconPicker = new IconPickerView(this, Form1->IconBoard, vv::IconWindow::Os5);
    Image31 = IconPicker->sheetImage();
    HighSnap = IconPicker->snapshotImage();
    // Smaller than the main window's: the strip leaves little room after "load bmp".
    Image52 = makePictureButton(this, "Image52", {4, 147}, PictureButton::OpenSheet, {12, 9});
    connect(IconPicker, &IconPickerView::cellClicked, this, &TForm7::PaintBoxClick);
    connect(IconPicker, &IconPickerView::slotClicked, this, &TForm7::IconSlotClick);
    // What Sho&t turns off on this window while the snapshot runs.
    const QList<QWidget*> offWhileSnapshot{Button1, Button2, Button5, Button6, SpeedButton2, Image52};
    Snapshot = std::make_unique<vv::ui::WindowSnapshot>(
        Form1->IconBoard, *Form1,
        vv::ui::WindowSnapshotSetup{vv::IconWindow::Os5, Button3, Button11, HighSnap, Form1->DeskShot,
                                    offWhileSnapshot});
    connect(IconPicker, &IconPickerView::snapshotClicked, this, &TForm7::HighSnapClick);
    connect(Image52, &TImage::clicked, this, &TForm7::SpeedButton2Click);

    connect(Button1, &QPushButton::clicked, this, &TForm7::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm7::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm7::Button3Click);
    connect(Button5, &QPushButton::clicked, this, &TForm7::Button5Click);
    connect(Button6, &QPushButton::clicked, this, &TForm7::Button6Click);
    connect(Button11, &QPushButton::clicked, this, &TForm7::Button11Click);
    connect(SpeedButton2, &QPushButton::clicked, this, &TForm7::SpeedButton2Click);
    connect(Label6, &TLabel::clicked, this, &TForm7::Label6Click);
    vv::ui::installUndoActions(this, true);
    vv::ui::installDatabaseActions(this, vv::ui::DropWindow::Os5Icons);
    layOutStrip();
}

namespace {

// The width a button needs for the longest of `captions`, and at least `least`.
int buttonWidthFor(const QWidget* button, const QStringList& captions, int least) {
    const QFontMetrics metrics(button->font());
    int widest = 0;
    for (const QString& caption : captions)
        widest = qMax(widest, metrics.size(Qt::TextShowMnemonic, caption).width());
    return qMax(least, widest + 12);
}

} // namespace

void TForm7::layOutStrip() {
    constexpr int Top = 141, Height = 20, Gap = 4;
    const auto captionsOf = [](const QWidget* button, const QStringList& more = {}) {
        QStringList captions{captionOf(button)};
        for (const QString& caption : more)
            if (!caption.isEmpty())
                captions << caption;
        return captions;
    };
    int left = Image52->geometry().right() + 3;
    const int loadWidth = QFontMetrics(SpeedButton2->font())
                              .size(Qt::TextShowMnemonic, captionOf(SpeedButton2).trimmed())
                              .width() +
                          2;
    SpeedButton2->setGeometry(left, Top + 2, loadWidth, 17);
    left += loadWidth + Gap;
    for (TButton* button : {Button5, Button6}) {
        const QStringList captions =
            button == Button5 ? captionsOf(button, {Form1->ShowIconsCaption, Form1->HideIconsCaption})
                              : captionsOf(button);
        const int width = buttonWidthFor(button, captions, 56);
        button->setGeometry(left, Top, width, Height);
        left += width + Gap;
    }
    int right = width() - 2;
    const int versionWidth = QFontMetrics(Label6->font()).horizontalAdvance(Label6->text()) + 4;
    Label6->setGeometry(right - versionWidth, Top + 2, versionWidth, 17);
    right = Label6->x() - Gap;
    for (TButton* button : {Button1, Button3, Button2}) {
        const int width = buttonWidthFor(button, captionsOf(button), button == Button3 ? 37 : 56);
        button->setGeometry(right - width, Top, width, Height);
        right = button->x() - Gap;
    }
    // The end button stands in for what lies between the two groups, View
    // Theme and Shot included, which it turns off.
    Button11->setGeometry(left, Top - 1, Button3->geometry().right() + 1 - left, Height + 2);
    const int titles = Label5->width() + 2 * Gap + Label4->width();
    const int start = left + qMax(0, (right - left - titles) / 2);
    Label5->move(start, Top + 3);
    Label4->move(Label5->geometry().right() + 1 + 2 * Gap, Top + 3);
}

void TForm7::Button1Click() {
    close();
}

void TForm7::Button2Click() {
    // This window stays visible behind the theme window.
    Form6->StartDir = Form1->StartDir;
    vv::dialogs().showModal(Form6);
}

void TForm7::Label6Click() {
    hide();
    vv::dialogs().showModal(AboutBox);
    show();
}

void TForm7::Button3Click() {
    Snapshot->start();
}
void TForm7::Button5Click() {
    toggleSheetArea(this, Button5, 187, 670, Form1->ShowIconsCaption, Form1->HideIconsCaption);
}
// Only this window's slots and HighSnap: the main window keeps the half-size
// copies made from here.
void TForm7::Button6Click() {
    vv::ui::resetIconWindow(vv::IconWindow::Os5);
}
void TForm7::Button11Click() {
    Snapshot->end();
}

// Closing the window (its Return is off while a snapshot runs, the title
// bar is not) ends the snapshot the normal way first.
void TForm7::closeEvent(QCloseEvent* event) {
    Snapshot->end();
    QWidget::closeEvent(event);
}
void TForm7::SpeedButton2Click() {
    IconPicker->loadSheetFromDialog(OpenPictureDialog1, Form1->StartDir,
                                    Form1->Messages[vv::Message::IconSheetUnusable]);
}

void TForm7::PaintBoxClick(int cell) {
    if (Form1->IconBoard.selectCell(vv::IconWindow::Os5, cell))
        SelectedCell = cell;
    IconPicker->showChosen();
}

void TForm7::HighSnapClick() {
    Form1->IconBoard.selectSnapshot(vv::IconWindow::Os5);
    SelectedCell = 0;
    IconPicker->showChosen();
}

void TForm7::CellOrigin() {
    const QPoint origin = vv::os5IconGrid().cellOrigin(SelectedCell);
    CellX = origin.x();
    CellY = origin.y();
}

// The same for all 32 slots: the chosen cell (or HighSnap) into the slot and
// its half-size image into the partner slot on the main window.
void TForm7::IconSlotClick(int slot) {
    if (SelectedCell != 0)
        CellOrigin();
    Form1->History.record(vv::StepKind::IconPick, vv::WorkPart::MainSlots | vv::WorkPart::Os5Slots,
                          [&] { Form1->IconBoard.clickSlot(vv::IconWindow::Os5, slot); });
    IconPicker->showSlot(slot);
    Form1->IconPicker->showSlot(slot);
}
