// The run both builds end in: in a fresh work folder of its own inside the
// start directory, write vkdm_script.rcp, save the pieces, copy the data
// files, run vkdm_pdb there, stamp the name into the database and rename it
// over PDBFiles/<name>.pdb; then remove the folder. The one place that writes
// the script and drives the compiler.
#pragma once

#include "app/LanguageFile.h"
#include "common/BuildOptions.h"
#include "common/PieceFile.h"
#include "common/ResourceFamily.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace vv {

inline constexpr int kDefaultCompilerTimeoutSeconds = 120;

struct BuildRequest {
    BuildKind kind = BuildKind::Theme;
    QList<ResourceFamily> families; // script order within each kind
    QList<PieceFile> pieces;        // saved in this order, removed after the compiler ran
    QStringList messages;           // the language-file Messages, by indexOf(Message)
    QString databaseName;           // becomes PDBFiles/<name>.pdb and the name stamp
    // Where the database goes instead of PDBFiles/<name>.pdb (absolute, in an
    // existing folder of the start directory's file system); empty: there.
    QString outputPath;
    BuildOptions options;
    QString startDir; // absolute; holds the script, work folders and PDBFiles
    // The compiler to run; empty: the first vkdm_pdb in compilerDirectories.
    QString compilerProgram;
    // Where to look for vkdm_pdb; empty: compilerSearchDirectories(startDir).
    QStringList compilerDirectories;
    // The compiler is stopped after this long; 0 or less: no limit.
    int compilerTimeoutSeconds = kDefaultCompilerTimeoutSeconds;
    // Asked about every 20 ms while the compiler runs; false cancels the build.
    std::function<bool()> keepGoing;
    // How long to wait for another build in the same start directory.
    int lockWaitMs = 3000;
};

struct BuildOutcome {
    QStringList messages;         // to show one by one, in order; empty after a clean build
    bool databaseStamped = false; // the compiler succeeded and the name is in the database
};

// Runs the whole build and returns what the user must be told. Never throws and
// never leaves its work folder behind, except one whose deletion fails (the
// next build removes it). Leaves StartDir as the current directory once the
// script was written. Holds the start directory's build lock from the work
// folder to the clean-up; a database counts as built only when the compiler
// wrote one of the expected kind. An older database is untouched until the
// new one replaces it in one rename.
// Uses vv::platform().runAndWait for the compiler.
BuildOutcome runBuild(const BuildRequest& request);

// The message for a database name the build must refuse (the build's
// empty-name message, with a tail naming the problem), or nothing when the
// name is fine. A build handler asks this before showing its busy label.
std::optional<QString> refusalOfBuildName(BuildKind kind, const QString& name, const QStringList& messages);

// The message for a build whose options cannot give a database (a theme
// with no screen chosen), or nothing.
std::optional<QString> refusalOfScreenType(BuildKind kind, const BuildOptions& options,
                                           const QStringList& messages);

// The compiler's argument list for `databaseName`.
QStringList compilerArguments(BuildKind kind, const QString& databaseName);

// Where vkdm_pdb is looked for, in order: beside the program's own executable,
// then the start directory.
QStringList compilerSearchDirectories(const QString& startDir);

// The first vkdm_pdb found in `directories`, or an empty string.
QString locateCompiler(const QStringList& directories);

// What a clean build reports: the database's path below the start directory
// and its size, "PDBFiles/Sunset.pdb, 412 KB" (kilobytes rounded up).
QString databaseResultLine(const QString& startDir, const QString& databaseName, const QStringList& messages);

// "PDBFiles/<name>.pdb": where a build puts the database, relative to the
// start directory (and, while it runs, to its work folder).
QString databasePathOf(const QString& databaseName);

// The text of `message` in `messages` (Messages in index order), or an empty
// text when the list is shorter.
QString messageAt(const QStringList& messages, Message message);

} // namespace vv
