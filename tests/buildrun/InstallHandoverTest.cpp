// Install on PDA: how the tool path becomes a program and arguments, the
// messages for what cannot be started, and what a tool that succeeds, fails,
// crashes or stays running is reported as.
#include "buildrun/InstallHandover.h"
#include "support/RecordingPlatform.h"
#include "support/TestFiles.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>

namespace vv {
namespace {

QStringList languageMessages() {
    QStringList messages;
    for (int i = 0; i < 36; ++i)
        messages << QStringLiteral("M%1").arg(i);
    return messages;
}

// A start directory holding a built PDBFiles/Sunset.pdb.
struct BuiltStartDir {
    QTemporaryDir dir;
    BuiltStartDir() {
        QDir(dir.path()).mkpath(QStringLiteral("PDBFiles"));
        test::writeBytes(dir.filePath(QStringLiteral("PDBFiles/Sunset.pdb")), "a built database");
    }
    QString path() const { return dir.path(); }
};

TEST(InstallHandover, ToolPathBecomesProgramAndArguments) {
    QTemporaryDir dir;
    const QString spaced = dir.path() + "/Palm Desktop/instapp";
    ASSERT_TRUE(test::writeBytes(spaced, "#!/bin/sh\n"));
    QFile::setPermissions(spaced, QFile::permissions(spaced) | QFile::ExeOwner);
    const QString database = "/themes/PDBFiles/My Sunset.pdb";

    struct Case {
        QString tool;
        QString program;
        QStringList arguments;
    };
    const QList<Case> cases{
        {"c:\\palmdesktop\\instapp.exe", "c:\\palmdesktop\\instapp.exe", {database}},
        {spaced, spaced, {database}},
        {"pilot-xfer -p usb: -i", "pilot-xfer", {"-p", "usb:", "-i", database}},
        {"\"/opt/Other Desktop/instapp\" --queue", "/opt/Other Desktop/instapp", {"--queue", database}},
    };
    for (const Case& c : cases) {
        const InstallCommand command = installCommand(c.tool, database);
        EXPECT_EQ(command.program, c.program) << c.tool.toStdString();
        EXPECT_EQ(command.arguments, c.arguments) << c.tool.toStdString();
    }
}

TEST(InstallHandover, StartsTheToolDetachedWithTheDatabasePath) {
    test::RecordingPlatform platform;
    platform.detachedResult = true;
    const BuiltStartDir start;
    EXPECT_EQ(installOnHandheld("Sunset", "c:\\palmdesktop\\instapp.exe", start.path(), languageMessages()),
              std::nullopt);
    ASSERT_EQ(platform.processes.size(), 1);
    EXPECT_TRUE(platform.processes[0].detached);
    EXPECT_EQ(platform.processes[0].program, "c:\\palmdesktop\\instapp.exe");
    EXPECT_EQ(platform.processes[0].arguments,
              QStringList{QDir::toNativeSeparators(start.path() + "/PDBFiles/Sunset.pdb")});
    EXPECT_EQ(platform.processes[0].workingDirectory, start.path());
}

TEST(InstallHandover, RefusalsAndStartFailures) {
    const BuiltStartDir start;
    struct Case {
        const char* label;
        QString name;
        QString tool;
        std::optional<bool> started; // nothing: really try to start it
        QString message;
        bool toolAsked;
    };
    const QList<Case> cases{
        {"empty name", "", "instapp", true, "M15", false},
        {"name with a slash", "../Sunset", "instapp", true, "M15 - the name must not contain / or \\", false},
        {"empty tool", "Sunset", "", true, "M20", false},
        {"blank tool", "Sunset", "   ", true, "M20", false},
        {"tool refuses to start", "Sunset", "instapp", false, "M17", true},
        {"tool does not exist", "Sunset", "/no/such/dir/instapp -x", std::nullopt, "M17", true},
        {"database not built", "Dawn", "instapp", true,
         QDir::toNativeSeparators(start.path() + "/PDBFiles/Dawn.pdb") + " does not exist; build it first",
         false},
    };
    for (const Case& c : cases) {
        test::RecordingPlatform platform;
        platform.detachedResult = c.started;
        EXPECT_EQ(installOnHandheld(c.name, c.tool, start.path(), languageMessages()), c.message) << c.label;
        EXPECT_EQ(platform.processes.size(), c.toolAsked ? 1 : 0) << c.label;
    }
}

// The fake tool in the given mode, quoted as a tool path would be.
QString fakeTool(const char* mode) {
    return QStringLiteral("\"%1\" %2").arg(test::binPath("fake_install_tool"), QLatin1String(mode));
}

TEST(InstallHandover, WaitingReportsWhatTheToolDid) {
    const BuiltStartDir start;
    const QString database = QDir::toNativeSeparators(start.path() + "/PDBFiles/Sunset.pdb");
    struct Case {
        const char* mode;
        InstallResult::Status status;
        QString text;
    };
    const QString shown = QDir::toNativeSeparators("PDBFiles/Sunset.pdb");
    const QList<Case> cases{
        {"ok", InstallResult::Status::Installed, shown + " handed to fake_install_tool"},
        // The error line, not the warning before it, on a line of its own.
        {"fail", InstallResult::Status::Failed,
         shown +
             " was not installed: fake_install_tool ended with exit code 3.\n"
             "fake_install_tool: error: cannot copy " +
             database + ": no card"},
        {"crash", InstallResult::Status::Failed,
         shown + " was not installed: fake_install_tool crashed with signal " + QString::number(SIGABRT) +
             " (SIGABRT)."},
    };
    for (const Case& c : cases) {
        test::RecordingPlatform platform;
        const InstallResult result = installAndWait("Sunset", fakeTool(c.mode), start.path(), {}, {});
        EXPECT_EQ(result.status, c.status) << c.mode;
        EXPECT_EQ(result.text, c.text) << c.mode;
        EXPECT_EQ(test::readBytes(database + ".received"), "received " + database.toLocal8Bit() + "\n")
            << c.mode;
        ASSERT_EQ(platform.processes.size(), 1) << c.mode;
        EXPECT_FALSE(platform.processes[0].detached);
        EXPECT_TRUE(platform.processes[0].limits.leaveRunning) << "a hand-over never kills the tool";
        QFile::remove(database + ".received");
    }
}

TEST(InstallHandover, AToolStillRunningAfterTheWaitIsLeftRunning) {
    const BuiltStartDir start;
    const QString database = QDir::toNativeSeparators(start.path() + "/PDBFiles/Sunset.pdb");
    test::RecordingPlatform platform;
    ProcessLimits wait;
    wait.timeoutMs = 200; // the tool waits for its release file, however long this is
    const InstallResult result = installAndWait("Sunset", fakeTool("stay"), start.path(), {}, wait);
    EXPECT_EQ(result.status, InstallResult::Status::StillRunning);
    EXPECT_EQ(result.text, QDir::toNativeSeparators("PDBFiles/Sunset.pdb") +
                               " handed to fake_install_tool; it is still running");

    // Released, it finishes its work: it was neither killed nor stopped.
    ASSERT_TRUE(test::writeBytes(database + ".release", ""));
    const QDeadlineTimer patience(60000);
    while (!QFileInfo::exists(database + ".done") && !patience.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_TRUE(QFileInfo::exists(database + ".done"));
}

TEST(InstallHandover, WaitingRefusesAsTheDetachedStartDoes) {
    const BuiltStartDir start;
    test::RecordingPlatform platform;
    const InstallResult missing =
        installAndWait("Dawn", fakeTool("ok"), start.path(), languageMessages(), {});
    EXPECT_EQ(missing.status, InstallResult::Status::Refused);
    EXPECT_EQ(missing.text, QDir::toNativeSeparators(start.path() + "/PDBFiles/Dawn.pdb") +
                                " does not exist; build it first");
    const InstallResult notStarted =
        installAndWait("Sunset", "/no/such/dir/instapp", start.path(), languageMessages(), {});
    EXPECT_EQ(notStarted.status, InstallResult::Status::Refused);
    EXPECT_EQ(notStarted.text, "M17");
    EXPECT_EQ(platform.processes.size(), 1);
}

} // namespace
} // namespace vv
