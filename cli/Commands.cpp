#include "cli/Commands.h"

namespace cli {

const QList<Command>& commands() {
    static const QList<Command> table{themeCommand(),  iconSetCommand(), installCommand(),
                                      scriptCommand(), unpackCommand(),  templateCommand()};
    return table;
}

QList<CliOption> commonOptions() {
    return {
        {QCommandLineOption(
             {QStringLiteral("C"), QStringLiteral("start-dir")},
             QStringLiteral("Run in the start directory DIR (default: $VEDIVAVURIR_START_DIR, "
                            "else the current directory); relative paths are taken from there."),
             QStringLiteral("DIR")),
         ValueKind::Folder},
        {QCommandLineOption({QStringLiteral("q"), QStringLiteral("quiet")},
                            QStringLiteral("Print nothing on success; errors still go to standard error.")),
         ValueKind::None},
        {QCommandLineOption(QStringLiteral("json"),
                            QStringLiteral("Print each result as one JSON object on a line of its own.")),
         ValueKind::None},
    };
}

} // namespace cli
