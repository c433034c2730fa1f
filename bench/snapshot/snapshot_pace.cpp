// Measures the snapshot worker: rounds per second and CPU time while the
// pointer is still and while it moves, and the time from a pointer move to the
// repaint request arriving on the GUI thread.
// Usage: snapshot_pace [--cursor] [--seconds N] [--samples N]
//   --cursor  read and move the real pointer (QCursor) instead of a scripted one;
//             run it under a display (Xvfb) to include the pointer query's cost.
#include "platform/Platform.h"
#include "snapshot/SnapshotSession.h"
#include "snapshot/snapshot.h"

#include <QCursor>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <QScreen>
#include <QTimer>

#include <pthread.h>
#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <vector>

using namespace vv;

namespace {

bool useCursor = false;

// The screen, frozen at 1280 x 1024, and the pointer: either the real one or
// one the benchmark moves, optionally on every read.
class BenchPlatform : public Platform {
public:
    std::atomic<int> x{400}, y{300};
    std::atomic<bool> moveOnEveryRead{false};

    ProcessOutcome runAndWait(const QString&, const QStringList&, const QString&,
                              const ProcessLimits&) override {
        return {};
    }
    bool startDetached(const QString&, const QStringList&, const QString&) override { return false; }
    QImage grabScreen(const QSize& size) override {
        QImage desk(size.isValid() ? size : QSize(1280, 1024), QImage::Format_RGB32);
        for (int row = 0; row < desk.height(); ++row) {
            auto* line = reinterpret_cast<QRgb*>(desk.scanLine(row));
            for (int col = 0; col < desk.width(); ++col)
                line[col] = qRgb(col & 0xFF, row & 0xFF, (col ^ row) & 0xFF);
        }
        return desk;
    }
    QPoint pointerPosition() override {
        if (useCursor)
            return QCursor::pos();
        if (moveOnEveryRead)
            return {(x.fetch_add(1) % 1200) + 40, y.load()};
        return {x.load(), y.load()};
    }
    double screenRefreshRate() override {
        QScreen* screen = QGuiApplication::primaryScreen();
        return screen ? screen->refreshRate() : 60.0;
    }

    void moveTo(QPoint p) {
        if (useCursor) {
            QCursor::setPos(p);
        } else {
            x = p.x();
            y = p.y();
        }
    }
};

double seconds(const timespec& t) {
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

double threadCpuSeconds(pthread_t thread) {
    clockid_t clock;
    timespec t{};
    if (pthread_getcpuclockid(thread, &clock) != 0 || clock_gettime(clock, &t) != 0)
        return 0.0;
    return seconds(t);
}

double processCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void spinEventLoop(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// One phase of the worker on its own: rounds, copies and CPU over `ms`.
void measurePhase(BenchPlatform& platform, IconBoard& board, const char* name, int ms, bool moving) {
    SnapshotSetup setup;
    setup.deskShot = platform.grabScreen(QSize(1280, 1024));
    setup.roundInterval = snapshotRoundInterval(platform.screenRefreshRate());
    platform.moveOnEveryRead = moving && !useCursor;
    snapshot worker(board, platform, setup);
    worker.SetTarget(1);
    std::atomic<pthread_t> thread{};
    std::atomic<bool> haveThread{false};
    QObject::connect(
        &worker, &QThread::started, &worker,
        [&] {
            thread = pthread_self();
            haveThread = true;
        },
        Qt::DirectConnection);

    // With the real pointer, "moving" means the benchmark moves it every 4 ms.
    QTimer mover;
    int step = 0;
    QObject::connect(&mover, &QTimer::timeout,
                     [&] { platform.moveTo(QPoint(40 + (step++ * 7) % 1200, 300)); });
    if (moving && useCursor)
        mover.start(4);

    const double processBefore = processCpuSeconds();
    QElapsedTimer wall;
    wall.start();
    worker.Resume();
    while (!haveThread)
        QThread::yieldCurrentThread();
    const double workerBefore = threadCpuSeconds(thread);
    spinEventLoop(ms);
    const double workerCpu = threadCpuSeconds(thread) - workerBefore;
    worker.RequestStop();
    worker.wait();
    const double elapsed = wall.nsecsElapsed() / 1e9;
    const double processCpu = processCpuSeconds() - processBefore;
    mover.stop();
    std::printf(
        "%-8s rounds %8.1f /s  copies %8.1f /s  worker CPU %6.3f %% of a core  whole process %6.3f %%\n",
        name, worker.rounds() / elapsed, worker.copies() / elapsed, 100.0 * workerCpu / elapsed,
        100.0 * processCpu / elapsed);
}

// Pointer moves at irregular moments; each one timed until the session's
// repaint request is handled on the GUI thread.
void measureLatency(BenchPlatform& platform, IconBoard& board, int samples) {
    platform.moveOnEveryRead = false;
    SnapshotSession session(board, IconWindow::Os5);
    QElapsedTimer clock;
    clock.start();
    qint64 movedAt = -1;
    std::vector<double> latencies;
    QObject::connect(&session, &SnapshotSession::snapshotDrawn, [&] {
        if (movedAt < 0)
            return;
        latencies.push_back((clock.nsecsElapsed() - movedAt) / 1e6);
        movedAt = -1;
    });
    if (!session.Start(QImage(QSize(1280, 1024), QImage::Format_RGB32), 0xFF00FF00u).started) {
        std::printf("latency: the screen could not be read\n");
        return;
    }
    spinEventLoop(50);
    QRandomGenerator random(7);
    int missed = 0;
    for (int i = 0; i < samples; ++i) {
        const QPoint next(40 + int(random.bounded(1200)), 40 + int(random.bounded(900)));
        movedAt = clock.nsecsElapsed();
        platform.moveTo(next);
        // Irregular gaps, so moves land anywhere within the worker's beat.
        spinEventLoop(20 + int(random.bounded(30)));
        if (movedAt >= 0) {
            ++missed;
            movedAt = -1;
        }
    }
    session.End();
    if (latencies.empty()) {
        std::printf("latency: no repaint request arrived (%d moves)\n", missed);
        return;
    }
    std::sort(latencies.begin(), latencies.end());
    double sum = 0;
    for (double l : latencies)
        sum += l;
    const auto at = [&](double q) {
        return latencies[std::min(latencies.size() - 1, size_t(q * latencies.size()))];
    };
    std::printf(
        "latency  move to repaint request on the GUI thread, %zu moves: mean %.2f ms  median %.2f ms  "
        "95%% %.2f ms  max %.2f ms  (one frame at 60 Hz: 16.67 ms; moves with no request: %d)\n",
        latencies.size(), sum / latencies.size(), at(0.5), at(0.95), latencies.back(), missed);
}

} // namespace

int main(int argc, char** argv) {
    int secondsPerPhase = 3;
    int samples = 200;
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg = argv[i];
        if (arg == "--cursor")
            useCursor = true;
        else if (arg == "--seconds" && i + 1 < argc)
            secondsPerPhase = std::max(1, atoi(argv[++i]));
        else if (arg == "--samples" && i + 1 < argc)
            samples = std::max(1, atoi(argv[++i]));
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    BenchPlatform bench;
    setPlatform(&bench);
    IconBoard board;

    const double rate = bench.screenRefreshRate();
    std::printf("snapshot worker on %s, pointer %s, screen %.1f Hz, round interval %lld us\n",
                qPrintable(QGuiApplication::platformName()), useCursor ? "real (QCursor)" : "scripted", rate,
                static_cast<long long>(snapshotRoundInterval(rate).count()));
    measurePhase(bench, board, "still", secondsPerPhase * 1000, false);
    measurePhase(bench, board, "moving", secondsPerPhase * 1000, true);
    measureLatency(bench, board, samples);
    return 0;
}
