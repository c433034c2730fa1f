// Dialogs for window tests: record every message, question, dialog and modal
// window, and answer from queues prepared by the test.
#pragma once

#include "ui/Dialogs.h"

#include "support/RecordingPlatform.h"

#include <QList>
#include <QQueue>

#include <functional>
#include <optional>

namespace vv::test {

class RecordingDialogs : public Dialogs {
public:
    RecordingDialogs();
    ~RecordingDialogs() override;

    // What the program asked for, in order.
    QStringList messages;
    QList<FileDialogRequest> fileDialogs;
    QStringList helpFiles;
    QList<QWidget*> modalWindows;
    // Each question asked and the answers it offered.
    QStringList questions;
    QList<QStringList> questionAnswers;

    // Answers. An empty queue means "cancel".
    QQueue<QString> fileAnswers;
    QQueue<std::optional<QColor>> colorAnswers;
    // Index of the answer to each question; an empty queue closes it (-1).
    QQueue<int> choiceAnswers;
    // Called while a modal window is "shown"; the window is hidden again afterwards.
    std::function<void(QWidget*)> onModal;

    void showMessage(const QString& text) override;
    int askChoice(const QString& question, const QStringList& answers) override;
    void showModal(QWidget* window) override;
    QString chooseOpenFile(const FileDialogRequest& request) override;
    // Save dialogs are recorded in fileDialogs too and answered from fileAnswers.
    QString chooseSaveFile(const FileDialogRequest& request) override;
    std::optional<QColor> chooseColor(const QColor& initial) override;
    void showHelp(const QString& helpFile) override;

private:
    Dialogs* previous_ = nullptr;
};

// Everything a window may reach, recorded: the core's outside world and the
// conversations with the user, both installed while it lives.
class RecordingDesktop : public RecordingPlatform, public RecordingDialogs {};

} // namespace vv::test
