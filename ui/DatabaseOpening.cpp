#include "ui/DatabaseOpening.h"

#include "theme/ThemePieces.h"
#include "ui/Dialogs.h"
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

namespace vv::ui {
namespace {

// The texts of opening and saving, in one place until they become language lines.
const char* const kOpenDatabaseText = "Open database\u2026";
const char* const kSaveSkinSheetText = "Save skin sheet\u2026";
const char* const kDatabaseRefusedText = "This database cannot be opened";
const char* const kFamiliesMissingText = "Not in the database, left as they were";
const char* const kSheetNotSavedText = "The skin sheet cannot be saved";
const char* const kDatabaseFilter = "Palm databases (*.pdb *.prc);;All files (*)";
const char* const kSheetFilter = "Bitmaps (*.bmp)";

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
        Form1->IconPicker->loadSheetFile(path, Form1->Messages[2]);
        return;
    case DropWindow::Os5Icons:
        Form7->IconPicker->loadSheetFile(path, Form1->Messages[2]);
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

} // namespace

void installDatabaseActions(QWidget* window, DropWindow role) {
    window->setAcceptDrops(true);
    window->installEventFilter(new FileDropFilter(window, role));
    window->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* open = new QAction(QString::fromUtf8(kOpenDatabaseText), window);
    open->setObjectName(QStringLiteral("OpenDatabaseAction"));
    QObject::connect(open, &QAction::triggered, window, [] { openDatabaseFromDialog(); });
    window->addAction(open);
    if (role == DropWindow::ThemeLow || role == DropWindow::ThemeHigh) {
        const PieceResolution resolution =
            role == DropWindow::ThemeLow ? PieceResolution::Low : PieceResolution::High;
        auto* save = new QAction(QString::fromUtf8(kSaveSkinSheetText), window);
        save->setObjectName(QStringLiteral("SaveSkinSheetAction"));
        QObject::connect(save, &QAction::triggered, window,
                         [resolution] { saveSkinSheetFromDialog(resolution); });
        window->addAction(save);
    }
}

bool openDatabaseFile(const QString& path) {
    QString problem;
    const std::optional<UnpackedDatabase> database = unpackDatabaseFile(path, outsideSheetColour(), &problem);
    if (!database) {
        dialogs().showMessage(QString::fromUtf8(kDatabaseRefusedText) + QStringLiteral(": ") + problem);
        return false;
    }
    Form1->History.record(StepKind::OpenDatabase,
                          WorkPart::Pieces | WorkPart::MainSlots | WorkPart::Os5Slots | WorkPart::Name, [&] {
                              applyUnpackedDatabase(*database, themePieces(), Form1->IconBoard);
                              Form1->Edit1->setText(database->name);
                          });
    showWorkOnWindows();
    if (!database->missingFamilies.isEmpty())
        dialogs().showMessage(QString::fromUtf8(kFamiliesMissingText) + QStringLiteral(": ") +
                              database->missingFamilies.join(QStringLiteral(", ")));
    return true;
}

void openDatabaseFromDialog() {
    const QString path =
        dialogs().chooseOpenFile({QString::fromUtf8(kOpenDatabaseText), startFolder("PDBFiles"),
                                  QString::fromLatin1(kDatabaseFilter)});
    if (!path.isEmpty())
        openDatabaseFile(path);
}

void saveSkinSheetFromDialog(PieceResolution resolution) {
    const QString path = dialogs().chooseSaveFile(
        {QString::fromUtf8(kSaveSkinSheetText), startFolder("ThmeBMP"), QString::fromLatin1(kSheetFilter)});
    if (path.isEmpty())
        return;
    const QImage sheet = composeSkinSheet(themePieces(), resolution, outsideSheetColour());
    if (const QString failure = saveBitmapAtomically(sheet, path); !failure.isEmpty())
        dialogs().showMessage(QString::fromUtf8(kSheetNotSavedText) + QStringLiteral(": ") +
                              QDir::toNativeSeparators(path) + QStringLiteral(": ") + failure);
}

} // namespace vv::ui
