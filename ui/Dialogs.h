// The windows' conversations with the user: message boxes, questions, modal
// windows, file and colour dialogs and help. Windows reach these only through
// this interface, so tests can answer every one of them. The core never talks
// to the user: it returns its outcome and the window shows it.
#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

namespace vv {

struct FileDialogRequest {
    QString title;         // empty: the toolkit's default title
    QString directory;     // where the dialog opens
    QString filter;        // Qt filter string; empty: every file
    QString suggestedName; // save dialogs: the file name offered
    QString defaultSuffix; // save dialogs: added to a typed name without an extension
};

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // A one-button modal message box.
    virtual void showMessage(const QString& text) = 0;
    // A modal question with one button per answer, the first being the
    // default. Returns the index of the chosen answer, or -1 when the question
    // was closed without one.
    virtual int askChoice(const QString& question, const QStringList& answers) = 0;
    // Shows a window modally and returns when it has been closed.
    virtual void showModal(QWidget* window) = 0;
    // Returns the chosen file's path, or an empty string when the user cancelled.
    virtual QString chooseOpenFile(const FileDialogRequest& request) = 0;
    // Returns the path to save to, or an empty string when the user cancelled.
    virtual QString chooseSaveFile(const FileDialogRequest& request) = 0;
    // Returns the chosen colour, or nothing when the user cancelled.
    virtual std::optional<QColor> chooseColor(const QColor& initial) = 0;
    // Shows a help file in the program's own viewer.
    virtual void showHelp(const QString& helpFile) = 0;
};

// The dialogs in use. Never null once the program or a test has installed them.
Dialogs& dialogs();
// Installs `d` (not owned) and returns the previous one.
Dialogs* setDialogs(Dialogs* d);

} // namespace vv
