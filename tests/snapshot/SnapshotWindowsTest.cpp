// The snapshot on the real main and OS5 windows: Sho&t, the end key, the
// picture picked into a slot, a failed grab and the program closing mid-run.
#include "ui/SettingsAndLanguage.h"
#include "ui/TForm1.h"
#include "ui/TForm7.h"

#include "icons/IconSlots.h"
#include "support/StartedWindows.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>

using namespace vv;

namespace {

QList<QWidget*> mainList() {
    return {Form1->Button1,      Form1->Button2, Form1->Button3, Form1->Button4,      Form1->Button5,
            Form1->Button6,      Form1->Button7, Form1->Button9, Form1->SpeedButton1, Form1->SpeedButton2,
            Form1->SpeedButton3, Form1->Image4,  Form1->Image5,  Form1->Label7};
}
QList<QWidget*> os5List() {
    return {Form7->Button1, Form7->Button2,      Form7->Button5,
            Form7->Button6, Form7->SpeedButton2, Form7->Image52};
}

::testing::AssertionResult allEnabled(const QList<QWidget*>& controls, bool enabled) {
    for (QWidget* c : controls)
        if (c->isEnabled() != enabled)
            return ::testing::AssertionFailure()
                   << c->objectName().toStdString() << (enabled ? " is off" : " is on");
    return ::testing::AssertionSuccess();
}

QImage blackCanvas() {
    QImage canvas(320, 240, QImage::Format_RGB32);
    canvas.fill(Qt::black);
    return canvas;
}

class SnapshotWindows : public test::ScratchWindows {
protected:
    SnapshotWindows() : ScratchWindows(blackCanvas()) {}

    void SetUp() override {
        ScratchWindows::SetUp();
        if (HasFatalFailure())
            return;
        platform.onGrab = [](const QSize& size) {
            QImage desk(size, QImage::Format_RGB32);
            for (int y = 0; y < desk.height(); ++y)
                for (int x = 0; x < desk.width(); ++x)
                    desk.setPixel(x, y, qRgb(x & 0xFF, y & 0xFF, 0x77));
            return desk;
        };
        platform.onPointer = [this] { return QPoint(pointerX.load(), 100); };
        createWindowsIn(dir_.path());
        Form1->show();
        Form1->FormActivate();
        platform.messages.clear();
    }
    bool waitForFirstCopy(QWidget* picture, const QImage& before) {
        return QTest::qWaitFor([&] { return static_cast<TImage*>(picture)->picture() != before; }, 10000);
    }

    std::atomic<int> pointerX{150};
};

TEST_F(SnapshotWindows, MainShotRunsThenTheFKeyEndsItAndTheSnapshotGoesIntoASlot) {
    const QImage lowBefore = Form1->LowSnap->picture();
    Form1->Button10->click();

    EXPECT_TRUE(allEnabled(mainList(), false));
    EXPECT_TRUE(Form1->Button8->isEnabled());
    EXPECT_TRUE(Form1->Edit1->isEnabled());
    EXPECT_FALSE(Form1->Button10->isEnabled());
    EXPECT_FALSE(Form7->Button3->isEnabled());
    EXPECT_TRUE(allEnabled(os5List(), true));
    EXPECT_TRUE(Form1->Button11->isVisible());
    EXPECT_EQ(platform.screenGrabs, 1);
    EXPECT_EQ(platform.messages, QStringList());
    ASSERT_TRUE(waitForFirstCopy(Form1->LowSnap, lowBefore));

    QTest::keyClick(Form1->Button11, Qt::Key_F);
    EXPECT_FALSE(Form1->Snapshot->isRunning());
    EXPECT_TRUE(allEnabled(mainList(), true));
    EXPECT_TRUE(Form1->Button10->isEnabled());
    EXPECT_TRUE(Form7->Button3->isEnabled());
    EXPECT_FALSE(Form1->Button11->isVisible());

    // The area around (150, 100) is now LowSnap, and a slot click takes it.
    const QImage low = Form1->IconBoard.snapshotPicture(IconWindow::Main);
    EXPECT_EQ(low.pixel(0, 0), qRgb(150 - 16, 100 - 11, 0x77));
    EXPECT_EQ(Form1->LowSnap->picture(), low);
    Form1->LowSnapClick();
    Form1->IconSlotClick(0);
    EXPECT_EQ(Form1->IconBoard.slotPicture(IconWindow::Main, 0), low);
}

TEST_F(SnapshotWindows, Os5ShotEndsWithLowSnapTheHalfOfHighSnap) {
    Form7->show();
    const QImage highBefore = Form7->HighSnap->picture();
    Form7->Button3->click();
    EXPECT_TRUE(allEnabled(os5List(), false));
    EXPECT_TRUE(allEnabled(mainList(), true));
    EXPECT_FALSE(Form7->Button3->isEnabled());
    EXPECT_FALSE(Form1->Button10->isEnabled());
    ASSERT_TRUE(waitForFirstCopy(Form7->HighSnap, highBefore));

    Form7->Button11->click();
    EXPECT_TRUE(allEnabled(os5List(), true));
    EXPECT_TRUE(Form1->Button10->isEnabled());
    const QImage high = Form1->IconBoard.snapshotPicture(IconWindow::Os5);
    EXPECT_EQ(high.pixel(0, 0), qRgb(150 - 32, 100 - 22, 0x77));
    EXPECT_EQ(Form7->HighSnap->picture(), high);
    EXPECT_EQ(Form1->LowSnap->picture().pixel(5, 7), high.pixel(10, 14));
}

TEST_F(SnapshotWindows, FailedGrabShowsTheMessageAndTheWindowIsIdleAgain) {
    platform.onGrab = [](const QSize&) { return QImage(); };
    Form1->Button10->click();
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_TRUE(platform.messages.first().startsWith(QStringLiteral("DCDesk is Null - Contact developer ")));
    EXPECT_TRUE(allEnabled(mainList(), true));
    EXPECT_TRUE(Form1->Button10->isEnabled());
    EXPECT_TRUE(Form7->Button3->isEnabled());
    EXPECT_FALSE(Form1->Button11->isVisible());
    EXPECT_TRUE(Form1->Button11->isEnabled());
}

TEST_F(SnapshotWindows, ClosingTheProgramOrTheOs5WindowWhileRunningStopsTheWorkerFirst) {
    Form7->show();
    Form7->Button3->click();
    QPointer<QThread> worker = Form7->Snapshot->session().SnapshotThread();
    ASSERT_FALSE(worker.isNull());
    Form7->close();
    EXPECT_TRUE(worker.isNull());
    EXPECT_TRUE(Form1->Button10->isEnabled());

    Form1->Button10->click();
    worker = Form1->Snapshot->session().SnapshotThread();
    ASSERT_FALSE(worker.isNull());
    Form1->close();
    EXPECT_TRUE(worker.isNull());
    EXPECT_FALSE(Form1->Snapshot->isRunning());
}

TEST_F(SnapshotWindows, DestroyingTheWindowsMidRunDoesNotHang) {
    Form1->Button10->click();
    ASSERT_TRUE(Form1->Snapshot->isRunning());
    // TearDown destroys every window with the worker still running.
}

} // namespace
