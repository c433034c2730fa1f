// vedivavurir-cli refuses what the windows would ask about: an OS5 build whose
// own art is only at low resolution (unless --double-low or --as-is), a sheet
// of another size (unless --any-size), and an install of a database that is
// not there; `install --tool` names the tool for one run.
#include "app/CheckTexts.h"
#include "cli/StagedStartDir.h"
#include "icons/IconSlots.h"
#include "platform/ProcessRunner.h"
#include "support/RecordingPlatform.h"
#include "support/TestFiles.h"
#include "support/TestPictures.h"
#include "theme/PieceTable.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>

#include <gtest/gtest.h>

namespace vv::test {
namespace {

QImage gradientSheet(QSize size) {
    return coordinateSheet(size, [](int x, int y) { return qRgb(x & 0xFF, y & 0xFF, (x * 3 + y) & 0xFF); });
}

class CliChecks : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(start.isValid());
        // The compiler runs for real; the density-2 piece it is handed is kept.
        platform.onRun = [this](const ProcessCall& call) {
            const QDir work(call.workingDirectory);
            seenHigh = QImage(work.filePath(highPiece)).convertToFormat(QImage::Format_RGB32);
            seenLow = QImage(work.filePath(lowPiece)).convertToFormat(QImage::Format_RGB32);
            return runProgramAndWait(call.program, call.arguments, call.workingDirectory);
        };
    }

    QString sheet(const QString& name, QSize size) const {
        const QString file = start.filePath(name);
        EXPECT_TRUE(gradientSheet(size).save(file, "BMP"));
        return name;
    }

    StagedStartDir start;
    RecordingPlatform platform;
    // Whether the density-2 piece the compiler was handed is its partner enlarged 2x.
    bool sawDoubledPair() const {
        if (seenLow.isNull() || seenHigh.size() != seenLow.size() * 2)
            return false;
        for (int y = 0; y < seenHigh.height(); ++y)
            for (int x = 0; x < seenHigh.width(); ++x)
                if (seenHigh.pixel(x, y) != seenLow.pixel(x / 2, y / 2))
                    return false;
        return true;
    }

    QString lowPiece = QStringLiteral("ThmeRsrc/Tbmp03E0.bmp");
    QString highPiece = QStringLiteral("ThmeRsrc/Tbmp04E0.bmp");
    QImage seenLow;
    QImage seenHigh;
};

TEST_F(CliChecks, Os5BuildWithOwnArtOnlyAtLowResolutionNeedsAWayOut) {
    const QString low = sheet("ThmeBMP/Own.bmp", kLowSheetSize);
    const QStringList theme{"theme", "--screen", "320x320 OS5", "--depths", "8,16", "--sheet", low};
    const QImage lowE0 =
        gradientSheet(kLowSheetSize).copy(themePieceTable()[themePieceIndex(u"E0")].lowSheetRect);
    const struct {
        const char* what;
        QStringList extra;
        int exitCode;
        const char* error; // empty: none
        bool doubled;
    } cases[] = {
        {"no flag", {}, 1, "count", false},
        {"double", {"--double-low"}, 0, "", true},
        {"as it is", {"--as-is"}, 0, "", false},
        {"both", {"--double-low", "--as-is"}, 2, "--double-low and --as-is cannot both be given", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(start.filePath("PDBFiles/Own.pdb"));
        seenHigh = seenLow = QImage();
        const CliResult run = start.runInProcess(theme + QStringList{"--name", "Own"} + c.extra);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
        EXPECT_EQ(QFileInfo::exists(start.filePath("PDBFiles/Own.pdb")), c.exitCode == 0);
        EXPECT_TRUE(start.filesIn("ThmeRsrc", "*.bmp").isEmpty());
        if (QByteArray(c.error) == "count") {
            EXPECT_EQ(QString::fromLocal8Bit(run.err),
                      "vedivavurir-cli: error: " +
                          checktexts::builtIn(Message::LowArtOnlyRefusal).arg(kThemePieceCount) + "\n");
        } else if (*c.error) {
            EXPECT_TRUE(run.err.contains(c.error)) << run.err.toStdString();
        }
        if (c.exitCode != 0) {
            EXPECT_TRUE(platform.processes.isEmpty());
            continue;
        }
        platform.processes.clear();
        EXPECT_EQ(sawDoubledPair(), c.doubled);
    }
    // A high sheet as well, or the low screen: nothing to refuse.
    const QString high = sheet("ThmeBMP/OwnHigh.bmp", kHighSheetSize);
    EXPECT_EQ(start.runInProcess(theme + QStringList{"--name", "Both", "--hires-sheet", high}).exitCode, 0);
    EXPECT_EQ(start.runInProcess({"theme", "--name", "LowScreen", "--screen", "160x160 Low", "--sheet", low})
                  .exitCode,
              0);
}

TEST_F(CliChecks, IconSetPicksOnlyOnTheMainGridAreCounted) {
    lowPiece = QStringLiteral("IconRsrc/Icon03E1.bmp");
    highPiece = QStringLiteral("IconRsrc/Icon04H1.bmp");
    const QString icons = sheet("IconBMP/Own.bmp", mainIconGrid().fullSheetSize());
    const QStringList build{"iconset", "--name", "Set", "--screen", "320x320 OS5", "--sheet",
                            icons,     "--icon", "1=5", "--icon",   "2=6"};
    const CliResult refused = start.runInProcess(build);
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(QString::fromLocal8Bit(refused.err),
              "vedivavurir-cli: error: " + checktexts::builtIn(Message::LowArtOnlyRefusal).arg(2) + "\n");
    EXPECT_FALSE(QFileInfo::exists(start.filePath("PDBFiles/Set.pdb")));
    // One picture: the message's singular form.
    const CliResult one = start.runInProcess(build.mid(0, build.size() - 2));
    EXPECT_EQ(QString::fromLocal8Bit(one.err),
              "vedivavurir-cli: error: " + checktexts::builtIn(Message::LowArtOnlyRefusalOne) + "\n");

    const CliResult doubled = start.runInProcess(build + QStringList{"--double-low"});
    EXPECT_EQ(doubled.exitCode, 0) << doubled.err.toStdString();
    EXPECT_TRUE(sawDoubledPair());
}

// --from starts from a database's pictures, as opening it does; what the
// command line gives over them counts as set after them, and a database
// without high pictures leaves every pair to be settled.
TEST_F(CliChecks, BuildsFromADatabaseFollowThePartnerRule) {
    const QStringList os5{"--screen", "320x320 OS5", "--depths", "8,16"};
    ASSERT_EQ(
        start
            .runInProcess(
                QStringList{"theme", "--name", "Both", "--hires-sheet", "ThmeBMP/SkinSheetHigh.bmp"} + os5)
            .exitCode,
        0);
    ASSERT_EQ(start.runInProcess({"theme", "--name", "LowOnly", "--screen", "160x160 Low", "--depths", "8"})
                  .exitCode,
              0);
    ASSERT_EQ(
        start
            .runInProcess(QStringList{"iconset", "--name", "Set", "--sheet", "IconBMP/SampleIcons.bmp",
                                      "--hires-sheet", "IconBMP/SampleIconsOS5.bmp", "--hires-icon", "1=3"} +
                          os5)
            .exitCode,
        0);
    ASSERT_TRUE(writeBytes(start.filePath("PDBFiles/Junk.pdb"), "not a database"));
    const QString one = checktexts::builtIn(Message::LowArtOnlyRefusalOne);
    const QString allPieces = checktexts::builtIn(Message::LowArtOnlyRefusal).arg(kThemePieceCount);
    const QStringList pick{"--icons-sheet", "IconBMP/SampleIcons.bmp", "--icon", "3=5"};
    const struct {
        const char* what;
        QStringList arguments;
        int exitCode;
        QString error; // the whole message, or a part of it after "~"
    } cases[] = {
        {"the database alone", {"theme", "--from", "PDBFiles/Both.pdb", "--name", "Again"}, 0, {}},
        {"a pick over it", QStringList{"theme", "--from", "PDBFiles/Both.pdb"} + pick, 1, one},
        {"a pick over it, doubled",
         QStringList{"theme", "--from", "PDBFiles/Both.pdb", "--name", "Doubled", "--double-low"} + pick,
         0,
         {}},
        {"a pick over it, as it is",
         QStringList{"theme", "--from", "PDBFiles/Both.pdb", "--name", "AsIs", "--as-is"} + pick,
         0,
         {}},
        {"a pick over it, dry run", QStringList{"theme", "--from", "PDBFiles/Both.pdb", "--dry-run"} + pick,
         1, one},
        {"a low sheet over it",
         {"theme", "--from", "PDBFiles/Both.pdb", "--sheet", "ThmeBMP/SkinSheetLow.bmp"},
         1,
         allPieces},
        {"a high sheet over it",
         {"theme", "--from", "PDBFiles/Both.pdb", "--name", "High", "--hires-sheet",
          "ThmeBMP/SkinSheetHigh.bmp"},
         0,
         {}},
        {"a database without high pictures",
         {"theme", "--from", "PDBFiles/LowOnly.pdb", "--name", "Lifted"},
         1,
         checktexts::builtIn(Message::LowArtOnlyRefusal).arg(kThemePieceCount + kThemeIconSlotCount)},
        {"an icon set and a pick",
         {"iconset", "--from", "PDBFiles/Set.pdb", "--sheet", "IconBMP/SampleIcons.bmp", "--icon", "2=5"},
         1,
         one},
        {"an icon set alone, under its own name",
         {"iconset", "--from", "PDBFiles/Set.pdb", "--output", "SetCopy.pdb"},
         0,
         {}},
        {"an icon set given to theme",
         {"theme", "--from", "PDBFiles/Set.pdb", "--dry-run"},
         1,
         "~--from PDBFiles/Set.pdb: this is an icon set, and theme starts from a theme"},
        {"a theme given to iconset",
         {"iconset", "--from", "PDBFiles/Both.pdb", "--name", "X"},
         1,
         "~--from PDBFiles/Both.pdb: this is a theme, and iconset starts from an icon set"},
        {"no database",
         {"theme", "--from", "PDBFiles/Junk.pdb"},
         1,
         "~--from: not a sound theme or icon set database"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QStringList before = start.filesIn("PDBFiles", "*.pdb");
        const CliResult run = start.runInProcess(c.arguments + os5);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
        const QString err = QString::fromLocal8Bit(run.err);
        if (c.error.startsWith('~')) {
            EXPECT_TRUE(err.contains(c.error.mid(1))) << err.toStdString();
        } else if (!c.error.isEmpty()) {
            EXPECT_EQ(err, "vedivavurir-cli: error: " + c.error + "\n");
        }
        if (c.exitCode != 0) {
            EXPECT_EQ(start.filesIn("PDBFiles", "*.pdb"), before);
        }
    }
    EXPECT_TRUE(QFileInfo::exists(start.filePath("SetCopy.pdb")));
}

TEST_F(CliChecks, SheetsOfAnotherSizeNeedAnySize) {
    const struct {
        const char* what;
        QStringList arguments;
        QString option;
        QSize size, expected;
    } cases[] = {
        {"low skin", {"theme", "--name", "T", "--sheet"}, "--sheet", {200, 300}, kLowSheetSize},
        {"high skin",
         {"theme", "--name", "T", "--hires-sheet"},
         "--hires-sheet",
         kLowSheetSize,
         kHighSheetSize},
        {"icon sheet",
         {"iconset", "--name", "T", "--sheet"},
         "--sheet",
         {577, 449},
         mainIconGrid().fullSheetSize()},
        {"OS5 icon sheet",
         {"iconset", "--name", "T", "--sheet", "IconBMP/SampleIcons.bmp", "--hires-sheet"},
         "--hires-sheet",
         {700, 480},
         os5IconGrid().fullSheetSize()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        // The name holds placeholders: the message shows it as typed.
        const QString file = sheet("odd%2name%6.bmp", c.size);
        const CliResult refused = start.runInProcess(c.arguments + QStringList{file});
        EXPECT_EQ(refused.exitCode, 1);
        EXPECT_EQ(QString::fromLocal8Bit(refused.err),
                  "vedivavurir-cli: error: " +
                      checktexts::builtIn(Message::SheetSizeRefusal)
                          .arg(file, QString::number(c.size.width()), QString::number(c.size.height()),
                               c.option, QString::number(c.expected.width()),
                               QString::number(c.expected.height())) +
                      "\n");
        EXPECT_FALSE(QFileInfo::exists(start.filePath("PDBFiles/T.pdb")));
        const CliResult taken = start.runInProcess(c.arguments + QStringList{file, "--any-size"});
        EXPECT_EQ(taken.exitCode, 0) << taken.err.toStdString();
        QFile::remove(start.filePath("PDBFiles/T.pdb"));
    }
}

TEST_F(CliChecks, InstallRefusesAMissingDatabaseAndTakesAToolForOneRun) {
    ASSERT_TRUE(start.editSettings([](SettingsRecord& s) { s.installTool = "saved-tool"; }));
    platform.detachedResult = true;
    const QString database = QDir::toNativeSeparators(start.filePath("PDBFiles/Dawn.pdb"));
    const CliResult missing = start.runInProcess({"install", "--name", "Dawn"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(QString::fromLocal8Bit(missing.err),
              "vedivavurir-cli: error: " +
                  checktexts::builtIn(Message::InstallDatabaseMissing).arg(database) + "\n");
    EXPECT_TRUE(platform.processes.isEmpty());

    ASSERT_TRUE(writeBytes(start.filePath("PDBFiles/Dawn.pdb"), "a database"));
    const CliResult run = start.runInProcess(
        {"install", "--name", "Dawn", "--tool", "cp -t \"/media/card/PALM/Launcher\"", "--no-wait"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    ASSERT_EQ(platform.processes.size(), 1);
    EXPECT_TRUE(platform.processes[0].detached);
    EXPECT_EQ(platform.processes[0].program, "cp");
    EXPECT_EQ(platform.processes[0].arguments, (QStringList{"-t", "/media/card/PALM/Launcher", database}));
    EXPECT_EQ(start.settings().installTool, "saved-tool");
}

// Every vedivavurir-cli command the README prints, run as printed and in its
// order (the install example hands over the theme the first one built).
TEST_F(CliChecks, ReadmeExamplesWorkAsPrinted) {
    const QString readme = QString::fromUtf8(readBytes(fixturePath("../../README.md")));
    QStringList commands;
    QString current;
    for (const QString& line : readme.split('\n')) {
        if (!current.isEmpty())
            current += ' ' + line.trimmed();
        else if (line.startsWith("    vedivavurir-cli "))
            current = line.trimmed();
        else
            continue;
        if (current.endsWith('\\')) {
            current.chop(1);
            continue;
        }
        commands << current;
        current.clear();
    }
    ASSERT_GE(commands.size(), 4);
    // The install example's card is not mounted here: its copy is answered as done.
    const auto compile = platform.onRun;
    platform.onRun = [compile](const ProcessCall& call) {
        if (call.program != QLatin1String("cp"))
            return compile(call);
        ProcessOutcome copied;
        copied.status = ProcessOutcome::Status::Finished;
        copied.exitCode = 0;
        return copied;
    };
    for (const QString& command : commands) {
        SCOPED_TRACE(command.toStdString());
        QStringList arguments = QProcess::splitCommand(command);
        arguments.removeFirst();
        // ">FILE" at the end is the shell's: standard output goes there.
        QString redirect;
        if (arguments.last().startsWith('>'))
            redirect = arguments.takeLast().mid(1);
        const CliResult run = start.runInProcess(arguments);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        if (!redirect.isEmpty()) {
            EXPECT_TRUE(writeBytes(start.filePath(redirect), run.out));
        }
    }
}

} // namespace
} // namespace vv::test
