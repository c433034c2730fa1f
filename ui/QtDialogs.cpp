#include "ui/QtDialogs.h"

#include "app/LanguageMessages.h"
#include "platform/FileErrors.h"
#include "ui/BuildInputs.h"
#include "ui/Controls.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace vv {

void QtDialogs::showMessage(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, ui::programTitle(), text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

int QtDialogs::askChoice(const QString& question, const QStringList& answers) {
    QMessageBox box(QMessageBox::Question, ui::programTitle(), question, QMessageBox::NoButton,
                    QApplication::activeWindow());
    QList<QAbstractButton*> buttons;
    for (const QString& answer : answers)
        buttons << box.addButton(answer, QMessageBox::AcceptRole);
    if (!buttons.isEmpty()) {
        // Enter takes the first answer; Escape and the title bar's close the
        // last, which in every question is the one that changes nothing.
        box.setDefaultButton(qobject_cast<QPushButton*>(buttons.first()));
        box.setEscapeButton(buttons.last());
    }
    box.exec();
    return int(buttons.indexOf(box.clickedButton()));
}

namespace {
// Ends a modal run when its window is closed. Hiding alone does not end it: a
// modal window may hide itself while it opens another one on top. A close the
// window refuses (it asked and the user cancelled) leaves it shown, and the
// run goes on.
class CloseWatcher : public QObject {
public:
    explicit CloseWatcher(QWidget* window) : window_(window) { window->installEventFilter(this); }
    ~CloseWatcher() override { window_->removeEventFilter(this); }
    bool closed = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == window_ && event->type() == QEvent::Close)
            closed = true;
        return false;
    }

private:
    QWidget* window_;
};
} // namespace

void QtDialogs::showModal(QWidget* window) {
    if (auto* dialog = qobject_cast<QDialog*>(window)) {
        dialog->exec();
        return;
    }
    // A plain window: run a local loop until it is closed.
    CloseWatcher watcher(window);
    window->setWindowModality(Qt::ApplicationModal);
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    window->show();
    window->raise();
    window->activateWindow();
    QEventLoop loop;
    for (;;) {
        loop.processEvents(QEventLoop::WaitForMoreEvents);
        if (watcher.closed && !window->isVisible())
            break;
        watcher.closed = false;
    }
    window->hide();
    window->setWindowModality(Qt::NonModal);
}

QString QtDialogs::chooseOpenFile(const FileDialogRequest& request) {
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), request.title, request.directory,
                                        request.filter);
}

QString QtDialogs::chooseSaveFile(const FileDialogRequest& request) {
    QFileDialog dialog(QApplication::activeWindow(), request.title, request.directory, request.filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // The dialog adds the suffix itself, so it asks before replacing the file
    // that the completed name names.
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.suggestedName.isEmpty())
        dialog.selectFile(request.suggestedName);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}

std::optional<QColor> QtDialogs::chooseColor(const QColor& initial) {
    const QColor chosen = QColorDialog::getColor(initial, QApplication::activeWindow(),
                                                 ui::currentText(Message::ColourDialogTitle));
    if (!chosen.isValid())
        return std::nullopt;
    return chosen;
}

// A help page is tens of kilobytes.
constexpr qint64 kLargestHelpFile = 4 * 1024 * 1024;

void QtDialogs::showHelp(const QString& helpFile) {
    QByteArray page;
    QString problem;
    if (!readWholeFile(helpFile, kLargestHelpFile, &page, &problem)) {
        showMessage(messageOrBuiltIn(ui::currentMessages(), Message::HelpFileNotOpened)
                        .arg(QDir::toNativeSeparators(helpFile), problem));
        return;
    }
    QDialog viewer(QApplication::activeWindow());
    viewer.setObjectName(QStringLiteral("HelpViewer"));
    viewer.setWindowTitle(ui::currentText(Message::HelpTitle));
    viewer.resize(640, 480);
    auto* layout = new QVBoxLayout(&viewer);
    auto* browser = new QTextBrowser(&viewer);
    browser->setOpenExternalLinks(false);
    browser->setSearchPaths({QFileInfo(helpFile).absolutePath()});
    browser->setHtml(QString::fromUtf8(page));
    layout->addWidget(browser);
    auto* buttons = new QDialogButtonBox(&viewer);
    QPushButton* close =
        buttons->addButton(ui::currentText(Message::HelpClose), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("CloseButton"));
    close->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &viewer, &QDialog::reject);
    layout->addWidget(buttons);
    viewer.exec();
}

} // namespace vv
