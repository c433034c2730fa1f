// Vedi Vavurir: creates the six windows, shows the main window and runs until
// it is closed.
#include "app/LanguageMessages.h"
#include "app/OptionRules.h"
#include "app/SettingsFile.h"
#include "app/StartDirectory.h"
#include "platform/Interrupts.h"
#include "ui/Controls.h"
#include "ui/DatabaseOpening.h"
#include "ui/QtDialogs.h"
#include "ui/QtPlatform.h"
#include "ui/SessionKeeping.h"
#include "ui/SettingsAndLanguage.h"
#include "ui/TForm1.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>

namespace {

const char kHelp[] = "Usage: vedivavurir [OPTION]... [FILE]\n"
                     "Draws themes and icon sets for the Lanternshade launcher on Palm OS handhelds:\n"
                     "paint one skin sheet, pick icons from icon sheets or from the screen, and build\n"
                     "Palm OS resource databases in PDBFiles/ with the resource compiler vkdm_pdb.\n"
                     "\n"
                     "The program works in its start directory, the folder it is started in, which\n"
                     "holds vkdm_settings.cfg. Started elsewhere, an installed copy uses ~/VediVavurir\n"
                     "and offers to create it there.\n"
                     "\n"
                     "FILE, when given, opens as a file dropped on the windows does: a database (.pdb,\n"
                     ".prc) fills the windows, a picture becomes the skin sheet of the theme window\n"
                     "of the screen in the options.\n"
                     "\n"
                     "Options:\n"
                     "  --init [DIR]  make DIR (~/VediVavurir when none is given) a start directory with\n"
                     "                the sample data, keeping files already there, and exit\n"
                     "  -h, --help    show this help and exit\n"
                     "  --version     show the version and exit\n"
                     "\n"
                     "Qt's own options, such as -platform NAME or -style NAME, are accepted as well.\n"
                     "vedivavurir-cli builds themes and icon sets without windows.\n";

int usageError(const char* text, const char* argument) {
    std::fprintf(stderr, "vedivavurir: %s %s\nTry 'vedivavurir --help' for the options.\n", text, argument);
    return 1;
}

// --init sizes resource.bmp after the desktop, so it opens the display when
// there is one. A display that cannot be reached falls back to no screen (and
// the common size) instead of aborting.
std::unique_ptr<QCoreApplication> applicationForInit(int& argc, char** argv) {
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    return std::make_unique<QGuiApplication>(argc, argv);
#else
    const bool wayland = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (!wayland && qEnvironmentVariableIsEmpty("DISPLAY"))
        return std::make_unique<QCoreApplication>(argc, argv);
    QByteArray platforms = qgetenv("QT_QPA_PLATFORM");
    if (platforms.isEmpty())
        platforms = wayland ? "wayland;xcb" : "xcb";
    if (!platforms.contains("offscreen"))
        qputenv("QT_QPA_PLATFORM", platforms + ";offscreen");
    return std::make_unique<QGuiApplication>(argc, argv);
#endif
}

// vedivavurir --init [DIR]: copies the shipped data of an installed copy into
// DIR (~/VediVavurir when none is given), keeping files already there.
int initStartDirectoryCommand(int argc, char** argv) {
    if (argc > 3)
        return usageError("--init takes one directory, not also", argv[3]);
    const std::unique_ptr<QCoreApplication> application = applicationForInit(argc, argv);
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

// The messages of the language the shipped settings name, for the question
// asked before any start directory (and so any language) has been chosen.
QStringList shippedLanguageMessages(const QString& shipped) {
    if (const std::optional<vv::SettingsRecord> settings =
            vv::readSettingsFile(vv::settingsFilePath(shipped), vv::SettingsRecord()))
        if (const std::optional<vv::LanguageTexts> texts =
                vv::readLanguageFile(vv::languageFilePath(shipped, settings->languageName)))
            return vv::languageMessages(*texts);
    return {};
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
        const QStringList messages = shippedLanguageMessages(shipped);
        const QString text =
            vv::messageOrBuiltIn(messages, vv::Message::NotAStartDirectory)
                .arg(QDir::toNativeSeparators(QDir::currentPath()), QDir::toNativeSeparators(suggested));
        std::fprintf(stderr, "vedivavurir: %s\n", qPrintable(text));
        if (vv::dialogs().askChoice(text, {vv::messageOrBuiltIn(messages, vv::Message::YesAnswer),
                                           vv::messageOrBuiltIn(messages, vv::Message::NoAnswer)}) != 0)
            return false;
        QString error;
        if (!vv::initStartDirectory(shipped, suggested, &error)) {
            vv::dialogs().showMessage(error);
            return false;
        }
    }
    return QDir::setCurrent(suggested);
}

} // namespace

int main(int argc, char** argv) {
    // Answered before anything graphical starts, so they work without a display.
    bool platformOption = false;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "-h") || !std::strcmp(argv[i], "--help")) {
            std::fputs(kHelp, stdout);
            return 0;
        }
        if (!std::strcmp(argv[i], "--version")) {
            std::printf("vedivavurir %s\n", VV_VERSION);
            return 0;
        }
        platformOption =
            platformOption || !std::strcmp(argv[i], "-platform") || !std::strcmp(argv[i], "--platform");
    }
    if (argc > 1 && std::strcmp(argv[1], "--init") == 0)
        return initStartDirectoryCommand(argc, argv);
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !platformOption) {
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
    // Qt has taken its own options out of argv; what is left are files to
    // open, named before the program moves to its start directory.
    QStringList files;
    for (int i = 1; i < argc; ++i) {
        if (argv[i][0] == '-' && argv[i][1] != '\0')
            return usageError("unknown option", argv[i]);
        files << QFileInfo(QString::fromLocal8Bit(argv[i])).absoluteFilePath();
    }
    vv::ui::setUpApplication();
    vv::QtDialogs dialogs;
    vv::setDialogs(&dialogs);

    if (!enterStartDirectory())
        return 1;

    vv::QtPlatform platform;
    vv::setPlatform(&platform);
    // SIGTERM (a session logging out, say) stops a running build the way
    // Escape does, so its work folder and lock go, then ends the program.
    vv::catchInterrupts();
    QTimer interruptWatch;
    QObject::connect(&interruptWatch, &QTimer::timeout, [] {
        if (vv::interruptSignal())
            QCoreApplication::exit(vv::exitCodeForSignal(vv::interruptSignal()));
    });
    interruptWatch.start(100);
    int result = 0;
    try {
        vv::ui::createWindows();
        Form1->show();
        Form1->FormActivate();
        vv::ui::restoreKeptSession();
        vv::ui::openFilesFromCommandLine(files);
        result = QApplication::exec();
        vv::ui::keepSessionNow();
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, vv::ui::programTitle(), QString::fromLocal8Bit(error.what()));
    }
    vv::ui::destroyWindows();
    return result;
}
