#include "support/RecordingDialogs.h"

#include <QWidget>

namespace vv::test {

RecordingDialogs::RecordingDialogs() : previous_(setDialogs(this)) {}

RecordingDialogs::~RecordingDialogs() {
    setDialogs(previous_);
}

void RecordingDialogs::showMessage(const QString& text) {
    messages << text;
}

int RecordingDialogs::askChoice(const QString& question, const QStringList& answers) {
    questions << question;
    questionAnswers << answers;
    return choiceAnswers.isEmpty() ? -1 : choiceAnswers.dequeue();
}

void RecordingDialogs::showModal(QWidget* window) {
    modalWindows << window;
    window->show();
    if (onModal)
        onModal(window);
    window->hide();
}

QString RecordingDialogs::chooseOpenFile(const FileDialogRequest& request) {
    fileDialogs << request;
    return fileAnswers.isEmpty() ? QString() : fileAnswers.dequeue();
}

QString RecordingDialogs::chooseSaveFile(const FileDialogRequest& request) {
    return chooseOpenFile(request);
}

std::optional<QColor> RecordingDialogs::chooseColor(const QColor&) {
    return colorAnswers.isEmpty() ? std::nullopt : colorAnswers.dequeue();
}

void RecordingDialogs::showHelp(const QString& helpFile) {
    helpFiles << helpFile;
}

} // namespace vv::test
