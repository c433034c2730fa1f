// Undo and redo for the whole program: one stack of steps, each the parts of
// the work one action changed, as they were before and after it. The windows
// share one history; it reaches the work only through the two functions it is
// given, so it knows nothing of windows.
#pragma once

#include "app/LanguageFile.h"
#include "work/WorkState.h"

#include <QElapsedTimer>
#include <QUndoStack>

#include <functional>
#include <optional>

namespace vv {

// What a step did; each kind has its name in the language file.
enum class StepKind { SheetLoad, IconPick, ResetData, OpenDatabase, NameEdit, StartAfresh };

// The language line naming a step, for "Undo <step>".
Message stepNameMessage(StepKind kind);

class EditHistory {
public:
    // At most this many steps are kept...
    static constexpr int kStepLimit = 100;
    // ...and at most this many bytes of pictures; the oldest steps go first.
    static constexpr qint64 kPictureByteLimit = 64 * 1024 * 1024;
    // Name edits further apart than this are steps of their own.
    static constexpr int kDefaultNameBurstPauseMs = 2000;

    using TakeWork = std::function<WorkState(WorkParts)>;
    using PutWork = std::function<void(const WorkState&)>;

    // `take` reads the parts of the work it is asked for; `put` puts the parts
    // a state holds back and shows them.
    EditHistory(TakeWork take, PutWork put);
    // Quietly: what listens to the stack may be gone already.
    ~EditHistory();
    EditHistory(const EditHistory&) = delete;
    EditHistory& operator=(const EditHistory&) = delete;

    // Runs `change` as one step over `parts`, which must hold everything it
    // changes. A change that leaves them as they were is no step. Returns
    // whether a step was added.
    bool record(StepKind kind, WorkParts parts, const std::function<void()>& change);
    // The name typed from `before` to `after`. Edits follow one another into
    // one step until the burst ends: endNameBurst(), another step, an undo or
    // a redo, or a pause longer than the burst pause.
    void recordNameEdit(const QString& before, const QString& after);
    void endNameBurst();
    // Negative: only the other ends count (tests, where time is no measure).
    void setNameBurstPause(int ms) { nameBurstPauseMs_ = ms; }

    bool canUndo() const { return stack_.canUndo(); }
    bool canRedo() const { return stack_.canRedo(); }
    // The step an undo or redo would take back or do again.
    std::optional<StepKind> undoKind() const;
    std::optional<StepKind> redoKind() const;
    void undo();
    void redo();
    // Forgets every step; the work stays as it is.
    void clear();

    int stepCount() const { return stack_.count(); }
    // The bytes of distinct pictures the steps hold.
    qint64 pictureBytes() const;

    // For its signals: indexChanged follows every change of the work by a
    // step, undo or redo.
    const QUndoStack& stack() const { return stack_; }

private:
    class Step;
    std::optional<StepKind> kindAt(int index) const;
    void push(Step* step);
    void keepWithinBounds();

    TakeWork take_;
    PutWork put_;
    QUndoStack stack_;
    // Set while the stack is rebuilt: its steps' undo and redo change nothing.
    bool quiet_ = false;
    bool nameBurstOpen_ = false;
    int nameBurstPauseMs_ = kDefaultNameBurstPauseMs;
    QElapsedTimer sinceNameEdit_;
};

} // namespace vv
