#include "ui/DatabaseOpening.h"

#include "common/SystemScreens.h"
#include "theme/SkinTemplate.h"
#include "theme/ThemePieces.h"
#include "ui/BuildInputs.h"
#include "ui/Dialogs.h"
#include "ui/FileDialogFolders.h"
#include "ui/TForm1.h"
#include "ui/TForm2.h"
#include "ui/TForm6.h"
#include "ui/TForm7.h"
#include "ui/ThemeWindow.h"
#include "ui/WorkHistory.h"
#include "unpack/DatabaseUnpack.h"

#include <QAction>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

#include <functional>

namespace vv::ui {
namespace {

bool isDatabaseFile(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("pdb") || suffix == QLatin1String("prc");
}

// The one local file of a drop; empty for anything else.
QString droppedFile(const QMimeData* mime) {
    if (!mime || !mime->hasUrls() || mime->urls().size() != 1 || !mime->urls().first().isLocalFile())
        return {};
    return mime->urls().first().toLocalFile();
}

void loadDroppedPicture(DropWindow role, const QString& path) {
    switch (role) {
    case DropWindow::Main:
        Form1->IconPicker->loadSheetFile(path, Form1->Messages[Message::IconSheetUnusable]);
        return;
    case DropWindow::Os5Icons:
        Form7->IconPicker->loadSheetFile(path, Form1->Messages[Message::IconSheetUnusable]);
        return;
    case DropWindow::ThemeLow:
        Form2->loadSheetFile(path);
        return;
    case DropWindow::ThemeHigh:
        Form6->loadSheetFile(path);
        return;
    }
}

// Takes drops of one local file for the window it watches.
class FileDropFilter : public QObject {
public:
    FileDropFilter(QWidget* window, DropWindow role) : QObject(window), role_(role) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (!droppedFile(drag->mimeData()).isEmpty())
                drag->acceptProposedAction();
            return true;
        }
        if (event->type() == QEvent::Drop) {
            auto* drop = static_cast<QDropEvent*>(event);
            const QString path = droppedFile(drop->mimeData());
            if (path.isEmpty())
                return true;
            drop->acceptProposedAction();
            if (isDatabaseFile(path))
                openDatabaseFile(path);
            else
                loadDroppedPicture(role_, path);
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    DropWindow role_;
};

QString startFolder(const char* folder) {
    return QDir(Form1->StartDir).filePath(QLatin1String(folder));
}

// The reason in the user's language; the technical detail of the unpacker is
// for the command line and the tests.
QString refusalReason(UnpackFailure failure) {
    switch (failure) {
    case UnpackFailure::TooLarge:
        return currentText(Message::DatabaseTooLarge);
    case UnpackFailure::NotADatabase:
        return currentText(Message::DatabaseNotPalm);
    case UnpackFailure::WrongType:
        return currentText(Message::DatabaseWrongType);
    case UnpackFailure::DamagedPicture:
        return currentText(Message::DatabasePictureDamaged);
    case UnpackFailure::None:
    case UnpackFailure::Unreadable:
        break;
    }
    return currentText(Message::DatabaseUnreadable);
}

} // namespace

void installDatabaseActions(QWidget* window, DropWindow role) {
    window->setAcceptDrops(true);
    window->installEventFilter(new FileDropFilter(window, role));
    window->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* open = new QAction(currentText(Message::OpenDatabaseAction), window);
    open->setObjectName(QStringLiteral("OpenDatabaseAction"));
    QObject::connect(open, &QAction::triggered, window, [] { openDatabaseFromDialog(); });
    window->addAction(open);
    if (role == DropWindow::ThemeLow || role == DropWindow::ThemeHigh) {
        const PieceResolution resolution =
            role == DropWindow::ThemeLow ? PieceResolution::Low : PieceResolution::High;
        auto* save = new QAction(currentText(Message::SaveSkinSheetAction), window);
        save->setObjectName(QStringLiteral("SaveSkinSheetAction"));
        QObject::connect(save, &QAction::triggered, window,
                         [resolution] { saveSkinSheetFromDialog(resolution); });
        window->addAction(save);
        auto* paintOn = new QAction(currentText(Message::SaveTemplateAction), window);
        paintOn->setObjectName(QStringLiteral("SaveTemplateAction"));
        QObject::connect(paintOn, &QAction::triggered, window,
                         [resolution] { saveTemplateSheetFromDialog(resolution); });
        window->addAction(paintOn);
    }
}

void applyDatabaseActionTexts() {
    for (QWidget* window : {static_cast<QWidget*>(Form1), static_cast<QWidget*>(Form2),
                            static_cast<QWidget*>(Form6), static_cast<QWidget*>(Form7)}) {
        if (!window)
            continue;
        if (auto* open = window->findChild<QAction*>(QStringLiteral("OpenDatabaseAction")))
            open->setText(currentText(Message::OpenDatabaseAction));
        if (auto* save = window->findChild<QAction*>(QStringLiteral("SaveSkinSheetAction")))
            save->setText(currentText(Message::SaveSkinSheetAction));
        if (auto* paintOn = window->findChild<QAction*>(QStringLiteral("SaveTemplateAction")))
            paintOn->setText(currentText(Message::SaveTemplateAction));
    }
}

bool openDatabaseFile(const QString& path) {
    QString problem;
    UnpackFailure failure = UnpackFailure::None;
    const std::optional<UnpackedDatabase> database =
        unpackDatabaseFile(path, outsideSheetColour(), &problem, &failure);
    if (!database) {
        dialogs().showMessage(currentText(Message::DatabaseRefused) + QStringLiteral(": ") +
                              QDir::toNativeSeparators(path) + QStringLiteral(": ") + refusalReason(failure));
        return false;
    }
    const ScreenProfile* screen = screenProfileOf(Form1->ScreenType);
    const bool pairsNamed = screen && screen->doubleDensityLines;
    Form1->History.record(StepKind::OpenDatabase,
                          WorkPart::Pieces | WorkPart::MainSlots | WorkPart::Os5Slots | WorkPart::Name, [&] {
                              applyUnpackedDatabase(*database, themePieces(), Form1->IconBoard, pairsNamed);
                              Form1->Edit1->setText(database->name);
                          });
    showWorkOnWindows();
    if (!database->missingFamilies.isEmpty())
        dialogs().showMessage(currentText(Message::FamiliesMissing) + QStringLiteral(": ") +
                              database->missingFamilies.join(QStringLiteral(", ")));
    return true;
}

void openFilesFromCommandLine(const QStringList& files) {
    if (files.isEmpty())
        return;
    if (files.size() > 1) {
        dialogs().showMessage(currentText(Message::OneFileAtATime).arg(files.size()));
        return;
    }
    const QString& path = files.first();
    if (isDatabaseFile(path)) {
        openDatabaseFile(path);
        return;
    }
    const ScreenProfile* screen = screenProfileOf(Form1->ScreenType);
    loadDroppedPicture(screen && screen->opensHighThemeWindow ? DropWindow::ThemeHigh : DropWindow::ThemeLow,
                       path);
}

void openDatabaseFromDialog() {
    FileDialogRequest request;
    request.title = currentText(Message::OpenDatabaseTitle);
    request.directory = dialogFolder(FileKind::Database, startFolder("PDBFiles"));
    request.filter = fileDialogFilter(currentText(Message::DatabaseFilter), QStringLiteral("*.pdb *.prc"));
    const QString path = dialogs().chooseOpenFile(request);
    rememberDialogFolder(FileKind::Database, path);
    if (!path.isEmpty())
        openDatabaseFile(path);
}

QString suggestedSkinSheetName(const QString& databaseName, PieceResolution resolution) {
    const QString name = databaseName.trimmed();
    if (!name.isEmpty() && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')))
        return name + QStringLiteral(".bmp");
    return resolution == PieceResolution::Low ? QStringLiteral("SkinSheetLow.bmp")
                                              : QStringLiteral("SkinSheetHigh.bmp");
}

QString withBitmapSuffix(const QString& path) {
    const QFileInfo file(path);
    if (!file.suffix().isEmpty())
        return path;
    return path.endsWith(QLatin1Char('.')) ? path + QStringLiteral("bmp") : path + QStringLiteral(".bmp");
}

namespace {

struct SheetSaving {
    Message title;
    FileKind kind;
    QString suggestedName;
};

// The save dialog both sheet writers share; a name typed without an extension
// gets .bmp, one ending in .png is written as a PNG.
void saveSheetFromDialog(const SheetSaving& saving, const std::function<QImage()>& picture) {
    FileDialogRequest request;
    request.title = currentText(saving.title);
    request.directory = dialogFolder(saving.kind, startFolder("ThmeBMP"));
    request.filter = fileDialogFilter(currentText(Message::PictureFilter), QStringLiteral("*.bmp *.png"));
    request.suggestedName = saving.suggestedName;
    request.defaultSuffix = QStringLiteral("bmp");
    const QString chosen = dialogs().chooseSaveFile(request);
    if (chosen.isEmpty())
        return;
    rememberDialogFolder(saving.kind, chosen);
    const QString path = withBitmapSuffix(chosen);
    if (const QString failure = savePictureAtomically(picture(), path, outsideSheetColour());
        !failure.isEmpty())
        dialogs().showMessage(currentText(Message::SkinSheetNotSaved) + QStringLiteral(": ") +
                              QDir::toNativeSeparators(path) + QStringLiteral(": ") + failure);
}

} // namespace

void saveSkinSheetFromDialog(PieceResolution resolution) {
    saveSheetFromDialog(
        {Message::SaveSkinSheetTitle, FileKind::SkinSheet,
         suggestedSkinSheetName(Form1->Edit1->text(), resolution)},
        [resolution] { return composeSkinSheet(themePieces(), resolution, outsideSheetColour()); });
}

void saveTemplateSheetFromDialog(PieceResolution resolution) {
    saveSheetFromDialog({Message::SaveTemplateTitle, FileKind::Template,
                         resolution == PieceResolution::Low ? QStringLiteral("SkinTemplateLow.png")
                                                            : QStringLiteral("SkinTemplateHigh.png")},
                        [resolution] { return skinSheetTemplate(resolution); });
}

} // namespace vv::ui
