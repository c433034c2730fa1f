// The platform of the command-line tool: processes run for real; there is no
// screen to read and no pointer to follow. The tool talks to the user only
// through its own output streams, from the outcomes the core returns.
#pragma once

#include "platform/Platform.h"

class ConsolePlatform : public vv::Platform {
public:
    vv::ProcessOutcome runAndWait(const QString& program, const QStringList& arguments,
                                  const QString& workingDirectory, const vv::ProcessLimits& limits) override;
    bool startDetached(const QString& program, const QStringList& arguments,
                       const QString& workingDirectory) override;
    QImage grabScreen(const QSize&) override { return {}; }
    QPoint pointerPosition() override { return {}; }
    double screenRefreshRate() override { return 60.0; }
};
