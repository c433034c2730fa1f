#include "ui/WindowSnapshot.h"

#include "app/MainWindowState.h"
#include "ui/Controls.h"
#include "ui/Dialogs.h"
#include "ui/SessionKeeping.h"
#include "ui/TImage.h"

#include <QKeyEvent>

namespace vv::ui {
namespace {

// Every window's snapshot, so a start can disable every Sho&t button and the
// program's end can stop whichever one runs.
QList<WindowSnapshot*>& everySnapshot() {
    static QList<WindowSnapshot*> all;
    return all;
}

QString builtInPrompt() {
    return builtInLanguageLines().value(languageLineFor("Form1", "SnapPromptCaption") - 1);
}

int colourComponent(const QString& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? qBound(0, value, 255) : 0;
}

} // namespace

WindowSnapshot::WindowSnapshot(IconBoard& board, const MainWindowState& state, WindowSnapshotSetup setup)
    : board_(board), state_(state), setup_(std::move(setup)), session_(board, setup_.window) {
    everySnapshot().append(this);
    connect(&session_, &SnapshotSession::snapshotDrawn, this, &WindowSnapshot::showPicture);
    if (setup_.endButton)
        setup_.endButton->installEventFilter(this);
}

WindowSnapshot::~WindowSnapshot() {
    everySnapshot().removeOne(this);
    session_.End();
}

void WindowSnapshot::start() {
    if (running_)
        return;
    running_ = true;
    disabledByStart_.clear();
    for (QWidget* control : setup_.disabledWhileRunning) {
        // Only what this start turns off comes back on at the end.
        if (control && !control->testAttribute(Qt::WA_ForceDisabled)) {
            control->setEnabled(false);
            disabledByStart_.append(control);
        }
    }
    setup_.endButton->show();
    setup_.endButton->setFocus();

    const QImage deskTemplate = setup_.deskShot ? setup_.deskShot->picture() : QImage();
    const SnapshotStart started = session_.Start(deskTemplate, transparencyColour());
    for (WindowSnapshot* any : everySnapshot())
        if (any->setup_.shotButton)
            any->setup_.shotButton->setEnabled(false);
    if (!started.started) {
        dialogs().showMessage(started.message);
        end();
        return;
    }
    if (setup_.deskShot)
        setup_.deskShot->setPicture(session_.deskShot());
}

void WindowSnapshot::end() {
    if (!running_)
        return;
    TButton* endButton = setup_.endButton;
    if (!state_.SnapBusyCaption.isEmpty())
        endButton->setText(state_.SnapBusyCaption);
    endButton->setEnabled(false);
    endButton->repaint();

    session_.End(); // stop, wait, destroy; on the OS5 window also halves HighSnap into LowSnap
    running_ = false;

    for (WindowSnapshot* any : everySnapshot())
        if (any->setup_.shotButton)
            any->setup_.shotButton->setEnabled(true);
    endButton->hide();
    for (const QPointer<QWidget>& control : std::as_const(disabledByStart_))
        if (control)
            control->setEnabled(true);
    disabledByStart_.clear();
    showEverySnapshotPicture();
    // The snapshot pictures are part of the kept work.
    noteWorkChanged();

    endButton->setText(state_.SnapPromptCaption.isEmpty() ? builtInPrompt() : state_.SnapPromptCaption);
    endButton->setEnabled(true);
}

void WindowSnapshot::endEverySnapshot() {
    for (WindowSnapshot* any : everySnapshot())
        any->end();
}

void WindowSnapshot::showEverySnapshotPicture() {
    for (WindowSnapshot* any : everySnapshot())
        any->showPicture();
}

bool WindowSnapshot::eventFilter(QObject* watched, QEvent* event) {
    // F alone (or with Shift, as some keyboards and tools send it) ends the
    // snapshot; Alt+F comes through the caption's mnemonic.
    if (watched == setup_.endButton && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers others = key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
        if (key->key() == Qt::Key_F && others == Qt::NoModifier) {
            if (!key->isAutoRepeat() && setup_.endButton->isEnabled())
                setup_.endButton->click();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void WindowSnapshot::showPicture() {
    if (setup_.picture)
        setup_.picture->setPicture(board_.snapshotPicture(setup_.window));
}

QRgb WindowSnapshot::transparencyColour() const {
    return qRgb(colourComponent(state_.TransparentRed), colourComponent(state_.TransparentGreen),
                colourComponent(state_.TransparentBlue));
}

} // namespace vv::ui
