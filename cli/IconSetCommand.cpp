// iconset: an icon set database from icon picks.
#include "cli/BuildCommand.h"
#include "cli/Commands.h"

#include "icons/IconPieces.h"
#include "icons/IconSlots.h"
#include "theme/ThemeBuildPlan.h"
#include "theme/ThemePieces.h"

namespace cli {

QList<CliOption> iconSetInputRows() {
    return {
        startingDatabaseRow(vv::BuildKind::IconSet),
        {QCommandLineOption(QStringLiteral("sheet"),
                            QStringLiteral("Icon sheet (main window grid); - reads it from standard input."),
                            QStringLiteral("FILE")),
         ValueKind::Picture},
        {QCommandLineOption(QStringLiteral("icon"),
                            QStringLiteral("Put cell CELL of --sheet into icon SLOT (1..%1 or Image241..); "
                                           "may be repeated.")
                                .arg(vv::kIconSetSlotCount),
                            QStringLiteral("SLOT=CELL")),
         ValueKind::Text},
        {QCommandLineOption(QStringLiteral("hires-sheet"), QStringLiteral("OS5 icon sheet."),
                            QStringLiteral("FILE")),
         ValueKind::Picture},
        {QCommandLineOption(
             QStringLiteral("hires-icon"),
             QStringLiteral("Put cell CELL of --hires-sheet into OS5 icon SLOT (and its half size "
                            "into the low slot); may be repeated."),
             QStringLiteral("SLOT=CELL")),
         ValueKind::Text},
    };
}

Result<vv::BuildRequest> iconSetRequest(const Invocation& run, const StartDirectory& start,
                                        vv::IconBoard& board, bool forScript) {
    if (!forScript && !run.parser.isSet(QStringLiteral("sheet")) && !run.parser.isSet(QStringLiteral("from")))
        return usageError(QStringLiteral("iconset needs --sheet FILE"));
    if (Check refused =
            oneStandardInput(run.parser, {QStringLiteral("sheet"), QStringLiteral("hires-sheet")}))
        return *refused;
    vv::BuildRequest request;
    request.kind = vv::BuildKind::IconSet;
    Result<vv::BuildOptions> options = readBuildOptions(run.parser, start.settings);
    if (!options.ok())
        return options.failure();
    request.options = *options;
    vv::ThemePieces unused;
    if (Check refused = startFromDatabase(run, request, unused, board))
        return *refused;
    const vv::OnePictureMoment givenHere;
    if (Check refused =
            pickIcons(run, start, request.options, board, vv::IconWindow::Os5, QStringLiteral("hires-sheet"),
                      QStringLiteral("hires-icon"), vv::BuildKind::IconSet))
        return *refused;
    if (Check refused = pickIcons(run, start, request.options, board, vv::IconWindow::Main,
                                  QStringLiteral("sheet"), QStringLiteral("icon"), vv::BuildKind::IconSet))
        return *refused;
    request.families = vv::iconSetFamilies();
    request.pieces = vv::iconSetPieces(board);
    if (Check refused = settleLowArtOnly(run, request, vv::iconSetPairsWithLowArtOnly(board, request.options),
                                         start.messages))
        return *refused;
    return request;
}

namespace {

Check runIconSet(const Invocation& run) {
    return runBuildCommand(run, iconSetRequest);
}

} // namespace

Command iconSetCommand() {
    return {
        QStringLiteral("iconset"),
        QStringLiteral("builds PDBFiles/NAME.pdb, an icon set"),
        QStringLiteral("Builds an icon set database from icon picks, with the saved options unless options "
                       "given here override them."),
        buildOptionRows() + buildRunRows() + iconSetInputRows(),
        {},
        runIconSet};
}

} // namespace cli
