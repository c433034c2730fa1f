// "Install on PDA": hands a built database to the handheld desktop suite's
// install tool, started on its own without waiting for it.
#pragma once

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
// for an empty tool path, InstallToolNotStarted when the tool cannot be started.
std::optional<QString> installOnHandheld(const QString& databaseName, const QString& toolPath,
                                         const QString& startDir, const QStringList& messages);

} // namespace vv
