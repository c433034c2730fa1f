#include "cli/Commands.h"

#include "common/PictureCopy.h"
#include "theme/SkinTemplate.h"

#include <QDir>
#include <QJsonObject>

namespace cli {
namespace {

Check runTemplate(const Invocation& run) {
    const std::pair<QString, vv::PieceResolution> sheets[] = {
        {QStringLiteral("sheet"), vv::PieceResolution::Low},
        {QStringLiteral("hires-sheet"), vv::PieceResolution::High}};
    if (!run.parser.isSet(QStringLiteral("sheet")) && !run.parser.isSet(QStringLiteral("hires-sheet")))
        return usageError(QStringLiteral("template needs --sheet FILE or --hires-sheet FILE"));
    const Result<StartDirectory> start = openStartDirectory(run.startPath);
    if (!start.ok())
        return start.failure();
    const QRgb transparency = savedTransparency(*start);
    QList<vv::FileToWrite> files;
    for (const auto& [name, resolution] : sheets) {
        if (!run.parser.isSet(name))
            continue;
        const Result<QString> path =
            pathToWrite(run.startPath, run.parser.value(name), QStringLiteral("--") + name);
        if (!path.ok())
            return path.failure();
        files.append({*path, vv::encodedPicture(vv::skinSheetTemplate(resolution), *path, transparency)});
    }
    if (Check refused = writeAllOrNothing(files))
        return refused;
    QStringList written;
    for (const vv::FileToWrite& file : files) {
        written << QDir::toNativeSeparators(file.path);
        run.console.result(QStringLiteral("wrote ") + written.last());
    }
    run.console.result(QJsonObject{{QStringLiteral("command"), run.command.name},
                                   {QStringLiteral("written"), jsonList(written)},
                                   {QStringLiteral("warnings"), jsonList(run.console.warnings())}});
    return std::nullopt;
}

} // namespace

Command templateCommand() {
    return {
        QStringLiteral("template"),
        QStringLiteral("writes skin sheets with every piece's place marked, to paint on"),
        QStringLiteral("Writes a skin sheet of each size asked for with every piece's rectangle filled in a "
                       "light colour, outlined and labelled with its code, the gaps grey: a sheet to paint "
                       "on. A name ending in .png gives a PNG, any other a 24-bit BMP; both load back as "
                       "sheets without a question."),
        {{QCommandLineOption(QStringLiteral("sheet"),
                             QStringLiteral("Write the low-resolution template (230 x 335)."),
                             QStringLiteral("LOW.png")),
          ValueKind::PictureOut},
         {QCommandLineOption(QStringLiteral("hires-sheet"),
                             QStringLiteral("Write the high-resolution template (460 x 670)."),
                             QStringLiteral("HIGH.png")),
          ValueKind::PictureOut}},
        {},
        runTemplate};
}

} // namespace cli
