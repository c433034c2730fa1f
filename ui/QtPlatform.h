// The real outside world: Qt dialogs, QProcess and the primary screen.
#pragma once

#include "platform/Platform.h"

namespace vv {

class QtPlatform : public Platform {
public:
    void showMessage(const QString& text) override;
    void showModal(QWidget* window) override;
    QString chooseOpenFile(const FileDialogRequest& request) override;
    std::optional<QColor> chooseColor(const QColor& initial) override;
    void showHelp(const QString& helpFile) override;
    ProcessOutcome runAndWait(const QString& program, const QStringList& arguments,
                              const QString& workingDirectory, const ProcessLimits& limits) override;
    bool startDetached(const QString& program, const QStringList& arguments,
                       const QString& workingDirectory) override;
    QImage grabScreen(const QSize& size) override;
    QPoint pointerPosition() override;
    double screenRefreshRate() override;
};

} // namespace vv
