// Vedi Vavurir: creates the six windows, shows the main window and runs until
// it is closed.
#include "ui/Artwork.h"
#include "ui/QtPlatform.h"
#include "ui/SettingsAndLanguage.h"
#include "ui/TForm1.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QMessageBox>
#include <QPixmap>

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
#ifndef Q_OS_WIN
#ifndef Q_OS_MACOS
        std::fputs(
            "vedivavurir: no display. This is a desktop program: set DISPLAY (or run it under Xvfb).\n",
            stderr);
        return 1;
#endif
#endif
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vedivavurir"));
    QApplication::setApplicationDisplayName(QStringLiteral("LS VediVavurir"));
    QApplication::setApplicationVersion(QStringLiteral(VV_VERSION));
    QApplication::setWindowIcon(QIcon(QPixmap::fromImage(vv::ui::programPicture())));
    // The main window's closing ends the program, not the last visible window:
    // the main window hides itself while another window is shown modally.
    QApplication::setQuitOnLastWindowClosed(false);
    // The window layouts are laid out for a small dialog font.
    QFont font = QApplication::font();
    font.setPixelSize(11);
    QApplication::setFont(font);

    vv::QtPlatform platform;
    vv::setPlatform(&platform);
    int result = 0;
    try {
        vv::ui::createWindows();
        Form1->show();
        Form1->FormActivate();
        result = QApplication::exec();
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, QApplication::applicationDisplayName(),
                              QString::fromLocal8Bit(error.what()));
    }
    vv::ui::destroyWindows();
    return result;
}
