// Vedi Vavurir: creates the six windows, shows the main window and runs until
// it is closed.
#include "app/StartDirectory.h"
#include "ui/Controls.h"
#include "ui/QtPlatform.h"
#include "ui/SettingsAndLanguage.h"
#include "ui/TForm1.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QMessageBox>

#include <cstdio>
#include <cstring>
#include <exception>

namespace {

// vedivavurir --init [DIR]: copies the shipped data of an installed copy into
// DIR (~/VediVavurir when none is given), keeping files already there.
int initStartDirectoryCommand(int argc, char** argv) {
    QCoreApplication core(argc, argv);
    const QString target =
        argc > 2 ? QDir(QString::fromLocal8Bit(argv[2])).absolutePath() : vv::suggestedStartDirectory();
    const QString shipped = vv::shippedDataDirectory(QCoreApplication::applicationDirPath());
    if (shipped.isEmpty()) {
        std::fprintf(stderr,
                     "vedivavurir: no shipped data beside this program (%s/../share/vedivavurir). "
                     "In a checkout, scripts/run stages workspace/ instead.\n",
                     qPrintable(QCoreApplication::applicationDirPath()));
        return 1;
    }
    QString error;
    if (!vv::initStartDirectory(shipped, target, &error)) {
        std::fprintf(stderr, "vedivavurir: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("Start directory ready: %s\nStart the program there: cd \"%s\" && vedivavurir\n",
                qPrintable(target), qPrintable(target));
    return 0;
}

// An installed copy started outside a start directory (from the desktop menu,
// say) uses ~/VediVavurir when it is one, or offers to create it. Returns false
// when the program should end.
bool enterStartDirectory() {
    const QString shipped = vv::shippedDataDirectory(QCoreApplication::applicationDirPath());
    if (vv::isStartDirectory(QDir::currentPath()) || shipped.isEmpty())
        return true;
    const QString suggested = vv::suggestedStartDirectory();
    if (!vv::isStartDirectory(suggested)) {
        const QString text =
            QStringLiteral("%1 is not a start directory: it has no vkdm_settings.cfg.\n\n"
                           "Vedi Vavurir keeps its settings, sheets and databases in a start directory. "
                           "Create %2 with the sample data now?\n\n"
                           "(From a terminal: vedivavurir --init DIR makes one anywhere; start the "
                           "program in DIR.)")
                .arg(QDir::toNativeSeparators(QDir::currentPath()), QDir::toNativeSeparators(suggested));
        std::fprintf(stderr, "vedivavurir: %s\n", qPrintable(text));
        if (QMessageBox::question(nullptr, vv::ui::programTitle(), text) != QMessageBox::Yes)
            return false;
        QString error;
        if (!vv::initStartDirectory(shipped, suggested, &error)) {
            QMessageBox::critical(nullptr, vv::ui::programTitle(), error);
            return false;
        }
    }
    return QDir::setCurrent(suggested);
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--init") == 0)
        return initStartDirectoryCommand(argc, argv);
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
    vv::ui::setUpApplication();

    if (!enterStartDirectory())
        return 1;

    vv::QtPlatform platform;
    vv::setPlatform(&platform);
    int result = 0;
    try {
        vv::ui::createWindows();
        Form1->show();
        Form1->FormActivate();
        result = QApplication::exec();
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, vv::ui::programTitle(), QString::fromLocal8Bit(error.what()));
    }
    vv::ui::destroyWindows();
    return result;
}
