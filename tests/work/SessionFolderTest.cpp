// The kept session: a full round trip, only changed pictures written again,
// damaged or partial folders reported and left alone, and a start directory
// that cannot be written to (or a link in the way) never written through.
#include "work/SessionFolder.h"

#include "theme/ThemeBuildPlan.h"

#include "support/TestFiles.h"
#include "support/TestPictures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vv {
namespace {

// Work where every part differs from the built-in one.
WorkState someWork() {
    WorkState work = builtInWork();
    work.pieces->loadSheet(test::coordinateSheet(kHighSheetSize), PieceResolution::High);
    work.pieces->loadSheet(
        test::coordinateSheet(kLowSheetSize, [](int x, int y) { return qRgb(x * 7 & 0xFF, y & 0xFF, 40); }),
        PieceResolution::Low);
    (*work.mainSlots)[3] = test::filled(kLowIconSize, qRgb(10, 20, 30));
    (*work.os5Slots)[31] = test::coordinateSheet(kHighIconSize);
    *work.lowSnap = test::filled(kLowIconSize, qRgb(200, 1, 1));
    *work.highSnap = test::coordinateSheet(kHighIconSize, [](int x, int y) { return qRgb(y, x, 99); });
    work.name = QStringLiteral("Sun set 100% \u00fcber");
    return work;
}

QStringList filesOf(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

class SessionFolderTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(start.isValid()); }
    QString sessionPath(const QString& file = {}) const {
        return start.filePath(file.isEmpty() ? QString("vkdm_session") : "vkdm_session/" + file);
    }
    QTemporaryDir start;
};

TEST_F(SessionFolderTest, KeptWorkComesBackWhole) {
    EXPECT_EQ(SessionFolder(start.path()).restore().status, SessionFolder::Restored::Status::None);
    const WorkState work = someWork();
    SessionFolder writer(start.path());
    ASSERT_EQ(writer.keep(work), QString());
    EXPECT_EQ(filesOf(sessionPath()), (QStringList{"icons-main.3.bmp", "icons-os5.4.bmp", "session.txt",
                                                   "theme-high.2.bmp", "theme-low.1.bmp"}));

    const SessionFolder::Restored restored = SessionFolder(start.path()).restore();
    ASSERT_EQ(restored.status, SessionFolder::Restored::Status::Restored) << restored.problem.toStdString();
    EXPECT_TRUE(restored.work == work);
    for (int i = 0; i < kThemePieceCount; ++i) {
        ASSERT_EQ(restored.work.pieces->lowPiece(i), work.pieces->lowPiece(i)) << i;
        ASSERT_EQ(restored.work.pieces->lowPiece(i).format(), work.pieces->lowPiece(i).format()) << i;
    }
    EXPECT_EQ(*restored.work.name, *work.name);
}

TEST_F(SessionFolderTest, OnlyChangedPicturesAreWrittenAgain) {
    WorkState work = someWork();
    SessionFolder folder(start.path());
    ASSERT_EQ(folder.keep(work), QString());
    const QByteArray highBefore = test::readBytes(sessionPath("theme-high.2.bmp"));
    ASSERT_EQ(folder.keep(work), QString()); // unchanged: nothing written
    (*work.mainSlots)[0] = test::filled(kLowIconSize, qRgb(1, 2, 3));
    work.name = QStringLiteral("Dusk");
    ASSERT_EQ(folder.keep(work), QString());
    EXPECT_EQ(filesOf(sessionPath()), (QStringList{"icons-main.5.bmp", "icons-os5.4.bmp", "session.txt",
                                                   "theme-high.2.bmp", "theme-low.1.bmp"}));
    EXPECT_EQ(test::readBytes(sessionPath("theme-high.2.bmp")), highBefore);

    // A new run goes on from the numbers the folder holds.
    SessionFolder next(start.path());
    ASSERT_TRUE(next.restore().work == work);
    (*work.os5Slots)[0] = test::filled(kHighIconSize, qRgb(1, 2, 3));
    ASSERT_EQ(next.keep(work), QString());
    EXPECT_TRUE(QFileInfo::exists(sessionPath("icons-os5.6.bmp")));
    EXPECT_FALSE(QFileInfo::exists(sessionPath("icons-os5.4.bmp")));
    EXPECT_TRUE(SessionFolder(start.path()).restore().work == work);
}

// Where each picture came from is kept with it; a session kept before
// pictures carried their origins comes back judged by look (a factory picture
// as built in, any other as the user's), so the OS5 check asks what it asked.
TEST_F(SessionFolderTest, OriginsComeBackAndOlderSessionsAreJudgedByLook) {
    WorkState work = builtInWork();
    work.pieces->loadSheet(test::coordinateSheet(kLowSheetSize), PieceResolution::Low);
    (*work.mainSlots)[3] = test::filled(kLowIconSize, qRgb(10, 20, 30));
    work.mainOrigins[3] = PictureOrigin::fresh(PictureSource::Cell);
    work.os5Origins[5] = PictureOrigin::fresh(PictureSource::DatabaseWithout);
    ASSERT_EQ(SessionFolder(start.path()).keep(work), QString());

    const SessionFolder::Restored restored = SessionFolder(start.path()).restore();
    ASSERT_EQ(restored.status, SessionFolder::Restored::Status::Restored) << restored.problem.toStdString();
    EXPECT_EQ(restored.work.pieces->origin(0, PieceResolution::Low),
              work.pieces->origin(0, PieceResolution::Low));
    EXPECT_EQ(restored.work.mainOrigins, work.mainOrigins);
    EXPECT_EQ(restored.work.os5Origins, work.os5Origins);
    EXPECT_GT(nextPictureStamp(), work.mainOrigins[3].stamp);

    QByteArray older;
    for (const QByteArray& line : test::readBytes(sessionPath("session.txt")).split('\n'))
        if (!line.startsWith("origins-") && !line.isEmpty())
            older += line + '\n';
    ASSERT_TRUE(test::writeBytes(sessionPath("session.txt"), older));
    const SessionFolder::Restored old = SessionFolder(start.path()).restore();
    ASSERT_EQ(old.status, SessionFolder::Restored::Status::Restored) << old.problem.toStdString();
    EXPECT_EQ(piecePairsWithLowArtOnly(*old.work.pieces).size(), kThemePieceCount);
    EXPECT_EQ(old.work.pieces->origin(0, PieceResolution::High), PictureOrigin{});
    EXPECT_EQ(old.work.mainOrigins[3].source, PictureSource::Cell);
    EXPECT_EQ(old.work.mainOrigins[0], PictureOrigin{});
    EXPECT_EQ(old.work.os5Origins[5], PictureOrigin{});
}

TEST_F(SessionFolderTest, DamagedOrPartialFoldersAreReportedAndLeftAlone) {
    const QByteArray manifest = [&] {
        EXPECT_EQ(SessionFolder(start.path()).keep(someWork()), QString());
        return test::readBytes(sessionPath("session.txt"));
    }();
    const QByteArray lowBitmap = test::readBytes(sessionPath("theme-low.1.bmp"));
    struct Case {
        const char* label;
        std::function<void()> damage;
        const char* problem;
    };
    const QList<Case> cases{
        {"no session.txt", [&] { QFile::remove(sessionPath("session.txt")); }, "session.txt is missing"},
        {"not a session file", [&] { test::writeBytes(sessionPath("session.txt"), "hello\n"); },
         "session.txt is not a session file"},
        {"a picture missing", [&] { QFile::remove(sessionPath("theme-low.1.bmp")); },
         "theme-low.1.bmp is missing"},
        {"a picture cut short",
         [&] { test::writeBytes(sessionPath("theme-low.1.bmp"), lowBitmap.left(4000)); },
         "theme-low.1.bmp cannot be read"},
        {"a picture of another size",
         [&] {
             test::filled({10, 10}, qRgb(1, 1, 1)).save(sessionPath("theme-low.1.bmp"), "BMP");
         },
         "theme-low.1.bmp is not a 230 x 335 bitmap"},
        {"a name leading out of the folder",
         [&] {
             test::writeBytes(sessionPath("session.txt"),
                              QByteArray(manifest).replace("theme-low.1.bmp", "../theme-low.1.bmp"));
         },
         "session.txt names ../theme-low.1.bmp for theme-low"},
        {"no name",
         [&] { test::writeBytes(sessionPath("session.txt"), QByteArray(manifest).replace("name", "nome")); },
         "session.txt holds no name"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        ASSERT_TRUE(test::writeBytes(sessionPath("session.txt"), manifest));
        ASSERT_TRUE(test::writeBytes(sessionPath("theme-low.1.bmp"), lowBitmap));
        c.damage();
        const QStringList files = filesOf(sessionPath());
        const SessionFolder::Restored restored = SessionFolder(start.path()).restore();
        EXPECT_EQ(restored.status, SessionFolder::Restored::Status::Damaged);
        EXPECT_TRUE(restored.problem.startsWith(QLatin1String(c.problem))) << restored.problem.toStdString();
        EXPECT_EQ(filesOf(sessionPath()), files);
    }

    // A folder that is no folder, or a link to one elsewhere, is no session either.
    QTemporaryDir elsewhere;
    ASSERT_TRUE(QDir(sessionPath()).removeRecursively());
    ASSERT_TRUE(test::writeBytes(sessionPath(), "a file"));
    EXPECT_EQ(SessionFolder(start.path()).restore().status, SessionFolder::Restored::Status::Damaged);
    ASSERT_TRUE(QFile::remove(sessionPath()));
    ASSERT_TRUE(QFile::link(elsewhere.path(), sessionPath()));
    EXPECT_EQ(SessionFolder(start.path()).restore().problem, "it is not a folder of its own");
}

TEST_F(SessionFolderTest, NothingIsWrittenThroughALinkOrOutsideTheStartDirectory) {
    QTemporaryDir elsewhere;
    // The folder a link to another place: refused, nothing written there.
    ASSERT_TRUE(QFile::link(elsewhere.path(), sessionPath()));
    EXPECT_FALSE(SessionFolder(start.path()).keep(someWork()).isEmpty());
    EXPECT_TRUE(filesOf(elsewhere.path()).isEmpty());
    ASSERT_TRUE(QFile::remove(sessionPath()));

    // A file in the folder a link to another file: replaced, the other file untouched.
    ASSERT_TRUE(QDir(start.path()).mkdir("vkdm_session"));
    const QString outside = elsewhere.filePath("precious.txt");
    ASSERT_TRUE(test::writeBytes(outside, "precious"));
    ASSERT_TRUE(QFile::link(outside, sessionPath("session.txt")));
    ASSERT_TRUE(QFile::link(outside, sessionPath("theme-low.1.bmp.tmp")));
    ASSERT_EQ(SessionFolder(start.path()).keep(someWork()), QString());
    EXPECT_EQ(test::readBytes(outside), "precious");
    EXPECT_FALSE(QFileInfo(sessionPath("session.txt")).isSymLink());
    EXPECT_EQ(SessionFolder(start.path()).restore().status, SessionFolder::Restored::Status::Restored);
}

TEST_F(SessionFolderTest, AStartDirectoryThatCannotBeWrittenKeepsThePreviousSession) {
    // A file where the folder would be.
    ASSERT_TRUE(test::writeBytes(sessionPath(), "in the way"));
    EXPECT_FALSE(SessionFolder(start.path()).keep(someWork()).isEmpty());
    EXPECT_EQ(test::readBytes(sessionPath()), "in the way");
    ASSERT_TRUE(QFile::remove(sessionPath()));

    // A full disk (a file size limit stops root as well): the earlier session stays whole.
    const WorkState first = someWork();
    ASSERT_EQ(SessionFolder(start.path()).keep(first), QString());
    WorkState second = first;
    second.pieces->loadSheet(test::filled(kHighSheetSize, qRgb(5, 5, 5)), PieceResolution::High);
    second.name = QStringLiteral("Second");
    {
        SessionFolder folder(start.path());
        ASSERT_EQ(folder.restore().status, SessionFolder::Restored::Status::Restored);
        const test::FileSizeLimit limit(4096);
        const QString problem = folder.keep(second);
        EXPECT_TRUE(problem.contains("theme-low")) << problem.toStdString();
    }
    EXPECT_TRUE(SessionFolder(start.path()).restore().work == first);
    EXPECT_FALSE(QFileInfo::exists(sessionPath("theme-low.5.bmp.tmp")));

    // A read-only start directory: kept only where the user may write (root may).
    ASSERT_TRUE(QDir(sessionPath()).removeRecursively());
    const QFileDevice::Permissions was = QFile::permissions(start.path());
    ASSERT_TRUE(QFile::setPermissions(start.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    const bool writable = QFileInfo(start.path()).isWritable();
    const QString problem = SessionFolder(start.path()).keep(first);
    QFile::setPermissions(start.path(), was);
    EXPECT_EQ(problem.isEmpty(), writable) << problem.toStdString();
}

} // namespace
} // namespace vv
