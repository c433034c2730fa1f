// A platform for tests: records every request, answers dialogs from queues
// prepared by the test, and runs processes for real unless told otherwise.
#pragma once

#include "platform/Platform.h"

#include <QList>
#include <QPoint>
#include <QQueue>

#include <functional>
#include <optional>

namespace vv::test {

struct ProcessCall {
    QString program;
    QStringList arguments;
    QString workingDirectory;
    bool detached = false;
    ProcessLimits limits; // what a waited-for run was given
};

class RecordingPlatform : public Platform {
public:
    RecordingPlatform();
    ~RecordingPlatform() override;

    // What the program asked for, in order.
    QStringList messages;
    QList<FileDialogRequest> fileDialogs;
    QStringList helpFiles;
    QList<ProcessCall> processes;
    QList<QWidget*> modalWindows;
    int screenGrabs = 0;

    // Answers. An empty queue means "cancel".
    QQueue<QString> fileAnswers;
    QQueue<std::optional<QColor>> colorAnswers;
    // Called while a modal window is "shown"; the window is hidden again afterwards.
    std::function<void(QWidget*)> onModal;
    // Replaces a real process run when set.
    std::function<ProcessOutcome(const ProcessCall&)> onRun;
    // Result of startDetached when set; otherwise the real start.
    std::optional<bool> detachedResult;
    // Screen and pointer.
    std::function<QImage(const QSize&)> onGrab;
    std::function<QPoint()> onPointer;
    double refreshRate = 60.0;

    void showMessage(const QString& text) override;
    void showModal(QWidget* window) override;
    QString chooseOpenFile(const FileDialogRequest& request) override;
    std::optional<QColor> chooseColor(const QColor& initial) override;
    void showHelp(const QString& helpFile) override;
    ProcessOutcome runAndWait(const QString& program, const QStringList& arguments,
                              const QString& workingDirectory, const ProcessLimits& limits) override;
    bool startDetached(const QString& program, const QStringList& arguments,
                       const QString& workingDirectory) override;
    QImage grabScreen(const QSize& size) override;
    QPoint pointerPosition() override;
    double screenRefreshRate() override;

private:
    Platform* previous_ = nullptr;
};

} // namespace vv::test
