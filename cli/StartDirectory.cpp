#include "cli/Command.h"

#include "app/LanguageFile.h"
#include "app/LanguageMessages.h"
#include "app/OptionRules.h"
#include "buildrun/SettingsBuildOptions.h"
#include "theme/ThemePieces.h"

#include <QDir>
#include <QFileInfo>

#include <utility>

namespace cli {
namespace {

using vv::Message;

// Messages that send the user to a window's control, and the command line's
// own words for each.
constexpr std::pair<Message, Message> kCommandLineWording[] = {
    {Message::IconSetNeedsName, Message::CliIconSetNeedsName},
    {Message::ThemeNeedsName, Message::CliThemeNeedsName},
    {Message::IconScriptNotReopenable, Message::CliIconScriptNotReopenable},
    {Message::IconScriptNotCreatable, Message::CliIconScriptNotCreatable},
    {Message::ThemeScriptNotCreatable, Message::CliThemeScriptNotCreatable},
    {Message::ThemeScriptNotReopenable, Message::CliThemeScriptNotReopenable},
    {Message::ThemeDatabaseNotFound, Message::CliThemeDatabaseNotFound},
    {Message::IconDatabaseNotFound, Message::CliIconDatabaseNotFound},
    {Message::InstallNeedsName, Message::CliInstallNeedsName},
    {Message::InstallToolNotStarted, Message::CliInstallToolNotStarted},
    {Message::NoInstallTool, Message::CliNoInstallTool},
    {Message::ChooseSystemScreen, Message::CliChooseSystemScreen},
    {Message::SettingsOutOfRange, Message::CliSettingsOutOfRange},
};

// The core picks its messages from this list by name, so the command line's
// wording takes the place of the window's wherever the core would use it.
QStringList commandLineMessages(const vv::LanguageTexts& texts) {
    QStringList messages = vv::languageMessages(texts);
    for (const auto& [window, commandLine] : kCommandLineWording)
        messages[vv::indexOf(window)] = vv::messageOrBuiltIn(messages, commandLine);
    return messages;
}

bool isBelow(const QString& path, const QString& folder) {
    return path == folder || path.startsWith(folder + QLatin1Char('/'));
}

} // namespace

Result<StartDirectory> openStartDirectory(const QString& path) {
    StartDirectory start;
    start.path = path;
    const std::optional<vv::SettingsRecord> settings =
        vv::readSettingsFile(vv::settingsFilePath(start.path), vv::SettingsRecord{});
    if (!settings)
        return failure(QStringLiteral("%1 cannot be read. Run vedivavurir-cli in a start directory, or name "
                                      "one with -C DIR (vedivavurir --init DIR makes one).")
                           .arg(QDir::toNativeSeparators(vv::settingsFilePath(start.path))));
    start.settings = *settings;
    const std::optional<vv::LanguageTexts> texts =
        vv::readLanguageFile(vv::languageFilePath(start.path, start.settings.languageName));
    start.messages = commandLineMessages(texts ? *texts : vv::builtInLanguageLines());
    return start;
}

Result<QString> pathToWrite(const QString& startPath, const QString& path, const QString& option) {
    const QString absolute = QDir::cleanPath(QDir(startPath).absoluteFilePath(path));
    const QString start = QFileInfo(startPath).canonicalFilePath();
    // The folder as it really is: a link inside the start directory may lead out of it.
    const QString folder = QFileInfo(absolute).absolutePath();
    const QString realFolder = QFileInfo(folder).canonicalFilePath();
    if (realFolder.isEmpty())
        return failure(
            QStringLiteral("%1: the folder %2 does not exist").arg(option, QDir::toNativeSeparators(folder)));
    if (!isBelow(realFolder, start) || QFileInfo(absolute).fileName().isEmpty() ||
        absolute == QDir::cleanPath(startPath))
        return failure(
            QStringLiteral("%1: %2 is outside the start directory %3; files are written only below it")
                .arg(option, QDir::toNativeSeparators(path), QDir::toNativeSeparators(startPath)));
    return absolute;
}

Result<QString> folderToWrite(const QString& startPath, const QString& path, const QString& option) {
    const QString absolute = QDir::cleanPath(QDir(startPath).absoluteFilePath(path));
    // The part that exists decides where the rest will be made.
    QString existing = absolute;
    while (!QFileInfo::exists(existing) && existing != QFileInfo(existing).absolutePath())
        existing = QFileInfo(existing).absolutePath();
    const QString real = QFileInfo(existing).canonicalFilePath();
    if (real.isEmpty() || !isBelow(real, QFileInfo(startPath).canonicalFilePath()))
        return failure(
            QStringLiteral("%1: %2 is outside the start directory %3; files are written only below it")
                .arg(option, QDir::toNativeSeparators(path), QDir::toNativeSeparators(startPath)));
    return absolute;
}

Result<int> numberOption(const QString& text, const QString& option) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok)
        return usageError(QStringLiteral("%1: \"%2\" is not a number").arg(option, text));
    return value;
}

QRgb savedTransparency(const StartDirectory& start) {
    return vv::transparencyColour(vv::buildOptionsFromSettings(start.settings), vv::kOutsideSheetColour);
}

Check writeAllOrNothing(const QList<vv::FileToWrite>& files) {
    QString failedPath;
    QString problem;
    if (vv::writeFilesTogether(files, &failedPath, &problem))
        return std::nullopt;
    return failure(QDir::toNativeSeparators(failedPath) + QStringLiteral(": ") + problem +
                   QStringLiteral("; nothing was written"));
}

} // namespace cli
