#include "snapshot/snapshot.h"

#include "common/PictureCopy.h"
#include "icons/IconSlots.h"
#include "platform/Platform.h"

#include <QMutexLocker>

#include <QtMath>

#include <climits>

namespace vv {

snapshot::snapshot(IconBoard& board, Platform& pointer, SnapshotSetup setup, QObject* parent)
    : QThread(parent), board_(board), pointer_(pointer), setup_(std::move(setup)) {}

snapshot::~snapshot() {
    RequestStop();
    wait();
}

void snapshot::SetTarget(int target) {
    target_ = target == 1 ? 1 : 0;
}

void snapshot::Resume() {
    // Time-critical where the system allows it; elsewhere Qt quietly keeps
    // the normal priority, which the pacing makes just as good.
    start(QThread::TimeCriticalPriority);
}

void snapshot::RequestStop() {
    requestInterruption();
    // Taking the lock orders the wake after the worker's own check of the
    // flag, so a worker about to pause cannot miss it.
    QMutexLocker lock(&pauseLock_);
    wake_.wakeAll();
}

QRect snapshot::areaAround(QPoint pointer, IconWindow target, qreal devicePixelRatio) {
    const QSize size = target == IconWindow::Os5 ? kHighIconSize : kLowIconSize;
    const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    const QPoint centre(qFloor(pointer.x() * ratio), qFloor(pointer.y() * ratio));
    return QRect(centre - QPoint(size.width() / 2, size.height() / 2), size);
}

void snapshot::run() {
    const IconWindow window = targetWindow();
    QPoint shown(INT_MIN, INT_MIN); // no pointer position matches it: the first round copies
    QDeadlineTimer nextRound(Qt::PreciseTimer);
    nextRound.setRemainingTime(std::chrono::nanoseconds(0), Qt::PreciseTimer);
    while (!isInterruptionRequested()) {
        const QPoint now = pointer_.pointerPosition();
        if (now != shown) {
            const QRect area = areaAround(now, window, setup_.deskShot.devicePixelRatio());
            board_.writeSnapshot(window, [&](QImage& picture) {
                copyPixels(setup_.deskShot, area, picture, QPoint(0, 0), setup_.outside);
            });
            shown = now;
            copies_.fetch_add(1, std::memory_order_relaxed);
            emit snapshotDrawn(target_);
        }
        rounds_.fetch_add(1, std::memory_order_relaxed);

        // Rounds keep a steady beat; a round that overran starts the beat afresh
        // instead of running the missed ones back to back.
        const qint64 step =
            std::chrono::duration_cast<std::chrono::nanoseconds>(setup_.roundInterval).count();
        nextRound = QDeadlineTimer::addNSecs(nextRound, step);
        if (nextRound.hasExpired())
            nextRound.setRemainingTime(setup_.roundInterval, Qt::PreciseTimer);
        if (!pauseUntil(nextRound))
            break;
    }
}

bool snapshot::pauseUntil(const QDeadlineTimer& deadline) {
    QMutexLocker lock(&pauseLock_);
    while (!isInterruptionRequested()) {
        if (!wake_.wait(&pauseLock_, deadline))
            return true; // the beat came
    }
    return false;
}

} // namespace vv
