#include "ui/BuildInputs.h"

#include "app/CheckTexts.h"
#include "platform/Interrupts.h"
#include "ui/Dialogs.h"
#include "ui/TForm1.h"
#include "ui/TForm3.h"
#include "ui/ThemeWindow.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace vv::ui {
namespace {

// While the compiler runs the windows keep painting, but take no clicks or
// keys that could start something else; Escape or closing a window cancels
// the build.
class BuildWatch : public QObject {
public:
    BuildWatch() { QCoreApplication::instance()->installEventFilter(this); }
    ~BuildWatch() override { QCoreApplication::instance()->removeEventFilter(this); }

    bool cancelled() const { return cancelled_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::ShortcutOverride:
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
                cancelled_ = true;
            return true;
        case QEvent::Close:
            if (watched->isWidgetType() && static_cast<QWidget*>(watched)->isWindow())
                cancelled_ = true;
            return false;
        case QEvent::KeyRelease:
        case QEvent::Shortcut:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
            return true;
        default:
            return false;
        }
    }

private:
    bool cancelled_ = false;
};

// A build's result in the busy label's place: a label of the same place and
// look that stays until the next click or key press anywhere in the program.
class ResultNote : public QLabel {
public:
    ResultNote(QLabel* busyLabel, const QString& text) : QLabel(text, busyLabel->parentWidget()) {
        setObjectName(QStringLiteral("BuildResult"));
        setGeometry(busyLabel->geometry());
        setFont(busyLabel->font());
        setAlignment(busyLabel->alignment());
        setWordWrap(true);
        setAutoFillBackground(true);
        show();
        raise();
        QCoreApplication::instance()->installEventFilter(this);
    }

    void finish() {
        QCoreApplication::instance()->removeEventFilter(this);
        hide();
        deleteLater();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::KeyPress:
        case QEvent::ShortcutOverride:
            finish();
            break;
        default:
            break;
        }
        return QLabel::eventFilter(watched, event);
    }
};

} // namespace

void clearResultLines(QWidget* window) {
    for (QLabel* earlier :
         window->findChildren<QLabel*>(QStringLiteral("BuildResult"), Qt::FindDirectChildrenOnly))
        if (auto* note = dynamic_cast<ResultNote*>(earlier))
            note->finish();
}

void showResultLine(QWidget* place, const QString& text, int lifetimeMs) {
    auto* label = qobject_cast<QLabel*>(place);
    if (!label || !label->parentWidget())
        return;
    clearResultLines(label->parentWidget());
    auto* note = new ResultNote(label, text);
    if (lifetimeMs > 0)
        QTimer::singleShot(lifetimeMs, note, [note] { note->finish(); });
}

InstallResult installFromWindows(QWidget* installButton, QWidget* resultPlace) {
    ProcessLimits wait;
    wait.timeoutMs = InstallWaitMs;
    // The windows go on painting and taking clicks while the tool runs; only
    // a second hand-over waits for this one to be reported.
    wait.keepGoing = [] {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        return true;
    };
    // What an earlier hand-over or build said must not stand for this one.
    if (resultPlace->parentWidget())
        clearResultLines(resultPlace->parentWidget());
    const QPointer<QWidget> button(installButton);
    installButton->setEnabled(false);
    const InstallResult result =
        installAndWait(Form1->Edit1->text(), Form3->Edit1->text(), Form1->StartDir, currentMessages(), wait);
    if (button)
        button->setEnabled(true);
    switch (result.status) {
    case InstallResult::Status::Refused:
    case InstallResult::Status::Failed:
        dialogs().showMessage(result.text);
        break;
    case InstallResult::Status::Installed:
    case InstallResult::Status::StillRunning:
        showResultLine(resultPlace, result.text);
        break;
    }
    return result;
}

BuildOptions currentBuildOptions() {
    BuildOptions options;
    options.depths = Form3->checkedDepths();
    options.screenType = Form1->ScreenType;
    options.compressKeyword = Form1->CompressKeyword;
    options.transparentIndex = Form1->TransparentIndex;
    options.transparentRed = Form1->TransparentRed;
    options.transparentGreen = Form1->TransparentGreen;
    options.transparentBlue = Form1->TransparentBlue;
    options.versionNumber = Form1->VersionNumber;
    return options;
}

QStringList currentMessages() {
    if (!Form1)
        return {};
    return QStringList(Form1->Messages.begin(), Form1->Messages.end());
}

BuildRequest buildRequestFromWindows(BuildKind kind) {
    BuildRequest request;
    request.kind = kind;
    request.messages = currentMessages();
    request.databaseName = Form1->Edit1->text();
    request.options = currentBuildOptions();
    request.startDir = Form1->StartDir;
    return request;
}

std::optional<BuildOutcome> runBuildFromWindows(BuildKind kind, QWidget* busyLabel,
                                                const std::function<bool(BuildRequest&)>& gatherPieces) {
    BuildRequest request = buildRequestFromWindows(kind);
    if (const std::optional<QString> refusal =
            refusalOfBuildName(kind, request.databaseName, request.messages)) {
        dialogs().showMessage(*refusal);
        return std::nullopt;
    }
    if (!gatherPieces(request))
        return std::nullopt;
    busyLabel->show();
    busyLabel->repaint();
    BuildOutcome outcome;
    {
        BuildWatch watch;
        request.keepGoing = [&watch] {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            return !watch.cancelled() && interruptSignal() == 0;
        };
        outcome = runBuild(request);
    }
    for (const QString& message : outcome.messages)
        dialogs().showMessage(message);
    busyLabel->hide();
    if (outcome.messages.isEmpty() && outcome.databaseStamped)
        showResultLine(busyLabel,
                       databaseResultLine(request.startDir, request.databaseName, currentMessages()));
    return outcome;
}

bool settleLowArtOnly(QList<PieceFile>& pieces, const QList<DensityPair>& pairs) {
    if (pairs.isEmpty())
        return true;
    const int answer = dialogs().askChoice(
        messageOrBuiltIn(currentMessages(), Message::LowArtOnlyQuestion).arg(pairs.size()),
        {messageOrBuiltIn(currentMessages(), Message::DoubleAnswer),
         messageOrBuiltIn(currentMessages(), Message::AsItIsAnswer),
         messageOrBuiltIn(currentMessages(), Message::CancelAnswer)});
    switch (answer) {
    case 0:
        doubleLowPictures(pieces, pairs, outsideSheetColour());
        return true;
    case 1:
        return true;
    default:
        return false;
    }
}

} // namespace vv::ui
