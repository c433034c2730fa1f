#include "support/RecordingPlatform.h"

#include "platform/ProcessRunner.h"

namespace vv::test {

RecordingPlatform::RecordingPlatform() : previous_(setPlatform(this)) {}

RecordingPlatform::~RecordingPlatform() {
    setPlatform(previous_);
}

ProcessOutcome RecordingPlatform::runAndWait(const QString& program, const QStringList& arguments,
                                             const QString& workingDirectory, const ProcessLimits& limits) {
    const ProcessCall call{program, arguments, workingDirectory, false, limits};
    processes << call;
    if (onRun)
        return onRun(call);
    return runProgramAndWait(program, arguments, workingDirectory, limits);
}

bool RecordingPlatform::startDetached(const QString& program, const QStringList& arguments,
                                      const QString& workingDirectory) {
    processes << ProcessCall{program, arguments, workingDirectory, true, {}};
    if (detachedResult)
        return *detachedResult;
    return startProgramDetached(program, arguments, workingDirectory);
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
