// The snapshot on a screen scaled by two (QT_SCALE_FACTOR=2, as on a HiDPI
// desktop), through the program's own screen grab and pointer: a window of
// known pixels lies under the pointer, and the snapshot must show the device
// pixels right under it.
#include "snapshot/SnapshotSession.h"
#include "ui/QtPlatform.h"

#include "icons/IconSlots.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QPainter>
#include <QScopeGuard>
#include <QTest>
#include <QWidget>

using namespace vv;

namespace {

// Device pixel (x, y) of the window names its own coordinates.
QRgb patternPixel(int x, int y) {
    return qRgb(x & 0xFF, y & 0xFF, 0x77);
}

class PatternWindow : public QWidget {
public:
    explicit PatternWindow(QSize size) : QWidget(nullptr, Qt::FramelessWindowHint) {
        setFixedSize(size);
        pattern_ = QImage(size * 2, QImage::Format_RGB32);
        for (int y = 0; y < pattern_.height(); ++y)
            for (int x = 0; x < pattern_.width(); ++x)
                pattern_.setPixel(x, y, patternPixel(x, y));
        pattern_.setDevicePixelRatio(2.0);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.drawImage(QPoint(0, 0), pattern_);
    }

private:
    QImage pattern_;
};

TEST(ScaledScreen, SnapshotShowsTheDevicePixelsUnderThePointer) {
    ASSERT_EQ(qApp->devicePixelRatio(), 2.0) << "run with QT_SCALE_FACTOR=2";
    QtPlatform platform;
    Platform* const previous = setPlatform(&platform);
    const auto restore = qScopeGuard([previous] { setPlatform(previous); });

    PatternWindow window(QSize(100, 80));
    // At the origin: the offscreen platform composes its screen grab with each
    // window at its logical position, which only the origin makes the same.
    window.move(0, 0);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QCoreApplication::processEvents();

    // The pointer at logical (20, 20) is device pixel (40, 40).
    QCursor::setPos(20, 20);
    ASSERT_EQ(platform.pointerPosition(), QPoint(20, 20));
    IconBoard board;
    SnapshotSession session(board, IconWindow::Main);
    QImage canvas(320, 240, QImage::Format_RGB32);
    canvas.fill(Qt::black);
    ASSERT_TRUE(session.Start(canvas, qRgb(0, 255, 0)).started);
    ASSERT_TRUE(QTest::qWaitFor([&] { return session.SnapshotThread()->copies() >= 1; }, 10000));
    session.End();

    EXPECT_EQ(session.deskShot().size(), QSize(640, 480));
    EXPECT_EQ(session.deskShot().devicePixelRatio(), 2.0);
    const QImage snap = board.snapshotPicture(IconWindow::Main);
    ASSERT_EQ(snap.size(), kLowIconSize);
    // Centred on device pixel (40, 40) of the window: from (40 - 16, 40 - 11).
    for (int y = 0; y < snap.height(); ++y)
        for (int x = 0; x < snap.width(); ++x)
            ASSERT_EQ(snap.pixel(x, y) | 0xFF000000u, patternPixel(24 + x, 29 + y))
                << "pixel " << x << "," << y;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
