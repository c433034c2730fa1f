// The run both builds end in: write vkdm_script.rcp, save the pieces, run
// vkdm_pdb, stamp the name into the database, remove the work files and the
// script. The one place that writes the script and drives the compiler.
#pragma once

#include "app/LanguageFile.h"
#include "buildrun/BuildOptions.h"
#include "buildrun/PieceFile.h"
#include "buildrun/ResourceFamily.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace vv {

struct BuildRequest {
    BuildKind kind = BuildKind::Theme;
    QList<ResourceFamily> families; // script order within each kind
    QList<PieceFile> pieces;        // saved in this order, removed after the compiler ran
    QStringList messages;           // the 36 language-file Messages
    QString databaseName;           // becomes PDBFiles/<name>.pdb and the name stamp
    BuildOptions options;
    QString startDir; // absolute; holds the script, work folders and PDBFiles
    // The compiler to run; empty: the first vkdm_pdb in compilerDirectories.
    QString compilerProgram;
    // Where to look for vkdm_pdb; empty: compilerSearchDirectories(startDir).
    QStringList compilerDirectories;
};

struct BuildOutcome {
    QStringList messages;         // to show one by one, in order; empty after a clean build
    bool databaseStamped = false; // the compiler succeeded and the name is in the database
};

// Runs the whole build and returns what the user must be told. Never throws and
// never leaves the script or a piece behind, except a file whose deletion
// fails. Leaves StartDir as the current directory once the script was written.
// Uses vv::platform().runAndWait for the compiler.
BuildOutcome runBuild(const BuildRequest& request);

// The message for a database name the build must refuse (the build's
// empty-name message, with a tail naming the problem), or nothing when the
// name is fine. A build handler asks this before showing its busy label.
std::optional<QString> refusalOfBuildName(BuildKind kind, const QString& name, const QStringList& messages);

// The compiler's argument list for `databaseName`.
QStringList compilerArguments(BuildKind kind, const QString& databaseName);

// Where vkdm_pdb is looked for, in order: beside the program's own executable,
// then the start directory.
QStringList compilerSearchDirectories(const QString& startDir);

// The first vkdm_pdb found in `directories`, or an empty string.
QString locateCompiler(const QStringList& directories);

// The text of `message` in `messages` (Messages in index order), or an empty
// text when the list is shorter.
QString messageAt(const QStringList& messages, Message message);

} // namespace vv
