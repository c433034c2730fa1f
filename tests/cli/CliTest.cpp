// vedivavurir-cli in a start directory staged from the shipped data, building
// with the real vkdm_pdb: each command's main path, the option overrides and
// the refusals of bad input.
#include "app/LanguageFile.h"
#include "app/LanguageMessages.h"
#include "app/OptionRules.h"
#include "cli/StagedStartDir.h"
#include "compiler/QtBytes.h"
#include "formats/PalmDatabase.h"
#include "platform/ProcessRunner.h"
#include "support/RecordingPlatform.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <csignal>

namespace vv::test {
namespace {

std::string text(const QByteArray& bytes) {
    return bytes.toStdString();
}

class CliTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(start.isValid()); }

    std::optional<formats::PalmDatabase> database(const QString& name) const {
        std::string error;
        auto read = formats::PalmDatabase::fromBytes(
            pdb::bytesOf(readBytes(start.filePath("PDBFiles/" + name + ".pdb"))), &error);
        EXPECT_TRUE(read) << error;
        return read;
    }

    // A message of a shipped language file.
    QString shippedMessage(Message message, const QString& language = QStringLiteral("English")) const {
        const auto texts = readLanguageFile(languageFilePath(start.path(), language));
        return texts ? languageMessages(*texts).value(indexOf(message)) : QString();
    }

    // Nothing of a build may stay behind but the database: no piece, script,
    // work folder or lock.
    void expectNoWorkFiles() const {
        EXPECT_TRUE(start.filesIn("ThmeRsrc", "*.bmp").isEmpty());
        EXPECT_TRUE(start.filesIn("IconRsrc", "*.bmp").isEmpty());
        EXPECT_FALSE(QFileInfo::exists(start.filePath("vkdm_script.rcp")));
        EXPECT_FALSE(QFileInfo::exists(start.filePath("vkdm_build.lock")));
        // Only the work folder kept for the next build.
        QStringList left = QDir(start.path()).entryList({".vkdm-build-*"}, QDir::AllEntries | QDir::Hidden);
        left.removeOne(".vkdm-build-spare");
        EXPECT_EQ(left, QStringList{});
    }

    StagedStartDir start;
    RecordingPlatform platform; // runs the compiler for real
};

TEST_F(CliTest, FollowsTheCommandLineConventions) {
    const CliResult version = start.runProgram({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "vedivavurir-cli " VV_VERSION "\n");

    const CliResult help = start.runProgram({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    for (const char* command : {"theme", "iconset", "install", "script"})
        EXPECT_TRUE(help.out.contains(command)) << command;
    EXPECT_TRUE(help.err.isEmpty());

    const CliResult themeHelp = start.runProgram({"theme", "--help"});
    EXPECT_EQ(themeHelp.exitCode, 0);
    EXPECT_TRUE(themeHelp.out.contains("--hires-sheet"));

    const CliResult nothing = start.runProgram({});
    EXPECT_EQ(nothing.exitCode, 2);
    EXPECT_TRUE(nothing.out.isEmpty());
    EXPECT_TRUE(nothing.err.startsWith("vedivavurir-cli: error: no command given; use theme, iconset"));

    const CliResult unknown = start.runProgram({"paint"});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_TRUE(unknown.err.startsWith("vedivavurir-cli: error: unknown command \"paint\""))
        << text(unknown.err);
}

TEST_F(CliTest, ThemeBuildGivesAStampedThemeDatabaseAndCleansUp) {
    const CliResult run =
        start.runProgram({"theme", "--name", "Sun Set", "--hires-sheet", "ThmeBMP/SkinSheetHigh.bmp",
                          "--screen", "320x320 OS5", "--depths", "8,16", "--icons-sheet",
                          "IconBMP/SampleIcons.bmp", "--icon", "1=5", "--icon", "Image44=9", "--as-is"});
    ASSERT_EQ(run.exitCode, 0) << text(run.err);
    EXPECT_TRUE(run.err.isEmpty()) << text(run.err);
    EXPECT_EQ(QString::fromLocal8Bit(run.out).trimmed(),
              QDir::toNativeSeparators(start.filePath("PDBFiles/Sun Set.pdb")));
    const auto db = database("Sun Set");
    ASSERT_TRUE(db);
    EXPECT_EQ(db->name, "Sun Set");
    EXPECT_EQ(db->type, "thme");
    EXPECT_EQ(db->creator, "reze");
    // 58 bitmap families, 20 icon families and the six DATA resources plus VERSION.
    EXPECT_EQ(db->resources.size(), 58u + 20 + 7);
    expectNoWorkFiles();
}

TEST_F(CliTest, IconPicksReachTheIconSetDatabase) {
    const QStringList base{"iconset",  "--name", "Plain", "--sheet", "IconBMP/SampleIcons.bmp",
                           "--depths", "8"};
    ASSERT_EQ(start.runInProcess(base).exitCode, 0);
    const CliResult picked = start.runInProcess(
        {"iconset", "--name", "Picked", "--sheet", "IconBMP/SampleIcons.bmp", "--depths", "8", "--icon",
         "1=17", "--hires-sheet", "IconBMP/SampleIconsOS5.bmp", "--hires-icon", "12=3"});
    ASSERT_EQ(picked.exitCode, 0) << text(picked.err);
    const auto plain = database("Plain");
    const auto chosen = database("Picked");
    ASSERT_TRUE(plain && chosen);
    EXPECT_EQ(chosen->type, "Icns");
    ASSERT_EQ(plain->resources.size(), chosen->resources.size());
    // The first and the last icon changed (the OS5 pick through its half-size
    // partner), the ones between did not.
    QList<int> changed;
    for (size_t i = 0; i < plain->resources.size(); ++i)
        if (plain->resources[i].bytes != chosen->resources[i].bytes)
            changed << plain->resources[i].id;
    EXPECT_EQ(changed, QList<int>({10000, 10110}));
    expectNoWorkFiles();
}

// What the build hands the compiler, caught at the moment the compiler starts.
QByteArray scriptSeenByCompiler(const StagedStartDir& start, RecordingPlatform& platform,
                                const QStringList& build) {
    QByteArray seen;
    platform.onRun = [&](const ProcessCall& call) {
        seen = readBytes(QDir(call.workingDirectory).filePath("vkdm_script.rcp"));
        return runProgramAndWait(call.program, call.arguments, call.workingDirectory);
    };
    const CliResult run = start.runInProcess(build);
    platform.onRun = nullptr;
    EXPECT_EQ(run.exitCode, 0) << text(run.err);
    return seen;
}

TEST_F(CliTest, ScriptPrintsTheBytesTheBuildWrites) {
    const QList<QStringList> cases{
        {"theme", "--name", "T", "--screen", "320x320 OS5", "--depths", "1,2,4,8,16"},
        {"theme", "--name", "T", "--screen", "320x480 Sony", "--no-compress", "--transparent", "12,34,56"},
        {"theme", "--name", "T", "--depths", "4"},
        {"iconset", "--name", "I", "--sheet", "IconBMP/SampleIcons.bmp", "--screen", "320x320 OS5"},
        {"iconset", "--name", "I", "--sheet", "IconBMP/SampleIcons.bmp", "--depths", "1,8"},
    };
    for (const QStringList& build : cases) {
        SCOPED_TRACE(build.join(' ').toStdString());
        const QByteArray built = scriptSeenByCompiler(start, platform, build);
        const CliResult script = start.runInProcess(QStringList{"script"} + build);
        ASSERT_EQ(script.exitCode, 0) << text(script.err);
        EXPECT_FALSE(built.isEmpty());
        EXPECT_EQ(script.out, built);
    }
}

TEST_F(CliTest, SavedOptionsApplyAndOptionsOverrideThem) {
    ASSERT_TRUE(start.editSettings([](SettingsRecord& s) {
        s.screenIndex = 2;
        s.screenText = "320x320 Sony";
        s.depths = {8};
        s.compress = false;
    }));
    const QByteArray saved = start.runInProcess({"script", "theme"}).out;
    EXPECT_TRUE(saved.startsWith("BITMAPFAMILYEX ID 11000\r\n BEGIN\r\n  BITMAP \"ThmeRsrc/Tbmp04"))
        << text(saved);
    EXPECT_FALSE(saved.contains("COMPRESS"));
    EXPECT_FALSE(saved.contains("BPP 16"));

    const QByteArray overridden =
        start.runInProcess({"script", "theme", "--screen", "160x160 Low", "--compress", "--depths", "16"})
            .out;
    EXPECT_TRUE(
        overridden.startsWith("BITMAPFAMILYEX ID 1000\r\n BEGIN\r\n  BITMAP \"ThmeRsrc/Tbmp03EE.bmp\" BPP 16 "
                              "DENSITY 1 COMPRESS TRANSPARENT 0 255 0\r\n"))
        << text(overridden);

    // A file with every depth off builds 1 bpp, as the Options dialog would show it.
    ASSERT_TRUE(start.editSettings([](SettingsRecord& s) { s.depths.set(8, false); }));
    const QByteArray fallback = start.runInProcess({"script", "iconset"}).out;
    EXPECT_TRUE(fallback.contains("BPP 1 DENSITY 1 \r\n")) << text(fallback);
    EXPECT_TRUE(fallback.contains("IconRsrc/InFO03E1.bin"));
}

TEST_F(CliTest, TransparentColourTakesThePaletteIndexTheOptionsDialogComputes) {
    // 250,10,250 is not in the palette: its components go to 16 bpp as they
    // are, its quantised colour FF00FF is palette index 5 for 8 bpp.
    const QByteArray script =
        start.runInProcess({"script", "theme", "--depths", "8,16", "--transparent", "250,10,250"}).out;
    EXPECT_TRUE(script.contains("BPP 8 DENSITY 1 COMPRESS TRANSPARENTINDEX 5\r\n")) << text(script);
    EXPECT_TRUE(script.contains("BPP 16 DENSITY 1 COMPRESS TRANSPARENT 250 10 250\r\n"));
}

TEST_F(CliTest, BadInputIsRefusedBeforeAnyFileIsWritten) {
    struct Case {
        QStringList arguments;
        const char* error;
        int exitCode = 2; // a usage error unless a file was looked at
    };
    const QList<Case> cases{
        {{"theme", "--name", "A", "--screen", "640x480"},
         "vedivavurir-cli: error: --screen: \"640x480\" is not a SystemScreen"},
        {{"theme", "--name", "A", "--depths", "3"},
         "vedivavurir-cli: error: --depths: 3 is not one of 1, 2, 4, 8, 16"},
        {{"theme", "--name", "A", "--depths", ","}, "vedivavurir-cli: error: --depths: name at least one"},
        {{"theme", "--name", "A", "--compress", "--no-compress"},
         "vedivavurir-cli: error: --compress and --no-compress"},
        {{"theme", "--name", "A", "--transparent", "1,2"},
         "vedivavurir-cli: error: --transparent: give R,G,B"},
        {{"theme", "--name", "A", "--transparent", "1,2,256"},
         "vedivavurir-cli: error: --transparent: 256 is outside 0..255"},
        {{"theme", "--name", "A", "--transparent", "1,x,3"},
         "vedivavurir-cli: error: --transparent: \"x\" is not a number"},
        {{"theme", "--name", "A", "--icon", "1=1"}, "vedivavurir-cli: error: --icon needs --icons-sheet"},
        {{"theme", "--name", "A", "--icons-sheet", "IconBMP/SampleIcons.bmp", "--icon", "21=1"},
         "vedivavurir-cli: error: --icon 21=1: no such slot; use 1 to 20"},
        {{"theme", "--name", "A", "--icons-sheet", "IconBMP/SampleIcons.bmp", "--icon", "Image241=1"},
         "vedivavurir-cli: error: --icon Image241=1: no such slot"},
        {{"iconset", "--name", "A", "--sheet", "IconBMP/SampleIcons.bmp", "--icon", "1=273"},
         "vedivavurir-cli: error: --icon 1=273: no cell 273 on this icon sheet; use 1 to 272"},
        {{"iconset", "--name", "A", "--sheet", "IconBMP/SampleIcons.bmp", "--icon", "1"},
         "vedivavurir-cli: error: --icon: give SLOT=CELL"},
        {{"iconset", "--name", "A", "--sheet", "IconBMP/SampleIcons.bmp", "--hires-sheet",
          "IconBMP/SampleIconsOS5.bmp", "--hires-icon", "1=91"},
         "vedivavurir-cli: error: --hires-icon 1=91: no cell 91 on this icon sheet; use 1 to 90"},
        {{"iconset", "--name", "A"}, "vedivavurir-cli: error: iconset needs --sheet FILE"},
        {{"theme", "--name", "A", "--colour", "red"}, "vedivavurir-cli: error: Unknown option 'colour'"},
        {{"theme", "--name", "A", "extra"}, "vedivavurir-cli: error: unexpected argument \"extra\""},
        {{"script", "palette"}, "vedivavurir-cli: error: script needs theme or iconset"},
        {{"theme", "--name", "A/B"}, "vedivavurir-cli: error: ", 1},
        {{"theme", "--name", "A", "--sheet", "missing.bmp"},
         "vedivavurir-cli: error: This skin sheet cannot be used.",
         1},
        {{"iconset", "--name", "A", "--sheet", "vkdm_settings.cfg"},
         "vedivavurir-cli: error: This icon sheet cannot be used.",
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const CliResult run = start.runInProcess(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_TRUE(run.err.startsWith(c.error)) << text(run.err);
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(platform.processes.isEmpty());
    }
    EXPECT_TRUE(start.filesIn("PDBFiles", "*.pdb").isEmpty());
    expectNoWorkFiles();
}

// A FIFO (or a folder) where a picture or a database is expected is refused
// at once by name; reading it would wait for a writer for ever.
TEST_F(CliTest, SpecialFilesAreRefusedAtOnce) {
    ASSERT_EQ(::mkfifo(QFile::encodeName(start.filePath("pipe.bmp")).constData(), 0600), 0);
    const QList<QStringList> cases{
        {"theme", "--name", "A", "--sheet", "pipe.bmp"},
        {"theme", "--name", "A", "--hires-sheet", "pipe.bmp"},
        {"theme", "--name", "A", "--icons-sheet", "pipe.bmp"},
        {"iconset", "--name", "A", "--sheet", "pipe.bmp"},
        {"unpack", "--from", "pipe.bmp", "--sheet", "low.bmp"},
        {"theme", "--name", "A", "--sheet", "IconBMP"},
    };
    for (const QStringList& arguments : cases) {
        SCOPED_TRACE(arguments.join(' ').toStdString());
        const CliResult run = start.runInProcess(arguments);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.err.contains(arguments.last() == "IconBMP" ? "it is a folder, not a regular file"
                                                                   : "it is a FIFO, not a regular file"))
            << text(run.err);
        EXPECT_TRUE(platform.processes.isEmpty());
    }
    EXPECT_FALSE(QFileInfo::exists(start.filePath("low.bmp")));
}

TEST_F(CliTest, MessagesComeFromTheLanguageFileOrTheBuiltInEnglish) {
    const CliResult localised = start.runInProcess({"theme", "--name", ""});
    EXPECT_EQ(localised.exitCode, 1);
    EXPECT_EQ(QString::fromLocal8Bit(localised.err),
              "vedivavurir-cli: error: " + shippedMessage(Message::CliThemeNeedsName) + "\n");

    ASSERT_TRUE(start.editSettings([](SettingsRecord& s) { s.languageName = "Klingon"; }));
    const CliResult fallback =
        start.runInProcess({"iconset", "--name", "", "--sheet", "IconBMP/SampleIcons.bmp"});
    EXPECT_EQ(fallback.exitCode, 1);
    EXPECT_EQ(QString::fromLocal8Bit(fallback.err),
              "vedivavurir-cli: error: " + shippedMessage(Message::CliIconSetNeedsName) + "\n");

    // Another language: its own command-line wording, not the window's.
    ASSERT_TRUE(start.editSettings([](SettingsRecord& s) { s.languageName = "Deutsch"; }));
    const CliResult german = start.runInProcess({"theme", "--name", ""});
    EXPECT_EQ(QString::fromLocal8Bit(german.err),
              "vedivavurir-cli: error: " + shippedMessage(Message::CliThemeNeedsName, "Deutsch") + "\n");
    EXPECT_NE(shippedMessage(Message::CliThemeNeedsName, "Deutsch"),
              shippedMessage(Message::CliThemeNeedsName));
}

// Names and paths holding "%1", "%2" or "%%" appear in every message as typed.
TEST_F(CliTest, NamesHoldingPlaceholdersAreShownAsTyped) {
    platform.detachedResult = true;
    const struct {
        QStringList arguments;
        bool succeeds;
        const char* stream; // "out" or "err"
        QString expected;
    } cases[] = {
        {{"theme", "--name", "T%2"}, true, "out", QDir::toNativeSeparators("PDBFiles/T%2.pdb")},
        {{"install", "--name", "T%2", "--tool", "cp%1", "--no-wait"},
         true,
         "out",
         QDir::toNativeSeparators(start.filePath("PDBFiles/T%2.pdb")) + " handed to cp%1"},
        {{"install", "--name", "no%1such%2", "--tool", "cp"}, false, "err", "no%1such%2"},
        {{"unpack", "--from", "odd%1name%2.pdb"}, false, "err", "odd%1name%2.pdb"},
        {{"theme", "--name", "A", "--sheet", "100%%.bmp"}, false, "err", "100%%.bmp"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const CliResult run = start.runInProcess(c.arguments);
        EXPECT_EQ(run.exitCode, c.succeeds ? 0 : 1) << text(run.err);
        const QString shown = QString::fromLocal8Bit(QByteArray(c.stream) == "out" ? run.out : run.err);
        EXPECT_TRUE(shown.contains(c.expected)) << shown.toStdString();
    }
}

TEST_F(CliTest, WithoutSettingsFileTheCommandSaysWhereItLooked) {
    ASSERT_TRUE(QFile::remove(start.filePath("vkdm_settings.cfg")));
    const CliResult run = start.runProgram({"theme", "--name", "A"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("vkdm_settings.cfg cannot be read")) << text(run.err);
    EXPECT_TRUE(run.err.contains("--init")) << text(run.err);
}

TEST_F(CliTest, FailedCompileIsAFailure) {
    // A compiler that ends with an error: the command must say so and exit 1,
    // never report an older database of that name as the new one.
    platform.onRun = [](const ProcessCall&) {
        ProcessOutcome failed;
        failed.status = ProcessOutcome::Status::Finished;
        failed.exitCode = 1;
        failed.standardError = "vkdm_script.rcp:3: error: broken";
        return failed;
    };
    const CliResult run = start.runInProcess({"theme", "--name", "Broken"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("vkdm_script.rcp:3: error: broken")) << text(run.err);
    EXPECT_TRUE(run.out.isEmpty());
    expectNoWorkFiles();
}

TEST_F(CliTest, InstallHandsTheDatabasePathToTheTool) {
    ASSERT_TRUE(start.editSettings([](SettingsRecord& s) { s.installTool = "pilot-xfer -p usb: -i"; }));
    ASSERT_TRUE(writeBytes(start.filePath("PDBFiles/Sun Set.pdb"), "a built database"));
    std::optional<ProcessOutcome::Status> toolRun = ProcessOutcome::Status::Finished;
    platform.onRun = [&toolRun](const ProcessCall&) {
        ProcessOutcome outcome;
        outcome.status = *toolRun;
        outcome.exitCode = 0;
        return outcome;
    };
    const CliResult run = start.runInProcess({"install", "--name", "Sun Set"});
    EXPECT_EQ(run.exitCode, 0) << text(run.err);
    ASSERT_EQ(platform.processes.size(), 1);
    EXPECT_FALSE(platform.processes[0].detached);
    EXPECT_LT(platform.processes[0].limits.timeoutMs, 0) << "the command line waits for the tool to end";
    EXPECT_EQ(platform.processes[0].program, "pilot-xfer");
    const QString database = QDir::toNativeSeparators(start.filePath("PDBFiles/Sun Set.pdb"));
    EXPECT_EQ(platform.processes[0].arguments, QStringList({"-p", "usb:", "-i", database}));
    EXPECT_TRUE(QString::fromLocal8Bit(run.out).startsWith(database));

    struct Case {
        QString name, tool;
        ProcessOutcome::Status run;
        Message message;
    };
    for (const Case& c :
         {Case{"", "pilot-xfer -i", ProcessOutcome::Status::Finished, Message::CliInstallNeedsName},
          Case{"Sun Set", "", ProcessOutcome::Status::Finished, Message::CliNoInstallTool},
          Case{"Sun Set", "pilot-xfer -i", ProcessOutcome::Status::FailedToStart,
               Message::CliInstallToolNotStarted}}) {
        ASSERT_TRUE(start.editSettings([&](SettingsRecord& s) { s.installTool = c.tool; }));
        toolRun = c.run;
        const CliResult refused = start.runInProcess({"install", "--name", c.name});
        EXPECT_EQ(refused.exitCode, 1);
        EXPECT_EQ(QString::fromLocal8Bit(refused.err),
                  "vedivavurir-cli: error: " + shippedMessage(c.message) + "\n");
    }
}

// The real tool, with the fake install tool: its failure is the tool's exit
// status and first error line; --no-wait starts it and does not wait.
TEST_F(CliTest, InstallWaitsForTheToolAndFailsWithIt) {
    ASSERT_TRUE(writeBytes(start.filePath("PDBFiles/Sunset.pdb"), "a built database"));
    const QString database = QDir::toNativeSeparators(start.filePath("PDBFiles/Sunset.pdb"));
    const QString shown = QDir::toNativeSeparators("PDBFiles/Sunset.pdb");
    struct Case {
        const char* mode;
        bool noWait;
        int exitCode;
        QString err;
    };
    const QList<Case> cases{
        {"ok", false, 0, ""},
        {"slow", false, 0, ""}, // ends after 300 ms: the command waits for it
        {"fail", false, 1,
         "vedivavurir-cli: error: " + shown +
             " was not installed: fake_install_tool ended with exit code 3.\n"
             "fake_install_tool: error: cannot copy " +
             database + ": no card\n"},
        {"crash", false, 1,
         "vedivavurir-cli: error: " + shown + " was not installed: fake_install_tool crashed with signal " +
             QString::number(SIGABRT) + " (SIGABRT).\n"},
        {"ok", true, 0, ""}, // started on its own; what it says goes to this terminal
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        const QString tool =
            QStringLiteral("\"%1\" %2").arg(binPath("fake_install_tool"), QLatin1String(c.mode));
        QStringList arguments{"install", "--name", "Sunset", "--tool", tool};
        if (c.noWait)
            arguments << "--no-wait";
        const CliResult run = start.runProgram(arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << text(run.err);
        EXPECT_EQ(QString::fromLocal8Bit(run.err), c.err);
        if (c.exitCode == 0) {
            EXPECT_EQ(QString::fromLocal8Bit(run.out), database + " handed to " + tool + "\n");
        }
        if (QLatin1String(c.mode) == QLatin1String("slow")) {
            EXPECT_TRUE(QFileInfo::exists(database + ".done"));
        }
    }
}

// The command-line tool copied beside the fake compiler (as vkdm_pdb), so a
// build's compiler can be made slow or hang; the fake's behaviour is read from
// fake_vkdm_pdb.mode in the start directory. Its library, where there is one,
// goes where the launcher looks for it.
class CliWithFakeCompiler : public CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        ASSERT_TRUE(tools_.isValid());
        const QDir bin(tools_.filePath("bin"));
        ASSERT_TRUE(bin.mkpath("."));
        ASSERT_TRUE(QFile::copy(binPath("vedivavurir-cli"), bin.filePath("vedivavurir-cli")));
        ASSERT_TRUE(QFile::copy(binPath("fake_vkdm_pdb"), bin.filePath("vkdm_pdb")));
#ifdef VV_TEST_CLI_LIBRARY
        const QString library = bin.filePath(QDir(binPath("")).relativeFilePath(VV_TEST_CLI_LIBRARY));
        ASSERT_TRUE(QDir().mkpath(QFileInfo(library).path()));
        ASSERT_TRUE(QFile::copy(VV_TEST_CLI_LIBRARY, library));
#endif
    }
    void setMode(const QByteArray& mode) {
        ASSERT_TRUE(writeBytes(start.filePath("fake_vkdm_pdb.mode"), mode));
    }
    void startBuild(QProcess& process, const QStringList& arguments) const {
        process.setWorkingDirectory(start.path());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("VEDIVAVURIR_START_DIR");
        process.setProcessEnvironment(environment);
        process.start(tools_.filePath("bin/vedivavurir-cli"), arguments);
    }
    static CliResult finish(QProcess& process) {
        return finishedRun(process, 60000);
    }

    QTemporaryDir tools_;
};

// A build waits for the lock of another while it can, else refuses; the test
// holds the lock itself, so how fast the machine is does not matter.
#ifdef VV_TEST_CLI_LIBRARY
// The launcher answers --version alone; for anything else, without its
// library it says which file is missing and fails.
TEST_F(CliTest, TheLauncherWithoutItsLibrarySaysSo) {
    QTemporaryDir alone;
    ASSERT_TRUE(alone.isValid());
    const QString launcher = alone.filePath("vedivavurir-cli");
    ASSERT_TRUE(QFile::copy(binPath("vedivavurir-cli"), launcher));
    const auto run = [&](const QStringList& arguments) {
        QProcess process;
        process.setWorkingDirectory(start.path());
        process.start(launcher, arguments);
        return finishedRun(process, 60000);
    };
    const CliResult version = run({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "vedivavurir-cli " VV_VERSION "\n");
    for (const QStringList& arguments : {QStringList{"--help"}, QStringList{"theme", "--name", "Alone"}}) {
        const CliResult outcome = run(arguments);
        EXPECT_EQ(outcome.exitCode, 1) << arguments.join(' ').toStdString();
        EXPECT_TRUE(outcome.err.startsWith("vedivavurir-cli: error: the program's library "));
        EXPECT_TRUE(outcome.err.contains("libvedivavurir-cli.so cannot be loaded: "))
            << outcome.err.toStdString();
        EXPECT_TRUE(outcome.out.isEmpty());
    }
    EXPECT_FALSE(QFileInfo::exists(start.filePath("PDBFiles/Alone.pdb")));
}
#endif

TEST_F(CliWithFakeCompiler, ABuildWaitsForTheLockOrRefuses) {
    for (const bool released : {true, false}) {
        SCOPED_TRACE(released ? "lock released soon: the build waits" : "lock kept: the build refuses");
        QLockFile held(start.filePath("vkdm_build.lock"));
        ASSERT_TRUE(held.tryLock(0));
        QProcess build;
        startBuild(build, {"theme", "--name", "Second"});
        if (released) {
            ASSERT_TRUE(build.waitForStarted(30000));
            QThread::msleep(200);
            held.unlock();
        }
        const CliResult run = finish(build);
        held.unlock();
        if (released) {
            EXPECT_EQ(run.exitCode, 0) << text(run.err);
            EXPECT_EQ(readBytes(start.filePath("PDBFiles/Second.pdb")).mid(0x3C, 8), "thmereze");
        } else {
            EXPECT_EQ(run.exitCode, 1);
            EXPECT_TRUE(run.err.contains("another build is running in this folder")) << text(run.err);
            EXPECT_FALSE(QFileInfo::exists(start.filePath("PDBFiles/Second.pdb")));
        }
        expectNoWorkFiles();
        QFile::remove(start.filePath("PDBFiles/Second.pdb"));
    }
}

// Signals at the worst moment, while the compiler runs. A caught signal stops
// the compiler and ends the run with 128 + its number; SIGKILL of the command
// line takes the compiler with it; SIGKILL of the compiler is a crash. In
// every case the older database is as it was, and the next build cleans up
// and succeeds.
TEST_F(CliWithFakeCompiler, SignalsDuringACompileLoseNothing) {
    struct Case {
        const char* label;
        int signalNumber;
        bool toCompiler;
        int exitCode; // -1: the command line itself was killed
        const char* message;
    };
    const Case cases[] = {
        {"SIGINT", SIGINT, false, 130, "The build was interrupted by SIGINT."},
        {"SIGTERM", SIGTERM, false, 143, "The build was interrupted by SIGTERM."},
        {"SIGHUP", SIGHUP, false, 129, "The build was interrupted by SIGHUP."},
        {"SIGKILL of the command line", SIGKILL, false, -1, ""},
        {"SIGKILL of the compiler", SIGKILL, true, 1, "crashed with signal 9 (SIGKILL)"},
    };
    const QByteArray older = "the older database, kept";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        ASSERT_TRUE(writeBytes(start.filePath("PDBFiles/Sunset.pdb"), older));
        QFile::remove(start.filePath("fake_vkdm_pdb.pid"));
        setMode("nested-slow 30000");
        QProcess build;
        startBuild(build, {"theme", "--name", "Sunset"});
        // The compiler has started once it wrote its pid.
        QElapsedTimer waited;
        waited.start();
        while (!QFileInfo::exists(start.filePath("fake_child.pid")) && waited.elapsed() < 60000)
            QThread::msleep(20);
        bool ok = false;
        const qint64 compiler = readBytes(start.filePath("fake_vkdm_pdb.pid")).toLongLong(&ok);
        ASSERT_TRUE(ok);
        ::kill(pid_t(c.toCompiler ? compiler : build.processId()), c.signalNumber);

        const CliResult run = finish(build);
        EXPECT_EQ(run.exitCode, c.exitCode) << text(run.err);
        EXPECT_TRUE(run.err.contains(c.message)) << text(run.err);
        // The compiler never outlives its build, whoever was killed.
        for (int i = 0; i < 250 && QFileInfo::exists(QStringLiteral("/proc/%1/cmdline").arg(compiler)) &&
                        !readBytes(QStringLiteral("/proc/%1/cmdline").arg(compiler)).isEmpty();
             ++i)
            QThread::msleep(20);
        EXPECT_TRUE(readBytes(QStringLiteral("/proc/%1/cmdline").arg(compiler)).isEmpty());
        EXPECT_EQ(readBytes(start.filePath("PDBFiles/Sunset.pdb")), older);
        EXPECT_EQ(QDir(start.filePath("PDBFiles")).entryList({"Sunset*"}, QDir::Files | QDir::Hidden),
                  QStringList{"Sunset.pdb"});
        if (c.exitCode != -1)
            expectNoWorkFiles();
        QFile::remove(start.filePath("fake_child.pid"));
    }
    setMode("ok");
    QProcess next;
    startBuild(next, {"theme", "--name", "Sunset"});
    const CliResult run = finish(next);
    EXPECT_EQ(run.exitCode, 0) << text(run.err);
    EXPECT_EQ(readBytes(start.filePath("PDBFiles/Sunset.pdb")).mid(0x3C, 8), "thmereze");
    expectNoWorkFiles();
}

TEST_F(CliWithFakeCompiler, AHangingCompilerIsStoppedAfterTheTimeLimit) {
    setMode("hang");
    QElapsedTimer clock;
    clock.start();
    QProcess build;
    startBuild(build, {"theme", "--name", "Stuck", "--compiler-timeout", "1"});
    const CliResult run = finish(build);
    EXPECT_LT(clock.elapsed(), 15000);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("did not finish within 1 seconds")) << text(run.err);
    EXPECT_FALSE(QFileInfo::exists(start.filePath("PDBFiles/Stuck.pdb")));
    expectNoWorkFiles();

    QProcess refused;
    startBuild(refused, {"theme", "--name", "Stuck", "--compiler-timeout", "0"});
    const CliResult zero = finish(refused);
    EXPECT_EQ(zero.exitCode, 2);
    EXPECT_TRUE(zero.err.contains("--compiler-timeout")) << text(zero.err);
}

TEST_F(CliTest, OutOfRangeSettingsAreNamedBeforeTheBuild) {
    ASSERT_TRUE(start.editSettings([](SettingsRecord& r) {
        r.red = 300;
        r.paletteIndex = -4;
    }));
    const CliResult run = start.runInProcess({"theme", "--name", "Odd"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("the red component of the transparent colour is 300")) << text(run.err);
    EXPECT_TRUE(run.err.contains("the transparent palette index is -4")) << text(run.err);
    EXPECT_TRUE(platform.processes.isEmpty());
}

} // namespace
} // namespace vv::test
