// The outside world the core needs: processes, the screen and the pointer.
// The build run, the install hand-over and the snapshot reach these only
// through this interface, so tests and the command-line tool can replace every
// one of them. Conversations with the user (message boxes, dialogs, help) are
// the windows' own business and live beside them in ui/Dialogs.h.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>

namespace vv {

struct ProcessOutcome {
    // StillRunning: the wait ended (time or cancel) with ProcessLimits::leaveRunning
    // set, and the program was left to go on by itself.
    enum class Status { Finished, FailedToStart, Crashed, TimedOut, Cancelled, StillRunning };
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
// the run that started it, unless `leaveRunning` says to let it go on.
struct ProcessLimits {
    int timeoutMs = -1; // negative: no time limit
    qsizetype outputCap = 64 * 1024;
    // When the wait ends before the program does, leave it running instead of
    // killing it: a tool that stays open to queue its work is not a failure.
    bool leaveRunning = false;
    // Asked about every 20 ms while the program runs; false stops it as
    // cancelled. A window uses it to keep its event loop turning.
    std::function<bool()> keepGoing;
};

class Platform {
public:
    virtual ~Platform() = default;

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
