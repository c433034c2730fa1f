// What theme, iconset and script share: the build options that override the
// saved ones, the sheets and icon picks, and the run from a checked request to
// a database (or, for a dry run, to the script alone).
#pragma once

#include "buildrun/BuildRun.h"
#include "cli/Command.h"
#include "common/LowArtOnly.h"
#include "icons/IconBoard.h"
#include "theme/ThemePieces.h"

namespace cli {

// --name and the options that override the saved ones.
QList<CliOption> buildOptionRows();
// The options only a build takes: --output, --dry-run, --compiler-timeout.
QList<CliOption> buildRunRows();

// How a build command reads its inputs: every sheet loaded and checked, every
// pick made, the OS5 partner check settled. `forScript`: the script command,
// which needs no name and no sheet.
using RequestMaker = Result<vv::BuildRequest> (*)(const Invocation& run, const StartDirectory& start,
                                                  vv::IconBoard& board, bool forScript);

Result<vv::BuildRequest> themeRequest(const Invocation& run, const StartDirectory& start,
                                      vv::IconBoard& board, bool forScript);
Result<vv::BuildRequest> iconSetRequest(const Invocation& run, const StartDirectory& start,
                                        vv::IconBoard& board, bool forScript);

// The saved options with the command line's overrides.
Result<vv::BuildOptions> readBuildOptions(const QCommandLineParser& parser,
                                          const vv::SettingsRecord& settings);

// --from: the database a build of `kind` starts from.
CliOption startingDatabaseRow(vv::BuildKind kind);
// With --from, puts that database's pictures into `pieces` and `board` as
// opening it in the windows does, and its name into `request` for a build
// without --name. A database that is not sound, or of the other kind than
// `request.kind`, is refused. Every picture set afterwards counts as set after it.
Check startFromDatabase(const Invocation& run, vv::BuildRequest& request, vv::ThemePieces& pieces,
                        vv::IconBoard& board);

// Loads the skin sheet of option `option` (a file, or - for standard input)
// into `pieces`.
Check loadSkin(const Invocation& run, const StartDirectory& start, const vv::BuildOptions& options,
               vv::ThemePieces& pieces, vv::PieceResolution resolution, const QString& option);
// Loads a window's icon sheet from option `sheetOption` and clicks the cells
// that the repeated option `pickOption` names into their slots, as a user would.
Check pickIcons(const Invocation& run, const StartDirectory& start, const vv::BuildOptions& options,
                vv::IconBoard& board, vv::IconWindow window, const QString& sheetOption,
                const QString& pickOption, vv::BuildKind use);
// The picks of `pickOption` read without loading a sheet: a usage error
// comes before any file is looked at.
Check checkPicks(const Invocation& run, vv::IconWindow window, const QString& sheetOption,
                 const QString& pickOption, vv::BuildKind use);
// Of the options named, at most one may read standard input.
Check oneStandardInput(const QCommandLineParser& parser, const QStringList& options);
// Pictures whose own art is only at density 1 need --double-low or --as-is.
Check settleLowArtOnly(const Invocation& run, vv::BuildRequest& request, const QList<vv::DensityPair>& pairs,
                       const QStringList& messages);

// theme and iconset: the build, or with --dry-run its script.
Check runBuildCommand(const Invocation& run, RequestMaker makeRequest);
// The script of the build `makeRequest` prepares, with every input checked.
Check printScript(const Invocation& run, RequestMaker makeRequest);

} // namespace cli
