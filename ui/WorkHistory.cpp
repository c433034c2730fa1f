#include "ui/WorkHistory.h"

#include "app/LanguageMessages.h"
#include "ui/BuildInputs.h"
#include "ui/Dialogs.h"
#include "ui/TAboutBox.h"
#include "ui/TForm1.h"
#include "ui/TForm2.h"
#include "ui/TForm3.h"
#include "ui/TForm6.h"
#include "ui/TForm7.h"
#include "ui/ThemeWindow.h"

#include <QAction>
#include <QKeyEvent>
#include <QLineEdit>

namespace vv::ui {
namespace {

const char* const kUndoName = "UndoAction";
const char* const kRedoName = "RedoAction";
const char* const kStartAfreshName = "StartAfreshAction";

QList<QWidget*> everyWindow() {
    QList<QWidget*> windows;
    for (QWidget* window : std::initializer_list<QWidget*>{Form1, Form2, Form3, AboutBox, Form6, Form7})
        if (window)
            windows << window;
    return windows;
}

QString text(const QStringList& messages, Message message) {
    return messageOrBuiltIn(messages, message);
}

// "Undo pick icon", or "Undo" when there is nothing to undo.
QString actionText(const QStringList& messages, std::optional<StepKind> step, Message named, Message bare) {
    if (!step)
        return text(messages, bare);
    return text(messages, named).arg(text(messages, stepNameMessage(*step)));
}

enum class UndoKey { None, Undo, Redo };

UndoKey undoKeyOf(const QKeyEvent* key) {
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    if (key->key() == Qt::Key_Z && modifiers == Qt::ControlModifier)
        return UndoKey::Undo;
    if ((key->key() == Qt::Key_Z && modifiers == (Qt::ControlModifier | Qt::ShiftModifier)) ||
        (key->key() == Qt::Key_Y && modifiers == Qt::ControlModifier))
        return UndoKey::Redo;
    return UndoKey::None;
}

// Turns typing in the name field into name steps. The name before an edit is
// remembered from the field's own changes, whichever of its two signals
// comes first; the undo keys are taken from the field, whose own undo would
// leave the program's history behind.
class NameFieldWatch : public QObject {
public:
    explicit NameFieldWatch(QLineEdit* field) : QObject(field), known_(field->text()), previous_(known_) {
        connect(field, &QLineEdit::textChanged, this, [this](const QString& now) {
            previous_ = known_;
            known_ = now;
        });
        connect(field, &QLineEdit::textEdited, this, [this](const QString& now) {
            editHistory().recordNameEdit(known_ == now ? previous_ : known_, now);
            previous_ = known_ = now;
        });
        connect(field, &QLineEdit::editingFinished, this, [] { editHistory().endNameBurst(); });
        field->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::ShortcutOverride:
            // Taken here, so the key comes as a key press rather than as the window's shortcut.
            if (undoKeyOf(static_cast<QKeyEvent*>(event)) != UndoKey::None) {
                event->accept();
                return true;
            }
            break;
        case QEvent::KeyPress:
            switch (undoKeyOf(static_cast<QKeyEvent*>(event))) {
            case UndoKey::Undo:
                editHistory().undo();
                return true;
            case UndoKey::Redo:
                editHistory().redo();
                return true;
            case UndoKey::None:
                break;
            }
            break;
        case QEvent::FocusOut:
            editHistory().endNameBurst();
            break;
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QString known_;
    QString previous_;
};

} // namespace

EditHistory& editHistory() {
    return Form1->History;
}

WorkState takeWorkFromWindows(WorkParts parts) {
    return takeWork(parts, themePieces(), Form1->IconBoard, Form1->Edit1->text());
}

void putWorkIntoWindows(const WorkState& state) {
    QString name = Form1->Edit1->text();
    putWork(state, themePieces(), Form1->IconBoard, name);
    if (state.name)
        Form1->Edit1->setText(name);
    showWorkOnWindows();
}

void showWorkOnWindows() {
    showPiecesOnThemeWindows();
    if (Form1)
        Form1->IconPicker->showSlotsAndSnapshot();
    if (Form7)
        Form7->IconPicker->showSlotsAndSnapshot();
}

void installUndoActions(QWidget* window, bool inMenu) {
    auto* undo = new QAction(window);
    undo->setObjectName(QLatin1String(kUndoName));
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    QObject::connect(undo, &QAction::triggered, window, [] { editHistory().undo(); });
    auto* redo = new QAction(window);
    redo->setObjectName(QLatin1String(kRedoName));
    redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    QObject::connect(redo, &QAction::triggered, window, [] { editHistory().redo(); });
    for (QAction* action : {undo, redo})
        action->setShortcutContext(Qt::WindowShortcut);
    window->addActions({undo, redo});
    // A window without a menu of actions has their keys all the same.
    if (inMenu) {
        auto* separator = new QAction(window);
        separator->setSeparator(true);
        window->addAction(separator);
    }
    updateUndoActions();
}

void installStartAfreshAction(QWidget* mainWindow) {
    auto* afresh = new QAction(mainWindow);
    afresh->setObjectName(QLatin1String(kStartAfreshName));
    QObject::connect(afresh, &QAction::triggered, mainWindow, [] { startAfresh(); });
    mainWindow->addAction(afresh);
    updateUndoActions();
}

void updateUndoActions() {
    if (!Form1)
        return;
    const QStringList messages = currentMessages();
    const EditHistory& history = editHistory();
    const QString undoText =
        actionText(messages, history.undoKind(), Message::UndoStepAction, Message::UndoAction);
    const QString redoText =
        actionText(messages, history.redoKind(), Message::RedoStepAction, Message::RedoAction);
    for (QWidget* window : everyWindow()) {
        for (QAction* action : window->actions()) {
            if (action->objectName() == QLatin1String(kUndoName)) {
                action->setText(undoText);
                action->setEnabled(history.canUndo());
            } else if (action->objectName() == QLatin1String(kRedoName)) {
                action->setText(redoText);
                action->setEnabled(history.canRedo());
            } else if (action->objectName() == QLatin1String(kStartAfreshName)) {
                action->setText(text(messages, Message::StartAfreshAction));
            }
        }
    }
}

void watchNameField(QLineEdit* field) {
    new NameFieldWatch(field);
}

void resetIconWindow(IconWindow window) {
    IconBoard& board = Form1->IconBoard;
    if (const int picked = board.pickedSlotCount(window); picked > 0) {
        const QStringList messages = currentMessages();
        const int answer =
            dialogs().askChoice(text(messages, Message::ResetQuestion).arg(picked),
                                {text(messages, Message::YesAnswer), text(messages, Message::NoAnswer)});
        if (answer != 0)
            return;
    }
    const bool main = window == IconWindow::Main;
    const WorkParts parts = main ? WorkPart::MainSlots | WorkPart::LowSnap | WorkPart::Name
                                 : WorkPart::Os5Slots | WorkPart::HighSnap;
    editHistory().record(StepKind::ResetData, parts, [&] {
        board.reset(window);
        if (main)
            Form1->Edit1->clear();
    });
    showWorkOnWindows();
}

void startAfresh() {
    editHistory().record(StepKind::StartAfresh, kAllWorkParts, [] { putWorkIntoWindows(builtInWork()); });
}

} // namespace vv::ui
