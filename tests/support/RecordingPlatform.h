// A core platform for tests: records every process run and screen grab, and
// runs processes for real unless told otherwise.
#pragma once

#include "platform/Platform.h"

#include <QList>
#include <QPoint>

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
    QList<ProcessCall> processes;
    int screenGrabs = 0;

    // Replaces a real process run when set.
    std::function<ProcessOutcome(const ProcessCall&)> onRun;
    // Result of startDetached when set; otherwise the real start.
    std::optional<bool> detachedResult;
    // Screen and pointer.
    std::function<QImage(const QSize&)> onGrab;
    std::function<QPoint()> onPointer;
    double refreshRate = 60.0;

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
