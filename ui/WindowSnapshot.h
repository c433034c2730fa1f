// The snapshot as a window runs it: "Sho&t" disables the window's listed
// controls and every window's Sho&t button, shows and focuses the end button
// and starts the worker; the end button (its click, Alt+F, or F alone while it
// has the focus) stops and waits for the worker and brings everything back.
// Each window that offers a snapshot owns one of these.
#pragma once

#include "icons/IconBoard.h"
#include "snapshot/SnapshotSession.h"

#include <QList>
#include <QObject>
#include <QPointer>

class QWidget;
class TButton;
class TImage;

namespace vv {
struct MainWindowState;
}

namespace vv::ui {

struct WindowSnapshotSetup {
    IconWindow window = IconWindow::Main; // whose snapshot picture is drawn
    TButton* shotButton = nullptr;        // Sho&t
    TButton* endButton = nullptr;         // Button11
    TImage* picture = nullptr;            // LowSnap or HighSnap
    TImage* deskShot = nullptr;           // the main window's DeskShot
    QList<QWidget*> disabledWhileRunning; // the window's own list
};

class WindowSnapshot : public QObject {
    Q_OBJECT
public:
    // `board` and `state` (captions, transparency colour) must outlive this
    // object. The destructor stops a running snapshot and waits for it.
    WindowSnapshot(IconBoard& board, const MainWindowState& state, WindowSnapshotSetup setup);
    ~WindowSnapshot() override;

    // Sho&t. A failed screen grab shows its message and ends at once.
    void start();
    // The end button: busy caption, stop and wait, controls back, OS5: LowSnap
    // becomes the half of HighSnap, prompt caption. Nothing when idle.
    void end();

    bool isRunning() const { return running_; }
    SnapshotSession& session() { return session_; }

    // Ends whatever snapshot runs on any window; for closing the program.
    static void endEverySnapshot();
    // Shows each window's snapshot picture as the board holds it now.
    static void showEverySnapshotPicture();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showPicture();
    QRgb transparencyColour() const;

    IconBoard& board_;
    const MainWindowState& state_;
    WindowSnapshotSetup setup_;
    SnapshotSession session_;
    bool running_ = false;
    QList<QPointer<QWidget>> disabledByStart_;
};

} // namespace vv::ui
