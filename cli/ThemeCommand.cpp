// theme: a theme database from skin sheets and icon picks.
#include "cli/BuildCommand.h"
#include "cli/Commands.h"

#include "icons/IconPieces.h"
#include "theme/ThemeBuildPlan.h"
#include "theme/ThemePieces.h"

namespace cli {

QList<CliOption> themeInputRows() {
    return {
        startingDatabaseRow(vv::BuildKind::Theme),
        {QCommandLineOption(QStringLiteral("sheet"),
                            QStringLiteral("Low-resolution skin sheet (230 x 335); - reads it from standard "
                                           "input."),
                            QStringLiteral("FILE")),
         ValueKind::Picture},
        {QCommandLineOption(QStringLiteral("hires-sheet"),
                            QStringLiteral("High-resolution skin sheet (460 x 670); also rewrites the low "
                                           "pieces at half size."),
                            QStringLiteral("FILE")),
         ValueKind::Picture},
        {QCommandLineOption(QStringLiteral("icons-sheet"), QStringLiteral("Icon sheet for the theme icons."),
                            QStringLiteral("FILE")),
         ValueKind::Picture},
        {QCommandLineOption(QStringLiteral("icon"),
                            QStringLiteral("Put cell CELL of --icons-sheet into theme icon SLOT (1..20 or "
                                           "Image6..); may be repeated."),
                            QStringLiteral("SLOT=CELL")),
         ValueKind::Text},
        {QCommandLineOption(QStringLiteral("hires-icons-sheet"),
                            QStringLiteral("OS5 icon sheet for the theme's high icons."),
                            QStringLiteral("FILE")),
         ValueKind::Picture},
        {QCommandLineOption(
             QStringLiteral("hires-icon"),
             QStringLiteral("Put cell CELL of --hires-icons-sheet into theme icon SLOT of the OS5 "
                            "window (and its half size into the low slot); may be repeated."),
             QStringLiteral("SLOT=CELL")),
         ValueKind::Text},
    };
}

// The database goes first, and everything given here counts as set after it,
// all at one moment. The high sheet goes first: it rewrites the low pieces,
// which a low sheet given as well then replaces. The OS5 picks go first for
// the same reason.
Result<vv::BuildRequest> themeRequest(const Invocation& run, const StartDirectory& start,
                                      vv::IconBoard& board, bool) {
    if (Check refused = oneStandardInput(run.parser, {QStringLiteral("sheet"), QStringLiteral("hires-sheet"),
                                                      QStringLiteral("icons-sheet"),
                                                      QStringLiteral("hires-icons-sheet")}))
        return *refused;
    if (Check refused = checkPicks(run, vv::IconWindow::Os5, QStringLiteral("hires-icons-sheet"),
                                   QStringLiteral("hires-icon"), vv::BuildKind::Theme))
        return *refused;
    if (Check refused = checkPicks(run, vv::IconWindow::Main, QStringLiteral("icons-sheet"),
                                   QStringLiteral("icon"), vv::BuildKind::Theme))
        return *refused;
    vv::BuildRequest request;
    request.kind = vv::BuildKind::Theme;
    Result<vv::BuildOptions> options = readBuildOptions(run.parser, start.settings);
    if (!options.ok())
        return options.failure();
    request.options = *options;
    vv::ThemePieces pieces;
    if (Check refused = startFromDatabase(run, request, pieces, board))
        return *refused;
    const vv::OnePictureMoment givenHere;
    const std::pair<QString, vv::PieceResolution> sheets[] = {
        {QStringLiteral("hires-sheet"), vv::PieceResolution::High},
        {QStringLiteral("sheet"), vv::PieceResolution::Low}};
    for (const auto& [sheet, resolution] : sheets)
        if (run.parser.isSet(sheet))
            if (Check refused = loadSkin(run, start, request.options, pieces, resolution, sheet))
                return *refused;
    if (Check refused = pickIcons(run, start, request.options, board, vv::IconWindow::Os5,
                                  QStringLiteral("hires-icons-sheet"), QStringLiteral("hires-icon"),
                                  vv::BuildKind::Theme))
        return *refused;
    if (Check refused =
            pickIcons(run, start, request.options, board, vv::IconWindow::Main, QStringLiteral("icons-sheet"),
                      QStringLiteral("icon"), vv::BuildKind::Theme))
        return *refused;
    request.families = vv::themeFamilies();
    request.pieces = vv::themePieceFiles(pieces, board, request.options.screenType);
    if (Check refused = settleLowArtOnly(
            run, request, vv::themePairsWithLowArtOnly(pieces, board, request.options), start.messages))
        return *refused;
    return request;
}

namespace {

Check runTheme(const Invocation& run) {
    return runBuildCommand(run, themeRequest);
}

} // namespace

Command themeCommand() {
    return {QStringLiteral("theme"),
            QStringLiteral("builds PDBFiles/NAME.pdb, a theme"),
            QStringLiteral("Builds a theme database from skin sheets and icon picks, with the saved options "
                           "unless options given here override them."),
            buildOptionRows() + buildRunRows() + themeInputRows(),
            {},
            runTheme};
}

} // namespace cli
