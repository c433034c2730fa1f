#include "cli/StagedStartDir.h"

#include "app/OptionRules.h"
#include "cli/CommandLine.h"
#include "support/TestFiles.h"

#include <QBuffer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace vv::test {

StagedStartDir::StagedStartDir() {
    if (!dir_.isValid())
        return;
    const QDir data(dataPath(QString()));
    QDirIterator it(data.path(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = dir_.filePath(data.relativeFilePath(source));
        QDir().mkpath(QFileInfo(target).absolutePath());
        if (!QFile::copy(source, target))
            return;
    }
    valid_ = QDir(dir_.path()).mkpath(QStringLiteral("PDBFiles"));
}

SettingsRecord StagedStartDir::settings() const {
    return readSettingsFile(settingsFilePath(path()), SettingsRecord{}).value_or(SettingsRecord{});
}

bool StagedStartDir::writeSettings(const SettingsRecord& record) const {
    return writeSettingsFile(settingsFilePath(path()), record);
}

bool StagedStartDir::editSettings(const std::function<void(SettingsRecord&)>& edit) const {
    SettingsRecord record = settings();
    edit(record);
    return writeSettings(record);
}

CliResult StagedStartDir::runInProcess(const QStringList& arguments) const {
    // The start directory is this folder, whatever the environment of the tests names.
    qunsetenv("VEDIVAVURIR_START_DIR");
    const QString previous = QDir::currentPath();
    QDir::setCurrent(path());
    QBuffer out;
    QBuffer err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    CliResult result;
    result.exitCode = runCommandLine(QStringList{QStringLiteral("vedivavurir-cli")} + arguments, out, err);
    result.out = out.data();
    result.err = err.data();
    QDir::setCurrent(previous);
    return result;
}

CliResult StagedStartDir::runProgram(const QStringList& arguments,
                                     const QStringList& extraEnvironment) const {
    QProcess process;
    process.setWorkingDirectory(path());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("VEDIVAVURIR_START_DIR"));
    for (const QString& entry : extraEnvironment)
        environment.insert(entry.section(QLatin1Char('='), 0, 0), entry.section(QLatin1Char('='), 1));
    process.setProcessEnvironment(environment);
    process.start(binPath(QStringLiteral("vedivavurir-cli")), arguments);
    return finishedRun(process, 120000);
}

CliResult finishedRun(QProcess& process, int timeoutMs) {
    CliResult result;
    if (!process.waitForFinished(timeoutMs))
        return result;
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

QStringList StagedStartDir::filesIn(const QString& folder, const QString& pattern) const {
    return QDir(filePath(folder)).entryList({pattern}, QDir::Files);
}

} // namespace vv::test
