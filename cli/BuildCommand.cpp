#include "cli/BuildCommand.h"

#include "app/LanguageMessages.h"
#include "app/OptionRules.h"
#include "buildrun/ResourceScript.h"
#include "buildrun/SettingsBuildOptions.h"
#include "common/BitDepths.h"
#include "common/PictureCopy.h"
#include "common/SheetPicture.h"
#include "common/SystemScreens.h"
#include "icons/IconSlots.h"
#include "platform/Interrupts.h"
#include "platform/ProcessRunner.h"
#include "theme/ThemePieces.h"
#include "unpack/DatabaseUnpack.h"

#include <QColor>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>

#include <algorithm>

namespace cli {
namespace {

QCommandLineOption option(const QString& name, const QString& description, const QString& value = {}) {
    return QCommandLineOption(name, description, value);
}

// "SystemScreen: "A", "B" or "C".", from the screen table.
QString screenOptionHelp() {
    QStringList names = vv::systemScreenNames();
    const QString last = names.takeLast();
    return QStringLiteral("SystemScreen: \"%1\" or \"%2\".").arg(names.join(QStringLiteral("\", \"")), last);
}

// The depths of the depth table, joined by `separator`: "1,2,4,8,16".
QString bitDepthList(const QString& separator) {
    QStringList depths;
    for (const vv::BitDepthRow& row : vv::kBitDepthRows)
        depths << QString::number(row.bpp);
    return depths.join(separator);
}

// A picture from a file, or from standard input for "-".
vv::SheetLoadResult readPicture(const Invocation& run, const QString& path, QRgb transparency) {
    if (path != QLatin1String("-"))
        return vv::loadSheetPicture(path, transparency);
    QByteArray bytes;
    QIODevice& in = run.console.in();
    while (bytes.size() <= vv::kLargestSheetFile) {
        const QByteArray chunk = in.read(1 << 16);
        if (chunk.isEmpty() && (in.atEnd() || !in.waitForReadyRead(-1)))
            break;
        bytes += chunk;
    }
    vv::SheetLoadResult result;
    if (bytes.size() > vv::kLargestSheetFile) {
        result.status = vv::SheetLoadResult::Status::Unreadable;
        result.loaderMessage =
            QStringLiteral("standard input holds more than %1 MB").arg(vv::kLargestSheetFile / (1024 * 1024));
        return result;
    }
    return vv::decodeSheetPicture(bytes, transparency);
}

QString shownPath(const QString& path) {
    return path == QLatin1String("-") ? QStringLiteral("standard input") : QDir::toNativeSeparators(path);
}

// A sheet of another size than `expected` is cut only with --any-size.
Check checkSheetSize(const Invocation& run, const QImage& sheet, QSize expected, const QString& path,
                     const QString& option, const QStringList& messages) {
    if (sheet.size() == expected || run.parser.isSet(QStringLiteral("any-size")))
        return std::nullopt;
    // One arg() call: a file name holding "%1" must stay as typed.
    return failure(vv::messageOrBuiltIn(messages, vv::Message::SheetSizeRefusal)
                       .arg(shownPath(path), QString::number(sheet.width()), QString::number(sheet.height()),
                            option, QString::number(expected.width()), QString::number(expected.height())));
}

struct SlotPick {
    int slot; // index in iconSlots()
    int cell;
};

// "SLOT=CELL": SLOT is the slot's number within the build (1..12 for the icon
// set, 1..20 for the theme's icons) or its control name on either window.
Result<SlotPick> parsePick(const QString& text, const QString& option, vv::BuildKind use,
                           vv::IconWindow window) {
    const int equals = int(text.indexOf(QLatin1Char('=')));
    if (equals <= 0)
        return usageError(QStringLiteral("%1: give SLOT=CELL, not \"%2\"").arg(option, text));
    const QString slotText = text.left(equals).trimmed();
    const int first = use == vv::BuildKind::IconSet ? 0 : vv::kIconSetSlotCount;
    const int count = use == vv::BuildKind::IconSet ? vv::kIconSetSlotCount : vv::kThemeIconSlotCount;
    int slot = -1;
    bool numeric = false;
    const int number = slotText.toInt(&numeric);
    if (numeric && number >= 1 && number <= count)
        slot = first + number - 1;
    if (!numeric) {
        slot = vv::slotIndexByMainName(slotText);
        if (slot < 0)
            slot = vv::slotIndexByOs5Name(slotText);
        if (slot >= 0 && vv::iconSlots()[slot].use != use)
            slot = -1;
    }
    if (slot < 0)
        return usageError(
            QStringLiteral("%1 %2: no such slot; use 1 to %3 or a slot name such as %4")
                .arg(option, text, QString::number(count), QLatin1String(vv::iconSlots()[first].mainName)));
    const Result<int> cell = numberOption(text.mid(equals + 1), option);
    if (!cell.ok())
        return cell.failure();
    const vv::IconGrid& grid = vv::iconGrid(window);
    if (!grid.isCell(*cell))
        return usageError(QStringLiteral("%1 %2: no cell %3 on this icon sheet; use 1 to %4")
                              .arg(option, text, QString::number(*cell), QString::number(grid.cellCount)));
    return SlotPick{slot, *cell};
}

Result<vv::BuildOptions> withTransparent(vv::BuildOptions options, const QString& text) {
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 3)
        return usageError(QStringLiteral("--transparent: give R,G,B, not \"%1\"").arg(text));
    int rgb[3];
    for (int i = 0; i < 3; ++i) {
        const Result<int> value = numberOption(parts[i], QStringLiteral("--transparent"));
        if (!value.ok())
            return value.failure();
        if (*value < 0 || *value > 255)
            return usageError(QStringLiteral("--transparent: %1 is outside 0..255").arg(*value));
        rgb[i] = *value;
    }
    const vv::ColourChoice choice = vv::describeColourChoice(QColor(rgb[0], rgb[1], rgb[2]));
    options.transparentRed = choice.decRed;
    options.transparentGreen = choice.decGreen;
    options.transparentBlue = choice.decBlue;
    options.transparentIndex = QString::number(choice.paletteIndex);
    return options;
}

} // namespace

QList<CliOption> buildOptionRows() {
    return {
        {option(QStringLiteral("name"),
                QStringLiteral("Database name: PDBFiles/<NAME>.pdb and the name stamped "
                               "into the database."),
                QStringLiteral("NAME")),
         ValueKind::Name},
        {option(QStringLiteral("screen"), screenOptionHelp(), QStringLiteral("SCREEN")), ValueKind::Screen},
        {option(QStringLiteral("depths"),
                QStringLiteral("Bit depths to include, from %1 (e.g. 8,16).")
                    .arg(bitDepthList(QStringLiteral(","))),
                QStringLiteral("LIST")),
         ValueKind::Text},
        {option(QStringLiteral("compress"), QStringLiteral("Compress the bitmaps.")), ValueKind::None},
        {option(QStringLiteral("no-compress"), QStringLiteral("Do not compress the bitmaps.")),
         ValueKind::None},
        {option(QStringLiteral("transparent"),
                QStringLiteral("Transparency colour as R,G,B (0..255 each); its palette index is computed "
                               "as the Options dialog does."),
                QStringLiteral("R,G,B")),
         ValueKind::Text},
        {option(
             QStringLiteral("double-low"),
             QStringLiteral("On the OS5 screen, where only the low-resolution picture of a pair is your own, "
                            "build its high-resolution picture as the low one enlarged 2x.")),
         ValueKind::None},
        {option(QStringLiteral("as-is"),
                QStringLiteral("On the OS5 screen, build pairs whose high-resolution picture is still the "
                               "built-in one as they are.")),
         ValueKind::None},
        {option(QStringLiteral("any-size"),
                QStringLiteral("Cut sheets whose size is not the one their window expects.")),
         ValueKind::None},
    };
}

QList<CliOption> buildRunRows() {
    return {
        {option(QStringLiteral("output"),
                QStringLiteral("Write the database to FILE, below the start directory, instead of "
                               "PDBFiles/<NAME>.pdb; the name stamped into it stays NAME."),
                QStringLiteral("FILE")),
         ValueKind::DatabaseOut},
        {option(QStringLiteral("dry-run"),
                QStringLiteral("Read and check every input as the build would, print the resource script "
                               "and write nothing.")),
         ValueKind::None},
        {option(QStringLiteral("compiler-timeout"),
                QStringLiteral("Stop the resource compiler after SECONDS (default %1).")
                    .arg(vv::kDefaultCompilerTimeoutSeconds),
                QStringLiteral("SECONDS")),
         ValueKind::Text},
    };
}

Result<vv::BuildOptions> readBuildOptions(const QCommandLineParser& parser,
                                          const vv::SettingsRecord& settings) {
    vv::BuildOptions options = vv::buildOptionsFromSettings(settings);
    const QString screen = parser.value(QStringLiteral("screen"));
    if (parser.isSet(QStringLiteral("screen"))) {
        const int index = vv::systemScreenIndexOf(screen);
        if (index < 0)
            return usageError(QStringLiteral("--screen: \"%1\" is not a SystemScreen; use one of \"%2\"")
                                  .arg(screen, vv::systemScreenNames().join(QStringLiteral("\", \""))));
        options.screenType = vv::screenTypeFromStoredIndex(index);
    }
    if (parser.isSet(QStringLiteral("depths"))) {
        options.depths = {};
        const QStringList depths =
            parser.value(QStringLiteral("depths")).split(QLatin1Char(','), Qt::SkipEmptyParts);
        if (depths.isEmpty())
            return usageError(
                QStringLiteral("--depths: name at least one of %1").arg(bitDepthList(QStringLiteral(","))));
        for (const QString& text : depths) {
            const Result<int> bpp = numberOption(text, QStringLiteral("--depths"));
            if (!bpp.ok())
                return bpp.failure();
            if (!vv::bitDepthRow(*bpp))
                return usageError(QStringLiteral("--depths: %1 is not one of %2")
                                      .arg(text, bitDepthList(QStringLiteral(", "))));
            options.depths.set(*bpp);
        }
    }
    const bool compress = parser.isSet(QStringLiteral("compress"));
    const bool noCompress = parser.isSet(QStringLiteral("no-compress"));
    if (compress && noCompress)
        return usageError(QStringLiteral("--compress and --no-compress cannot both be given"));
    if (compress || noCompress)
        options.compressKeyword = vv::compressKeywordFor(compress);
    if (parser.isSet(QStringLiteral("transparent")))
        return withTransparent(options, parser.value(QStringLiteral("transparent")));
    return options;
}

Check oneStandardInput(const QCommandLineParser& parser, const QStringList& options) {
    QStringList reading;
    for (const QString& name : options)
        if (parser.value(name) == QLatin1String("-"))
            reading << QStringLiteral("--") + name;
    if (reading.size() > 1)
        return usageError(QStringLiteral("%1: only one picture can come from standard input")
                              .arg(reading.join(QStringLiteral(", "))));
    return std::nullopt;
}

CliOption startingDatabaseRow(vv::BuildKind kind) {
    const bool theme = kind == vv::BuildKind::Theme;
    return {option(QStringLiteral("from"),
                   QStringLiteral("Start from the pictures of this %1 database instead of the built-in ones, "
                                  "as opening it in the program does; the sheets and picks given apply over "
                                  "them, and its name is the name unless --name is given.")
                       .arg(theme ? QStringLiteral("theme") : QStringLiteral("icon set")),
                   QStringLiteral("FILE.pdb")),
            ValueKind::Database};
}

Check startFromDatabase(const Invocation& run, vv::BuildRequest& request, vv::ThemePieces& pieces,
                        vv::IconBoard& board) {
    if (!run.parser.isSet(QStringLiteral("from")))
        return std::nullopt;
    const QString path = run.parser.value(QStringLiteral("from"));
    QString problem;
    const std::optional<vv::UnpackedDatabase> database = vv::unpackDatabaseFile(
        path, vv::transparencyColour(request.options, vv::kOutsideSheetColour), &problem);
    if (!database)
        return failure(QStringLiteral("--from: not a sound theme or icon set database: ") + problem);
    const bool wantsTheme = request.kind == vv::BuildKind::Theme;
    if ((database->kind == vv::UnpackedKind::Theme) != wantsTheme)
        return failure(QStringLiteral("--from %1: this is %2, and %3 starts from %4")
                           .arg(shownPath(path),
                                wantsTheme ? QStringLiteral("an icon set") : QStringLiteral("a theme"),
                                run.command.name,
                                wantsTheme ? QStringLiteral("a theme") : QStringLiteral("an icon set")));
    const vv::ScreenProfile* screen = vv::screenProfileOf(request.options.screenType);
    vv::applyUnpackedDatabase(*database, pieces, board, screen && screen->doubleDensityLines);
    request.databaseName = database->name;
    return std::nullopt;
}

Check loadSkin(const Invocation& run, const StartDirectory& start, const vv::BuildOptions& options,
               vv::ThemePieces& pieces, vv::PieceResolution resolution, const QString& option) {
    const QString path = run.parser.value(option);
    const QRgb transparency = vv::transparencyColour(options, vv::kOutsideSheetColour);
    const vv::SheetLoadResult loaded = readPicture(run, path, transparency);
    const QString shownOption = QStringLiteral("--") + option;
    if (!loaded.loaded())
        return failure(QStringLiteral("%1: %2 (%3)")
                           .arg(vv::messageAt(start.messages, vv::Message::SkinSheetUnusable),
                                loaded.loaderMessage, shownPath(path)));
    if (Check refused = checkSheetSize(run, loaded.picture, vv::skinSheetSize(resolution), path, shownOption,
                                       start.messages))
        return refused;
    pieces.loadSheet(loaded.picture, resolution, transparency);
    return std::nullopt;
}

namespace {

Result<QList<SlotPick>> readPicks(const Invocation& run, vv::IconWindow window, const QString& sheetOption,
                                  const QString& pickOption, vv::BuildKind use) {
    const QStringList picks = run.parser.values(pickOption);
    const QString shownPick = QStringLiteral("--") + pickOption;
    if (!picks.isEmpty() && run.parser.value(sheetOption).isEmpty())
        return usageError(QStringLiteral("%1 needs --%2").arg(shownPick, sheetOption));
    QList<SlotPick> parsed;
    for (const QString& pick : picks) {
        const Result<SlotPick> one = parsePick(pick, shownPick, use, window);
        if (!one.ok())
            return one.failure();
        parsed << *one;
    }
    return parsed;
}

} // namespace

Check checkPicks(const Invocation& run, vv::IconWindow window, const QString& sheetOption,
                 const QString& pickOption, vv::BuildKind use) {
    const Result<QList<SlotPick>> picks = readPicks(run, window, sheetOption, pickOption, use);
    return picks.ok() ? Check{} : Check{picks.failure()};
}

Check pickIcons(const Invocation& run, const StartDirectory& start, const vv::BuildOptions& options,
                vv::IconBoard& board, vv::IconWindow window, const QString& sheetOption,
                const QString& pickOption, vv::BuildKind use) {
    const QString sheet = run.parser.value(sheetOption);
    const QString shownSheet = QStringLiteral("--") + sheetOption;
    const Result<QList<SlotPick>> picks = readPicks(run, window, sheetOption, pickOption, use);
    if (!picks.ok())
        return picks.failure();
    const QList<SlotPick>& parsed = *picks;
    if (!sheet.isEmpty()) {
        const vv::SheetLoadResult loaded =
            readPicture(run, sheet, vv::transparencyColour(options, vv::kOutsideSheetColour));
        if (!loaded.loaded())
            return failure(QStringLiteral("%1: %2 (%3)")
                               .arg(vv::messageAt(start.messages, vv::Message::IconSheetUnusable),
                                    loaded.loaderMessage, shownPath(sheet)));
        if (Check refused = checkSheetSize(run, loaded.picture, vv::iconGrid(window).fullSheetSize(), sheet,
                                           shownSheet, start.messages))
            return refused;
        board.setSheet(window, loaded.picture);
    }
    for (const SlotPick& pick : parsed) {
        board.selectCell(window, pick.cell);
        board.clickSlot(window, pick.slot);
    }
    return std::nullopt;
}

Check settleLowArtOnly(const Invocation& run, vv::BuildRequest& request, const QList<vv::DensityPair>& pairs,
                       const QStringList& messages) {
    const bool doubleLow = run.parser.isSet(QStringLiteral("double-low"));
    const bool asIs = run.parser.isSet(QStringLiteral("as-is"));
    if (doubleLow && asIs)
        return usageError(QStringLiteral("--double-low and --as-is cannot both be given"));
    if (pairs.isEmpty() || asIs)
        return std::nullopt;
    if (!doubleLow)
        return failure(vv::countedMessage(messages, vv::Message::LowArtOnlyRefusalOne,
                                          vv::Message::LowArtOnlyRefusal, pairs.size()));
    // Where an enlargement does not reach, the launcher shows through, as in the windows.
    const QRgb outside = vv::transparencyColour(request.options, vv::kOutsideSheetColour);
    vv::doubleLowPictures(request.pieces, pairs, outside);
    return std::nullopt;
}

namespace {

// Every check a build makes before it writes anything, in the build's order.
Result<vv::BuildRequest> checkedRequest(const Invocation& run, const StartDirectory& start,
                                        RequestMaker makeRequest, vv::IconBoard& board, bool forScript) {
    Result<vv::BuildRequest> made = makeRequest(run, start, board, forScript);
    if (!made.ok())
        return made;
    vv::BuildRequest& request = *made;
    if (run.parser.isSet(QStringLiteral("name")))
        request.databaseName = run.parser.value(QStringLiteral("name"));
    request.messages = start.messages;
    request.startDir = start.path;
    // script takes no options of the build's run.
    if (!forScript && run.parser.isSet(QStringLiteral("compiler-timeout"))) {
        const Result<int> seconds = numberOption(run.parser.value(QStringLiteral("compiler-timeout")),
                                                 QStringLiteral("--compiler-timeout"));
        if (!seconds.ok())
            return seconds.failure();
        if (*seconds < 1)
            return usageError(QStringLiteral("--compiler-timeout: give a number of seconds of at least 1"));
        request.compilerTimeoutSeconds = *seconds;
    }
    if (!forScript && run.parser.isSet(QStringLiteral("output"))) {
        const Result<QString> output =
            pathToWrite(start.path, run.parser.value(QStringLiteral("output")), QStringLiteral("--output"));
        if (!output.ok())
            return output.failure();
        request.outputPath = *output;
    }
    // Out-of-range values would otherwise surface as an obscure script error.
    const QString settingsProblem =
        vv::settingsRangeProblem(start.settings, !run.parser.isSet(QStringLiteral("transparent")));
    if (!settingsProblem.isEmpty())
        return failure(vv::messageAt(start.messages, vv::Message::SettingsOutOfRange).arg(settingsProblem));
    if (forScript)
        return made;
    if (const std::optional<QString> refusal =
            vv::refusalOfBuildName(request.kind, request.databaseName, request.messages))
        return failure(*refusal);
    if (const std::optional<QString> refusal =
            vv::refusalOfScreenType(request.kind, request.options, request.messages))
        return failure(*refusal);
    return made;
}

QString kindName(vv::BuildKind kind) {
    return kind == vv::BuildKind::Theme ? QStringLiteral("theme") : QStringLiteral("iconset");
}

Check showScript(const Invocation& run, const vv::BuildRequest& request) {
    const QByteArray script = vv::resourceScript(request.kind, request.families, request.options);
    if (run.console.json()) {
        run.console.result(QJsonObject{{QStringLiteral("command"), run.command.name},
                                       {QStringLiteral("kind"), kindName(request.kind)},
                                       {QStringLiteral("script"), QString::fromLatin1(script)}});
    } else if (!run.console.quiet()) {
        run.console.data(script);
    }
    return std::nullopt;
}

} // namespace

Check printScript(const Invocation& run, RequestMaker makeRequest) {
    const Result<StartDirectory> start = openStartDirectory(run.startPath);
    if (!start.ok())
        return start.failure();
    vv::IconBoard board;
    const Result<vv::BuildRequest> request = checkedRequest(run, *start, makeRequest, board, true);
    if (!request.ok())
        return request.failure();
    return showScript(run, *request);
}

Check runBuildCommand(const Invocation& run, RequestMaker makeRequest) {
    if (!run.parser.isSet(QStringLiteral("name")) && !run.parser.isSet(QStringLiteral("from")))
        return usageError(QStringLiteral("%1 needs --name NAME").arg(run.command.name));
    const Result<StartDirectory> start = openStartDirectory(run.startPath);
    if (!start.ok())
        return start.failure();
    vv::IconBoard board;
    Result<vv::BuildRequest> request = checkedRequest(run, *start, makeRequest, board, false);
    if (!request.ok())
        return request.failure();
    if (run.parser.isSet(QStringLiteral("dry-run")))
        return showScript(run, *request);
    // A signal stops the build between its steps or kills the compiler; the
    // build then removes its work folder and releases its lock as after any
    // failure, and an older database stays as it was.
    request->keepGoing = [] { return vv::interruptSignal() == 0; };
    const vv::BuildOutcome outcome = vv::runBuild(*request);
    if (const int signalNumber = vv::interruptSignal())
        return Failure{vv::exitCodeForSignal(signalNumber),
                       {vv::messageOrBuiltIn(start->messages, vv::Message::BuildInterrupted)
                            .arg(vv::signalName(signalNumber))}};
    if (!outcome.messages.isEmpty())
        return Failure{kExitFailure, outcome.messages};
    if (!outcome.databaseStamped)
        return failure(vv::messageOrBuiltIn(start->messages, vv::Message::NoNewDatabase));
    const QString database = request->outputPath.isEmpty()
                                 ? QDir(start->path).filePath(vv::databasePathOf(request->databaseName))
                                 : request->outputPath;
    run.console.result(QDir::toNativeSeparators(database));
    run.console.result(QJsonObject{{QStringLiteral("command"), run.command.name},
                                   {QStringLiteral("database"), QDir::toNativeSeparators(database)},
                                   {QStringLiteral("name"), request->databaseName},
                                   {QStringLiteral("bytes"), QFileInfo(database).size()},
                                   {QStringLiteral("families"), request->families.size()},
                                   {QStringLiteral("warnings"), jsonList(run.console.warnings())}});
    return std::nullopt;
}

} // namespace cli
