// The desktop snapshot worker: copies the area of the frozen desktop picture
// around the mouse pointer into LowSnap or HighSnap until it is told to stop.
// One object per snapshot; the GUI thread grabs the screen before starting it
// and waits for its end before it reads the snapshot pictures again.
#pragma once

#include "icons/IconBoard.h"

#include <QDeadlineTimer>
#include <QImage>
#include <QMutex>
#include <QPoint>
#include <QRgb>
#include <QThread>
#include <QWaitCondition>

#include <atomic>
#include <chrono>

namespace vv {

class Platform;

// What the worker needs to know, all of it read on the GUI thread before the
// start: the frozen desktop, the pointer source and the pace.
struct SnapshotSetup {
    QImage deskShot;            // never written while the worker runs
    QRgb outside = 0xFF00FF00u; // what parts of the area off the desktop picture show
    std::chrono::microseconds roundInterval{8333};
};

// The worker thread. Created "suspended": nothing runs until Resume(). It
// never touches a widget; it draws through IconBoard's snapshot guard and
// announces each new picture with snapshotDrawn(), to be received queued on
// the GUI thread.
class snapshot : public QThread {
    Q_OBJECT
public:
    // `board` and `pointer` must outlive the object. The destructor stops
    // the thread and waits for it.
    snapshot(IconBoard& board, Platform& pointer, SnapshotSetup setup, QObject* parent = nullptr);
    ~snapshot() override;

    // 0 draws into LowSnap (32 x 22), 1 into HighSnap (64 x 44); any other
    // value counts as 0. Set before Resume().
    void SetTarget(int target);
    int target() const { return target_; }
    IconWindow targetWindow() const { return target_ == 1 ? IconWindow::Os5 : IconWindow::Main; }

    // Starts the thread at the highest priority the platform grants.
    void Resume();
    // Asks the thread to end and wakes it from its pause at once; wait()
    // then returns within one copy.
    void RequestStop();

    // Counters for measurement; safe to read from any thread.
    quint64 rounds() const { return rounds_.load(std::memory_order_relaxed); }
    quint64 copies() const { return copies_.load(std::memory_order_relaxed); }

    // The area of the desktop picture shown for a pointer at `pointer`:
    // centred on it, the size of the target's snapshot picture. The pointer is
    // in logical pixels, the picture in device pixels: on a scaled screen
    // (`devicePixelRatio` 2, say) the pointer's position is scaled to the
    // picture's pixels, and the snapshot keeps the screen's full detail.
    static QRect areaAround(QPoint pointer, IconWindow target, qreal devicePixelRatio = 1.0);

signals:
    // A new picture is in the snapshot picture of `target` (0 or 1).
    void snapshotDrawn(int target);

protected:
    // Execute: follow the pointer. A round reads the pointer; when it has
    // moved (or on the first round) the area is copied and announced. Rounds
    // are paced by the interval rather than run back to back, so a still
    // pointer costs almost nothing while a moving one is followed every
    // round.
    void run() override;

private:
    // Sleeps until `deadline`; false when a stop was requested meanwhile.
    bool pauseUntil(const QDeadlineTimer& deadline);

    IconBoard& board_;
    Platform& pointer_;
    const SnapshotSetup setup_;
    int target_ = 0;
    std::atomic<quint64> rounds_{0};
    std::atomic<quint64> copies_{0};
    QMutex pauseLock_;
    QWaitCondition wake_;
};

} // namespace vv
