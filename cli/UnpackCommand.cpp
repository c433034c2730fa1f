// unpack: a theme or icon set database read back into sheets and pictures.
#include "cli/Commands.h"

#include "common/PictureCopy.h"
#include "icons/IconSlots.h"
#include "platform/FileErrors.h"
#include "unpack/DatabaseUnpack.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>

namespace cli {
namespace {

// What unpack will write: every file is decided before the first is written.
struct UnpackPlan {
    QList<vv::FileToWrite> files;
    QByteArray standardOutput; // a sheet asked for as -
    QStringList skipped;
};

Result<UnpackPlan> plannedOutputs(const Invocation& run, const vv::UnpackedDatabase& database,
                                  QRgb transparency) {
    UnpackPlan plan;
    const bool theme = database.kind == vv::UnpackedKind::Theme;
    const std::pair<QString, vv::PieceResolution> sheets[] = {
        {QStringLiteral("sheet"), vv::PieceResolution::Low},
        {QStringLiteral("hires-sheet"), vv::PieceResolution::High}};
    for (const auto& [name, resolution] : sheets) {
        if (!run.parser.isSet(name))
            continue;
        const QString option = QStringLiteral("--") + name;
        if (!theme) {
            plan.skipped << option + QStringLiteral(": an icon set has no skin sheet");
            continue;
        }
        if (!database.hasPieces(resolution)) {
            plan.skipped << option + QStringLiteral(": the database holds no piece of this resolution");
            continue;
        }
        const QByteArray bytes = vv::encodedPicture(vv::unpackedSkinSheet(database, resolution, transparency),
                                                    run.parser.value(name), transparency);
        if (run.parser.value(name) == QLatin1String("-")) {
            plan.standardOutput = bytes;
            continue;
        }
        const Result<QString> path = pathToWrite(run.startPath, run.parser.value(name), option);
        if (!path.ok())
            return path.failure();
        plan.files.append({*path, bytes});
    }
    if (run.parser.isSet(QStringLiteral("icons"))) {
        const QDir folder(QDir(run.startPath).absoluteFilePath(run.parser.value(QStringLiteral("icons"))));
        const QString extension =
            QLatin1Char('.') + run.parser.value(QStringLiteral("icons-format")).toLower();
        for (int s = 0; s < vv::kIconSlotCount; ++s) {
            const vv::IconSlot& slot = vv::iconSlots()[s];
            const std::pair<const QImage&, const char*> pictures[] = {
                {database.lowIcons[s], slot.lowPiece}, {database.highIcons[s], slot.highPiece}};
            for (const auto& [picture, piece] : pictures) {
                if (picture.isNull())
                    continue;
                const QString path = folder.filePath(QLatin1String(piece) + extension);
                plan.files.append({path, vv::encodedPicture(picture, path, transparency)});
            }
        }
    }
    return plan;
}

// The icon pictures' format names their files' extension, so the names stay
// those of the slots' pieces.
Check refuseUnknownIconFormat(const Invocation& run) {
    const QString format = run.parser.value(QStringLiteral("icons-format")).toLower();
    if (format == QLatin1String("bmp") || format == QLatin1String("png"))
        return std::nullopt;
    return usageError(QStringLiteral("--icons-format %1: the format is bmp or png")
                          .arg(run.parser.value(QStringLiteral("icons-format"))));
}

Check refuseUnsafeStandardOutput(const Invocation& run) {
    QStringList toOutput;
    for (const QString& name : {QStringLiteral("sheet"), QStringLiteral("hires-sheet")})
        if (run.parser.value(name) == QLatin1String("-"))
            toOutput << QStringLiteral("--") + name;
    if (toOutput.isEmpty())
        return std::nullopt;
    if (toOutput.size() > 1)
        return usageError(QStringLiteral("%1: only one picture can go to standard output")
                              .arg(toOutput.join(QStringLiteral(", "))));
    if (run.console.json())
        return usageError(QStringLiteral("%1 -: the picture takes standard output, which --json needs")
                              .arg(toOutput.first()));
    if (run.console.outputIsTerminal())
        return usageError(
            QStringLiteral("%1 -: standard output is a terminal; redirect it to a file or a pipe")
                .arg(toOutput.first()));
    return std::nullopt;
}

Check runUnpack(const Invocation& run) {
    if (!run.parser.isSet(QStringLiteral("from")))
        return usageError(QStringLiteral("unpack needs --from FILE.pdb"));
    if (Check refused = refuseUnsafeStandardOutput(run))
        return refused;
    if (Check refused = refuseUnknownIconFormat(run))
        return refused;
    const Result<StartDirectory> start = openStartDirectory(run.startPath);
    if (!start.ok())
        return start.failure();
    const QRgb transparency = savedTransparency(*start);
    QString problem;
    const std::optional<vv::UnpackedDatabase> database =
        vv::unpackDatabaseFile(run.parser.value(QStringLiteral("from")), transparency, &problem);
    if (!database)
        return failure(QStringLiteral("not a sound theme or icon set database: ") + problem);
    Result<UnpackPlan> plan = plannedOutputs(run, *database, transparency);
    if (!plan.ok())
        return plan.failure();
    // A folder this run made goes again when the pictures cannot be written.
    const bool icons = run.parser.isSet(QStringLiteral("icons"));
    QString iconsFolder;
    if (icons) {
        const Result<QString> folder = folderToWrite(run.startPath, run.parser.value(QStringLiteral("icons")),
                                                     QStringLiteral("--icons"));
        if (!folder.ok())
            return folder.failure();
        iconsFolder = *folder;
    }
    const bool madeIconsFolder = icons && !QFileInfo::exists(iconsFolder);
    if (icons && !QDir().mkpath(iconsFolder))
        return failure(QStringLiteral("--icons: the folder %1 cannot be made")
                           .arg(QDir::toNativeSeparators(iconsFolder)));
    if (Check refused = writeAllOrNothing(plan->files)) {
        if (madeIconsFolder)
            QDir().rmdir(iconsFolder);
        return refused;
    }
    run.console.data(plan->standardOutput);
    for (const QString& line : plan->skipped)
        run.console.warning(QStringLiteral("skipped ") + line);
    // Prose would land in the picture written to standard output.
    if (!plan->standardOutput.isEmpty())
        return std::nullopt;
    const bool theme = database->kind == vv::UnpackedKind::Theme;
    QStringList written;
    for (const vv::FileToWrite& file : plan->files)
        written << QDir::toNativeSeparators(file.path);
    run.console.result(
        QStringLiteral("%1 \"%2\"")
            .arg(theme ? QStringLiteral("theme") : QStringLiteral("icon set"), database->name));
    for (const QString& path : written)
        run.console.result(QStringLiteral("wrote ") + path);
    for (const QString& family : database->missingFamilies)
        run.console.result(QStringLiteral("missing family ") + family);
    if (database->unknownResources > 0)
        run.console.result(QStringLiteral("ignored %1 unknown resources").arg(database->unknownResources));
    run.console.result(
        QJsonObject{{QStringLiteral("command"), run.command.name},
                    {QStringLiteral("kind"), theme ? QStringLiteral("theme") : QStringLiteral("iconset")},
                    {QStringLiteral("name"), database->name},
                    {QStringLiteral("written"), jsonList(written)},
                    {QStringLiteral("missingFamilies"), jsonList(database->missingFamilies)},
                    {QStringLiteral("unknownResources"), database->unknownResources},
                    {QStringLiteral("warnings"), jsonList(run.console.warnings())}});
    return std::nullopt;
}

} // namespace

Command unpackCommand() {
    return {
        QStringLiteral("unpack"),
        QStringLiteral("reads a theme or icon set back into skin sheets and icon pictures"),
        QStringLiteral("Reads a theme or icon set database back into skin sheets and icon pictures, written "
                       "below the start directory: a sheet named *.png as a PNG (the transparency colour "
                       "see-through), any other picture as a 24-bit BMP."),
        {{QCommandLineOption(QStringLiteral("from"),
                             QStringLiteral("The theme or icon set database to read."),
                             QStringLiteral("FILE.pdb")),
          ValueKind::Database},
         {QCommandLineOption(QStringLiteral("sheet"),
                             QStringLiteral("Write the low-resolution skin sheet (230 x 335); - writes it to "
                                            "standard output."),
                             QStringLiteral("LOW.bmp")),
          ValueKind::PictureOut},
         {QCommandLineOption(
              QStringLiteral("hires-sheet"),
              QStringLiteral("Write the high-resolution skin sheet (460 x 670); - writes it to "
                             "standard output."),
              QStringLiteral("HIGH.bmp")),
          ValueKind::PictureOut},
         {QCommandLineOption(QStringLiteral("icons"),
                             QStringLiteral("Write one picture per icon slot, named after the slot's piece "
                                            "(Icon03E1.bmp, Icon04H1.bmp), into DIR."),
                             QStringLiteral("DIR")),
          ValueKind::Folder},
         {QCommandLineOption(QStringLiteral("icons-format"),
                             QStringLiteral("The icon pictures' format: bmp (the default) or png, whose "
                                            "transparency colour becomes transparent."),
                             QStringLiteral("FORMAT"), QStringLiteral("bmp")),
          ValueKind::Text}},
        {},
        runUnpack};
}

} // namespace cli
