// The real conversations with the user: Qt message boxes, file and colour
// dialogs, modal windows and the help viewer.
#pragma once

#include "ui/Dialogs.h"

namespace vv {

class QtDialogs : public Dialogs {
public:
    void showMessage(const QString& text) override;
    int askChoice(const QString& question, const QStringList& answers) override;
    void showModal(QWidget* window) override;
    QString chooseOpenFile(const FileDialogRequest& request) override;
    QString chooseSaveFile(const FileDialogRequest& request) override;
    std::optional<QColor> chooseColor(const QColor& initial) override;
    void showHelp(const QString& helpFile) override;
};

} // namespace vv
