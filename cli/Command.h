// The table of commands: each command is one row, with its summary, its
// options and the function that runs it. The overview, each command's
// --help, the manual page and the completion's word list are all made from
// it, so a command or an option exists in one place only.
#pragma once

#include "app/SettingsFile.h"
#include "cli/Console.h"
#include "cli/Failure.h"
#include "platform/FileErrors.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QRgb>
#include <QString>
#include <QStringList>

namespace cli {

// What an option's value is, for the completion.
enum class ValueKind {
    None,        // a switch
    Text,        // anything: a number, a list, a command
    Name,        // a database name: those in PDBFiles/
    Picture,     // a picture to read, or - for standard input
    PictureOut,  // a picture to write, or - for standard output
    Database,    // a .pdb to read
    DatabaseOut, // a .pdb to write
    Folder,      // a folder
    Screen,      // one of the System Screens
};

struct CliOption {
    QCommandLineOption option;
    ValueKind value = ValueKind::None;
};

// A positional argument and the words it takes.
struct CliArgument {
    QString name;
    QStringList choices;
};

struct Invocation;

struct Command {
    QString name;
    QString summary;     // one line, for the overview
    QString description; // the paragraph of COMMAND --help
    QList<CliOption> options;
    QList<CliArgument> arguments;
    Check (*run)(const Invocation&);
};

// The start directory a command runs in: its settings and the messages of its
// language, as the command line words them.
struct StartDirectory {
    QString path; // absolute
    vv::SettingsRecord settings;
    QStringList messages;
};

struct Invocation {
    const Command& command;
    const QCommandLineParser& parser;
    Console& console;
    QString startPath; // absolute; the current directory while the command runs
};

// Every command, in the order the overview lists them.
const QList<Command>& commands();
// The options every command takes, and the tool itself before a command.
QList<CliOption> commonOptions();

// Reads the settings and the language of the start directory at `path`.
Result<StartDirectory> openStartDirectory(const QString& path);

// `path` (relative to the start directory) as an absolute path below it, where
// a command may write; a path outside it, or one whose folder does not exist,
// is refused naming `option`.
Result<QString> pathToWrite(const QString& startPath, const QString& path, const QString& option);

// The same for a folder, which need not exist yet.
Result<QString> folderToWrite(const QString& startPath, const QString& path, const QString& option);

// The transparency colour of the start directory's saved options: what
// pictures read and written without a build take.
QRgb savedTransparency(const StartDirectory& start);

// Writes every file or none (vv::writeFilesTogether); a failure names the
// file that could not be written.
Check writeAllOrNothing(const QList<vv::FileToWrite>& files);

// The value of a numeric option, or a usage error naming it.
Result<int> numberOption(const QString& text, const QString& option);

} // namespace cli
