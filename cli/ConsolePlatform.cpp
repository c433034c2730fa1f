#include "cli/ConsolePlatform.h"

#include "platform/ProcessRunner.h"

vv::ProcessOutcome ConsolePlatform::runAndWait(const QString& program, const QStringList& arguments,
                                               const QString& workingDirectory,
                                               const vv::ProcessLimits& limits) {
    return vv::runProgramAndWait(program, arguments, workingDirectory, limits);
}

bool ConsolePlatform::startDetached(const QString& program, const QStringList& arguments,
                                    const QString& workingDirectory) {
    return vv::startProgramDetached(program, arguments, workingDirectory);
}
