#include "ui/TForm1.h"

#include "app/LanguageMessages.h"
#include "app/OptionRules.h"
#include "common/SystemScreens.h"
#include "icons/IconPieces.h"
#include "icons/IconSlots.h"
#include "theme/ThemeBuildPlan.h"
#include "ui/Artwork.h"
#include "ui/BuildInputs.h"
#include "ui/DatabaseOpening.h"
#include "ui/Dialogs.h"
#include "ui/SessionKeeping.h"
#include "ui/SettingsAndLanguage.h"
#include "ui/TAboutBox.h"
#include "ui/TForm2.h"
#include "ui/TForm3.h"
#include "ui/TForm6.h"
#include "ui/TForm7.h"
#include "ui/WorkHistory.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>

TForm1* Form1 = nullptr;

using namespace vv::ui;

TForm1::TForm1(QWidget* parent)
    : QWidget(parent), History(vv::ui::takeWorkFromWindows, vv::ui::putWorkIntoWindows) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("ZaviZiruziv"));
    setupFixedWindow(this, 592, 156);

    // The working directory, taken once and whole: every data path hangs below
    // it, and a shortened path would name another folder.
    StartDir = QDir::currentPath();

    // Made in this order on purpose: a later control stacks above an earlier
    // one and follows it in the tab order.
    makeFramesAndTitles();
    makeMenuButtons();
    makeVersionBadge();
    makeNameRow();
    makePickerButtons();
    makeIconSetFrame();
    makeBusyLabels();
    makeIconPicker();
    connectHandlers();
    installWindowActions();
}

void TForm1::makeFramesAndTitles() {
    Bevel2 = makeBevel(this, "Bevel2", 172, 8, 75, 142);
    Bevel1 = makeBevel(this, "Bevel1", 346, 8, 239, 113);
    Label5 = makeLabel(this, "Label5", QStringLiteral(" Main Menu "), 180, 0);
    Label4 = makeLabel(this, "Label4", QStringLiteral("- Default Theme Icons -"), 354, 0);
    for (QLabel* title : {Label5, Label4})
        title->setAutoFillBackground(true);
}

void TForm1::makeMenuButtons() {
    Button4 = makeButton(this, "Button4", QStringLiteral("&Options"), 174, 13, 70, 20);
    Button9 = makeButton(this, "Button9", QStringLiteral("&Help"), 174, 36, 70, 20);
    Button6 = makeButton(this, "Button6", QStringLiteral("&Reset Data"), 174, 59, 70, 20);
    Button5 = makeButton(this, "Button5", QStringLiteral("&Show Icons"), 174, 82, 70, 20);
    Button7 = makeButton(this, "Button7", QStringLiteral("&About"), 174, 105, 70, 20);
    Button1 = makeButton(this, "Button1", QStringLiteral("E&xit"), 174, 128, 70, 20);

    Button3 = makeButton(this, "Button3", QStringLiteral("&View Theme"), 351, 96, 96, 20);
    Button2 = makeButton(this, "Button2", QStringLiteral("Create Th&eme"), 450, 96, 91, 20);
    Button10 = makeButton(this, "Button10", QStringLiteral("Sho&t"), 544, 96, 37, 20);
}

void TForm1::makeVersionBadge() {
    ProgramIcon = new TImage(this);
    ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
    ProgramIcon->setGeometry(246, 8, 100, 100);
    ProgramIcon->setPicture(programPicture());

    QFont versionFont(QStringLiteral("Arial"));
    versionFont.setPixelSize(16);
    versionFont.setBold(true);
    versionFont.setItalic(true);
    // Tall enough for the italic font's ascent and descent.
    Label6 = makeLabel(this, "Label6", QStringLiteral("version"), 248, 9, 98, 23);
    Label7 = makeLabel(this, "Label7", QStringLiteral("version"), 247, 8, 98, 23);
    for (QLabel* label : {Label6, Label7}) {
        label->setFont(versionFont);
        label->setCursor(Qt::PointingHandCursor);
    }
    Label6->setStyleSheet(QStringLiteral("color: rgb(128, 255, 0);"));
    Label7->setStyleSheet(QStringLiteral("color: black;"));
}

// The snapshot's end button covers the name row while the snapshot runs.
void TForm1::makeNameRow() {
    Label1 = makeLabel(this, "Label1", QStringLiteral("pdb &name:"), 248, 114);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(248, 128, 221, 21);
    Edit1->setMaxLength(30);
    Label1->setBuddy(Edit1);
    Button8 = makeButton(this, "Button8", QStringLiteral("&Install on PDA"), 474, 128, 107, 21);
    Button11 =
        makeButton(this, "Button11", QStringLiteral("Press the '&F' key to complete Snapshot Process..."),
                   248, 128, 337, 22);
    Button11->hide();
}

void TForm1::makePickerButtons() {
    SpeedButton2 = makeSpeedButton(this, "SpeedButton2", QStringLiteral("&load bmp    "), 31, 128, 54, 17);
    SpeedButton1 = makeSpeedButton(this, "SpeedButton1", QStringLiteral("create &pdb"), 85, 128, 61, 17);
    SpeedButton3 = makeSpeedButton(this, "SpeedButton3", QStringLiteral("Hi-Res I&cons"), 12, 16, 145, 17);
    // A flat button paints a style-sheet background only when the sheet also
    // sets a border; without one the white caption sat on the white window.
    SpeedButton3->setStyleSheet(QStringLiteral(
        "QPushButton { color: white; font-family: Arial; font-weight: bold; padding: 0px;"
        " border: 1px solid rgb(24, 84, 50); border-radius: 3px; background: rgb(46, 139, 87); }"
        " QPushButton:hover { background: rgb(64, 170, 110); border-color: rgb(228, 244, 232); }"
        " QPushButton:pressed { background: rgb(30, 104, 62); }"
        " QPushButton:disabled { color: rgb(190, 210, 198); background: rgb(96, 128, 110); }"));
    SpeedButton3->hide();
}

// The case around the 4 x 3 icon-set slots, drawn behind them and behind
// "Hi-Res I&cons" in the band at its top.
void TForm1::makeIconSetFrame() {
    QRect slotBlock;
    for (int i = 0; i < vv::kIconSetSlotCount; ++i)
        slotBlock |= QRect(vv::iconSlots()[i].mainPos, vv::kLowIconSize);
    const QRect frameRect(3, 5, 164, 121);
    Image254 = new TImage(this);
    Image254->setObjectName(QStringLiteral("Image254"));
    Image254->setGeometry(frameRect);
    Image254->setPicture(iconSetFramePicture(
        frameRect.size(), slotBlock.adjusted(-3, -3, 3, 3).translated(-frameRect.topLeft())));
    Image254->setAttribute(Qt::WA_TransparentForMouseEvents);
    Image254->lower();
}

void TForm1::makeBusyLabels() {
    QFont busyFont(QStringLiteral("Arial"));
    busyFont.setBold(true);
    busyFont.setPixelSize(16);
    Label2 = makeLabel(this, "Label2", QStringLiteral("Creating Theme..."), 348, 12, 236, 81);
    Label3 = makeLabel(this, "Label3", QStringLiteral("Creating Icon Set..."), 9, 39, 153, 86);
    for (QLabel* busy : {Label2, Label3}) {
        busy->setFont(busyFont);
        busy->setAlignment(Qt::AlignCenter);
        busy->setWordWrap(true);
        busy->setAutoFillBackground(true);
        busy->hide();
    }
}

void TForm1::makeIconPicker() {
    DeskShot = new TImage(this);
    DeskShot->setObjectName(QStringLiteral("DeskShot"));
    DeskShot->move(597, 7);
    DeskShot->setAutoSize(true);
    DeskShot->hide();

    IconPicker = new IconPickerView(this, IconBoard, vv::IconWindow::Main);
    Image253 = IconPicker->sheetImage();
    LowSnap = IconPicker->snapshotImage();
    Image4 = makePictureButton(this, "Image4", {13, 131}, PictureButton::OpenSheet);
    Image5 = makePictureButton(this, "Image5", {147, 131}, PictureButton::BuildDatabase);
    // The busy labels cover the slots while a build blocks the window.
    Label2->raise();
    Label3->raise();
    // What Sho&t turns off on this window while the snapshot runs.
    const QList<QWidget*> offWhileSnapshot{Button1,      Button2, Button3, Button4,      Button5,
                                           Button6,      Button7, Button9, SpeedButton1, SpeedButton2,
                                           SpeedButton3, Image4,  Image5,  Label7};
    Snapshot = std::make_unique<vv::ui::WindowSnapshot>(
        IconBoard, *this,
        vv::ui::WindowSnapshotSetup{vv::IconWindow::Main, Button10, Button11, LowSnap, DeskShot,
                                    offWhileSnapshot});
}

void TForm1::connectHandlers() {
    connect(IconPicker, &IconPickerView::cellClicked, this, &TForm1::PaintBoxClick);
    connect(IconPicker, &IconPickerView::slotClicked, this, &TForm1::IconSlotClick);
    connect(IconPicker, &IconPickerView::snapshotClicked, this, &TForm1::LowSnapClick);
    connect(DeskShot, &TImage::clicked, this, &TForm1::LowSnapClick);
    connect(Image4, &TImage::clicked, this, &TForm1::SpeedButton2Click);
    connect(Image5, &TImage::clicked, this, &TForm1::SpeedButton1Click);

    connect(Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm1::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm1::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TForm1::Button4Click);
    connect(Button5, &QPushButton::clicked, this, &TForm1::Button5Click);
    connect(Button6, &QPushButton::clicked, this, &TForm1::Button6Click);
    connect(Button7, &QPushButton::clicked, this, &TForm1::Button7Click);
    connect(Button8, &QPushButton::clicked, this, &TForm1::Button8Click);
    connect(Button9, &QPushButton::clicked, this, &TForm1::Button9Click);
    connect(Button10, &QPushButton::clicked, this, &TForm1::Button10Click);
    connect(Button11, &QPushButton::clicked, this, &TForm1::Button11Click);
    connect(SpeedButton1, &QPushButton::clicked, this, &TForm1::SpeedButton1Click);
    connect(SpeedButton2, &QPushButton::clicked, this, &TForm1::SpeedButton2Click);
    connect(SpeedButton3, &QPushButton::clicked, this, &TForm1::SpeedButton3Click);
    connect(Label6, &TLabel::clicked, this, &TForm1::Label6Click);
    connect(Label7, &TLabel::clicked, this, &TForm1::Label6Click);
    connect(ProgramIcon, &TImage::clicked, this, &TForm1::ProgramIconClick);
}

void TForm1::installWindowActions() {
    vv::ui::installUndoActions(this, true);
    vv::ui::installDatabaseActions(this, vv::ui::DropWindow::Main);
    vv::ui::installStartAfreshAction(this);
    vv::ui::watchNameField(Edit1);
    vv::ui::installSessionKeeping(this, StartDir);
    connect(&History.stack(), &QUndoStack::indexChanged, this, [] {
        vv::ui::updateUndoActions();
        vv::ui::noteWorkChanged();
    });
}

void TForm1::FormActivate() {
    // The snapshot canvas takes the size of resource.bmp. A missing or broken
    // file is reported, but the settings and the language are still read: the
    // canvas matters only to the snapshot. The report waits for the language.
    const QString canvasFile = StartDir + QStringLiteral("/resource.bmp");
    QImageReader reader(canvasFile);
    const QImage canvas = reader.read();
    if (!canvas.isNull())
        DeskShot->setPicture(canvas);

    Label6->setText(VersionPrefix + VersionNumber);
    Label7->setText(VersionPrefix + VersionNumber);

    const std::optional<QString> languageFile = LoadSettings(StartDir);
    if (!languageFile)
        vv::dialogs().showMessage(Messages[vv::Message::SettingsNotRead] +
                                  vv::ui::currentText(vv::Message::SettingsMissingTail));
    ApplyLanguage(languageFile.value_or(QString()));
    AboutBox->Version->setText(vv::ui::currentText(vv::Message::AboutVersion).arg(VersionNumber));
    if (canvas.isNull())
        vv::dialogs().showMessage(
            vv::messageOrBuiltIn(vv::ui::currentMessages(), vv::Message::SnapshotCanvasUnreadable)
                .arg(QDir::toNativeSeparators(canvasFile), reader.errorString()));
}

void TForm1::ShowModalFromMain(QWidget* window) {
    hide();
    vv::dialogs().showModal(window);
    show();
    activateWindow();
    FormActivate();
}

void TForm1::Button1Click() {
    close();
}

void TForm1::closeEvent(QCloseEvent* event) {
    // A snapshot worker must not outlive the pictures it draws into.
    vv::ui::WindowSnapshot::endEverySnapshot();
    // The work is kept, so ending needs no question.
    vv::ui::keepSessionNow();
    // Closing the main window ends the program, even while others are hidden.
    event->accept();
    QCoreApplication::quit();
}

void TForm1::Button4Click() {
    Form3->StartDir = StartDir;
    if (!Form3->SettingsProblem.isEmpty())
        vv::dialogs().showMessage(Form3->SettingsProblem);
    ShowModalFromMain(Form3);
}

void TForm1::Button7Click() {
    ShowModalFromMain(AboutBox);
}

void TForm1::Label6Click() {
    ShowModalFromMain(AboutBox);
}

void TForm1::ProgramIconClick() {
    ShowModalFromMain(AboutBox);
}

void TForm1::Button9Click() {
    const QString helpFile = vv::helpFilePath(StartDir, HelpSuffix);
    if (!QFileInfo(helpFile).isFile()) {
        vv::dialogs().showMessage(Messages[vv::Message::NoHelpFile] + QStringLiteral(" ") +
                                  QDir::toNativeSeparators(helpFile));
        return;
    }
    vv::dialogs().showHelp(helpFile);
}

void TForm1::Button3Click() {
    if (const vv::ScreenProfile* screen = vv::screenProfileOf(ScreenType);
        screen && screen->opensHighThemeWindow) {
        Form6->StartDir = StartDir;
        ShowModalFromMain(Form6);
    } else {
        Form2->StartDir = StartDir;
        ShowModalFromMain(Form2);
    }
}

void TForm1::SpeedButton3Click() {
    ShowModalFromMain(Form7);
}

// Create Theme: the theme pieces of Form2->Pieces and the theme icons of
// IconBoard, as they are at this moment, into PDBFiles/<name>.pdb. On the OS5
// screen, pictures whose user art is only at low resolution are asked about first.
void TForm1::Button2Click() {
    vv::ui::runBuildFromWindows(vv::BuildKind::Theme, Label2, [this](vv::BuildRequest& request) {
        request.families = vv::themeFamilies();
        request.pieces = vv::themePieceFiles(Form2->Pieces, IconBoard, ScreenType);
        return vv::ui::settleLowArtOnly(
            request.pieces, vv::themePairsWithLowArtOnly(Form2->Pieces, IconBoard, request.options));
    });
}

void TForm1::Button5Click() {
    toggleSheetArea(this, Button5, 180, 630, ShowIconsCaption, HideIconsCaption);
}
void TForm1::Button6Click() {
    vv::ui::resetIconWindow(vv::IconWindow::Main);
}
void TForm1::Button8Click() {
    // The result line goes where the build results appear, above the button.
    vv::ui::installFromWindows(Button8, Label2);
}
void TForm1::Button10Click() {
    Snapshot->start();
}

void TForm1::Button11Click() {
    Snapshot->end();
}

// create pdb: the 12 icon-set slots of both windows into PDBFiles/<name>.pdb.
void TForm1::SpeedButton1Click() {
    vv::ui::runBuildFromWindows(vv::BuildKind::IconSet, Label3, [this](vv::BuildRequest& request) {
        request.families = vv::iconSetFamilies();
        request.pieces = vv::iconSetPieces(IconBoard);
        return vv::ui::settleLowArtOnly(request.pieces,
                                        vv::iconSetPairsWithLowArtOnly(IconBoard, request.options));
    });
}
void TForm1::SpeedButton2Click() {
    IconPicker->loadSheetFromDialog(OpenPictureDialog1, StartDir, Messages[vv::Message::IconSheetUnusable]);
}

void TForm1::PaintBoxClick(int cell) {
    if (IconBoard.selectCell(vv::IconWindow::Main, cell))
        SelectedCell = cell;
    IconPicker->showChosen();
}

void TForm1::LowSnapClick() {
    IconBoard.selectSnapshot(vv::IconWindow::Main);
    SelectedCell = 0;
    IconPicker->showChosen();
}

void TForm1::CellOrigin() {
    const QPoint origin = vv::mainIconGrid().cellOrigin(SelectedCell);
    CellX = origin.x();
    CellY = origin.y();
}

// The same for all 32 slots: the chosen cell, or LowSnap when none is chosen.
// The OS5 window's slots are never touched from here.
void TForm1::IconSlotClick(int slot) {
    if (SelectedCell != 0)
        CellOrigin();
    History.record(vv::StepKind::IconPick, vv::WorkPart::MainSlots,
                   [&] { IconBoard.clickSlot(vv::IconWindow::Main, slot); });
    IconPicker->showSlot(slot);
}
