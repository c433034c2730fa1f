// One window's desktop snapshot from "Sho&t" to the end key: the one screen
// grab on the GUI thread, the worker that follows the pointer, its stop and
// wait, and the half-size copy that closes a snapshot on the OS5 window.
#pragma once

#include "icons/IconBoard.h"
#include "snapshot/snapshot.h"

#include <QImage>
#include <QObject>
#include <QRgb>
#include <QString>

#include <chrono>
#include <memory>

namespace vv {

// Where a failed screen grab sends the user.
inline constexpr char kSnapshotContactAddress[] = "support@vedivavurir.example";

// The text shown when the screen cannot be read.
QString deskShotNullMessage();

// The pause between two worker rounds for a screen of `refreshRate` Hz: half
// a frame, so a pointer move reaches the picture within the frame it happened
// in. Rates that make no sense (0, negative, absurdly high) count as 60 Hz.
std::chrono::microseconds snapshotRoundInterval(double refreshRate);

struct SnapshotStart {
    bool started = false;
    QString message; // for the user when not started; empty when started
};

class SnapshotSession : public QObject {
    Q_OBJECT
public:
    // Snapshots of this session draw into the snapshot picture of `window`
    // (Main: LowSnap, target 0; Os5: HighSnap, target 1) on `board`, which
    // must outlive the session.
    SnapshotSession(IconBoard& board, IconWindow window, QObject* parent = nullptr);
    // A snapshot still running is stopped and waited for; nothing is copied.
    ~SnapshotSession() override;

    // Reads the screen once, from its top-left corner, at the size of
    // `deskShotTemplate` (the picture of resource.bmp) and in its pixel
    // format; with no template picture, the whole screen. Then starts the
    // worker. Parts of the followed area that lie off the desktop picture
    // show `outside`. Fails with deskShotNullMessage() when the screen
    // cannot be read: no worker runs and the snapshot pictures stay as they
    // were. Does nothing and fails with an empty message while a snapshot runs.
    // Call on the GUI thread.
    SnapshotStart Start(const QImage& deskShotTemplate, QRgb outside);

    // Stops the worker, waits for it and destroys it; on the OS5 window
    // LowSnap then becomes the half-size image of HighSnap. Without a
    // running worker (never started, or the grab failed) nothing changes.
    void End();

    bool isRunning() const { return worker_ != nullptr; }
    IconWindow window() const { return window_; }
    // The worker of the running snapshot, or null.
    snapshot* SnapshotThread() const { return worker_.get(); }
    // The frozen desktop of the last started snapshot.
    const QImage& deskShot() const { return deskShot_; }

signals:
    // The worker drew a new picture into this session's snapshot picture;
    // delivered on the session's (GUI) thread. Repaint from the board.
    void snapshotDrawn(vv::IconWindow window);

private:
    void stopWorker();

    IconBoard& board_;
    const IconWindow window_;
    QImage deskShot_;
    std::unique_ptr<snapshot> worker_;
};

} // namespace vv
