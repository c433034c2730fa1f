#include "platform/ProcessRunner.h"

#include <QProcess>

namespace vv {

ProcessOutcome runProgramAndWait(const QString& program, const QStringList& arguments,
                                 const QString& workingDirectory) {
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
    if (process.exitStatus() == QProcess::CrashExit) {
        outcome.status = ProcessOutcome::Status::Crashed;
        outcome.errorText = process.errorString();
        return outcome;
    }
    outcome.status = ProcessOutcome::Status::Finished;
    outcome.exitCode = process.exitCode();
    return outcome;
}

bool startProgramDetached(const QString& program, const QStringList& arguments,
                          const QString& workingDirectory) {
    return QProcess::startDetached(program, arguments, workingDirectory);
}

} // namespace vv
