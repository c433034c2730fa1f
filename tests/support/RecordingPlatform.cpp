#include "support/RecordingPlatform.h"

#include <QProcess>
#include <QWidget>

namespace vv::test {

RecordingPlatform::RecordingPlatform() : previous_(setPlatform(this)) {}

RecordingPlatform::~RecordingPlatform() {
    setPlatform(previous_);
}

void RecordingPlatform::showMessage(const QString& text) {
    messages << text;
}

void RecordingPlatform::showModal(QWidget* window) {
    modalWindows << window;
    window->show();
    if (onModal)
        onModal(window);
    window->hide();
}

QString RecordingPlatform::chooseOpenFile(const FileDialogRequest& request) {
    fileDialogs << request;
    return fileAnswers.isEmpty() ? QString() : fileAnswers.dequeue();
}

std::optional<QColor> RecordingPlatform::chooseColor(const QColor&) {
    return colorAnswers.isEmpty() ? std::nullopt : colorAnswers.dequeue();
}

void RecordingPlatform::showHelp(const QString& helpFile) {
    helpFiles << helpFile;
}

ProcessOutcome RecordingPlatform::runAndWait(const QString& program, const QStringList& arguments,
                                             const QString& workingDirectory) {
    const ProcessCall call{program, arguments, workingDirectory, false};
    processes << call;
    if (onRun)
        return onRun(call);
    ProcessOutcome outcome;
    QProcess process;
    process.setWorkingDirectory(workingDirectory);
    process.start(program, arguments);
    if (!process.waitForStarted(-1)) {
        outcome.status = ProcessOutcome::Status::FailedToStart;
        outcome.errorText = process.errorString();
        return outcome;
    }
    process.waitForFinished(-1);
    outcome.standardOutput = process.readAllStandardOutput();
    outcome.standardError = process.readAllStandardError();
    outcome.status = process.exitStatus() == QProcess::CrashExit ? ProcessOutcome::Status::Crashed
                                                                 : ProcessOutcome::Status::Finished;
    outcome.exitCode = process.exitCode();
    return outcome;
}

bool RecordingPlatform::startDetached(const QString& program, const QStringList& arguments,
                                      const QString& workingDirectory) {
    processes << ProcessCall{program, arguments, workingDirectory, true};
    if (detachedResult)
        return *detachedResult;
    return QProcess::startDetached(program, arguments, workingDirectory);
}

QImage RecordingPlatform::grabScreen(const QSize& size) {
    ++screenGrabs;
    return onGrab ? onGrab(size) : QImage();
}

QPoint RecordingPlatform::pointerPosition() {
    return onPointer ? onPointer() : QPoint(0, 0);
}

double RecordingPlatform::screenRefreshRate() {
    return refreshRate;
}

} // namespace vv::test
