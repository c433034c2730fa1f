#include "ui/BuildInputs.h"

#include "app/CheckTexts.h"
#include "platform/Interrupts.h"
#include "ui/Dialogs.h"
#include "ui/TForm1.h"
#include "ui/TForm3.h"
#include "ui/ThemeWindow.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFontMetrics>
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

// A build's result in the main window's name row: one line, cut in the
// middle where it is too long (whole in its tooltip), so it covers no picture
// the user just changed. It goes at the next click or key press anywhere in
// the program, or after a few seconds.
class ResultNote : public QLabel {
public:
    explicit ResultNote(const QString& text) : QLabel(Form1) {
        setObjectName(QStringLiteral("BuildResult"));
        const QRect row = Form1->Edit1->geometry().united(Form1->Button8->geometry());
        setGeometry(row);
        QFont bold = font();
        bold.setBold(true);
        setFont(bold);
        setAlignment(Qt::AlignCenter);
        setFrameStyle(QFrame::Box | QFrame::Plain);
        setAutoFillBackground(true);
        setText(QFontMetrics(bold).elidedText(text, Qt::ElideMiddle, contentsRect().width() - 8));
        setToolTip(text);
        show();
        raise();
        QTimer::singleShot(kResultNoteMilliseconds, this, &ResultNote::finish);
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

void showBuildResult(const QString& line) {
    hideBuildResult();
    if (Form1)
        new ResultNote(line);
}

void hideBuildResult() {
    if (!Form1)
        return;
    for (QLabel* earlier :
         Form1->findChildren<QLabel*>(QStringLiteral("BuildResult"), Qt::FindDirectChildrenOnly))
        if (auto* note = dynamic_cast<ResultNote*>(earlier); note && !note->isHidden())
            note->finish();
}

void clearResultLines(QWidget*) {
    hideBuildResult();
}

// Every result line takes the one place over the name field, so it never
// covers a picture; `place` names the window it belongs to.
void showResultLine(QWidget*, const QString& text, int) {
    showBuildResult(text);
}

InstallResult installFromWindows(QWidget* installButton, QWidget* resultPlace) {
    ProcessLimits wait;
    wait.timeoutMs = kInstallWaitMs;
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

QString currentText(Message message) {
    if (!Form1)
        return builtInMessage(message);
    const QString& text = Form1->Messages[message];
    return text.isEmpty() ? builtInMessage(message) : text;
}

QString currentCountedText(Message one, Message many, qsizetype count) {
    return countedMessage(currentMessages(), one, many, count);
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
        showBuildResult(databaseResultLine(request.startDir, request.databaseName, request.messages));
    return outcome;
}

bool settleLowArtOnly(QList<PieceFile>& pieces, const QList<DensityPair>& pairs) {
    if (pairs.isEmpty())
        return true;
    const int answer = dialogs().askChoice(
        currentCountedText(Message::LowArtOnlyQuestionOne, Message::LowArtOnlyQuestion, pairs.size()),
        {currentText(Message::DoubleAnswer), currentText(Message::AsItIsAnswer),
         currentText(Message::CancelAnswer)});
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
