// The kept session through the windows: what a run leaves is there again in
// the next one, a damaged folder only costs a notice, a folder that cannot be
// written is reported once, and Start afresh clears the restored work undoably.
#include "ui/SessionKeeping.h"
#include "ui/WorkHistory.h"

#include "support/StartedWindows.h"
#include "support/TestFiles.h"
#include "support/TestPictures.h"

#include <QAction>
#include <QLabel>
#include <QTest>

using namespace vv;

namespace {

class SessionWindows : public test::StartedWindows {
protected:
    SessionWindows() : StartedWindows("ThmeBMP", "ThmeRsrc") {}

    static WorkState all() { return ui::takeWorkFromWindows(kAllWorkParts); }

    // The main window's result line; empty when none shows.
    static QString resultLine() {
        for (QLabel* label : Form1->findChildren<QLabel*>(QStringLiteral("BuildResult")))
            if (!label->isHidden())
                return label->toolTip().isEmpty() ? label->text() : label->toolTip();
        return {};
    }

    // Ends this run and starts the next one in the same start directory.
    void restart() {
        ui::keepSessionNow();
        ui::destroyWindows();
        ui::createWindows();
        Form1->FormActivate();
    }

    // Work where the theme, both windows' slots and the name are the user's.
    void makeSomeWork() {
        platform.fileAnswers.enqueue([&] {
            const QString file = path("ThmeBMP/high.bmp");
            EXPECT_TRUE(test::coordinateSheet(kHighSheetSize).save(file, "BMP"));
            return file;
        }());
        Form6->Button1->click();
        Form1->IconBoard.setSnapshotPicture(IconWindow::Main, test::filled(kLowIconSize, qRgb(1, 200, 3)));
        Form1->IconSlotClick(2);
        Form1->IconBoard.setSnapshotPicture(IconWindow::Os5, test::filled(kHighIconSize, qRgb(4, 5, 250)));
        Form7->IconSlotClick(30);
        Form1->Edit1->setText(QStringLiteral("Two evenings"));
    }
};

TEST_F(SessionWindows, TheNextRunStartsWhereThisOneEnded) {
    makeSomeWork();
    const WorkState work = all();
    restart();
    EXPECT_EQ(ui::restoreKeptSession(), SessionFolder::Restored::Status::Restored);
    EXPECT_TRUE(all() == work);
    EXPECT_EQ(resultLine(), "Restored your last session");
    EXPECT_FALSE(Form1->History.canUndo()) << "a new run starts a new history";
    for (int i = 0; i < kThemePieceCount; ++i)
        ASSERT_EQ(Form6->pieceImage(i)->picture(), Form2->Pieces.highPiece(i)) << i;
    EXPECT_EQ(Form7->IconPicker->slotImage(30)->picture(), Form1->IconBoard.slotPicture(IconWindow::Os5, 30));
    EXPECT_TRUE(platform.messages.isEmpty()) << platform.messages.join('|').toStdString();

    // Start afresh: every picture built in again, and no name, as one step.
    Form1->findChild<QAction*>("StartAfreshAction")->trigger();
    EXPECT_TRUE(all() == builtInWork());
    Form1->History.undo();
    EXPECT_TRUE(all() == work);
}

TEST_F(SessionWindows, AChangeIsKeptWithinASecondWithoutWaitingForTheEnd) {
    Form1->IconBoard.setSnapshotPicture(IconWindow::Main, test::filled(kLowIconSize, qRgb(1, 200, 3)));
    Form1->IconSlotClick(2);
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(path("vkdm_session/session.txt")), 30000);
    SessionFolder::Restored kept = SessionFolder(dir_.path()).restore();
    ASSERT_EQ(kept.status, SessionFolder::Restored::Status::Restored);
    EXPECT_EQ((*kept.work.mainSlots)[2], Form1->IconBoard.slotPicture(IconWindow::Main, 2));

    // The end of a snapshot changes the snapshot pictures: kept as well.
    Form1->IconBoard.setSnapshotPicture(IconWindow::Main, test::filled(kLowIconSize, qRgb(9, 9, 9)));
    ui::noteWorkChanged();
    QTRY_VERIFY_WITH_TIMEOUT(*SessionFolder(dir_.path()).restore().work.lowSnap ==
                                 Form1->IconBoard.snapshotPicture(IconWindow::Main),
                             30000);
}

TEST_F(SessionWindows, ADamagedSessionIsANoticeAndTheBuiltInWork) {
    ASSERT_TRUE(QDir(dir_.path()).mkdir("vkdm_session"));
    ASSERT_TRUE(test::writeBytes(path("vkdm_session/session.txt"), "Vedi Vavurir session 1\nname x\n"));
    EXPECT_EQ(ui::restoreKeptSession(), SessionFolder::Restored::Status::Damaged);
    EXPECT_EQ(resultLine(),
              "The kept session in vkdm_session was not restored: session.txt names no theme-low");
    EXPECT_TRUE(all() == builtInWork());
    EXPECT_TRUE(platform.messages.isEmpty());
    // Left as it was until the work changes.
    EXPECT_EQ(test::readBytes(path("vkdm_session/session.txt")), "Vedi Vavurir session 1\nname x\n");
}

TEST_F(SessionWindows, AFolderThatCannotBeWrittenIsReportedOnce) {
    ASSERT_TRUE(test::writeBytes(path("vkdm_session"), "in the way"));
    Form1->Edit1->setText("First");
    ui::startAfresh();
    ui::keepSessionNow();
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_EQ(platform.messages[0],
              "Your work cannot be kept in " + QDir::toNativeSeparators(path("vkdm_session")) + ": " +
                  QDir::toNativeSeparators(path("vkdm_session")) + " is not a folder of its own");
    Form1->History.undo();
    ui::keepSessionNow();
    EXPECT_EQ(platform.messages.size(), 1);
    EXPECT_EQ(test::readBytes(path("vkdm_session")), "in the way");
}

TEST_F(SessionWindows, ARunThatChangesNothingWritesNothing) {
    restart();
    EXPECT_EQ(ui::restoreKeptSession(), SessionFolder::Restored::Status::None);
    EXPECT_FALSE(QFileInfo::exists(path("vkdm_session")));
}

} // namespace
