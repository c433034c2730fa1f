// The platform of the command-line tool: processes run for real, there is no
// window to show anything in, so a message goes to the error stream and every
// dialog answers "cancelled".
#pragma once

#include "platform/Platform.h"

#include <QIODevice>

class ConsolePlatform : public vv::Platform {
public:
    explicit ConsolePlatform(QIODevice& errors) : errors_(errors) {}

    void showMessage(const QString& text) override;
    void showModal(QWidget*) override {}
    QString chooseOpenFile(const vv::FileDialogRequest&) override { return {}; }
    std::optional<QColor> chooseColor(const QColor&) override { return std::nullopt; }
    void showHelp(const QString&) override {}
    vv::ProcessOutcome runAndWait(const QString& program, const QStringList& arguments,
                                  const QString& workingDirectory, const vv::ProcessLimits& limits) override;
    bool startDetached(const QString& program, const QStringList& arguments,
                       const QString& workingDirectory) override;
    QImage grabScreen(const QSize&) override { return {}; }
    QPoint pointerPosition() override { return {}; }
    double screenRefreshRate() override { return 60.0; }

private:
    QIODevice& errors_;
};
