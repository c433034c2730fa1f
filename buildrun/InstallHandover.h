// "Install on PDA": hands a built database to the handheld desktop suite's
// install tool and tells what the tool made of it.
#pragma once

#include "platform/Platform.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace vv {

struct InstallCommand {
    QString program;
    QStringList arguments; // the database path is always the last, as one argument
};

// How the tool path text becomes a program and its arguments (no shell is
// involved): when the whole text, blanks included, names an existing
// executable file, that file is the program ("/opt/Palm Desktop/instapp").
// Otherwise the text is split like a command line, double quotes grouping
// words ("pilot-xfer -p usb: -i"), the first word being the program. The
// database path is appended as one argument either way.
InstallCommand installCommand(const QString& toolPath, const QString& databasePath);

// The database path handed to the tool: StartDir/PDBFiles/<name>.pdb with the
// platform's separators.
QString installedDatabasePath(const QString& startDir, const QString& databaseName);

// Starts the install tool through vv::platform().startDetached. Returns the
// message to show, or nothing when the tool was started: InstallNeedsName for an
// empty name (with a tail for a name that cannot be a file name), NoInstallTool
// for an empty tool path, a message naming the database when it does not exist
// (the tool is not started then), InstallToolNotStarted when the tool cannot be
// started.
[[nodiscard]] std::optional<QString> installOnHandheld(const QString& databaseName, const QString& toolPath,
                                                       const QString& startDir, const QStringList& messages);

struct InstallResult {
    enum class Status {
        Refused,      // not started: the checks above, or the tool could not be started
        Installed,    // the tool ended with exit code 0
        Failed,       // it ended with another code, or crashed
        StillRunning, // the wait ended first and the tool was left running
    };
    Status status = Status::Refused;
    // Refused and Failed: the message to show (Failed ends with the tool's
    // first error line, on a line of its own, when it printed one).
    // Installed and StillRunning: the result line, "PDBFiles/Sunset.pdb handed to cp".
    QString text;
    ProcessOutcome run; // the tool's run, when it was started
};

// The same checks as installOnHandheld, then runs the tool through
// vv::platform().runAndWait within `limits`: without a time limit the call
// returns when the tool has ended; a tool still running when the time is up
// (or `limits.keepGoing` says stop) is left to go on, never killed (StillRunning).
InstallResult installAndWait(const QString& databaseName, const QString& toolPath, const QString& startDir,
                             const QStringList& messages, const ProcessLimits& limits);

} // namespace vv
