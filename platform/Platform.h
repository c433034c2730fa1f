// The outside world as the program sees it: dialogs, message boxes, processes,
// the screen and the pointer. Windows and the build run reach these only
// through this interface, so tests can replace every one of them.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QWidget;

namespace vv {

struct FileDialogRequest {
    QString title;     // empty: the toolkit's default title
    QString directory; // where the dialog opens
    QString filter;    // Qt filter string; empty: every picture format the loader knows
};

struct ProcessOutcome {
    enum class Status { Finished, FailedToStart, Crashed, TimedOut, Cancelled };
    Status status = Status::FailedToStart;
    int exitCode = -1;
    int crashSignal = 0;       // the signal that ended a crashed program, 0 when unknown
    QString errorText;         // why it failed to start or crashed, from the process layer
    QString commandLine;       // program and arguments as one line, for messages
    QByteArray standardOutput; // at most ProcessLimits::outputCap bytes of each stream
    QByteArray standardError;

    bool succeeded() const { return status == Status::Finished && exitCode == 0; }
};

// How long a program may run and how much of its output is kept. A program
// stopped for either reason is killed and waited for, so it never outlives
// the run that started it.
struct ProcessLimits {
    int timeoutMs = -1; // negative: no time limit
    qsizetype outputCap = 64 * 1024;
    // Asked about every 20 ms while the program runs; false stops it as
    // cancelled. A window uses it to keep its event loop turning.
    std::function<bool()> keepGoing;
};

class Platform {
public:
    virtual ~Platform() = default;

    // A one-button modal message box.
    virtual void showMessage(const QString& text) = 0;
    // Shows a window modally and returns when it has been closed.
    virtual void showModal(QWidget* window) = 0;
    // Returns the chosen file's path, or an empty string when the user cancelled.
    virtual QString chooseOpenFile(const FileDialogRequest& request) = 0;
    // Returns the chosen colour, or nothing when the user cancelled.
    virtual std::optional<QColor> chooseColor(const QColor& initial) = 0;
    // Shows a help file in the program's own viewer.
    virtual void showHelp(const QString& helpFile) = 0;
    // Runs a program with an argument list (never through a shell) and waits for
    // it within `limits`.
    virtual ProcessOutcome runAndWait(const QString& program, const QStringList& arguments,
                                      const QString& workingDirectory, const ProcessLimits& limits = {}) = 0;
    // Starts a program on its own; false when it could not be started.
    virtual bool startDetached(const QString& program, const QStringList& arguments,
                               const QString& workingDirectory) = 0;
    // The desktop from its top-left corner, at most `size` logical pixels; a
    // null image when it cannot be read. On a scaled screen the picture holds
    // the device pixels and carries the screen's device pixel ratio.
    virtual QImage grabScreen(const QSize& size) = 0;
    // The pointer position in desktop coordinates.
    virtual QPoint pointerPosition() = 0;
    // The primary screen's refresh rate in Hz.
    virtual double screenRefreshRate() = 0;
};

// The platform in use. Never null once the program or a test has installed one.
Platform& platform();
// Installs `p` (not owned) and returns the previous one.
Platform* setPlatform(Platform* p);

} // namespace vv
