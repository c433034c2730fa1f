#include "ui/ThemeWindow.h"
#include "buildrun/SettingsBuildOptions.h"

#include "app/LanguageFile.h"
#include "buildrun/SettingsBuildOptions.h"
#include "theme/ThemePieces.h"
#include "ui/BuildInputs.h"
#include "ui/Dialogs.h"
#include "ui/SheetSizeCheck.h"
#include "ui/TForm1.h"

#include <QDir>

namespace {

// A sheet the loader rejects or a file that cannot be opened, each with the loader's own words.
QString sheetProblemMessage(const vv::SheetLoadResult& result, const QString& path) {
    if (result.status == vv::SheetLoadResult::Status::InvalidPicture)
        return Form1->Messages[vv::Message::SkinSheetUnusable] + QStringLiteral(": ") + result.loaderMessage;
    return Form1->Messages[vv::Message::FileNotOpened] + QStringLiteral(": ") +
           QDir::toNativeSeparators(path) + QStringLiteral(": ") + result.loaderMessage;
}

} // namespace

namespace {

// The theme windows that exist, in the order they were made, so that showing
// the pieces needs no knowledge of which windows derive from this one.
std::vector<ThemeWindow*>& themeWindows() {
    static std::vector<ThemeWindow*> windows;
    return windows;
}

} // namespace

ThemeWindow::~ThemeWindow() {
    std::erase(themeWindows(), this);
}

ThemeWindow::ThemeWindow(vv::PieceResolution resolution, QWidget* parent)
    : QWidget(parent), resolution_(resolution) {
    themeWindows().push_back(this);
    const QSize sheetSize = resolution == vv::PieceResolution::Low ? vv::kLowSheetSize : vv::kHighSheetSize;
    Image1 = new TImage(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->resize(sheetSize);
    Image1->hide();

    const auto& table = vv::themePieceTable();
    for (int i = 0; i < vv::kThemePieceCount; ++i) {
        auto* image = new TImage(this);
        image->setObjectName(table[i].imageName());
        image->move(table[i].previewPosition(resolution));
        image->resize(table[i].size(resolution));
        image->setAutoSize(true);
        pieceImages_[i] = image;
    }
}

void ThemeWindow::placeControls(const QRect& loadButton, const QRect& returnButton, const QRect& busyLabel,
                                const QString& busyCaption) {
    using namespace vv::ui;
    Button1 = makeButton(this, "Button1", QStringLiteral("&Load Bitmap"), loadButton.x(), loadButton.y(),
                         loadButton.width(), loadButton.height());
    Button2 = makeButton(this, "Button2", QStringLiteral("&Return"), returnButton.x(), returnButton.y(),
                         returnButton.width(), returnButton.height());

    QFont busyFont(QStringLiteral("Arial"));
    busyFont.setPixelSize(24);
    busyFont.setBold(true);
    Label1 = makeLabel(this, "Label1", busyCaption, busyLabel.x(), busyLabel.y(), busyLabel.width(),
                       busyLabel.height());
    Label1->setFont(busyFont);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setWordWrap(true);
    Label1->setAutoFillBackground(true);
    Label1->hide();

    connect(Button1, &QPushButton::clicked, this, &ThemeWindow::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &ThemeWindow::Button2Click);
}

void ThemeWindow::showPieces() {
    showPieces(vv::ui::themePieces());
}

void ThemeWindow::showPieces(const vv::ThemePieces& pieces) {
    for (int i = 0; i < vv::kThemePieceCount; ++i)
        pieceImages_[i]->setPicture(pieces.piece(i, resolution_));
}

void ThemeWindow::Button1Click() {
    OpenPictureDialog1.InitialDir = QDir(StartDir).filePath(QStringLiteral("ThmeBMP"));
    const QString path = OpenPictureDialog1.Execute();
    if (path.isEmpty())
        return;
    loadSheetFile(path);
}

void ThemeWindow::loadSheetFile(const QString& path) {
    const vv::SheetLoadResult result = vv::loadSheetPicture(path, vv::ui::outsideSheetColour());
    if (!result.loaded()) {
        vv::dialogs().showMessage(sheetProblemMessage(result, path));
        return;
    }
    const std::optional<vv::PieceResolution> cutAs =
        vv::ui::confirmSkinSheetSize(result.picture.size(), resolution_);
    if (!cutAs)
        return;
    Label1->raise();
    Label1->show();
    Label1->repaint();
    // Both resolutions' pieces, as one step.
    Form1->History.record(vv::StepKind::SheetLoad, vv::WorkPart::Pieces, [&] {
        vv::ui::themePieces().loadSheet(result.picture, *cutAs, vv::ui::outsideSheetColour());
    });
    Label1->hide();
    Image1->setPicture(result.picture);
    vv::ui::showPiecesOnThemeWindows();
}

void ThemeWindow::Button2Click() {
    close();
}

namespace vv::ui {

void showPiecesOnThemeWindows() {
    for (ThemeWindow* window : themeWindows())
        window->showPieces();
}

QRgb outsideSheetColour() {
    return transparencyColour(Form1->TransparentRed, Form1->TransparentGreen, Form1->TransparentBlue,
                              kOutsideSheetColour);
}

QString highThemeBusyCaption() {
    return currentText(Message::HighThemeLoading) + QLatin1Char('\n') +
           currentText(Message::LowThemeUpdating);
}

} // namespace vv::ui
