// The desktop snapshot: one screen grab, the worker following a scripted
// pointer into LowSnap/HighSnap, the end of a snapshot on either window, a
// failed grab and stops that must never hang.
#include "snapshot/snapshot.h"
#include "snapshot/SnapshotSession.h"

#include "icons/IconSlots.h"
#include "support/RecordingPlatform.h"

#include "support/TestPictures.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMutex>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <atomic>

using namespace vv;

namespace {

constexpr QRgb Outside = 0xFF00FF00u; // the transparency green
constexpr QSize DeskSize(200, 150);

// Every desktop pixel names its own coordinates, so a copy shows where it read.
QRgb deskPixel(int x, int y) {
    return qRgb(x & 0xFF, y & 0xFF, 0x40);
}

QImage coordinateDesk(QSize size, int blue = 0x40) {
    QImage desk(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            desk.setPixel(x, y, qRgb(x & 0xFF, y & 0xFF, blue));
    return desk;
}

using test::filled;

using test::pixelsAre;

// What the snapshot picture must hold for a pointer at `pointer` on `desk`.
auto areaOf(QPoint pointer, IconWindow window, QSize desk = DeskSize) {
    const QRect area = snapshot::areaAround(pointer, window);
    return [=](int x, int y) {
        const QPoint at = area.topLeft() + QPoint(x, y);
        return QRect(QPoint(0, 0), desk).contains(at) ? deskPixel(at.x(), at.y()) : Outside;
    };
}

// A pointer the test moves while the worker reads it.
struct ScriptedPointer {
    std::atomic<int> x{0};
    std::atomic<int> y{0};
    void moveTo(QPoint p) {
        x = p.x();
        y = p.y();
    }
    QPoint position() const { return {x.load(), y.load()}; }
};

// Generous bound that only turns a hang into a failure.
constexpr int kHangLimitMs = 10000;

// Anything the core could show a message through.
template <typename OutsideWorld>
concept ShowsMessages = requires(OutsideWorld& world) {
    world.showMessage(QString());
};

class SnapshotTest : public ::testing::Test {
protected:
    void SetUp() override {
        recorder.onGrab = [this](const QSize& size) {
            requestedSizes << size;
            return coordinateDesk(DeskSize);
        };
        recorder.onPointer = [this] { return pointer.position(); };
        // Known, distinct contents, so "unchanged" can be told from "copied".
        board.writeSnapshot(IconWindow::Main, [](QImage& p) { p.fill(qRgb(1, 2, 3)); });
        board.writeSnapshot(IconWindow::Os5, [](QImage& p) { p.fill(qRgb(4, 5, 6)); });
    }

    // Waits until the running worker has made `copies` copies.
    bool waitForCopies(const SnapshotSession& session, quint64 copies) {
        return QTest::qWaitFor([&] { return session.SnapshotThread()->copies() >= copies; }, kHangLimitMs);
    }

    // A whole snapshot: start, follow the pointer at `at` for one copy, end.
    void snapshotAt(SnapshotSession& session, QPoint at) {
        pointer.moveTo(at);
        ASSERT_TRUE(session.Start(deskTemplate, Outside).started);
        ASSERT_TRUE(waitForCopies(session, 1));
        session.End();
    }

    test::RecordingPlatform recorder;
    ScriptedPointer pointer;
    IconBoard board;
    QImage deskTemplate = filled(DeskSize, qRgb(0, 0, 0));
    QList<QSize> requestedSizes;
};

TEST_F(SnapshotTest, AreaNearEdgesPlacesEachInsidePixelAtItsOwnOffset) {
    struct Case {
        QPoint pointer;
        IconWindow window;
    };
    const Case cases[] = {
        {{0, 0}, IconWindow::Main},                                    // rectangle starts at (-16, -11)
        {{0, 0}, IconWindow::Os5},                                     // (-32, -22)
        {{5, 3}, IconWindow::Main},                                    // partly off the left and top
        {{100, 75}, IconWindow::Os5},                                  // wholly inside
        {{199, 149}, IconWindow::Main}, {{-40, 400}, IconWindow::Os5}, // wholly off the desktop picture
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "pointer " << c.pointer.x() << "," << c.pointer.y() << " window " << int(c.window));
        SnapshotSession session(board, c.window);
        snapshotAt(session, c.pointer);
        const QImage picture = board.snapshotPicture(c.window);
        EXPECT_EQ(picture.size(), c.window == IconWindow::Main ? kLowIconSize : kHighIconSize);
        EXPECT_TRUE(pixelsAre(picture, areaOf(c.pointer, c.window)));
    }
}

TEST_F(SnapshotTest, FollowsThePointerAndKeepsTheLastAreaAfterTheEnd) {
    SnapshotSession session(board, IconWindow::Main);
    QSignalSpy drawn(&session, &SnapshotSession::snapshotDrawn);
    pointer.moveTo({50, 40});
    ASSERT_TRUE(session.Start(deskTemplate, Outside).started);
    ASSERT_TRUE(waitForCopies(session, 1));
    // A still pointer is not copied again, however many rounds pass.
    ASSERT_TRUE(QTest::qWaitFor([&] { return session.SnapshotThread()->rounds() >= 4; }, kHangLimitMs));
    EXPECT_EQ(session.SnapshotThread()->copies(), 1u);

    pointer.moveTo({120, 90});
    ASSERT_TRUE(waitForCopies(session, 2));
    // The repaint request arrives on the GUI thread, naming the window.
    ASSERT_TRUE(QTest::qWaitFor([&] { return drawn.size() >= 2; }, kHangLimitMs));
    EXPECT_EQ(drawn.last().at(0).value<IconWindow>(), IconWindow::Main);
    EXPECT_TRUE(pixelsAre(board.snapshotPicture(IconWindow::Main), areaOf({120, 90}, IconWindow::Main)));

    session.End();
    EXPECT_FALSE(session.isRunning());
    pointer.moveTo({10, 10});
    QTest::qWait(20);
    EXPECT_TRUE(pixelsAre(board.snapshotPicture(IconWindow::Main), areaOf({120, 90}, IconWindow::Main)));
}

TEST_F(SnapshotTest, EndRightAfterStartLeavesThePreviousPictureOrTheAreaOfThatMoment) {
    const QImage previous = board.snapshotPicture(IconWindow::Main);
    pointer.moveTo({30, 20});
    SnapshotSession session(board, IconWindow::Main);
    for (int i = 0; i < 25; ++i) {
        board.writeSnapshot(IconWindow::Main, [&](QImage& p) { p = previous.copy(); });
        ASSERT_TRUE(session.Start(deskTemplate, Outside).started);
        session.End();
        const QImage picture = board.snapshotPicture(IconWindow::Main);
        EXPECT_TRUE(picture == previous || pixelsAre(picture, areaOf({30, 20}, IconWindow::Main)))
            << "round " << i;
    }
}

TEST_F(SnapshotTest, MainSnapshotThenOs5SnapshotLeavesLowSnapTheHalfOfHighSnap) {
    SnapshotSession mainSession(board, IconWindow::Main);
    SnapshotSession os5Session(board, IconWindow::Os5);

    const QImage highBefore = board.snapshotPicture(IconWindow::Os5);
    snapshotAt(mainSession, {60, 50});
    // The main window's end leaves HighSnap alone.
    EXPECT_EQ(board.snapshotPicture(IconWindow::Os5), highBefore);

    snapshotAt(os5Session, {150, 100});
    const QImage high = board.snapshotPicture(IconWindow::Os5);
    EXPECT_TRUE(pixelsAre(high, areaOf({150, 100}, IconWindow::Os5)));
    const QImage low = board.snapshotPicture(IconWindow::Main);
    EXPECT_EQ(low.size(), kLowIconSize);
    EXPECT_TRUE(pixelsAre(low, [&](int x, int y) { return high.pixel(2 * x, 2 * y); }));
}

TEST_F(SnapshotTest, TheScreenIsReadOnceAtTheSizeAndFormatOfTheTemplate) {
    // What the screen would show later: moved windows must not reach the picture.
    recorder.onGrab = [this](const QSize& size) {
        requestedSizes << size;
        return coordinateDesk(DeskSize, recorder.screenGrabs == 1 ? 0x40 : 0x99);
    };
    deskTemplate = filled(DeskSize, 0).convertToFormat(QImage::Format_RGB888);
    SnapshotSession session(board, IconWindow::Os5);
    pointer.moveTo({10, 10});
    ASSERT_TRUE(session.Start(deskTemplate, Outside).started);
    for (QPoint p : {QPoint(40, 40), QPoint(90, 30), QPoint(180, 140)}) {
        const quint64 before = session.SnapshotThread()->copies();
        pointer.moveTo(p);
        ASSERT_TRUE(waitForCopies(session, before + 1));
    }
    session.End();

    EXPECT_EQ(recorder.screenGrabs, 1);
    EXPECT_EQ(requestedSizes, QList<QSize>{DeskSize});
    EXPECT_EQ(session.deskShot().format(), QImage::Format_RGB888);
    EXPECT_TRUE(pixelsAre(board.snapshotPicture(IconWindow::Os5), areaOf({180, 140}, IconWindow::Os5)));
}

// On a scaled screen (device pixel ratio 2, as with QT_SCALE_FACTOR=2) the
// grab of a logical size holds twice its pixels each way while the pointer
// moves in logical pixels. The snapshot shows the device pixels under the
// pointer, and a start that takes the last grab as its template asks for the
// same logical size again.
TEST_F(SnapshotTest, OnAScaledScreenThePointerIsMappedToTheGrabsDevicePixels) {
    recorder.onGrab = [this](const QSize& size) {
        requestedSizes << size;
        QImage desk = coordinateDesk(size * 2);
        desk.setDevicePixelRatio(2.0);
        return desk;
    };
    const QSize logical(100, 75);
    deskTemplate = filled(logical, 0);
    struct Case {
        IconWindow window;
        QPoint pointer;
        QPoint deviceTopLeft; // the pointer's device pixel less half the snapshot size
    };
    const Case cases[] = {{IconWindow::Main, {40, 30}, {80 - 16, 60 - 11}},
                          {IconWindow::Os5, {40, 30}, {80 - 32, 60 - 22}},
                          {IconWindow::Main, {90, 60}, {180 - 16, 120 - 11}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "pointer " << c.pointer.x() << "," << c.pointer.y());
        SnapshotSession session(board, c.window);
        snapshotAt(session, c.pointer);
        EXPECT_EQ(session.deskShot().devicePixelRatio(), 2.0);
        EXPECT_TRUE(pixelsAre(board.snapshotPicture(c.window), [&](int x, int y) {
            return deskPixel(c.deviceTopLeft.x() + x, c.deviceTopLeft.y() + y);
        }));
        deskTemplate = session.deskShot();
    }
    EXPECT_EQ(requestedSizes, QList<QSize>(3, logical));
}

TEST_F(SnapshotTest, WithoutATemplatePictureTheWholeScreenIsRead) {
    SnapshotSession session(board, IconWindow::Main);
    deskTemplate = QImage();
    snapshotAt(session, {199, 0});
    ASSERT_EQ(requestedSizes.size(), 1);
    EXPECT_FALSE(requestedSizes.first().isValid());
    EXPECT_TRUE(pixelsAre(board.snapshotPicture(IconWindow::Main), areaOf({199, 0}, IconWindow::Main)));
}

TEST_F(SnapshotTest, FailedGrabReportsAndLeavesEverythingAsItWas) {
    recorder.onGrab = [](const QSize&) { return QImage(); };
    const QImage low = board.snapshotPicture(IconWindow::Main);
    const QImage high = board.snapshotPicture(IconWindow::Os5);
    for (IconWindow window : {IconWindow::Main, IconWindow::Os5}) {
        SnapshotSession session(board, window);
        const SnapshotStart start = session.Start(deskTemplate, Outside);
        EXPECT_FALSE(start.started);
        EXPECT_EQ(start.message,
                  QStringLiteral("DCDesk is Null - Contact developer support@vedivavurir.example"));
        EXPECT_FALSE(session.isRunning());
        // The end that follows finds nothing to stop and, on the OS5 window,
        // does not halve a HighSnap that no snapshot filled.
        session.End();
    }
    EXPECT_EQ(board.snapshotPicture(IconWindow::Main), low);
    EXPECT_EQ(board.snapshotPicture(IconWindow::Os5), high);
    // The window shows the message, not the core: the core's outside world has
    // no message box to reach.
    static_assert(!ShowsMessages<Platform>);
}

TEST_F(SnapshotTest, SecondStartWhileRunningIsRefused) {
    SnapshotSession session(board, IconWindow::Main);
    ASSERT_TRUE(session.Start(deskTemplate, Outside).started);
    snapshot* first = session.SnapshotThread();
    const SnapshotStart again = session.Start(deskTemplate, Outside);
    EXPECT_FALSE(again.started);
    EXPECT_TRUE(again.message.isEmpty());
    EXPECT_EQ(session.SnapshotThread(), first);
    EXPECT_EQ(recorder.screenGrabs, 1);
    session.End();
}

TEST_F(SnapshotTest, ClosingWhileRunningStopsAndWaits) {
    // The session goes away with its worker mid-run, as when the program closes.
    auto session = std::make_unique<SnapshotSession>(board, IconWindow::Os5);
    ASSERT_TRUE(session->Start(deskTemplate, Outside).started);
    QPointer<QThread> worker = session->SnapshotThread();
    ASSERT_TRUE(waitForCopies(*session, 1));
    session.reset();
    EXPECT_TRUE(worker.isNull());
    // Pending repaint requests of the gone worker must not crash anything.
    QCoreApplication::processEvents();
}

TEST(SnapshotWorker, StopWakesAWorkerInALongPauseAtOnce) {
    test::RecordingPlatform recorder;
    IconBoard board;
    SnapshotSetup setup;
    setup.deskShot = coordinateDesk(DeskSize);
    setup.roundInterval = std::chrono::hours(1);
    snapshot worker(board, recorder, setup);
    worker.SetTarget(1);
    EXPECT_EQ(worker.targetWindow(), IconWindow::Os5);
    worker.Resume();
    ASSERT_TRUE(QTest::qWaitFor([&] { return worker.rounds() >= 1; }, kHangLimitMs));
    worker.RequestStop();
    EXPECT_TRUE(worker.wait(QDeadlineTimer(kHangLimitMs)));
    EXPECT_EQ(worker.rounds(), 1u);
}

TEST(SnapshotWorker, TargetsOtherThanOneDrawIntoLowSnap) {
    test::RecordingPlatform recorder;
    IconBoard board;
    snapshot worker(board, recorder, {});
    for (int target : {0, 2, -1}) {
        worker.SetTarget(target);
        EXPECT_EQ(worker.target(), 0);
        EXPECT_EQ(worker.targetWindow(), IconWindow::Main);
    }
}

TEST(SnapshotPace, RoundIntervalIsHalfAFrame) {
    using std::chrono::microseconds;
    EXPECT_EQ(snapshotRoundInterval(60.0), microseconds(8333));
    EXPECT_EQ(snapshotRoundInterval(144.0), microseconds(3472));
    for (double nonsense : {0.0, -5.0, std::nan(""), 1e9})
        EXPECT_EQ(snapshotRoundInterval(nonsense), microseconds(8333)) << nonsense;
}

} // namespace
