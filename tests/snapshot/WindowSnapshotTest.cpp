// The snapshot flow of a window: what Sho&t disables and the end brings back,
// the end button's captions through Running, Stopping and Idle, the F key,
// a failed grab and the program closing while a snapshot runs.
#include "ui/WindowSnapshot.h"

#include "app/MainWindowState.h"
#include "ui/Controls.h"
#include "ui/TImage.h"

#include "support/RecordingDialogs.h"

#include <gtest/gtest.h>

#include <QTest>
#include <QWidget>

#include <atomic>
#include <memory>

using namespace vv;
using namespace vv::ui;

namespace {

const QString Prompt = QStringLiteral("Press &F to end");
const QString Busy = QStringLiteral("Ending...");

// One window as the snapshot sees it: three listed controls, one control
// that is not in the list, a Sho&t button, an end button and the picture.
struct FakeWindow {
    explicit FakeWindow(IconWindow which) {
        widget.resize(400, 200);
        for (int i = 0; i < 3; ++i)
            listed << makeButton(&widget, "listed", QStringLiteral("L%1").arg(i), 0, 20 * i, 50, 20);
        unlisted = makeButton(&widget, "unlisted", QStringLiteral("U"), 60, 0, 50, 20);
        shot = makeButton(&widget, "shot", QStringLiteral("Sho&t"), 60, 20, 50, 20);
        end = makeButton(&widget, "end", Prompt, 60, 40, 200, 20);
        end->hide();
        picture = new TImage(&widget);
        picture->setGeometry(300, 0, 64, 44);
        setup.window = which;
        setup.shotButton = shot;
        setup.endButton = end;
        setup.picture = picture;
        setup.disabledWhileRunning = listed;
    }
    QWidget widget;
    QList<QWidget*> listed;
    TButton* unlisted;
    TButton* shot;
    TButton* end;
    TImage* picture;
    WindowSnapshotSetup setup;
};

QList<bool> enabledStates(const QList<QWidget*>& controls) {
    QList<bool> states;
    for (QWidget* c : controls)
        states << c->isEnabled();
    return states;
}

class WindowSnapshotTest : public ::testing::Test {
protected:
    void SetUp() override {
        state.SnapPromptCaption = Prompt;
        state.SnapBusyCaption = Busy;
        state.TransparentRed = QStringLiteral("255");
        state.TransparentGreen = QStringLiteral("0");
        state.TransparentBlue = QStringLiteral("255");
        recorder.onGrab = [](const QSize& size) {
            QImage desk(size.isValid() ? size : QSize(100, 80), QImage::Format_RGB32);
            desk.fill(qRgb(10, 20, 30));
            return desk;
        };
        recorder.onPointer = [this] { return QPoint(pointerX.load(), 40); };
        deskShot.setPicture(QImage(100, 80, QImage::Format_RGB32));
        mainWindow.setup.deskShot = &deskShot;
        os5Window.setup.deskShot = &deskShot;
        mainSnapshot = std::make_unique<WindowSnapshot>(board, state, mainWindow.setup);
        os5Snapshot = std::make_unique<WindowSnapshot>(board, state, os5Window.setup);
        QObject::connect(mainWindow.end, &QPushButton::clicked, [this] { mainSnapshot->end(); });
        QObject::connect(os5Window.end, &QPushButton::clicked, [this] { os5Snapshot->end(); });
        mainWindow.widget.show();
        QApplication::setActiveWindow(&mainWindow.widget);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&mainWindow.widget));
    }
    void TearDown() override {
        os5Snapshot.reset();
        mainSnapshot.reset();
    }

    test::RecordingDesktop recorder;
    std::atomic<int> pointerX{50};
    MainWindowState state;
    IconBoard board;
    TImage deskShot;
    FakeWindow mainWindow{IconWindow::Main};
    FakeWindow os5Window{IconWindow::Os5};
    std::unique_ptr<WindowSnapshot> mainSnapshot;
    std::unique_ptr<WindowSnapshot> os5Snapshot;
};

TEST_F(WindowSnapshotTest, StartDisablesTheListAndBothShotButtonsAndEndBringsBackExactlyThat) {
    mainWindow.listed[1]->setEnabled(false); // off for a reason of its own
    mainSnapshot->start();

    EXPECT_TRUE(mainSnapshot->isRunning());
    EXPECT_EQ(enabledStates(mainWindow.listed), (QList<bool>{false, false, false}));
    EXPECT_TRUE(mainWindow.unlisted->isEnabled());
    EXPECT_FALSE(mainWindow.shot->isEnabled());
    EXPECT_FALSE(os5Window.shot->isEnabled());
    EXPECT_TRUE(mainWindow.end->isVisible());
    EXPECT_TRUE(mainWindow.end->hasFocus());
    EXPECT_EQ(enabledStates(os5Window.listed),
              (QList<bool>{true, true, true})); // the other window's own list

    mainSnapshot->end();
    EXPECT_FALSE(mainSnapshot->isRunning());
    EXPECT_EQ(enabledStates(mainWindow.listed), (QList<bool>{true, false, true}));
    EXPECT_TRUE(mainWindow.shot->isEnabled());
    EXPECT_TRUE(os5Window.shot->isEnabled());
    EXPECT_FALSE(mainWindow.end->isVisible());
    EXPECT_TRUE(mainWindow.end->isEnabled());
    EXPECT_EQ(mainWindow.end->text(), Prompt);
    EXPECT_EQ(recorder.screenGrabs, 1);
}

TEST_F(WindowSnapshotTest, EndButtonShowsTheBusyCaptionDisabledWhileTheWorkerStops) {
    struct Seen {
        QString text;
        bool enabled;
    };
    QList<Seen> painted;
    struct PaintSpy : QObject {
        QList<Seen>* out;
        bool eventFilter(QObject* o, QEvent* e) override {
            if (e->type() == QEvent::Paint) {
                auto* b = static_cast<QPushButton*>(o);
                out->append({b->text(), b->isEnabled()});
            }
            return false;
        }
    } spy;
    spy.out = &painted;

    mainSnapshot->start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return mainSnapshot->session().SnapshotThread()->copies() >= 1; }));
    mainWindow.end->installEventFilter(&spy);
    mainSnapshot->end();
    mainWindow.end->removeEventFilter(&spy);

    ASSERT_FALSE(painted.isEmpty());
    EXPECT_EQ(painted.first().text, Busy);
    EXPECT_FALSE(painted.first().enabled);
    EXPECT_EQ(mainWindow.end->text(), Prompt);
}

TEST_F(WindowSnapshotTest, TheFKeyAloneOrWithShiftEndsTheSnapshotOtherChordsDoNot) {
    struct Case {
        Qt::KeyboardModifiers modifiers;
        bool ends;
    };
    const Case cases[] = {{Qt::NoModifier, true}, {Qt::ShiftModifier, true}, {Qt::ControlModifier, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.modifiers));
        mainSnapshot->start();
        QTest::keyClick(mainWindow.end, Qt::Key_F, c.modifiers);
        EXPECT_EQ(mainSnapshot->isRunning(), !c.ends);
        QTest::keyClick(mainWindow.end, Qt::Key_G);
        EXPECT_EQ(mainSnapshot->isRunning(), !c.ends);
        mainSnapshot->end();
    }
}

TEST_F(WindowSnapshotTest, AltFOnTheWindowEndsTheSnapshot) {
    mainSnapshot->start();
    QTest::keyClick(&mainWindow.widget, Qt::Key_F, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !mainSnapshot->isRunning(); }, 2000));
}

TEST_F(WindowSnapshotTest, PicturesFollowTheWorkerAndTheOs5EndHalvesHighSnapIntoLowSnap) {
    os5Snapshot->start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return os5Window.picture->picture() != QImage(); }));
    EXPECT_EQ(os5Window.picture->picture().size(), QSize(64, 44));
    // The pointer hangs over the left edge: the transparency colour of the state fills the rest.
    pointerX = 0;
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return os5Window.picture->picture().pixel(0, 0) == qRgb(255, 0, 255); }));
    os5Snapshot->end();

    const QImage high = board.snapshotPicture(IconWindow::Os5);
    EXPECT_EQ(os5Window.picture->picture(), high);
    const QImage low = board.snapshotPicture(IconWindow::Main);
    EXPECT_EQ(mainWindow.picture->picture(), low); // the main window shows it too
    EXPECT_EQ(low.pixel(0, 0), high.pixel(0, 0));
    EXPECT_EQ(low.pixel(31, 21), high.pixel(62, 42));
    // The frozen desktop now sits in DeskShot.
    EXPECT_EQ(deskShot.picture().pixel(5, 5), qRgb(10, 20, 30));
}

TEST_F(WindowSnapshotTest, FailedGrabShowsTheMessageAndReturnsToIdleTheSameWay) {
    recorder.onGrab = [](const QSize&) { return QImage(); };
    const QImage highBefore = board.snapshotPicture(IconWindow::Os5);
    const QImage lowBefore = board.snapshotPicture(IconWindow::Main);
    os5Snapshot->start();

    EXPECT_EQ(recorder.messages, QStringList{deskShotNullMessage()});
    EXPECT_FALSE(os5Snapshot->isRunning());
    EXPECT_EQ(enabledStates(os5Window.listed), (QList<bool>{true, true, true}));
    EXPECT_TRUE(os5Window.shot->isEnabled());
    EXPECT_TRUE(mainWindow.shot->isEnabled());
    EXPECT_FALSE(os5Window.end->isVisible());
    EXPECT_EQ(os5Window.end->text(), Prompt);
    EXPECT_EQ(board.snapshotPicture(IconWindow::Os5), highBefore);
    EXPECT_EQ(board.snapshotPicture(IconWindow::Main), lowBefore);
}

TEST_F(WindowSnapshotTest, ClosingWhileRunningStopsAndWaits) {
    os5Snapshot->start();
    QPointer<QThread> worker = os5Snapshot->session().SnapshotThread();
    ASSERT_TRUE(QTest::qWaitFor([&] { return os5Snapshot->session().SnapshotThread()->copies() >= 1; }));
    WindowSnapshot::endEverySnapshot();
    EXPECT_FALSE(os5Snapshot->isRunning());
    EXPECT_TRUE(worker.isNull());
    EXPECT_TRUE(os5Window.shot->isEnabled());

    // Going away mid-run is just as safe.
    mainSnapshot->start();
    mainSnapshot.reset();
    QCoreApplication::processEvents();
}

} // namespace
