// install: a built database handed to the handheld's install tool.
#include "cli/Commands.h"

#include "app/LanguageMessages.h"
#include "buildrun/InstallHandover.h"

#include <QDir>
#include <QJsonObject>

namespace cli {
namespace {

Check runInstall(const Invocation& run) {
    const QCommandLineParser& parser = run.parser;
    if (!parser.isSet(QStringLiteral("name")))
        return usageError(QStringLiteral("install needs --name NAME"));
    const Result<StartDirectory> start = openStartDirectory(run.startPath);
    if (!start.ok())
        return start.failure();
    const QString databaseName = parser.value(QStringLiteral("name"));
    const QString tool = parser.isSet(QStringLiteral("tool")) ? parser.value(QStringLiteral("tool"))
                                                              : start->settings.installTool;
    QJsonObject json{{QStringLiteral("command"), run.command.name}};
    const bool wait = !parser.isSet(QStringLiteral("no-wait"));
    if (!wait) {
        if (const std::optional<QString> problem =
                vv::installOnHandheld(databaseName, tool, start->path, start->messages))
            return failure(*problem);
        json.insert(QStringLiteral("exitCode"), QJsonValue::Null);
    } else {
        const vv::InstallResult installed =
            vv::installAndWait(databaseName, tool, start->path, start->messages, {});
        if (installed.status != vv::InstallResult::Status::Installed)
            return failure(installed.text);
        json.insert(QStringLiteral("exitCode"), installed.run.exitCode);
    }
    const QString database = QDir::toNativeSeparators(vv::installedDatabasePath(start->path, databaseName));
    run.console.result(
        vv::messageOrBuiltIn(start->messages, vv::Message::InstallHandedOver).arg(database, tool));
    json.insert(QStringLiteral("database"), database);
    json.insert(QStringLiteral("tool"), tool);
    run.console.result(json);
    return std::nullopt;
}

} // namespace

Command installCommand() {
    return {
        QStringLiteral("install"),
        QStringLiteral("hands PDBFiles/NAME.pdb to the install tool and waits for it"),
        QStringLiteral("Hands PDBFiles/NAME.pdb to the install tool of the options and waits for it: exit "
                       "status 1 when it fails."),
        {{QCommandLineOption(QStringLiteral("name"), QStringLiteral("The database: PDBFiles/<NAME>.pdb."),
                             QStringLiteral("NAME")),
          ValueKind::Name},
         {QCommandLineOption(QStringLiteral("tool"),
                             QStringLiteral("Install tool for this run instead of the saved one: a command "
                                            "that takes the database path as its last argument."),
                             QStringLiteral("COMMAND")),
          ValueKind::Text},
         {QCommandLineOption(QStringLiteral("no-wait"),
                             QStringLiteral("Start the tool on its own and end without waiting for it, so "
                                            "its failure is not seen.")),
          ValueKind::None}},
        {},
        runInstall};
}

} // namespace cli
