#include "buildrun/InstallHandover.h"

#include "app/CheckTexts.h"
#include "buildrun/BuildKindTraits.h"
#include "buildrun/BuildRun.h"
#include "buildrun/DatabaseName.h"
#include "platform/Platform.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace vv {

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
    if (const std::optional<QString> refusal =
            refusalOfDatabaseName(databaseName, messageAt(messages, kInstallEmptyNameMessage)))
        return refusal;
    if (toolPath.trimmed().isEmpty())
        return messageAt(messages, kInstallEmptyToolMessage);
    const QString database = installedDatabasePath(startDir, databaseName);
    if (!QFileInfo(database).isFile())
        return messageOrBuiltIn(messages, Message::InstallDatabaseMissing).arg(database);
    const InstallCommand command = installCommand(toolPath, database);
    if (command.program.isEmpty() || !platform().startDetached(command.program, command.arguments, startDir))
        return messageAt(messages, kInstallCannotStartMessage);
    return std::nullopt;
}

} // namespace vv
