#include "ui/SessionKeeping.h"

#include "app/LanguageMessages.h"
#include "ui/BuildInputs.h"
#include "ui/Dialogs.h"
#include "ui/TForm1.h"
#include "ui/WorkHistory.h"

#include <QDir>
#include <QTimer>

namespace vv::ui {
namespace {

class SessionKeeper : public QObject {
public:
    SessionKeeper(QWidget* mainWindow, const QString& startDir) : QObject(mainWindow), folder_(startDir) {
        setObjectName(QStringLiteral("SessionKeeper"));
        timer_.setSingleShot(true);
        connect(&timer_, &QTimer::timeout, this, [this] { keepIfChanged(); });
    }

    SessionFolder& folder() { return folder_; }

    void changed() {
        changed_ = true;
        // Not restarted by later changes: a second after the first one at the latest.
        if (!timer_.isActive())
            timer_.start(kSessionKeepDelayMs);
    }

    void keepIfChanged() {
        timer_.stop();
        if (!changed_)
            return;
        changed_ = false;
        const QString problem = folder_.keep(takeWorkFromWindows(kAllWorkParts));
        if (problem.isEmpty() || told_)
            return;
        told_ = true;
        dialogs().showMessage(messageOrBuiltIn(currentMessages(), Message::SessionNotKept)
                                  .arg(QDir::toNativeSeparators(folder_.folderPath()), problem));
    }

private:
    SessionFolder folder_;
    QTimer timer_;
    bool changed_ = false;
    bool told_ = false;
};

SessionKeeper* keeper() {
    return Form1
               ? Form1->findChild<SessionKeeper*>(QStringLiteral("SessionKeeper"), Qt::FindDirectChildrenOnly)
               : nullptr;
}

} // namespace

void installSessionKeeping(QWidget* mainWindow, const QString& startDir) {
    new SessionKeeper(mainWindow, startDir);
}

SessionFolder::Restored::Status restoreKeptSession() {
    SessionKeeper* keeping = keeper();
    if (!keeping)
        return SessionFolder::Restored::Status::None;
    const SessionFolder::Restored restored = keeping->folder().restore();
    const QStringList messages = currentMessages();
    switch (restored.status) {
    case SessionFolder::Restored::Status::None:
        break;
    case SessionFolder::Restored::Status::Restored:
        putWorkIntoWindows(restored.work);
        editHistory().clear();
        showResultLine(Form1->Label2, messageOrBuiltIn(messages, Message::SessionRestored), kSessionNoteMs);
        break;
    case SessionFolder::Restored::Status::Damaged:
        showResultLine(Form1->Label2,
                       messageOrBuiltIn(messages, Message::SessionNotRestored)
                           .arg(QLatin1String(kSessionFolderName), restored.problem),
                       kSessionNoteMs);
        break;
    }
    return restored.status;
}

void noteWorkChanged() {
    if (SessionKeeper* keeping = keeper())
        keeping->changed();
}

void keepSessionNow() {
    if (SessionKeeper* keeping = keeper())
        keeping->keepIfChanged();
}

} // namespace vv::ui
