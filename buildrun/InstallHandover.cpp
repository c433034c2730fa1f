#include "buildrun/InstallHandover.h"

#include "app/CheckTexts.h"
#include "buildrun/BuildKindTraits.h"
#include "buildrun/BuildRun.h"
#include "buildrun/DatabaseName.h"
#include "platform/ProcessRunner.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include <variant>

namespace vv {
namespace {

// The checks every hand-over makes before the tool is started: the command to
// run, or the message that refuses it.
std::variant<InstallCommand, QString> checkedInstallCommand(const QString& databaseName,
                                                            const QString& toolPath, const QString& startDir,
                                                            const QStringList& messages) {
    if (const std::optional<QString> refusal =
            refusalOfDatabaseName(databaseName, messageAt(messages, kInstallEmptyNameMessage)))
        return *refusal;
    if (toolPath.trimmed().isEmpty())
        return messageAt(messages, kInstallEmptyToolMessage);
    const QString database = installedDatabasePath(startDir, databaseName);
    if (!QFileInfo(database).isFile())
        return messageOrBuiltIn(messages, Message::InstallDatabaseMissing).arg(database);
    InstallCommand command = installCommand(toolPath, database);
    if (command.program.isEmpty())
        return messageAt(messages, kInstallCannotStartMessage);
    return command;
}

} // namespace

InstallCommand installCommand(const QString& toolPath, const QString& databasePath) {
    InstallCommand command;
    const QFileInfo whole(toolPath);
    if (whole.isFile() && whole.isExecutable()) {
        command.program = toolPath;
    } else {
        QStringList words = QProcess::splitCommand(toolPath);
        if (!words.isEmpty())
            command.program = words.takeFirst();
        command.arguments = words;
    }
    command.arguments << databasePath;
    return command;
}

QString installedDatabasePath(const QString& startDir, const QString& databaseName) {
    return QDir::toNativeSeparators(QDir(startDir).filePath(databasePathOf(databaseName)));
}

std::optional<QString> installOnHandheld(const QString& databaseName, const QString& toolPath,
                                         const QString& startDir, const QStringList& messages) {
    const auto checked = checkedInstallCommand(databaseName, toolPath, startDir, messages);
    if (const QString* refusal = std::get_if<QString>(&checked))
        return *refusal;
    const InstallCommand& command = std::get<InstallCommand>(checked);
    if (!platform().startDetached(command.program, command.arguments, startDir))
        return messageAt(messages, kInstallCannotStartMessage);
    return std::nullopt;
}

InstallResult installAndWait(const QString& databaseName, const QString& toolPath, const QString& startDir,
                             const QStringList& messages, const ProcessLimits& limits) {
    InstallResult result;
    const auto checked = checkedInstallCommand(databaseName, toolPath, startDir, messages);
    if (const QString* refusal = std::get_if<QString>(&checked)) {
        result.text = *refusal;
        return result;
    }
    const InstallCommand& command = std::get<InstallCommand>(checked);
    // A hand-over never kills the tool: one that outlasts the wait may be
    // queueing the file for the next HotSync.
    ProcessLimits wait = limits;
    wait.leaveRunning = true;
    result.run = platform().runAndWait(command.program, command.arguments, startDir, wait);
    const ProcessOutcome& run = result.run;
    // The tool by its file name: the whole command line would not fit the result line.
    const QString tool = QFileInfo(command.program).fileName();
    const QString database = QDir::toNativeSeparators(
        QStringLiteral("%1/%2.pdb").arg(QLatin1String(kDatabaseFolder), databaseName));
    const auto failed = [&](const QString& text) {
        result.status = InstallResult::Status::Failed;
        const QString errorLine = firstErrorLine(run);
        result.text = errorLine.isEmpty() ? text : text + QLatin1Char('\n') + errorLine;
    };
    switch (run.status) {
    case ProcessOutcome::Status::FailedToStart:
        result.text = messageAt(messages, kInstallCannotStartMessage);
        break;
    case ProcessOutcome::Status::Finished:
        if (run.exitCode == 0) {
            result.status = InstallResult::Status::Installed;
            result.text = messageOrBuiltIn(messages, Message::InstallHandedOver).arg(database, tool);
        } else {
            failed(messageOrBuiltIn(messages, Message::InstallToolFailed)
                       .arg(database, tool, QString::number(run.exitCode)));
        }
        break;
    case ProcessOutcome::Status::Crashed:
        failed(messageOrBuiltIn(messages, Message::InstallToolCrashed)
                   .arg(database, tool, QString::number(run.crashSignal), signalName(run.crashSignal)));
        break;
    case ProcessOutcome::Status::StillRunning:
    case ProcessOutcome::Status::TimedOut: // not from a wait told to leave it running
    case ProcessOutcome::Status::Cancelled:
        result.status = InstallResult::Status::StillRunning;
        result.text = messageOrBuiltIn(messages, Message::InstallStillRunning).arg(database, tool);
        break;
    }
    return result;
}

} // namespace vv
