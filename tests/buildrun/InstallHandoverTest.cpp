// Install on PDA: how the tool path becomes a program and arguments, and the
// messages for what cannot be started.
#include "buildrun/InstallHandover.h"
#include "support/RecordingPlatform.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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

} // namespace
} // namespace vv
