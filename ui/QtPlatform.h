// The real outside world: QProcess, the primary screen and the pointer.
#pragma once

#include "platform/Platform.h"

namespace vv {

class QtPlatform : public Platform {
public:
    ProcessOutcome runAndWait(const QString& program, const QStringList& arguments,
                              const QString& workingDirectory, const ProcessLimits& limits) override;
    bool startDetached(const QString& program, const QStringList& arguments,
                       const QString& workingDirectory) override;
    QImage grabScreen(const QSize& size) override;
    QPoint pointerPosition() override;
    double screenRefreshRate() override;
};

} // namespace vv
