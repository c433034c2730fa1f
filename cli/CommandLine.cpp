#include "cli/CommandLine.h"

#include "cli/Command.h"
#include "cli/VersionLine.h"
#include "common/SystemScreens.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace cli {
namespace {

const char kStartDirVariable[] = "VEDIVAVURIR_START_DIR";

QString program() {
    return QLatin1String(kCliProgram);
}

QCommandLineOption helpOption(const QString& what) {
    return QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")}, what);
}

QCommandLineOption versionOption() {
    return QCommandLineOption({QStringLiteral("v"), QStringLiteral("version")},
                              QStringLiteral("Show the version."));
}

int nameWidth() {
    int width = 0;
    for (const Command& command : commands())
        width = std::max(width, int(command.name.size()));
    return width;
}

QString commandNames(const QString& separator, const QString& last) {
    QStringList names;
    for (const Command& command : commands())
        names << command.name;
    const QString lastName = names.takeLast();
    return names.join(separator) + last + lastName;
}

QString overview() {
    QString text =
        QStringLiteral("Builds Lanternshade themes and icon sets for Palm OS handhelds without the windows.\n"
                       "It runs in a start directory (-C DIR, else $%1, else the current\n"
                       "directory) with the options of its vkdm_settings.cfg; a build's options override\n"
                       "them for one run.\n\n"
                       "Commands:\n")
            .arg(QLatin1String(kStartDirVariable));
    for (const Command& command : commands())
        text += QStringLiteral("  %1  %2\n").arg(command.name.leftJustified(nameWidth()), command.summary);
    text += QStringLiteral("\nExit status: 0 success, 1 failure, 2 usage error, 128 + N stopped by signal N\n"
                           "(130: Ctrl-C).\n\"%1 COMMAND --help\" lists a command's options.")
                .arg(program());
    return text;
}

// Qt writes a description as it is; lines of at most 79 columns read well in a terminal.
QString wrapped(const QString& text) {
    QStringList lines;
    QString line;
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (!line.isEmpty() && line.size() + 1 + word.size() > 79) {
            lines << line;
            line.clear();
        }
        line += (line.isEmpty() ? QString() : QStringLiteral(" ")) + word;
    }
    lines << line;
    return lines.join(QLatin1Char('\n'));
}

// Qt names the program in the usage line by the application object, which
// --help does not wait for; the line is written here instead.
QString helpWithUsage(const QCommandLineParser& parser, const QString& usage) {
    const QString text = parser.helpText();
    return QStringLiteral("Usage: ") + usage + text.mid(text.indexOf(QLatin1Char('\n')));
}

void addCommonOptions(QCommandLineParser& parser, bool hidden) {
    for (CliOption common : commonOptions()) {
        if (hidden)
            common.option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(common.option);
    }
}

QString usageLine(const Command& command) {
    QString usage = program() + QLatin1Char(' ') + command.name + QStringLiteral(" [options]");
    for (const CliArgument& argument : command.arguments)
        usage += QLatin1Char(' ') + argument.name.toUpper();
    return usage;
}

// -C, then the environment, then the current directory; made the current
// directory, so every relative path of the line is taken from it.
Result<QString> enterStartDirectory(const QCommandLineParser& top, const QCommandLineParser& command) {
    QString chosen;
    QString from;
    if (command.isSet(QStringLiteral("start-dir")) || top.isSet(QStringLiteral("start-dir"))) {
        chosen = command.isSet(QStringLiteral("start-dir")) ? command.value(QStringLiteral("start-dir"))
                                                            : top.value(QStringLiteral("start-dir"));
        from = QStringLiteral("--start-dir");
    } else if (const QString variable = qEnvironmentVariable(kStartDirVariable); !variable.isEmpty()) {
        chosen = variable;
        from = QLatin1String(kStartDirVariable);
    } else {
        return QDir::currentPath();
    }
    const QFileInfo folder(QDir::current().absoluteFilePath(chosen));
    if (!folder.isDir())
        return failure(QStringLiteral("%1: %2 is not a folder").arg(from, QDir::toNativeSeparators(chosen)));
    const QString path = QDir::cleanPath(folder.absoluteFilePath());
    if (!QDir::setCurrent(path))
        return failure(
            QStringLiteral("%1: %2 cannot be entered").arg(from, QDir::toNativeSeparators(chosen)));
    return path;
}

int runCommand(const Command& command, const QStringList& arguments, const QCommandLineParser& top,
               Console& console, const std::function<void()>& beforeCommand) {
    QCommandLineParser parser;
    parser.setApplicationDescription(wrapped(command.description));
    const QCommandLineOption help = helpOption(QStringLiteral("Show the options of this command."));
    parser.addOption(help);
    for (const CliOption& row : command.options)
        parser.addOption(row.option);
    addCommonOptions(parser, true);
    for (const CliArgument& argument : command.arguments)
        parser.addPositionalArgument(argument.name, argument.choices.join(QStringLiteral(" or ")));
    QStringList line = arguments;
    line.prepend(program());
    if (!parser.parse(line)) {
        console.error(parser.errorText() +
                      QStringLiteral(" (see %1 %2 --help)").arg(program(), command.name));
        return kExitUsage;
    }
    if (parser.isSet(help)) {
        console.text(console.out(), helpWithUsage(parser, usageLine(command)));
        return kExitSuccess;
    }
    if (parser.positionalArguments().size() > command.arguments.size()) {
        console.error(QStringLiteral("unexpected argument \"%1\"")
                          .arg(parser.positionalArguments().value(command.arguments.size())));
        return kExitUsage;
    }
    console.setQuiet(top.isSet(QStringLiteral("quiet")) || parser.isSet(QStringLiteral("quiet")));
    console.setJson(top.isSet(QStringLiteral("json")) || parser.isSet(QStringLiteral("json")));
    if (beforeCommand)
        beforeCommand();
    const QString previous = QDir::currentPath();
    const Result<QString> start = enterStartDirectory(top, parser);
    if (!start.ok()) {
        console.report(start.failure());
        return start.failure().exitCode;
    }
    const Check failed = command.run(Invocation{command, parser, console, *start});
    QDir::setCurrent(previous);
    if (failed) {
        console.report(*failed);
        return failed->exitCode;
    }
    return kExitSuccess;
}

int dispatch(const QStringList& arguments, Console& console, const std::function<void()>& beforeCommand) {
    QCommandLineParser top;
    top.setApplicationDescription(overview());
    const QCommandLineOption help = helpOption(QStringLiteral("Show this help."));
    const QCommandLineOption version = versionOption();
    top.addOption(help);
    top.addOption(version);
    addCommonOptions(top, false);
    top.addPositionalArgument(QStringLiteral("command"),
                              commandNames(QStringLiteral(", "), QStringLiteral(" or ")));
    top.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    if (!top.parse(arguments)) {
        console.error(top.errorText() + QStringLiteral(" (see %1 --help)").arg(program()));
        return kExitUsage;
    }
    if (top.isSet(version)) {
        console.text(console.out(), QLatin1String(kCliVersionLine));
        return kExitSuccess;
    }
    const QString usage = program() + QStringLiteral(" [options] COMMAND [command options]");
    const QStringList rest = top.positionalArguments();
    if (top.isSet(help)) {
        console.text(console.out(), helpWithUsage(top, usage));
        return kExitSuccess;
    }
    if (rest.isEmpty()) {
        console.error(QStringLiteral("no command given; use %1 (see %2 --help)")
                          .arg(commandNames(QStringLiteral(", "), QStringLiteral(" or ")), program()));
        return kExitUsage;
    }
    for (const Command& command : commands())
        if (command.name == rest.first())
            return runCommand(command, rest.mid(1), top, console, beforeCommand);
    console.error(QStringLiteral("unknown command \"%1\"; use %2")
                      .arg(rest.first(), commandNames(QStringLiteral(", "), QStringLiteral(" or "))));
    return kExitUsage;
}

QString valueKindName(ValueKind kind) {
    switch (kind) {
    case ValueKind::None:
        return QStringLiteral("none");
    case ValueKind::Text:
        return QStringLiteral("text");
    case ValueKind::Name:
        return QStringLiteral("name");
    case ValueKind::Picture:
        return QStringLiteral("picture");
    case ValueKind::PictureOut:
        return QStringLiteral("picture-out");
    case ValueKind::Database:
        return QStringLiteral("database");
    case ValueKind::DatabaseOut:
        return QStringLiteral("database-out");
    case ValueKind::Folder:
        return QStringLiteral("folder");
    case ValueKind::Screen:
        return QStringLiteral("screen");
    }
    return QStringLiteral("text");
}

void addOptionWords(QStringList& lines, const QString& command, const QList<CliOption>& rows) {
    for (const CliOption& row : rows) {
        for (const QString& name : row.option.names()) {
            const QString spelling = (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
            lines << QStringList{QStringLiteral("option"), command, spelling, valueKindName(row.value)}.join(
                '\t');
            if (row.value == ValueKind::Screen)
                for (const QString& screen : vv::systemScreenNames())
                    lines << QStringList{QStringLiteral("choice"), command, spelling, screen}.join('\t');
        }
    }
}

} // namespace
} // namespace cli

int runCommandLine(const QStringList& arguments, QIODevice& in, QIODevice& out, QIODevice& err,
                   const std::function<void()>& beforeCommand) {
    cli::Console console(in, out, err);
    return console.finish(cli::dispatch(arguments, console, beforeCommand));
}

int runCommandLine(const QStringList& arguments, QIODevice& out, QIODevice& err) {
    QBuffer nothing;
    nothing.open(QIODevice::ReadOnly);
    return runCommandLine(arguments, nothing, out, err);
}

QString completionWords() {
    using namespace cli;
    QStringList lines;
    const QList<CliOption> top =
        QList<CliOption>{{helpOption({}), ValueKind::None}, {versionOption(), ValueKind::None}} +
        commonOptions();
    addOptionWords(lines, QStringLiteral("-"), top);
    for (const Command& command : commands()) {
        lines << QStringList{QStringLiteral("command"), command.name}.join('\t');
        addOptionWords(lines, command.name,
                       QList<CliOption>{{helpOption({}), ValueKind::None}} + command.options +
                           commonOptions());
        for (const CliArgument& argument : command.arguments)
            for (const QString& choice : argument.choices)
                lines << QStringList{QStringLiteral("argument"), command.name, choice}.join('\t');
    }
    return lines.join('\n') + QLatin1Char('\n');
}
