// A scratch start directory filled from the shipped data, and the command-line
// tool run in it, in this process or as its own program.
#pragma once

#include "app/SettingsFile.h"

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>

namespace vv::test {

struct CliResult {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Waits up to `timeoutMs` for a started program and collects its exit code and
// output; a program that does not finish in time, or crashes, gives exit code -1.
CliResult finishedRun(QProcess& process, int timeoutMs);

class StagedStartDir {
public:
    // Copies data/ into a fresh temporary folder.
    StagedStartDir();
    bool isValid() const { return valid_; }
    QString path() const { return dir_.path(); }
    QString filePath(const QString& relative) const { return dir_.filePath(relative); }

    SettingsRecord settings() const;
    bool writeSettings(const SettingsRecord& record) const;
    // Changes the saved settings by `edit`.
    bool editSettings(const std::function<void(SettingsRecord&)>& edit) const;

    // runCommandLine with this folder as the current directory, the current
    // directory restored afterwards. Uses whatever platform is installed.
    CliResult runInProcess(const QStringList& arguments) const;
    // The built vedivavurir-cli with this folder as its working directory.
    CliResult runProgram(const QStringList& arguments, const QStringList& extraEnvironment = {}) const;

    // Files below a folder of the start directory whose names match `pattern`.
    QStringList filesIn(const QString& folder, const QString& pattern) const;

private:
    QTemporaryDir dir_;
    bool valid_ = false;
};

} // namespace vv::test
