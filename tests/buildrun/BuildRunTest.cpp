// The build run against a fake compiler: files handed over, the name stamp,
// clean-up, and each failure with its message.
#include "buildrun/BuildRun.h"
#include "buildrun/BuildKindTraits.h"
#include "buildrun/ResourceScript.h"
#include "support/RecordingPlatform.h"
#include "support/TestFiles.h"

#include "app/LanguageMessages.h"
#include "common/PictureCopy.h"

#include "platform/FileErrors.h"
#include "platform/ProcessRunner.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>

#include <functional>

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace vv {
namespace {

using test::readBytes;
using test::writeBytes;

// The classic messages as "M<index>", so a test sees which one was chosen;
// the newer ones (with their placeholders) in their built-in English.
QStringList languageMessages() {
    const QStringList english = vv::languageMessages(builtInLanguageLines());
    QStringList messages;
    for (int i = 0; i < kMessageCount; ++i)
        messages << (i < 36 ? QStringLiteral("M%1").arg(i) : english.value(i));
    return messages;
}

class BuildRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        previousCurrent_ = QDir::currentPath();
        start_ = dir_.path();
    }
    void TearDown() override { QDir::setCurrent(previousCurrent_); }

    QString path(const QString& relative) const { return start_ + QLatin1Char('/') + relative; }
    void setFakeMode(const char* mode) { ASSERT_TRUE(writeBytes(path("fake_vkdm_pdb.mode"), mode)); }
    QStringList fakeLog() const {
        QStringList lines = QString::fromUtf8(readBytes(path("fake_vkdm_pdb.log"))).split(QLatin1Char('\n'));
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        return lines;
    }
    QStringList leftovers(const QString& folder) const {
        return QDir(path(folder)).entryList({"*.bmp"}, QDir::Files);
    }

    BuildRequest themeRequest(const QString& name) const {
        BuildRequest request;
        request.kind = BuildKind::Theme;
        request.families = {{FamilyKind::Bitmap, 1000, "ThmeRsrc", "Tbmp03EE", "Tbmp04EE"},
                            {FamilyKind::Icon, 10000, "ThmeRsrc", "Icon03E0", "Icon04H0"}};
        QImage sixteenColours(4, 3, QImage::Format_Indexed8);
        QList<QRgb> table;
        for (int i = 0; i < 16; ++i)
            table << qRgb(i * 16, 255 - i * 16, 7);
        sixteenColours.setColorTable(table);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 4; ++x)
                sixteenColours.setPixel(x, y, (x + 4 * y) % 16);
        request.pieces = {{"ThmeRsrc/Icon03E0.bmp", makeRgbPicture({32, 22}, qRgb(10, 20, 30))},
                          {"ThmeRsrc/Tbmp03EE.bmp", sixteenColours},
                          {"ThmeRsrc/Tbmp04EE.bmp", makePalettePicture({8, 6}, qRgb(0, 255, 0))}};
        request.messages = languageMessages();
        request.databaseName = name;
        request.options.depths.set(8);
        request.startDir = start_;
        request.compilerProgram = test::binPath("fake_vkdm_pdb");
        return request;
    }

    BuildRequest iconSetRequest(const QString& name) const {
        BuildRequest request = themeRequest(name);
        request.kind = BuildKind::IconSet;
        request.families = {{FamilyKind::Icon, 10000, "IconRsrc", "Icon03E1", "Icon04H1"}};
        request.pieces = {{"IconRsrc/Icon03E1.bmp", makeRgbPicture({32, 22}, qRgb(1, 2, 3))},
                          {"IconRsrc/Icon04H1.bmp", makeRgbPicture({64, 44}, qRgb(4, 5, 6))}};
        return request;
    }

    // Leaves an older database of that name, to see that failures keep it.
    QByteArray placeOlderDatabase(const QString& name) {
        const QByteArray older = QByteArray("older database") + QByteArray(40, '\1');
        EXPECT_TRUE(writeBytes(path("PDBFiles/" + name + ".pdb"), older));
        return older;
    }

    // Whatever the outcome, the build's work folder, its script and pieces
    // and the lock are gone, and no database is left aside.
    void expectNoTraces(const QString& folder) const {
        EXPECT_FALSE(QFileInfo::exists(path("vkdm_script.rcp")));
        EXPECT_TRUE(leftovers(folder).isEmpty()) << leftovers(folder).join(' ').toStdString();
        EXPECT_EQ(workFolders(), QStringList{});
        EXPECT_FALSE(QFileInfo::exists(path(kBuildLockFileName)));
        EXPECT_EQ(QDir(path("PDBFiles")).entryList({"*.previous", ".*"}, QDir::Files | QDir::Hidden),
                  QStringList{});
    }
    // The work folders left, but for the one kept for the next build.
    QStringList workFolders() const {
        QStringList left = QDir(start_).entryList({QLatin1String(kWorkFolderPrefix) + '*'},
                                                  QDir::AllEntries | QDir::Hidden | QDir::System);
        left.removeOne(QLatin1String(kSpareWorkFolderName));
        return left;
    }

    QTemporaryDir dir_;
    QString start_;
    QString previousCurrent_;
    test::RecordingPlatform platform_;
};

TEST_F(BuildRunTest, ThemeBuildHandsOverEverythingStampsTheNameAndCleansUp) {
    const QString name = QStringLiteral("Sunset over the bay, version 2"); // 30 characters
    ASSERT_EQ(name.size(), 30);
    const BuildRequest request = themeRequest(name);

    const BuildOutcome outcome = runBuild(request);

    EXPECT_TRUE(outcome.messages.isEmpty()) << outcome.messages.join('|').toStdString();
    EXPECT_TRUE(outcome.databaseStamped);
    EXPECT_EQ(QDir::currentPath(), QDir(start_).canonicalPath());

    // The compiler was called once, in a private folder inside StartDir (mode
    // 0700), with the name as one argument.
    ASSERT_EQ(platform_.processes.size(), 1);
    const QFileInfo work(platform_.processes[0].workingDirectory);
    EXPECT_EQ(work.absolutePath(), start_);
    EXPECT_TRUE(work.fileName().startsWith(QLatin1String(kWorkFolderPrefix)));
    const QStringList expectedArguments{
        "-ro",      "-allowEditID", "-type",           "thme",
        "-creator", "reze",         "vkdm_script.rcp", "PDBFiles/" + name + ".pdb"};
    EXPECT_EQ(platform_.processes[0].arguments, expectedArguments);
    const QStringList log = fakeLog();
    ASSERT_FALSE(log.isEmpty());
    EXPECT_EQ(QFileInfo(log.first()).absolutePath(), QDir(start_).canonicalPath());
    EXPECT_EQ(log.mid(1), expectedArguments);
    EXPECT_EQ(readBytes(path("fake_seen/permissions")), "700");

    // What the compiler saw: the script and every piece at its size and depth.
    EXPECT_EQ(readBytes(path("fake_seen/vkdm_script.rcp")),
              resourceScript(BuildKind::Theme, request.families, request.options));
    for (const PieceFile& piece : request.pieces) {
        const QByteArray bmp = readBytes(path("fake_seen/" + piece.relativePath));
        ASSERT_GE(bmp.size(), 54) << piece.relativePath.toStdString();
        const QImage seen = QImage::fromData(bmp, "BMP");
        EXPECT_EQ(seen.size(), piece.picture.size());
        const int bitsPerPixel = qFromLittleEndian<quint16>(bmp.constData() + 28);
        if (piece.picture.format() == QImage::Format_Indexed8) {
            EXPECT_EQ(bitsPerPixel, 8) << piece.relativePath.toStdString();
            EXPECT_EQ(seen.colorCount(), 256);
            for (int i = 0; i < piece.picture.colorCount(); ++i)
                EXPECT_EQ(seen.color(i), piece.picture.color(i));
            EXPECT_EQ(seen.pixelIndex(3, 2), piece.picture.pixelIndex(3, 2));
        } else {
            EXPECT_EQ(bitsPerPixel, 24);
            EXPECT_EQ(seen.pixel(0, 0), piece.picture.pixel(0, 0));
        }
    }

    // The stamp: 30 characters, two zero bytes, the rest of the database as written.
    const QByteArray database = readBytes(path("PDBFiles/" + name + ".pdb"));
    EXPECT_EQ(database.left(32), name.toLatin1() + QByteArray(2, '\0'));
    EXPECT_EQ(database.mid(0x3C, 8), "thmereze");
    EXPECT_TRUE(database.endsWith("FAKE"));
    expectNoTraces("ThmeRsrc");
}

TEST_F(BuildRunTest, IconSetBuildPassesAnOddNameAsOneArgumentAndStampsItInWindows1252) {
    const QString name = QString::fromUtf8("My \"Set\" été");
    const BuildOutcome outcome = runBuild(iconSetRequest(name));

    EXPECT_TRUE(outcome.messages.isEmpty()) << outcome.messages.join('|').toStdString();
    ASSERT_EQ(platform_.processes.size(), 1);
    EXPECT_EQ(platform_.processes[0].arguments.mid(2, 2), QStringList({"-type", "Icns"}));
    EXPECT_EQ(platform_.processes[0].arguments.last(), "PDBFiles/" + name + ".pdb");
    const QByteArray database = readBytes(path("PDBFiles/" + name + ".pdb"));
    EXPECT_EQ(database.left(32), QByteArray("My \"Set\" \xE9t\xE9") + QByteArray(20, '\0'));
    EXPECT_TRUE(readBytes(path("fake_seen/vkdm_script.rcp")).endsWith("VERSION ID 1000 \"1.0\"\r\n"));
    expectNoTraces("IconRsrc");
}

// Every way the compiler can fail, with and without an older database of the
// name: the failure is named, nothing is stamped, the older database is back
// as it was (or no database is left at all) and the work files are gone.
TEST_F(BuildRunTest, CompilerFailuresAreNamedAndNeverPassAnOlderDatabaseOffAsNew) {
    struct Case {
        const char* label;
        const char* mode; // nullptr: the compiler program does not exist
        int timeoutSeconds;
        QString expectedStart; // the one message starts with this
    };
    const QString garbage = "M29 " + QDir::toNativeSeparators("PDBFiles/Sunset.pdb") +
                            " is not a resource database of type thme and creator reze holding resources";
    const QList<Case> cases{
        {"compiler missing", nullptr, 120, "M18"},
        {"compiler crashes", "crash", 120,
         "The resource compiler crashed with signal 6 (SIGABRT). Nothing was built. "
         "Command: "},
        {"compiler reports an error", "fail", 120, "M29 vkdm_script.rcp:3: error: unknown keyword"},
        {"compiler exits 0 without writing", "no-database", 120, "M13"},
        {"compiler writes garbage", "garbage", 120, garbage},
        {"compiler hangs", "hang", 1,
         "The resource compiler did not finish within 1 seconds and was stopped."},
    };
    for (const bool withOlder : {true, false}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.label) + (withOlder ? ", older database" : ", no older database"));
            QFile::remove(path("PDBFiles/Sunset.pdb"));
            const QByteArray older = withOlder ? placeOlderDatabase("Sunset") : QByteArray();
            BuildRequest request = themeRequest("Sunset");
            request.compilerTimeoutSeconds = c.timeoutSeconds;
            if (c.mode)
                setFakeMode(c.mode);
            else
                request.compilerProgram = path("no_such_dir/vkdm_pdb");

            QElapsedTimer clock;
            clock.start();
            const BuildOutcome outcome = runBuild(request);

            EXPECT_LT(clock.elapsed(), 10000);
            ASSERT_EQ(outcome.messages.size(), 1);
            EXPECT_TRUE(outcome.messages[0].startsWith(c.expectedStart)) << outcome.messages[0].toStdString();
            EXPECT_FALSE(outcome.databaseStamped);
            if (withOlder)
                EXPECT_EQ(readBytes(path("PDBFiles/Sunset.pdb")), older);
            else
                EXPECT_FALSE(QFileInfo::exists(path("PDBFiles/Sunset.pdb")));
            EXPECT_EQ(QDir(path("PDBFiles")).entryList(QDir::Files),
                      withOlder ? QStringList{"Sunset.pdb"} : QStringList{});
            EXPECT_FALSE(QFileInfo::exists(path(kBuildLockFileName)));
            expectNoTraces("ThmeRsrc");
        }
    }
}

TEST_F(BuildRunTest, CrashMessageNamesTheCommandLine) {
    setFakeMode("crash");
    const QStringList messages = runBuild(themeRequest("Sunset")).messages;
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].endsWith(
        test::binPath("fake_vkdm_pdb") +
        " -ro -allowEditID -type thme -creator reze vkdm_script.rcp PDBFiles/Sunset.pdb"))
        << messages[0].toStdString();
}

TEST_F(BuildRunTest, CancelledBuildStopsTheCompilerAndKeepsTheOlderDatabase) {
    const QByteArray older = placeOlderDatabase("Sunset");
    setFakeMode("hang");
    BuildRequest request = themeRequest("Sunset");
    int asked = 0;
    request.keepGoing = [&asked] { return ++asked < 10; };

    const BuildOutcome outcome = runBuild(request);

    EXPECT_EQ(outcome.messages,
              QStringList{"The build was cancelled and the resource compiler stopped. Nothing was "
                          "built; an older database was left as it was."});
    EXPECT_EQ(asked, 10);
    EXPECT_EQ(readBytes(path("PDBFiles/Sunset.pdb")), older);
    expectNoTraces("ThmeRsrc");
    // The compiler was killed and reaped, not left running on its own.
    bool ok = false;
    const qint64 pid = readBytes(path("fake_vkdm_pdb.pid")).toLongLong(&ok);
    ASSERT_TRUE(ok);
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("/proc/%1").arg(pid)));
}

TEST_F(BuildRunTest, AChattyCompilerKeepsOnlyTheFirstPartOfItsOutput) {
    setFakeMode("flood");
    ProcessLimits limits;
    const ProcessOutcome run = runProgramAndWait(test::binPath("fake_vkdm_pdb"), {"x.pdb"}, start_, limits);
    EXPECT_EQ(run.status, ProcessOutcome::Status::Finished);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.standardError.size(), limits.outputCap);
    EXPECT_EQ(run.commandLine, test::binPath("fake_vkdm_pdb") + " x.pdb");
    EXPECT_TRUE(runBuild(themeRequest("Sunset")).databaseStamped);
}

TEST_F(BuildRunTest, ASecondBuildInTheFolderWaitsThenRefuses) {
    QLockFile held(path(kBuildLockFileName));
    ASSERT_TRUE(held.tryLock(0));
    BuildRequest request = themeRequest("Sunset");
    request.lockWaitMs = 300;
    const BuildOutcome outcome = runBuild(request);
    ASSERT_EQ(outcome.messages.size(), 1);
    EXPECT_TRUE(outcome.messages[0].contains("another build is running in this folder"));
    EXPECT_TRUE(platform_.processes.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(path("vkdm_script.rcp")));
    held.unlock();
    EXPECT_TRUE(runBuild(request).databaseStamped);
}

TEST_F(BuildRunTest, TheLockOfADeadBuildIsTakenOver) {
    setFakeMode("leave-lock");
    QProcess dead;
    dead.setWorkingDirectory(start_);
    dead.start(test::binPath("fake_vkdm_pdb"), {});
    ASSERT_TRUE(dead.waitForFinished());
    ASSERT_EQ(dead.exitStatus(), QProcess::CrashExit);
    ASSERT_TRUE(QFileInfo::exists(path(kBuildLockFileName)));

    setFakeMode("ok");
    BuildRequest request = themeRequest("Sunset");
    request.lockWaitMs = 300;
    const BuildOutcome outcome = runBuild(request);
    EXPECT_TRUE(outcome.messages.isEmpty()) << outcome.messages.join('|').toStdString();
    EXPECT_TRUE(outcome.databaseStamped);
    EXPECT_FALSE(QFileInfo::exists(path(kBuildLockFileName)));
}

TEST_F(BuildRunTest, ThemeWithoutAScreenIsRefusedBeforeAnythingIsWritten) {
    for (const int screenType : {0, -1, 4, 77}) {
        SCOPED_TRACE(screenType);
        BuildRequest request = themeRequest("Sunset");
        request.options.screenType = screenType;
        const BuildOutcome outcome = runBuild(request);
        ASSERT_EQ(outcome.messages.size(), 1);
        EXPECT_TRUE(outcome.messages[0].contains("Choose the System Screen in Options"));
        EXPECT_TRUE(outcome.messages[0].contains(QString::number(screenType)));
        EXPECT_FALSE(outcome.databaseStamped);
    }
    EXPECT_TRUE(platform_.processes.isEmpty());
    EXPECT_TRUE(QDir(start_).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
}

// Links planted at every name a build used to write (as a theme kit from an
// archive may carry them), pointing outside the start directory: the build
// works in its own folder, so no outside file changes, and the database link
// is replaced by the new database, its target left alone.
TEST_F(BuildRunTest, LinksAtTheBuildsFileNamesAreNeverWrittenThrough) {
    QTemporaryDir outsideDir;
    const QByteArray precious = "someone's ~/.bashrc\n";
    const QStringList linked{"ThmeRsrc/Tbmp03EE.bmp", "ThmeRsrc/Icon03E0.bmp", "IconRsrc/Icon03E1.bmp",
                             "vkdm_script.rcp",       "PDBFiles/Sunset.pdb",   "PDBFiles/Kit.pdb",
                             kBuildLockFileName};
    QDir(start_).mkpath("ThmeRsrc");
    QDir(start_).mkpath("IconRsrc");
    QDir(start_).mkpath("PDBFiles");
    for (qsizetype i = 0; i < linked.size(); ++i) {
        const QString target = outsideDir.filePath(QString::number(i));
        if (i % 2 == 0) { // the others dangle
            ASSERT_TRUE(writeBytes(target, precious));
        }
        ASSERT_TRUE(QFile::link(target, path(linked[i])));
    }
    EXPECT_TRUE(runBuild(themeRequest("Sunset")).databaseStamped);
    EXPECT_TRUE(runBuild(iconSetRequest("Kit")).databaseStamped);

    for (qsizetype i = 0; i < linked.size(); ++i) {
        SCOPED_TRACE(linked[i].toStdString());
        const QString target = outsideDir.filePath(QString::number(i));
        if (i % 2 == 0)
            EXPECT_EQ(readBytes(target), precious);
        else
            EXPECT_FALSE(QFileInfo::exists(target));
    }
    for (const QString database : {"PDBFiles/Sunset.pdb", "PDBFiles/Kit.pdb"}) {
        EXPECT_FALSE(QFileInfo(path(database)).isSymLink());
        EXPECT_TRUE(readBytes(path(database)).endsWith("FAKE"));
    }
    EXPECT_EQ(workFolders(), QStringList{});
}

// The launcher's data files the trailer names are copied into the work
// folder; one that is no regular file is refused by name before the compiler.
TEST_F(BuildRunTest, TheTrailersDataFilesAreCopiedAndSpecialFilesRefused) {
    QDir(start_).mkpath("ThmeRsrc");
    ASSERT_TRUE(writeBytes(path("ThmeRsrc/code0001.bin"), "launcher code"));
    EXPECT_TRUE(runBuild(themeRequest("Sunset")).databaseStamped);
    EXPECT_EQ(readBytes(path("fake_seen/ThmeRsrc/code0001.bin")), "launcher code");

    QFile::remove(path("fake_vkdm_pdb.log"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(path("ThmeRsrc/data0000.bin")).constData(), 0600), 0);
    const BuildOutcome outcome = runBuild(themeRequest("Sunset"));
    EXPECT_EQ(outcome.messages,
              QStringList{"Cannot save " + QDir::toNativeSeparators("ThmeRsrc/data0000.bin") +
                          ": it is a FIFO, not a regular file. Nothing was built."});
    EXPECT_EQ(platform_.processes.size(), 1);
    expectNoTraces("ThmeRsrc");
}

// A build killed outright leaves its work folder; the next one removes it
// (and a link of that name, without touching its target).
TEST_F(BuildRunTest, WorkFoldersOfEndedBuildsAreRemovedByTheNext) {
    QTemporaryDir outsideDir;
    ASSERT_TRUE(writeBytes(outsideDir.filePath("keep.txt"), "keep"));
    QDir(start_).mkpath(QLatin1String(kWorkFolderPrefix) + "dead01/ThmeRsrc");
    ASSERT_TRUE(writeBytes(path(QLatin1String(kWorkFolderPrefix) + "dead01/ThmeRsrc/Tbmp03EE.bmp"), "old"));
    ASSERT_TRUE(QFile::link(outsideDir.path(), path(QLatin1String(kWorkFolderPrefix) + "dead01/outside")));
    ASSERT_TRUE(QFile::link(outsideDir.path(), path(QLatin1String(kWorkFolderPrefix) + "link02")));

    EXPECT_TRUE(runBuild(themeRequest("Sunset")).databaseStamped);

    EXPECT_EQ(workFolders(), QStringList{});
    EXPECT_EQ(readBytes(outsideDir.filePath("keep.txt")), "keep");
}

// A build leaves its work folder for the next, which writes into the same
// files: the compiler then sees this build's bytes (a shorter piece without
// the longer one's tail), and the kept folder holds no database.
TEST_F(BuildRunTest, TheNextBuildWritesIntoTheKeptWorkFoldersFiles) {
    const QString spare = path(QLatin1String(kSpareWorkFolderName));
    const auto inode = [](const QString& file) {
        struct stat status {};
        return ::lstat(QFile::encodeName(file).constData(), &status) == 0 ? status.st_ino : ino_t(0);
    };
    ASSERT_TRUE(runBuild(themeRequest("First")).databaseStamped);
    EXPECT_EQ(QFile::permissions(spare) & 0x0077, 0) << "open to others";
    const ino_t kept = inode(spare + "/ThmeRsrc/Icon03E0.bmp");
    ASSERT_NE(kept, ino_t(0));
    EXPECT_FALSE(QFileInfo::exists(spare + "/PDBFiles/First.pdb"));

    BuildRequest second = themeRequest("Second");
    const QImage smaller = makePalettePicture({2, 1}, qRgb(255, 0, 0));
    second.pieces[1].picture = smaller;
    ASSERT_TRUE(runBuild(second).databaseStamped);

    QString problem;
    EXPECT_EQ(readBytes(path("fake_seen/ThmeRsrc/Tbmp03EE.bmp")), encodedPiece(smaller, &problem));
    EXPECT_EQ(inode(spare + "/ThmeRsrc/Icon03E0.bmp"), kept);
    EXPECT_TRUE(readBytes(path("PDBFiles/Second.pdb")).startsWith("Second"));
}

// What the next build finds as the kept folder is trusted in nothing: a link
// in its place or inside it, a file with a second name elsewhere, a folder
// others may enter, a database left in it. Nothing outside is written, and
// the build sees only its own files.
TEST_F(BuildRunTest, AKeptWorkFolderIsCheckedBeforeItIsUsed) {
    const QString spare = path(QLatin1String(kSpareWorkFolderName));
    QTemporaryDir outside(path("../outside-XXXXXX"));
    ASSERT_TRUE(outside.isValid());
    const QString target = outside.filePath("target.bmp");
    const struct {
        const char* what;
        std::function<void()> plant;
        const char* mode = "ok";
        bool stamped = true;
    } cases[] = {
        {"the kept folder is a link",
         [&] {
             QDir(spare).removeRecursively();
             ASSERT_TRUE(QFile::link(outside.path(), spare));
         }},
        {"a piece's name is a link",
         [&] {
             QFile::remove(spare + "/ThmeRsrc/Tbmp03EE.bmp");
             ASSERT_TRUE(QFile::link(target, spare + "/ThmeRsrc/Tbmp03EE.bmp"));
         }},
        {"a piece has a second name outside",
         [&] {
             QFile::remove(spare + "/ThmeRsrc/Tbmp03EE.bmp");
             ASSERT_EQ(::link(QFile::encodeName(target).constData(),
                              QFile::encodeName(spare + "/ThmeRsrc/Tbmp03EE.bmp").constData()),
                       0);
         }},
        {"the kept folder is open to others",
         [&] { ASSERT_TRUE(QFile::setPermissions(spare, QFile::Permissions(0x7755))); }},
        {"a database was left in it",
         [&] {
             QDir(spare).mkpath("PDBFiles");
             ASSERT_TRUE(writeBytes(spare + "/PDBFiles/Sunset.pdb", readBytes(path("PDBFiles/Sunset.pdb"))));
             QFile::remove(path("PDBFiles/Sunset.pdb"));
         },
         "no-database", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(writeBytes(target, "outside"));
        setFakeMode("ok");
        ASSERT_TRUE(runBuild(themeRequest("Sunset")).databaseStamped);
        ASSERT_TRUE(isOwnPrivateFolder(spare));
        c.plant();
        setFakeMode(c.mode);

        EXPECT_EQ(runBuild(themeRequest("Sunset")).databaseStamped, c.stamped);

        EXPECT_EQ(readBytes(target), "outside");
        EXPECT_EQ(QDir(outside.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                  QStringList{"target.bmp"});
        if (c.stamped)
            EXPECT_EQ(readBytes(path("fake_seen/ThmeRsrc/Tbmp03EE.bmp")),
                      readBytes(spare + "/ThmeRsrc/Tbmp03EE.bmp"));
        else
            EXPECT_FALSE(QFileInfo::exists(path("PDBFiles/Sunset.pdb")));
        EXPECT_TRUE(isOwnPrivateFolder(spare));
    }
}

// A name holding "%1" or "%2" is shown as typed, never filled in.
TEST_F(BuildRunTest, NamesHoldingPlaceholdersAreShownAsTyped) {
    for (const QString name : {"T%2", "odd%1name%6", "100%%"}) {
        SCOPED_TRACE(name.toStdString());
        ASSERT_TRUE(runBuild(themeRequest(name)).databaseStamped);
        const QString line = databaseResultLine(start_, name, languageMessages());
        EXPECT_TRUE(line.startsWith(QDir::toNativeSeparators("PDBFiles/" + name + ".pdb") + ", "))
            << line.toStdString();
        EXPECT_TRUE(line.endsWith(" KB")) << line.toStdString();
    }
}

// No file may grow: as on a full disk, the lock cannot be written, and the
// message names why.
TEST_F(BuildRunTest, ALockThatCannotBeWrittenNamesTheCause) {
    BuildOutcome outcome;
    {
        test::FileSizeLimit limit(0);
        outcome = runBuild(themeRequest("Sunset"));
    }
    EXPECT_EQ(outcome.messages,
              QStringList{"Cannot build: the lock file " +
                          QDir::toNativeSeparators(path(kBuildLockFileName)) +
                          " cannot be created (the file is too large for the device). Check that the folder "
                          "is writable."});
    EXPECT_TRUE(platform_.processes.isEmpty());
    expectNoTraces("ThmeRsrc");
}

TEST_F(BuildRunTest, CompilerIsLookedUpByNameAndReportedWhenAbsent) {
    QTemporaryDir tools;
    BuildRequest request = themeRequest("Sunset");
    request.compilerProgram.clear();
    request.compilerDirectories = {tools.path()};

    EXPECT_EQ(runBuild(request).messages, QStringList{"M18"});
    EXPECT_TRUE(platform_.processes.isEmpty());
    expectNoTraces("ThmeRsrc");

    ASSERT_TRUE(QFile::copy(test::binPath("fake_vkdm_pdb"), tools.path() + "/vkdm_pdb"));
    EXPECT_TRUE(runBuild(request).messages.isEmpty());
    ASSERT_EQ(platform_.processes.size(), 1);
    EXPECT_EQ(platform_.processes[0].program, tools.path() + "/vkdm_pdb");
}

// What lies at the old script's name in the start directory is not the
// build's business any more: it works in its own folder.
TEST_F(BuildRunTest, AFolderAtTheScriptsOldNameIsLeftAlone) {
    ASSERT_TRUE(QDir(start_).mkdir("vkdm_script.rcp"));
    const BuildOutcome outcome = runBuild(themeRequest("Sunset"));
    EXPECT_TRUE(outcome.messages.isEmpty()) << outcome.messages.join('|').toStdString();
    EXPECT_TRUE(outcome.databaseStamped);
    EXPECT_TRUE(QFileInfo(path("vkdm_script.rcp")).isDir());
}

TEST_F(BuildRunTest, ScriptThatCannotBeReopenedIsReportedAfterTheStamp) {
    setFakeMode("block-script");
    const BuildOutcome outcome = runBuild(iconSetRequest("Sunset"));
    EXPECT_EQ(outcome.messages, QStringList{"M9"});
    EXPECT_TRUE(outcome.databaseStamped);
    EXPECT_TRUE(leftovers("IconRsrc").isEmpty());
}

TEST_F(BuildRunTest, PieceThatCannotBeSavedEndsTheRunWithoutTraces) {
    BuildRequest request = themeRequest("Sunset");
    request.pieces[1].picture = QImage();

    const BuildOutcome outcome = runBuild(request);

    ASSERT_EQ(outcome.messages.size(), 1);
    EXPECT_TRUE(outcome.messages[0].startsWith(
        "Cannot save " + QDir::toNativeSeparators(request.pieces[1].relativePath) + ": "))
        << outcome.messages[0].toStdString();
    EXPECT_TRUE(platform_.processes.isEmpty());
    expectNoTraces("ThmeRsrc");
}

TEST_F(BuildRunTest, OnlyTheDatabaseFolderIsMadeInTheStartDirectory) {
    ASSERT_FALSE(QFileInfo::exists(path("PDBFiles")));
    EXPECT_TRUE(runBuild(themeRequest("Sunset")).databaseStamped);
    EXPECT_FALSE(QFileInfo::exists(path("ThmeRsrc")));
    EXPECT_TRUE(QFileInfo(path("PDBFiles/Sunset.pdb")).isFile());
}

TEST_F(BuildRunTest, RefusedNamesTouchNoFile) {
    const QList<std::pair<QString, QString>> cases{
        {"", "M4"},
        {"a/b", "M4 - the name must not contain / or \\"},
        {"..", "M4 - the name must not be . or .."},
    };
    for (const auto& [name, message] : cases) {
        EXPECT_EQ(runBuild(themeRequest(name)).messages, QStringList{message});
        EXPECT_EQ(refusalOfBuildName(BuildKind::Theme, name, languageMessages()), message);
    }
    EXPECT_EQ(runBuild(iconSetRequest("")).messages, QStringList{"M3"});
    EXPECT_TRUE(platform_.processes.isEmpty());
    EXPECT_TRUE(QDir(start_).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
}

TEST(CompilerLookup, BesideTheProgramFirstThenStartDir) {
    QTemporaryDir programDir;
    QTemporaryDir startDir;
    const auto placeCompiler = [](const QString& dir) {
        const QString file = dir + "/vkdm_pdb";
        ASSERT_TRUE(writeBytes(file, "#!/bin/sh\n"));
        QFile::setPermissions(file, QFile::permissions(file) | QFile::ExeOwner);
    };
    EXPECT_EQ(locateCompiler({programDir.path(), startDir.path()}), QString());
    placeCompiler(startDir.path());
    EXPECT_EQ(locateCompiler({programDir.path(), startDir.path()}), startDir.path() + "/vkdm_pdb");
    placeCompiler(programDir.path());
    EXPECT_EQ(locateCompiler({programDir.path(), startDir.path()}), programDir.path() + "/vkdm_pdb");
    EXPECT_EQ(compilerSearchDirectories(startDir.path()).last(), startDir.path());
}

} // namespace
} // namespace vv
