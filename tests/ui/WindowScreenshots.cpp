// Pictures of every window in every shipped language, for a person to look at:
// ui_screenshots OUTDIR writes OUTDIR/<language>-<window>.png. Not a test; the
// fit-and-overlap test is the check, this shows what it checked.
#include "app/SettingsFile.h"
#include "ui/BuildInputs.h"
#include "ui/Controls.h"
#include "ui/SettingsAndLanguage.h"
#include "ui/TAboutBox.h"
#include "ui/TForm1.h"
#include "ui/TForm2.h"
#include "ui/TForm3.h"
#include "ui/TForm6.h"
#include "ui/TForm7.h"

#include "support/RecordingDialogs.h"
#include "support/TestFiles.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPixmap>
#include <QTemporaryDir>

#include <cstdio>

namespace {

bool prepareStartDirectory(const QString& dir, const QString& language) {
    QDir start(dir);
    if (!start.mkpath(QStringLiteral("Language")))
        return false;
    const QDir shipped(vv::test::dataPath(QStringLiteral("Language")));
    for (const QString& file : shipped.entryList(QDir::Files))
        if (!vv::test::writeBytes(start.filePath(QStringLiteral("Language/") + file),
                                  vv::test::readBytes(shipped.filePath(file))))
            return false;
    if (!QImage(160, 160, QImage::Format_RGB32).save(start.filePath(QStringLiteral("resource.bmp")), "BMP"))
        return false;
    vv::SettingsRecord record;
    record.languageName = language;
    record.screenIndex = 1; // 320x320 OS5: every window and button is offered
    return vv::writeSettingsFile(start.filePath(QStringLiteral("vkdm_settings.cfg")), record);
}

bool save(QWidget* window, const QString& outDir, const QString& language, const QString& name) {
    window->show();
    QApplication::processEvents();
    const bool saved = window->grab().save(
        QDir(outDir).filePath(language + QLatin1Char('-') + name + QStringLiteral(".png")));
    window->hide();
    return saved;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: ui_screenshots OUTDIR\n", stderr);
        return 2;
    }
    const QString outDir = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    QDir().mkpath(outDir);
    vv::ui::setUpApplication();
    vv::test::RecordingDesktop desktop;
    const QString previous = QDir::currentPath();

    const QStringList files =
        QDir(vv::test::dataPath(QStringLiteral("Language"))).entryList({QStringLiteral("vkdm_*.lng")});
    int failures = 0;
    for (const QString& file : files) {
        const QString language = file.mid(5, file.size() - 9);
        QTemporaryDir dir;
        if (!dir.isValid() || !prepareStartDirectory(dir.path(), language))
            return 1;
        QDir::setCurrent(dir.path());
        vv::ui::createWindows();
        Form1->FormActivate();
        Form3->StartDir = dir.path();
        Form3->FormActivate();
        for (const QString& message : std::as_const(desktop.messages))
            std::fprintf(stderr, "%s: %s\n", qPrintable(language), qPrintable(message));
        desktop.messages.clear();

        const std::pair<QWidget*, const char*> windows[] = {{Form1, "Form1"},       {Form2, "Form2"},
                                                            {Form3, "Form3"},       {Form6, "Form6"},
                                                            {AboutBox, "AboutBox"}, {Form7, "Form7"}};
        for (const auto& [window, name] : windows)
            failures += !save(window, outDir, language, QLatin1String(name));
        Form1->Button5Click();
        failures += !save(Form1, outDir, language, QStringLiteral("Form1-icons"));
        Form1->Button5Click();
        Form7->Button5Click();
        failures += !save(Form7, outDir, language, QStringLiteral("Form7-icons"));
        Form7->Button5Click();

        // A finished build's result, for the longest name a database may have.
        Form1->Edit1->setText(QStringLiteral("A database name of thirty ch."));
        vv::ui::showBuildResult(Form1->Messages[vv::Message::BuildResult].arg(
            QStringLiteral("PDBFiles/") + Form1->Edit1->text() + QStringLiteral(".pdb"),
            QStringLiteral("412")));
        failures += !save(Form1, outDir, language, QStringLiteral("Form1-result"));
        vv::ui::hideBuildResult();
        // The snapshot's end buttons, as a running snapshot shows them.
        for (TButton* end : {Form1->Button11, Form7->Button11})
            end->show();
        failures += !save(Form1, outDir, language, QStringLiteral("Form1-snapshot"));
        failures += !save(Form7, outDir, language, QStringLiteral("Form7-snapshot"));
        for (TButton* end : {Form1->Button11, Form7->Button11})
            end->hide();
        // The theme windows after "Load Bitmap" with the sample sheets: the
        // Ember theme in place of the built-in one.
        const std::pair<ThemeWindow*, const char*> samples[] = {{Form2, "SkinSheetLow.bmp"},
                                                                {Form6, "SkinSheetHigh.bmp"}};
        for (const auto& [window, sheet] : samples) {
            desktop.fileAnswers.enqueue(
                vv::test::dataPath(QStringLiteral("ThmeBMP/") + QLatin1String(sheet)));
            window->Button1Click();
            failures += !save(window, outDir, language, window->objectName() + QStringLiteral("-sample"));
        }

        vv::ui::destroyWindows();
        QDir::setCurrent(previous);
    }
    return failures == 0 ? 0 : 1;
}
