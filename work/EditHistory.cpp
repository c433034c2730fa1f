#include "work/EditHistory.h"

#include "app/LanguageMessages.h"

#include <QList>

namespace vv {

Message stepNameMessage(StepKind kind) {
    switch (kind) {
    case StepKind::SheetLoad:
        return Message::SheetLoadStep;
    case StepKind::IconPick:
        return Message::IconPickStep;
    case StepKind::ResetData:
        return Message::ResetDataStep;
    case StepKind::OpenDatabase:
        return Message::OpenDatabaseStep;
    case StepKind::NameEdit:
        return Message::NameEditStep;
    case StepKind::StartAfresh:
        return Message::StartAfreshStep;
    }
    return Message::SheetLoadStep; // not reached: every kind is a case above
}

// One step: the parts as they were before and after. The action itself has
// already happened when the step is pushed, so its first redo does nothing.
class EditHistory::Step : public QUndoCommand {
public:
    Step(EditHistory& history, StepKind kind, WorkState before, WorkState after)
        : history_(history), kind_(kind), before_(std::move(before)), after_(std::move(after)) {
        setText(builtInMessage(stepNameMessage(kind)));
    }

    StepKind kind() const { return kind_; }
    const WorkState& before() const { return before_; }
    const WorkState& after() const { return after_; }

    void undo() override {
        if (!history_.quiet_)
            history_.put_(before_);
    }
    void redo() override {
        if (done_ && !history_.quiet_)
            history_.put_(after_);
        done_ = true;
    }
    int id() const override { return kind_ == StepKind::NameEdit ? 1 : -1; }
    bool mergeWith(const QUndoCommand* other) override {
        // A stack made again from kept steps keeps them apart.
        if (history_.quiet_ || !history_.nameBurstOpen_)
            return false;
        after_ = static_cast<const Step*>(other)->after_;
        // Typed back to where the burst began: no step at all.
        setObsolete(after_ == before_);
        return true;
    }

private:
    EditHistory& history_;
    StepKind kind_;
    WorkState before_;
    WorkState after_;
    bool done_ = false;
};

EditHistory::EditHistory(TakeWork take, PutWork put) : take_(std::move(take)), put_(std::move(put)) {
    stack_.setUndoLimit(kStepLimit);
}

EditHistory::~EditHistory() {
    stack_.blockSignals(true);
}

bool EditHistory::record(StepKind kind, WorkParts parts, const std::function<void()>& change) {
    endNameBurst();
    WorkState before = take_(parts);
    change();
    WorkState after = take_(parts);
    if (after == before)
        return false;
    push(new Step(*this, kind, std::move(before), std::move(after)));
    return true;
}

void EditHistory::recordNameEdit(const QString& before, const QString& after) {
    if (before == after)
        return;
    if (nameBurstPauseMs_ >= 0 && sinceNameEdit_.isValid() && sinceNameEdit_.elapsed() > nameBurstPauseMs_)
        endNameBurst();
    WorkState was;
    was.name = before;
    WorkState now;
    now.name = after;
    push(new Step(*this, StepKind::NameEdit, std::move(was), std::move(now)));
    nameBurstOpen_ = true;
    sinceNameEdit_.start();
}

void EditHistory::endNameBurst() {
    nameBurstOpen_ = false;
}

std::optional<StepKind> EditHistory::kindAt(int index) const {
    if (index < 0 || index >= stack_.count())
        return std::nullopt;
    return static_cast<const Step*>(stack_.command(index))->kind();
}

std::optional<StepKind> EditHistory::undoKind() const {
    return kindAt(stack_.index() - 1);
}

std::optional<StepKind> EditHistory::redoKind() const {
    return kindAt(stack_.index());
}

void EditHistory::undo() {
    endNameBurst();
    stack_.undo();
}

void EditHistory::redo() {
    endNameBurst();
    stack_.redo();
}

void EditHistory::clear() {
    endNameBurst();
    stack_.clear();
}

qint64 EditHistory::pictureBytes() const {
    QSet<qint64> seen;
    qint64 bytes = 0;
    for (int i = 0; i < stack_.count(); ++i) {
        const auto* step = static_cast<const Step*>(stack_.command(i));
        bytes += step->before().addPictureBytes(seen) + step->after().addPictureBytes(seen);
    }
    return bytes;
}

void EditHistory::push(Step* step) {
    stack_.push(step);
    keepWithinBounds();
}

// QUndoStack drops its oldest steps past the step limit by itself but knows
// nothing of memory: over the picture limit, the stack is made again from its
// newest steps that fit, the last one always kept.
void EditHistory::keepWithinBounds() {
    if (pictureBytes() <= kPictureByteLimit)
        return;
    struct Kept {
        StepKind kind;
        WorkState before;
        WorkState after;
    };
    QList<Kept> steps;
    for (int i = 0; i < stack_.count(); ++i) {
        const auto* step = static_cast<const Step*>(stack_.command(i));
        steps.append({step->kind(), step->before(), step->after()});
    }
    qint64 bytes = 0;
    QSet<qint64> seen;
    qsizetype first = steps.size();
    while (first > 0) {
        const Kept& older = steps[first - 1];
        QSet<qint64> trial = seen;
        const qint64 more = older.before.addPictureBytes(trial) + older.after.addPictureBytes(trial);
        if (first < steps.size() && bytes + more > kPictureByteLimit)
            break;
        bytes += more;
        seen = trial;
        --first;
    }
    const int index = stack_.index();
    quiet_ = true;
    stack_.clear();
    for (qsizetype i = first; i < steps.size(); ++i)
        stack_.push(new Step(*this, steps[i].kind, steps[i].before, steps[i].after));
    stack_.setIndex(qMax(0, index - int(first)));
    quiet_ = false;
}

} // namespace vv
