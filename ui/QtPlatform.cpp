#include "ui/QtPlatform.h"

#include "platform/ProcessRunner.h"

#include <QCursor>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

namespace vv {

ProcessOutcome QtPlatform::runAndWait(const QString& program, const QStringList& arguments,
                                      const QString& workingDirectory, const ProcessLimits& limits) {
    return runProgramAndWait(program, arguments, workingDirectory, limits);
}

bool QtPlatform::startDetached(const QString& program, const QStringList& arguments,
                               const QString& workingDirectory) {
    return startProgramDetached(program, arguments, workingDirectory);
}

QImage QtPlatform::grabScreen(const QSize& size) {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    const QPixmap shot = screen->grabWindow(0, 0, 0, size.width(), size.height());
    return shot.toImage();
}

QPoint QtPlatform::pointerPosition() {
    return QCursor::pos();
}

double QtPlatform::screenRefreshRate() {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->refreshRate() : 60.0;
}

} // namespace vv
