#include "cli/CommandLine.h"

#include "app/BitDepths.h"
#include "app/CheckTexts.h"
#include "app/LanguageFile.h"
#include "app/LanguageMessages.h"
#include "app/OptionRules.h"
#include "app/PictureCopy.h"
#include "app/SettingsFile.h"
#include "app/SystemScreens.h"
#include "buildrun/BuildRun.h"
#include "buildrun/InstallHandover.h"
#include "buildrun/LowArtOnly.h"
#include "buildrun/ResourceScript.h"
#include "buildrun/SettingsBuildOptions.h"
#include "icons/IconBoard.h"
#include "icons/IconPieces.h"
#include "icons/IconSlots.h"
#include "platform/FileErrors.h"
#include "platform/Interrupts.h"
#include "platform/ProcessRunner.h"
#include "theme/ThemeBuildPlan.h"
#include "theme/ThemePieces.h"
#include "unpack/DatabaseUnpack.h"

#include <QColor>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <optional>

namespace {

// Thrown by the option readers; caught once at the top and printed.
struct UsageError {
    QString text;
};

class Streams {
public:
    Streams(QIODevice& out, QIODevice& err) : out_(out), err_(err) {}
    void result(const QString& text) { out_.write((text + QLatin1Char('\n')).toLocal8Bit()); }
    void resultBytes(const QByteArray& bytes) { out_.write(bytes); }
    void error(const QString& text) {
        err_.write((QStringLiteral("error: ") + text + QLatin1Char('\n')).toLocal8Bit());
    }
    void plain(QIODevice& to, const QString& text) { to.write(text.toLocal8Bit()); }
    QIODevice& out() { return out_; }
    QIODevice& err() { return err_; }

private:
    QIODevice& out_;
    QIODevice& err_;
};

// The start directory as a command sees it: its settings and the language's messages.
struct StartDirectory {
    QString path;
    vv::SettingsRecord settings;
    QStringList messages;
};

StartDirectory openStartDirectory() {
    StartDirectory start;
    start.path = QDir::currentPath();
    const std::optional<vv::SettingsRecord> settings =
        vv::readSettingsFile(vv::settingsFilePath(start.path), vv::SettingsRecord{});
    if (!settings)
        throw UsageError{QStringLiteral("%1 cannot be read. Run vedivavurir-cli in a start directory "
                                        "(vedivavurir --init DIR makes one).")
                             .arg(QDir::toNativeSeparators(vv::settingsFilePath(start.path)))};
    start.settings = *settings;
    const std::optional<vv::LanguageTexts> texts =
        vv::readLanguageFile(vv::languageFilePath(start.path, start.settings.languageName));
    start.messages = vv::languageMessages(texts ? *texts : vv::builtInLanguageLines());
    return start;
}

// --- options shared by the build commands and script ---

const QCommandLineOption kName{QStringLiteral("name"), QStringLiteral("Database name: PDBFiles/<NAME>.pdb."),
                               QStringLiteral("NAME")};
// "SystemScreen: "A", "B" or "C".", from the screen table.
QString screenOptionHelp() {
    QStringList names = vv::systemScreenNames();
    const QString last = names.takeLast();
    return QStringLiteral("SystemScreen: \"%1\" or \"%2\".").arg(names.join(QStringLiteral("\", \"")), last);
}

const QCommandLineOption kScreen{QStringLiteral("screen"), screenOptionHelp(), QStringLiteral("SCREEN")};
// The depths of the depth table, joined by `separator`: "1,2,4,8,16".
QString bitDepthList(const QString& separator) {
    QStringList depths;
    for (const vv::BitDepthRow& row : vv::kBitDepthRows)
        depths << QString::number(row.bpp);
    return depths.join(separator);
}
const QCommandLineOption kDepths{
    QStringLiteral("depths"),
    QStringLiteral("Bit depths to include, from %1 (e.g. 8,16).").arg(bitDepthList(QStringLiteral(","))),
    QStringLiteral("LIST")};
const QCommandLineOption kCompress{QStringLiteral("compress"), QStringLiteral("Compress the bitmaps.")};
const QCommandLineOption kNoCompress{QStringLiteral("no-compress"),
                                     QStringLiteral("Do not compress the bitmaps.")};
const QCommandLineOption kTransparent{
    QStringLiteral("transparent"),
    QStringLiteral("Transparency colour as R,G,B (0..255 each); its palette index is computed "
                   "as the Options dialog does."),
    QStringLiteral("R,G,B")};

const QCommandLineOption kDoubleLow{
    QStringLiteral("double-low"),
    QStringLiteral(
        "On the OS5 screen, where only the low-resolution picture of a pair is your own, build its "
        "high-resolution picture as the low one enlarged 2x.")};
const QCommandLineOption kAsIs{
    QStringLiteral("as-is"),
    QStringLiteral("On the OS5 screen, build pairs whose high-resolution picture is still the built-in one "
                   "as they are.")};
const QCommandLineOption kAnySize{
    QStringLiteral("any-size"), QStringLiteral("Cut sheets whose size is not the one their window expects.")};

void addBuildOptions(QCommandLineParser& parser) {
    parser.addOptions(
        {kName, kScreen, kDepths, kCompress, kNoCompress, kTransparent, kDoubleLow, kAsIs, kAnySize});
}

// A sheet of another size than `expected` is cut only with --any-size.
void checkSheetSize(const QImage& sheet, QSize expected, const QString& path, const QString& option,
                    const QCommandLineParser& parser, const QStringList& messages) {
    if (sheet.size() == expected || parser.isSet(kAnySize))
        return;
    // One arg() call: a file name holding "%1" must stay as typed.
    throw UsageError{vv::messageOrBuiltIn(messages, vv::Message::SheetSizeRefusal)
                         .arg(QDir::toNativeSeparators(path), QString::number(sheet.width()),
                              QString::number(sheet.height()), option, QString::number(expected.width()),
                              QString::number(expected.height()))};
}

// Pictures whose own art is only at density 1 need --double-low or --as-is.
void settleLowArtOnly(const QCommandLineParser& parser, vv::BuildRequest& request,
                      const QList<vv::DensityPair>& pairs, const QStringList& messages) {
    if (parser.isSet(kDoubleLow) && parser.isSet(kAsIs))
        throw UsageError{QStringLiteral("--double-low and --as-is cannot both be given")};
    if (pairs.isEmpty() || parser.isSet(kAsIs))
        return;
    if (!parser.isSet(kDoubleLow))
        throw UsageError{vv::messageOrBuiltIn(messages, vv::Message::LowArtOnlyRefusal).arg(pairs.size())};
    // Where an enlargement does not reach, the launcher shows through, as in the windows.
    const vv::BuildOptions& o = request.options;
    QRgb outside = vv::kOutsideSheetColour;
    bool ok[3] = {};
    const int rgb[3] = {o.transparentRed.toInt(&ok[0]), o.transparentGreen.toInt(&ok[1]),
                        o.transparentBlue.toInt(&ok[2])};
    if (ok[0] && ok[1] && ok[2] && std::all_of(rgb, rgb + 3, [](int v) { return v >= 0 && v <= 255; }))
        outside = qRgb(rgb[0], rgb[1], rgb[2]);
    vv::doubleLowPictures(request.pieces, pairs, outside);
}

int parseNumber(const QString& text, const QString& what) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok)
        throw UsageError{QStringLiteral("%1: \"%2\" is not a number").arg(what, text)};
    return value;
}

vv::BuildOptions buildOptions(const QCommandLineParser& parser, const vv::SettingsRecord& settings) {
    vv::BuildOptions options = vv::buildOptionsFromSettings(settings);
    if (parser.isSet(kScreen)) {
        const int index = vv::systemScreenIndexOf(parser.value(kScreen));
        if (index < 0)
            throw UsageError{
                QStringLiteral("--screen: \"%1\" is not a SystemScreen; use one of \"%2\"")
                    .arg(parser.value(kScreen), vv::systemScreenNames().join(QStringLiteral("\", \"")))};
        options.screenType = vv::screenTypeFromStoredIndex(index);
    }
    if (parser.isSet(kDepths)) {
        options.depths = {};
        const QStringList depths = parser.value(kDepths).split(QLatin1Char(','), Qt::SkipEmptyParts);
        if (depths.isEmpty())
            throw UsageError{
                QStringLiteral("--depths: name at least one of %1").arg(bitDepthList(QStringLiteral(",")))};
        for (const QString& text : depths) {
            const int bpp = parseNumber(text, QStringLiteral("--depths"));
            if (!vv::bitDepthRow(bpp))
                throw UsageError{QStringLiteral("--depths: %1 is not one of %2")
                                     .arg(text, bitDepthList(QStringLiteral(", ")))};
            options.depths.set(bpp);
        }
    }
    if (parser.isSet(kCompress) && parser.isSet(kNoCompress))
        throw UsageError{QStringLiteral("--compress and --no-compress cannot both be given")};
    if (parser.isSet(kCompress) || parser.isSet(kNoCompress))
        options.compressKeyword = vv::compressKeywordFor(parser.isSet(kCompress));
    if (parser.isSet(kTransparent)) {
        const QStringList parts = parser.value(kTransparent).split(QLatin1Char(','));
        if (parts.size() != 3)
            throw UsageError{
                QStringLiteral("--transparent: give R,G,B, not \"%1\"").arg(parser.value(kTransparent))};
        int rgb[3];
        for (int i = 0; i < 3; ++i) {
            rgb[i] = parseNumber(parts[i], QStringLiteral("--transparent"));
            if (rgb[i] < 0 || rgb[i] > 255)
                throw UsageError{QStringLiteral("--transparent: %1 is outside 0..255").arg(rgb[i])};
        }
        const vv::ColourChoice choice = vv::describeColourChoice(QColor(rgb[0], rgb[1], rgb[2]));
        options.transparentRed = choice.decRed;
        options.transparentGreen = choice.decGreen;
        options.transparentBlue = choice.decBlue;
        options.transparentIndex = QString::number(choice.paletteIndex);
    }
    return options;
}

// --- icon picks ---

struct SlotPick {
    int slot; // index in iconSlots()
    int cell;
};

// "SLOT=CELL": SLOT is the slot's number within the build (1..12 for the icon
// set, 1..20 for the theme's icons) or its control name on either window.
SlotPick parsePick(const QString& text, const QString& option, vv::BuildKind use, vv::IconWindow window) {
    const int equals = int(text.indexOf(QLatin1Char('=')));
    if (equals <= 0)
        throw UsageError{QStringLiteral("%1: give SLOT=CELL, not \"%2\"").arg(option, text)};
    const QString slotText = text.left(equals).trimmed();
    const int first = use == vv::BuildKind::IconSet ? 0 : vv::IconSetSlotCount;
    const int count = use == vv::BuildKind::IconSet ? vv::IconSetSlotCount : vv::ThemeIconSlotCount;
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
        throw UsageError{
            QStringLiteral("%1 %2: no such slot; use 1 to %3 or a slot name such as %4")
                .arg(option, text, QString::number(count), QLatin1String(vv::iconSlots()[first].mainName))};
    const int cell = parseNumber(text.mid(equals + 1), option);
    const vv::IconGrid& grid = vv::iconGrid(window);
    if (!grid.isCell(cell))
        throw UsageError{QStringLiteral("%1 %2: no cell %3 on this icon sheet; use 1 to %4")
                             .arg(option, text, QString::number(cell), QString::number(grid.cellCount))};
    return {slot, cell};
}

// Loads a window's icon sheet and clicks its cells into slots, as a user would.
void pickIcons(vv::IconBoard& board, vv::IconWindow window, const QString& sheet, const QStringList& picks,
               const QString& sheetOption, const QString& pickOption, vv::BuildKind use,
               const StartDirectory& start, const QCommandLineParser& parser) {
    if (!picks.isEmpty() && sheet.isEmpty())
        throw UsageError{QStringLiteral("%1 needs %2").arg(pickOption, sheetOption)};
    QList<SlotPick> parsed;
    for (const QString& pick : picks)
        parsed << parsePick(pick, pickOption, use, window);
    if (!sheet.isEmpty()) {
        const vv::SheetLoadResult loaded = vv::loadSheetPicture(sheet, vv::kOutsideSheetColour);
        if (!loaded.loaded())
            throw UsageError{QStringLiteral("%1: %2 (%3)")
                                 .arg(vv::messageAt(start.messages, vv::Message::IconSheetUnusable),
                                      loaded.loaderMessage, QDir::toNativeSeparators(sheet))};
        checkSheetSize(loaded.picture, vv::iconGrid(window).fullSheetSize(), sheet, sheetOption, parser,
                       start.messages);
        board.setSheet(window, loaded.picture);
    }
    for (const SlotPick& pick : parsed) {
        board.selectCell(window, pick.cell);
        board.clickSlot(window, pick.slot);
    }
}

void loadSkin(vv::ThemePieces& pieces, const QString& path, vv::PieceResolution resolution,
              const QString& option, const StartDirectory& start, const QCommandLineParser& parser) {
    const vv::SheetLoadResult loaded = vv::loadSheetPicture(path, vv::kOutsideSheetColour);
    if (!loaded.loaded())
        throw UsageError{QStringLiteral("%1: %2 (%3)")
                             .arg(vv::messageAt(start.messages, vv::Message::SkinSheetUnusable),
                                  loaded.loaderMessage, QDir::toNativeSeparators(path))};
    checkSheetSize(loaded.picture, vv::skinSheetSize(resolution), path, option, parser, start.messages);
    pieces.loadSheet(loaded.picture, resolution);
}

// --- commands ---

const QCommandLineOption kThemeSheet{QStringLiteral("sheet"),
                                     QStringLiteral("Low-resolution skin sheet (230 x 335)."),
                                     QStringLiteral("FILE")};
const QCommandLineOption kThemeHiresSheet{
    QStringLiteral("hires-sheet"),
    QStringLiteral("High-resolution skin sheet (460 x 670); also rewrites the low pieces at half size."),
    QStringLiteral("FILE")};
const QCommandLineOption kThemeIconsSheet{
    QStringLiteral("icons-sheet"), QStringLiteral("Icon sheet for the theme icons."), QStringLiteral("FILE")};
const QCommandLineOption kThemeIcon{
    QStringLiteral("icon"),
    QStringLiteral("Put cell CELL of --icons-sheet into theme icon SLOT (1..20 or "
                   "Image6..); may be repeated."),
    QStringLiteral("SLOT=CELL")};
const QCommandLineOption kThemeHiresIconsSheet{QStringLiteral("hires-icons-sheet"),
                                               QStringLiteral("OS5 icon sheet for the theme's high icons."),
                                               QStringLiteral("FILE")};
const QCommandLineOption kThemeHiresIcon{
    QStringLiteral("hires-icon"),
    QStringLiteral(
        "Put cell CELL of --hires-icons-sheet into theme icon SLOT of the OS5 window (and its half "
        "size into the low slot); may be repeated."),
    QStringLiteral("SLOT=CELL")};

const QCommandLineOption kSetSheet{QStringLiteral("sheet"), QStringLiteral("Icon sheet (main window grid)."),
                                   QStringLiteral("FILE")};
const QCommandLineOption kSetIcon{
    QStringLiteral("icon"),
    QStringLiteral("Put cell CELL of --sheet into icon SLOT (1..12 or Image241..); "
                   "may be repeated."),
    QStringLiteral("SLOT=CELL")};
const QCommandLineOption kSetHiresSheet{QStringLiteral("hires-sheet"), QStringLiteral("OS5 icon sheet."),
                                        QStringLiteral("FILE")};
const QCommandLineOption kSetHiresIcon{
    QStringLiteral("hires-icon"),
    QStringLiteral("Put cell CELL of --hires-sheet into OS5 icon SLOT (and its half size into the low slot); "
                   "may be repeated."),
    QStringLiteral("SLOT=CELL")};

const QCommandLineOption kCompilerTimeout{
    QStringLiteral("compiler-timeout"),
    QStringLiteral("Stops the resource compiler after SECONDS (default %1).")
        .arg(vv::kDefaultCompilerTimeoutSeconds),
    QStringLiteral("SECONDS")};

void addThemeOptions(QCommandLineParser& parser) {
    addBuildOptions(parser);
    parser.addOption(kCompilerTimeout);
    parser.addOptions({kThemeSheet, kThemeHiresSheet, kThemeIconsSheet, kThemeIcon, kThemeHiresIconsSheet,
                       kThemeHiresIcon});
}

void addIconSetOptions(QCommandLineParser& parser) {
    addBuildOptions(parser);
    parser.addOption(kCompilerTimeout);
    parser.addOptions({kSetSheet, kSetIcon, kSetHiresSheet, kSetHiresIcon});
}

// The high sheet goes first: it rewrites the low pieces, which a low sheet
// given as well then replaces. The OS5 picks go first for the same reason.
vv::BuildRequest themeRequest(const QCommandLineParser& parser, const StartDirectory& start,
                              vv::IconBoard& board) {
    vv::BuildRequest request;
    request.kind = vv::BuildKind::Theme;
    request.options = buildOptions(parser, start.settings);
    vv::ThemePieces pieces;
    if (parser.isSet(kThemeHiresSheet))
        loadSkin(pieces, parser.value(kThemeHiresSheet), vv::PieceResolution::High,
                 QStringLiteral("--hires-sheet"), start, parser);
    if (parser.isSet(kThemeSheet))
        loadSkin(pieces, parser.value(kThemeSheet), vv::PieceResolution::Low, QStringLiteral("--sheet"),
                 start, parser);
    pickIcons(board, vv::IconWindow::Os5, parser.value(kThemeHiresIconsSheet), parser.values(kThemeHiresIcon),
              QStringLiteral("--hires-icons-sheet"), QStringLiteral("--hires-icon"), vv::BuildKind::Theme,
              start, parser);
    pickIcons(board, vv::IconWindow::Main, parser.value(kThemeIconsSheet), parser.values(kThemeIcon),
              QStringLiteral("--icons-sheet"), QStringLiteral("--icon"), vv::BuildKind::Theme, start, parser);
    request.families = vv::themeFamilies();
    request.pieces = vv::themePieceFiles(pieces, board, request.options.screenType);
    settleLowArtOnly(parser, request, vv::themePairsWithLowArtOnly(pieces, board, request.options),
                     start.messages);
    return request;
}

vv::BuildRequest iconSetRequest(const QCommandLineParser& parser, const StartDirectory& start,
                                vv::IconBoard& board) {
    vv::BuildRequest request;
    request.kind = vv::BuildKind::IconSet;
    request.options = buildOptions(parser, start.settings);
    pickIcons(board, vv::IconWindow::Os5, parser.value(kSetHiresSheet), parser.values(kSetHiresIcon),
              QStringLiteral("--hires-sheet"), QStringLiteral("--hires-icon"), vv::BuildKind::IconSet, start,
              parser);
    pickIcons(board, vv::IconWindow::Main, parser.value(kSetSheet), parser.values(kSetIcon),
              QStringLiteral("--sheet"), QStringLiteral("--icon"), vv::BuildKind::IconSet, start, parser);
    request.families = vv::iconSetFamilies();
    request.pieces = vv::iconSetPieces(board);
    settleLowArtOnly(parser, request, vv::iconSetPairsWithLowArtOnly(board, request.options), start.messages);
    return request;
}

int runBuildCommand(vv::BuildRequest request, const QCommandLineParser& parser, const StartDirectory& start,
                    Streams& streams) {
    request.databaseName = parser.value(kName);
    request.messages = start.messages;
    request.startDir = start.path;
    if (parser.isSet(kCompilerTimeout)) {
        request.compilerTimeoutSeconds =
            parseNumber(parser.value(kCompilerTimeout), QStringLiteral("--compiler-timeout"));
        if (request.compilerTimeoutSeconds < 1)
            throw UsageError{QStringLiteral("--compiler-timeout: give a number of seconds of at least 1")};
    }
    // Out-of-range values would otherwise surface as an obscure script error.
    const QString settingsProblem = vv::settingsRangeProblem(start.settings, !parser.isSet(kTransparent));
    if (!settingsProblem.isEmpty()) {
        streams.error(vv::messageAt(start.messages, vv::Message::SettingsOutOfRange).arg(settingsProblem));
        return 1;
    }
    // A signal stops the build between its steps or kills the compiler; the
    // build then removes its work folder and releases its lock as after any
    // failure, and an older database stays as it was.
    request.keepGoing = [] { return vv::interruptSignal() == 0; };
    const vv::BuildOutcome outcome = vv::runBuild(request);
    if (const int signalNumber = vv::interruptSignal()) {
        streams.error(vv::messageOrBuiltIn(start.messages, vv::Message::BuildInterrupted)
                          .arg(vv::signalName(signalNumber)));
        return vv::exitCodeForSignal(signalNumber);
    }
    for (const QString& message : outcome.messages)
        streams.error(message);
    if (!outcome.messages.isEmpty() || !outcome.databaseStamped)
        return 1;
    streams.result(QDir::toNativeSeparators(vv::installedDatabasePath(start.path, request.databaseName)));
    return 0;
}

// --- unpack: a database back into sheets and icon pictures ---

const QCommandLineOption kUnpackFrom{QStringLiteral("from"),
                                     QStringLiteral("The theme or icon set database to read."),
                                     QStringLiteral("FILE.pdb")};
const QCommandLineOption kUnpackSheet{QStringLiteral("sheet"),
                                      QStringLiteral("Writes the low-resolution skin sheet (230 x 335)."),
                                      QStringLiteral("LOW.bmp")};
const QCommandLineOption kUnpackHiresSheet{
    QStringLiteral("hires-sheet"), QStringLiteral("Writes the high-resolution skin sheet (460 x 670)."),
    QStringLiteral("HIGH.bmp")};
const QCommandLineOption kUnpackIcons{
    QStringLiteral("icons"),
    QStringLiteral("Writes one BMP per icon slot, named after the slot's piece "
                   "(Icon03E1.bmp, Icon04H1.bmp), into DIR."),
    QStringLiteral("DIR")};

void addUnpackOptions(QCommandLineParser& parser) {
    parser.addOptions({kUnpackFrom, kUnpackSheet, kUnpackHiresSheet, kUnpackIcons});
}

// The transparency colour of the saved options; the default green when the
// saved texts are no colour.
QRgb savedTransparency(const vv::BuildOptions& options) {
    const QString texts[3] = {options.transparentRed, options.transparentGreen, options.transparentBlue};
    int rgb[3] = {};
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        rgb[i] = texts[i].trimmed().toInt(&ok);
        if (!ok || rgb[i] < 0 || rgb[i] > 255)
            return vv::kOutsideSheetColour;
    }
    return qRgb(rgb[0], rgb[1], rgb[2]);
}

// What unpack will write: every file is decided before the first is written.
struct UnpackOutput {
    QString path;
    QImage picture;
};

QList<UnpackOutput> unpackOutputs(const vv::UnpackedDatabase& database, const QCommandLineParser& parser,
                                  QRgb transparency, QStringList& skipped) {
    QList<UnpackOutput> outputs;
    const bool theme = database.kind == vv::UnpackedKind::Theme;
    const std::pair<const QCommandLineOption*, vv::PieceResolution> sheets[] = {
        {&kUnpackSheet, vv::PieceResolution::Low}, {&kUnpackHiresSheet, vv::PieceResolution::High}};
    for (const auto& [option, resolution] : sheets) {
        if (!parser.isSet(*option))
            continue;
        const QString name = QStringLiteral("--") + option->names().first();
        if (!theme)
            skipped << name + QStringLiteral(": an icon set has no skin sheet");
        else if (!database.hasPieces(resolution))
            skipped << name + QStringLiteral(": the database holds no piece of this resolution");
        else
            outputs.append(
                {parser.value(*option), vv::unpackedSkinSheet(database, resolution, transparency)});
    }
    if (parser.isSet(kUnpackIcons)) {
        const QDir folder(parser.value(kUnpackIcons));
        for (int s = 0; s < vv::IconSlotCount; ++s) {
            const vv::IconSlot& slot = vv::iconSlots()[s];
            if (!database.lowIcons[s].isNull())
                outputs.append({folder.filePath(QLatin1String(slot.lowPiece) + QStringLiteral(".bmp")),
                                database.lowIcons[s]});
            if (!database.highIcons[s].isNull())
                outputs.append({folder.filePath(QLatin1String(slot.highPiece) + QStringLiteral(".bmp")),
                                database.highIcons[s]});
        }
    }
    return outputs;
}

int runUnpackCommand(const QCommandLineParser& parser, Streams& streams) {
    if (!parser.isSet(kUnpackFrom))
        throw UsageError{QStringLiteral("unpack needs --from FILE.pdb")};
    const StartDirectory start = openStartDirectory();
    const QRgb transparency = savedTransparency(vv::buildOptionsFromSettings(start.settings));
    QString problem;
    const std::optional<vv::UnpackedDatabase> database =
        vv::unpackDatabaseFile(parser.value(kUnpackFrom), transparency, &problem);
    if (!database) {
        streams.error(QStringLiteral("not a sound theme or icon set database: ") + problem);
        return 1;
    }
    QStringList skipped;
    const QList<UnpackOutput> outputs = unpackOutputs(*database, parser, transparency, skipped);
    // A folder this run made goes again when the pictures cannot be written.
    const QString iconsFolder = parser.value(kUnpackIcons);
    const bool madeIconsFolder = parser.isSet(kUnpackIcons) && !QFileInfo::exists(iconsFolder);
    if (parser.isSet(kUnpackIcons) && !QDir().mkpath(iconsFolder))
        throw UsageError{QStringLiteral("--icons: the folder %1 cannot be made")
                             .arg(QDir::toNativeSeparators(iconsFolder))};
    QList<vv::FileToWrite> files;
    for (const UnpackOutput& output : outputs)
        files.append({output.path, vv::encodedBitmap(output.picture)});
    QString failedPath;
    if (!vv::writeFilesTogether(files, &failedPath, &problem)) {
        if (madeIconsFolder)
            QDir().rmdir(iconsFolder);
        streams.error(QDir::toNativeSeparators(failedPath) + QStringLiteral(": ") + problem +
                      QStringLiteral("; nothing was written"));
        return 1;
    }
    streams.result(QStringLiteral("%1 \"%2\"")
                       .arg(database->kind == vv::UnpackedKind::Theme ? QStringLiteral("theme")
                                                                      : QStringLiteral("icon set"),
                            database->name));
    for (const UnpackOutput& output : outputs)
        streams.result(QStringLiteral("wrote ") + QDir::toNativeSeparators(output.path));
    for (const QString& line : skipped)
        streams.result(QStringLiteral("skipped ") + line);
    for (const QString& family : database->missingFamilies)
        streams.result(QStringLiteral("missing family ") + family);
    if (database->unknownResources > 0)
        streams.result(QStringLiteral("ignored %1 unknown resources").arg(database->unknownResources));
    return 0;
}

// A parser for one command: its own --help, its options, nothing else.
struct CommandParser {
    QCommandLineParser parser;
    QCommandLineOption help = QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")},
                                                 QStringLiteral("Shows the options of this command."));
};

// Parses `arguments` for `command`. Returns false when the command's help was
// asked for (and printed).
bool parseCommand(CommandParser& command, const QStringList& arguments, const QString& usage,
                  const QString& description, Streams& streams) {
    command.parser.setApplicationDescription(description);
    command.parser.addOption(command.help);
    if (!command.parser.parse(arguments))
        throw UsageError{command.parser.errorText() + QStringLiteral(" (see ") + usage +
                         QStringLiteral(" --help)")};
    if (command.parser.isSet(command.help)) {
        streams.plain(streams.out(), command.parser.helpText());
        return false;
    }
    return true;
}

void refuseExtraArguments(const QCommandLineParser& parser, int allowed) {
    if (parser.positionalArguments().size() > allowed)
        throw UsageError{
            QStringLiteral("unexpected argument \"%1\"").arg(parser.positionalArguments().value(allowed))};
}

const char* const kOverview =
    "Builds Lanternshade themes and icon sets for Palm OS handhelds without the windows.\n"
    "Run it in a start directory: the options come from its vkdm_settings.cfg.\n\n"
    "Commands:\n"
    "  theme    --name NAME [--sheet FILE | --hires-sheet FILE] [--icons-sheet FILE --icon SLOT=CELL ...]\n"
    "           builds PDBFiles/NAME.pdb, a theme\n"
    "  iconset  --name NAME --sheet FILE --icon SLOT=CELL ... [--hires-sheet FILE --hires-icon SLOT=CELL "
    "...]\n"
    "           builds PDBFiles/NAME.pdb, an icon set\n"
    "  install  --name NAME [--tool COMMAND] [--no-wait]\n"
    "           hands PDBFiles/NAME.pdb to the install tool named in the options (or COMMAND)\n"
    "           and waits for it; exit status 1 when it fails\n"
    "  script   theme|iconset [options]\n"
    "           prints the resource script a build would write\n"
    "  unpack   --from FILE.pdb [--sheet LOW.bmp] [--hires-sheet HIGH.bmp] [--icons DIR]\n"
    "           reads a theme or icon set back into skin sheets and icon pictures\n\n"
    "Build options (theme, iconset, script) override the saved ones:\n"
    "  --screen \"320x320 OS5\"  --depths 8,16  --compress | --no-compress  --transparent R,G,B\n"
    "  --double-low | --as-is   (OS5: pictures whose own art is only at low resolution)\n"
    "  --any-size               (cut sheets of another size than expected)\n\n"
    "theme and iconset also take --compiler-timeout SECONDS (default 120).\n\n"
    "\"vedivavurir-cli COMMAND --help\" lists a command's options.";

int dispatch(const QStringList& arguments, Streams& streams) {
    QCommandLineParser top;
    top.setApplicationDescription(QString::fromLatin1(kOverview));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Shows this help."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Shows the version."));
    top.addOption(help);
    top.addOption(version);
    top.addPositionalArgument(QStringLiteral("command"),
                              QStringLiteral("theme, iconset, install, script or unpack"));
    top.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    if (!top.parse(arguments))
        throw UsageError{top.errorText()};
    if (top.isSet(version)) {
        streams.result(QStringLiteral("vedivavurir-cli %1").arg(QStringLiteral(VV_VERSION)));
        return 0;
    }
    const QStringList rest = top.positionalArguments();
    if (top.isSet(help) || rest.isEmpty()) {
        streams.plain(top.isSet(help) ? streams.out() : streams.err(), top.helpText());
        return top.isSet(help) ? 0 : 1;
    }
    const QString name = rest.first();
    const QString usage = QStringLiteral("vedivavurir-cli ") + name;
    QStringList commandArguments = rest.mid(1);
    commandArguments.prepend(usage);

    CommandParser command;
    if (name == QLatin1String("theme")) {
        addThemeOptions(command.parser);
        if (!parseCommand(command, commandArguments, usage, QStringLiteral("Builds a theme database."),
                          streams))
            return 0;
        refuseExtraArguments(command.parser, 0);
        const StartDirectory start = openStartDirectory();
        vv::IconBoard board;
        return runBuildCommand(themeRequest(command.parser, start, board), command.parser, start, streams);
    }
    if (name == QLatin1String("iconset")) {
        addIconSetOptions(command.parser);
        if (!parseCommand(command, commandArguments, usage, QStringLiteral("Builds an icon set database."),
                          streams))
            return 0;
        refuseExtraArguments(command.parser, 0);
        if (!command.parser.isSet(kSetSheet))
            throw UsageError{QStringLiteral("iconset needs --sheet FILE")};
        const StartDirectory start = openStartDirectory();
        vv::IconBoard board;
        return runBuildCommand(iconSetRequest(command.parser, start, board), command.parser, start, streams);
    }
    if (name == QLatin1String("install")) {
        const QCommandLineOption tool{
            QStringLiteral("tool"),
            QStringLiteral("Install tool for this run instead of the saved one: a "
                           "command that takes the database path as its last argument."),
            QStringLiteral("COMMAND")};
        const QCommandLineOption noWait{QStringLiteral("no-wait"),
                                        QStringLiteral("Starts the tool on its own and ends without waiting "
                                                       "for it, so its failure is not seen.")};
        command.parser.addOptions({kName, tool, noWait});
        if (!parseCommand(command, commandArguments, usage,
                          QStringLiteral("Hands PDBFiles/NAME.pdb to the install tool of the options and "
                                         "waits for it: exit status 1 when it fails."),
                          streams))
            return 0;
        refuseExtraArguments(command.parser, 0);
        const StartDirectory start = openStartDirectory();
        const QString databaseName = command.parser.value(kName);
        const QString installTool =
            command.parser.isSet(tool) ? command.parser.value(tool) : start.settings.installTool;
        if (command.parser.isSet(noWait)) {
            if (const std::optional<QString> problem =
                    vv::installOnHandheld(databaseName, installTool, start.path, start.messages)) {
                streams.error(*problem);
                return 1;
            }
        } else if (const vv::InstallResult installed =
                       vv::installAndWait(databaseName, installTool, start.path, start.messages, {});
                   installed.status != vv::InstallResult::Status::Installed) {
            streams.error(installed.text);
            return 1;
        }
        streams.result(QStringLiteral("%1 handed to %2")
                           .arg(QDir::toNativeSeparators(vv::installedDatabasePath(start.path, databaseName)),
                                installTool));
        return 0;
    }
    if (name == QLatin1String("script")) {
        // Either kind's options are accepted, so a build's command line can be
        // turned into "script" by putting the word in front of it.
        addThemeOptions(command.parser);
        command.parser.addPositionalArgument(QStringLiteral("kind"), QStringLiteral("theme or iconset"));
        if (!parseCommand(command, commandArguments, usage,
                          QStringLiteral("Prints the resource script a build would write, without building."),
                          streams))
            return 0;
        refuseExtraArguments(command.parser, 1);
        const QString kind = command.parser.positionalArguments().value(0);
        if (kind != QLatin1String("theme") && kind != QLatin1String("iconset"))
            throw UsageError{QStringLiteral("script needs theme or iconset, not \"%1\"").arg(kind)};
        const StartDirectory start = openStartDirectory();
        const vv::BuildOptions options = buildOptions(command.parser, start.settings);
        const bool theme = kind == QLatin1String("theme");
        streams.resultBytes(vv::resourceScript(theme ? vv::BuildKind::Theme : vv::BuildKind::IconSet,
                                               theme ? vv::themeFamilies() : vv::iconSetFamilies(), options));
        return 0;
    }
    if (name == QLatin1String("unpack")) {
        addUnpackOptions(command.parser);
        if (!parseCommand(command, commandArguments, usage,
                          QStringLiteral("Reads a theme or icon set database back into skin sheets and icon "
                                         "pictures (24-bit BMP)."),
                          streams))
            return 0;
        refuseExtraArguments(command.parser, 0);
        return runUnpackCommand(command.parser, streams);
    }
    throw UsageError{
        QStringLiteral("unknown command \"%1\"; use theme, iconset, install, script or unpack").arg(name)};
}

} // namespace

int runCommandLine(const QStringList& arguments, QIODevice& out, QIODevice& err) {
    Streams streams(out, err);
    try {
        return dispatch(arguments, streams);
    } catch (const UsageError& error) {
        streams.error(error.text);
        return 1;
    }
}
