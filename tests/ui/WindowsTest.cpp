// The six windows driven headless through the recording platform.
#include "app/LanguageFile.h"
#include "app/SettingsFile.h"
#include "ui/Controls.h"
#include "ui/SettingsAndLanguage.h"
#include "ui/TAboutBox.h"
#include "ui/TForm1.h"
#include "ui/TForm2.h"
#include "ui/TForm3.h"
#include "ui/TForm6.h"
#include "ui/TForm7.h"

#include "support/StartedWindows.h"
#include "support/TestFiles.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <unistd.h>

using namespace vv;

namespace {

const QString MissingSettings = QStringLiteral("- Where is vkdm_settings.cfg?");
const QString MissingLanguage = QStringLiteral(" - Language file is missing or incorrect");

class Windows : public test::ScratchWindows {
protected:
    void SetUp() override {
        ScratchWindows::SetUp();
        if (HasFatalFailure())
            return;
        QDir(dir_.path()).mkpath(QStringLiteral("Language"));
        createWindowsIn(dir_.path());
    }

    void installLanguage(const char* name) {
        const QString file = QStringLiteral("Language/vkdm_%1.lng").arg(QLatin1String(name));
        ASSERT_TRUE(test::writeBytes(dir_.filePath(file), test::readBytes(test::dataPath(file))));
    }

    // Settings naming English, with the given screen index.
    void writeSettings(SettingsRecord record) {
        if (record.languageName.isEmpty())
            record.languageName = QStringLiteral("English");
        ASSERT_TRUE(writeSettingsFile(path("vkdm_settings.cfg"), record));
    }
    void startWithEnglish(int screenIndex = 0) {
        installLanguage("English");
        SettingsRecord record;
        record.screenIndex = screenIndex;
        writeSettings(record);
        Form1->FormActivate();
    }
};

} // namespace

TEST_F(Windows, FirstStartWithoutSettingsKeepsTheFormTextsAndSaysWhatIsMissing) {
    EXPECT_EQ(Form1->StartDir, dir_.path());
    Form1->FormActivate();
    EXPECT_EQ(platform.messages, (QStringList{MissingSettings, MissingLanguage}));
    EXPECT_EQ(Form1->windowTitle(), QStringLiteral("ZaviZiruziv"));
    EXPECT_EQ(Form1->Button1->text(), QStringLiteral("E&xit"));
    EXPECT_EQ(Form1->ScreenType, 1);
    EXPECT_EQ(Form1->TransparentIndex, QStringLiteral("210"));
    EXPECT_EQ(Form1->TransparentGreen, QStringLiteral("255"));
    EXPECT_EQ(Form1->Label7->text(), QStringLiteral("ver. " VV_VERSION));
    EXPECT_EQ(AboutBox->Version->text(), QStringLiteral("Version " VV_VERSION));
    EXPECT_EQ(Form1->DeskShot->picture().size(), QSize(64, 48));
}

TEST_F(Windows, ShippedLanguageReachesEveryWindow) {
    startWithEnglish();
    EXPECT_TRUE(platform.messages.isEmpty()) << platform.messages.join('|').toStdString();
    const auto lines = readLanguageFile(path("Language/vkdm_English.lng"));
    ASSERT_TRUE(lines);
    const auto line = [&](int n) { return (*lines)[n - 1]; };

    // Every control a line names exists on its window and carries the line.
    for (const LanguageLine& l : languageLines()) {
        if (l.kind != LanguageTargetKind::Caption)
            continue;
        QWidget* window = nullptr;
        for (QWidget* w : sixWindows())
            if (w->objectName() == QLatin1String(l.window))
                window = w;
        ASSERT_TRUE(window) << l.window;
        auto* control = window->findChild<QWidget*>(QLatin1String(l.control));
        ASSERT_TRUE(control) << l.window << "." << l.control;
        if (std::string(l.control) != "Button5") {
            EXPECT_EQ(ui::captionOf(control), line(l.line)) << "line " << l.line;
        }
    }
    EXPECT_EQ(Form1->windowTitle(), line(10));
    EXPECT_EQ(Form2->windowTitle(), line(9));
    EXPECT_EQ(Form3->windowTitle(), line(89));
    EXPECT_EQ(AboutBox->windowTitle(), line(20));
    EXPECT_EQ(Form1->Messages[vv::Message::SettingsNotRead], line(30));
    EXPECT_EQ(Form1->Messages[vv::Message::InstallNeedsName], line(46));
    EXPECT_EQ(Form1->Messages[vv::Message::FileNotOpened], line(59));
    EXPECT_EQ(Form1->Messages[vv::Message::SnapshotRunning], line(97));
    EXPECT_EQ(Form1->HelpSuffix, QStringLiteral("en"));
    EXPECT_EQ(Form1->SnapBusyCaption, line(101));
    EXPECT_EQ(Form1->Button11->text(), line(95));
    EXPECT_EQ(Form1->Button5->text(), line(12)); // tag 0: the show caption
    EXPECT_EQ(Form1->OpenPictureDialog1.Title, line(51));
    EXPECT_EQ(Form3->OpenDialog1.Title, line(50));
    EXPECT_EQ(Form3->Label1->text(), line(1));
    // The high-resolution twins copy their texts.
    EXPECT_EQ(Form6->windowTitle(), line(9) + QStringLiteral(" Hi-Res"));
    EXPECT_EQ(Form6->Button1->text(), line(5));
    EXPECT_EQ(Form6->OpenPictureDialog1.Title, line(52));
    EXPECT_EQ(Form7->windowTitle(), line(10) + QStringLiteral(" OS5 Hi-Res"));
    EXPECT_EQ(Form7->Button2->text(), line(22));
    EXPECT_EQ(Form7->Button3->text(), line(94));
    EXPECT_EQ(Form7->Button11->text(), line(95));
    EXPECT_EQ(Form7->Label6->text(), QStringLiteral("ver. " VV_VERSION));
    EXPECT_EQ(Form7->SpeedButton2->text(), line(4));
}

TEST_F(Windows, ScreenTypeSetsTheCaptionSuffixAndHiResIcons) {
    struct Case {
        int screenIndex, screenType;
        const char* suffix;
        bool hiResIcons;
    };
    const Case cases[] = {{1, 2, " OS5 Low-Res", true},
                          {0, 1, "", false},
                          {2, 3, " Sony Hi-Res", false},
                          {3, 3, " Sony Hi-Res", false},
                          {1, 2, " OS5 Low-Res", true}};
    installLanguage("English");
    for (const Case& c : cases) {
        SettingsRecord record;
        record.screenIndex = c.screenIndex;
        writeSettings(record);
        Form1->FormActivate();
        EXPECT_EQ(Form1->ScreenType, c.screenType);
        EXPECT_EQ(Form3->ComboBox2->currentIndex(), c.screenIndex);
        EXPECT_EQ(Form1->windowTitle(), QStringLiteral("Vedi Vavurir") + QLatin1String(c.suffix));
        EXPECT_EQ(!Form1->SpeedButton3->isHidden(), c.hiResIcons) << c.screenIndex;
    }
}

TEST_F(Windows, LoadingSettingsFillsOptionsAndMainState) {
    installLanguage("English");
    SettingsRecord record;
    record.depths = {}; // every depth off: 1 bpp comes back on
    record.compress = true;
    record.screenIndex = -1;
    record.red = 20;
    record.green = 30;
    record.blue = 240;
    record.paletteIndex = 94;
    record.installTool = QStringLiteral("/usr/bin/true");
    writeSettings(record);
    Form3->CheckBox5->setChecked(true); // already on: the keyword is set all the same
    Form1->FormActivate();
    EXPECT_TRUE(Form3->CheckBox1->isChecked());
    EXPECT_FALSE(Form3->CheckBox6->isChecked());
    EXPECT_EQ(Form1->CompressKeyword, QStringLiteral("COMPRESS "));
    EXPECT_EQ(Form1->ScreenType, -1);
    EXPECT_EQ(Form3->ComboBox2->currentIndex(), -1);
    EXPECT_EQ(Form3->Label7->text() + Form3->Label8->text() + Form3->Label9->text(),
              QStringLiteral("141EF0"));
    EXPECT_EQ(Form3->Label12->text(), QStringLiteral("240"));
    EXPECT_EQ(Form1->TransparentBlue, QStringLiteral("240"));
    EXPECT_EQ(Form1->TransparentIndex, QStringLiteral("94"));
    EXPECT_EQ(Form3->TransparentIndex, QStringLiteral("94"));
    EXPECT_EQ(Form3->Edit1->text(), QStringLiteral("/usr/bin/true"));
    // The file itself is left as it was.
    EXPECT_EQ(readSettingsFile(path("vkdm_settings.cfg"), {})->depths.contains(1), false);

    // A file with a depth other than 1 bpp keeps 1 bpp off, whatever was checked before.
    record.depths.set(8);
    writeSettings(record);
    Form1->FormActivate();
    EXPECT_FALSE(Form3->CheckBox1->isChecked());
    EXPECT_TRUE(Form3->CheckBox4->isChecked());

    // A 19-character language name builds the language path unchanged.
    record.languageName = QStringLiteral("Nineteen_Character");
    record.languageName += QLatin1Char('s');
    ASSERT_EQ(record.languageName.size(), 19);
    writeSettings(record);
    ASSERT_TRUE(
        QFile::copy(path("Language/vkdm_English.lng"), path("Language/vkdm_Nineteen_Characters.lng")));
    platform.messages.clear();
    Form1->FormActivate();
    EXPECT_TRUE(platform.messages.isEmpty());
}

TEST_F(Windows, ClosingAboutReReadsTheSettings) {
    startWithEnglish(0);
    SettingsRecord changed;
    changed.screenIndex = 1;
    writeSettings(changed);
    bool mainHidden = false;
    platform.onModal = [&](QWidget*) { mainHidden = !Form1->isVisible(); };
    Form1->show();
    Form1->Button7Click();
    EXPECT_EQ(platform.modalWindows, QList<QWidget*>{AboutBox});
    EXPECT_TRUE(mainHidden);
    EXPECT_TRUE(Form1->isVisible());
    EXPECT_EQ(Form1->ScreenType, 2);
    for (auto open : {&TForm1::Label6Click, &TForm1::ProgramIconClick})
        (Form1->*open)();
    EXPECT_EQ(platform.modalWindows.size(), 3);
}

TEST_F(Windows, OptionsColourShowsTheIndexOfItsCubeColour) {
    startWithEnglish();
    platform.colorAnswers.enqueue(QColor(20, 30, 240));
    platform.onModal = [&](QWidget* window) {
        ASSERT_EQ(window, Form3);
        EXPECT_EQ(Form3->StartDir, dir_.path());
        Form3->Panel1Click();
        EXPECT_EQ(Form3->Panel1->text(), QStringLiteral("94")); // (00, 33, FF)
        EXPECT_EQ(Form3->TransparentIndex, QStringLiteral("94"));
        EXPECT_EQ(Form3->Label13->text(), QStringLiteral("15736340"));
        EXPECT_EQ(Form3->Label10->text() + ',' + Form3->Label11->text() + ',' + Form3->Label12->text(),
                  QStringLiteral("20,30,240"));
        // A cancelled choice changes nothing.
        Form3->Panel1Click();
        EXPECT_EQ(Form3->Panel1->text(), QStringLiteral("94"));
    };
    Form1->Button4Click();
    // Closed without Save: the builds keep the saved colour.
    EXPECT_EQ(Form1->TransparentIndex, QStringLiteral("210"));
    EXPECT_EQ(Form3->TransparentIndex, QStringLiteral("210"));
}

TEST_F(Windows, SaveAndApplyCarryTheOptionsToTheMainWindow) {
    startWithEnglish();
    installLanguage("Deutsch");
    Form3->StartDir = dir_.path();
    Form3->show(); // fills the language list
    ASSERT_EQ(Form3->ComboBox1->count(), 2);
    Form3->ComboBox1->setCurrentIndex(0); // Deutsch
    Form3->ComboBox2->setCurrentIndex(3);
    platform.colorAnswers.enqueue(QColor(255, 255, 255));
    Form3->Panel1Click();
    Form3->CheckBox5->setChecked(false);
    Form3->Button2Click();
    Form3->hide();
    EXPECT_TRUE(platform.messages.isEmpty()) << platform.messages.join('|').toStdString();
    EXPECT_EQ(Form1->ScreenType, 3);
    EXPECT_EQ(Form1->LanguageIndex, 0);
    EXPECT_EQ(Form1->TransparentIndex, QStringLiteral("0"));
    EXPECT_EQ(Form1->CompressKeyword, QString());
    EXPECT_EQ(Form1->HelpSuffix, QStringLiteral("de"));
    EXPECT_EQ(Form1->Button1->text(), QStringLiteral("&Beenden"));
    const SettingsRecord saved = *readSettingsFile(path("vkdm_settings.cfg"), {});
    EXPECT_EQ(saved.languageName, QStringLiteral("Deutsch"));
    EXPECT_EQ(saved.screenText, QStringLiteral("320x480 Sony"));
    EXPECT_EQ(saved.red, 255);
}

TEST_F(Windows, FirstSaveWithoutColourStoresTheDefaultGreen) {
    installLanguage("English");
    Form1->FormActivate(); // no settings file: the colour captions stay empty
    Form3->StartDir = dir_.path();
    Form3->show();
    Form3->Button1Click();
    Form3->hide();
    const SettingsRecord saved = *readSettingsFile(path("vkdm_settings.cfg"), {});
    EXPECT_EQ(saved.languageIndex, 0);
    EXPECT_EQ(saved.languageName, QStringLiteral("English"));
    EXPECT_EQ(saved.screenIndex, -1);
    EXPECT_EQ((std::array{saved.red, saved.green, saved.blue, saved.paletteIndex}),
              (std::array{0, 255, 0, 210}));
}

TEST_F(Windows, InstallToolThatCannotRunIsRefused) {
    startWithEnglish();
    const QString tool = path("instapp.exe");
    ASSERT_TRUE(test::writeBytes(tool, "#!/bin/sh\n"));
    QFile::setPermissions(tool, QFile::ReadOwner | QFile::WriteOwner);
    platform.fileAnswers.enqueue(tool);
    Form3->Button3Click();
    EXPECT_EQ(Form3->Edit1->text(), QString());
    EXPECT_EQ(platform.messages, QStringList{Form1->Messages[vv::Message::InstallToolNotRunnable]});
    EXPECT_FALSE(Form1->Messages[vv::Message::InstallToolNotRunnable].isEmpty());

    QFile::setPermissions(tool, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    platform.fileAnswers.enqueue(tool);
    Form3->Button3Click();
    EXPECT_EQ(Form3->Edit1->text(), QDir::toNativeSeparators(tool));
    EXPECT_EQ(platform.messages.size(), 1);
}

TEST_F(Windows, ApplyWithTheLanguageMissingUsesTheOptionsMessage) {
    startWithEnglish();
    const QString options = Form1->Messages[vv::Message::LanguageFileDamaged];
    const QString missing = Form1->Messages[vv::Message::LanguageNotLoaded] + MissingLanguage;
    platform.onModal = [&](QWidget*) {
        ASSERT_TRUE(QFile::remove(path("Language/vkdm_English.lng")));
        Form3->Button2Click();
    };
    Form1->Button4Click();
    EXPECT_EQ(platform.messages, (QStringList{options, missing}));
    EXPECT_EQ(Form1->Button1->text(), QStringLiteral("E&xit")); // texts kept
}

TEST_F(Windows, FailedSaveShowsItsMessageAndChangesNothing) {
    startWithEnglish(0);
    const QByteArray before = test::readBytes(path("vkdm_settings.cfg"));
    Form3->ComboBox2->setCurrentIndex(1);

    // A folder below a plain file cannot be created, even by root.
    ASSERT_TRUE(test::writeBytes(path("plain"), "x"));
    Form3->StartDir = path("plain") + QStringLiteral("/sub");
    EXPECT_FALSE(SaveSettings(Form3->StartDir));
    EXPECT_EQ(platform.messages, QStringList{Form1->Messages[vv::Message::SettingsNotWritten]});
    EXPECT_EQ(Form1->ScreenType, 1);

    // A write cut short (as on a full disk) must not pass for a saved file;
    // a size limit stops root too, unlike a read-only folder.
    Form3->StartDir = dir_.path();
    {
        test::FileSizeLimit limit(8);
        Form3->Button1Click();
    }
    EXPECT_EQ(platform.messages.size(), 2);
    EXPECT_EQ(test::readBytes(path("vkdm_settings.cfg")), before);
}

TEST_F(Windows, OptionsAboutReturnsToOptions) {
    startWithEnglish();
    installLanguage("Deutsch");
    Form1->LanguageIndex = 1;
    platform.onModal = [&](QWidget* window) {
        if (window != Form3)
            return;
        Form3->ComboBox1->setCurrentIndex(0);
        Form3->ProgramIconClick();
        EXPECT_TRUE(Form3->isVisible());
        EXPECT_EQ(Form3->ComboBox1->currentIndex(), 1); // refilled: the unsaved choice is dropped
    };
    Form1->Button4Click();
    EXPECT_EQ(platform.modalWindows, (QList<QWidget*>{Form3, AboutBox}));
}

TEST_F(Windows, ViewThemeAndHiResIconsOpenTheirWindows) {
    startWithEnglish(0);
    Form1->Button3Click();
    Form1->ScreenType = 3;
    Form1->Button3Click();
    EXPECT_EQ(platform.modalWindows, (QList<QWidget*>{Form2, Form6}));
    EXPECT_EQ(Form2->StartDir, dir_.path());
    EXPECT_EQ(Form6->StartDir, dir_.path());

    platform.modalWindows.clear();
    platform.onModal = [&](QWidget* window) {
        if (window == Form7)
            Form7->Button2Click();
    };
    Form1->SpeedButton3Click();
    EXPECT_EQ(platform.modalWindows, (QList<QWidget*>{Form7, Form6}));
}

// "Hi-Res I&cons" is the only way to the OS5 icon window: its white caption
// must stand on its own background in every style, at rest and under the
// pointer, and the case around the icon-set slots must be drawn.
TEST_F(Windows, HiResIconsButtonIsDrawnOnItsOwnBackground) {
    startWithEnglish(1);
    Form1->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Form1));
    TButton* button = Form1->SpeedButton3;
    ASSERT_FALSE(button->isHidden());
    const QString defaultStyle = QApplication::style()->name();
    for (const QString& style : {defaultStyle, QStringLiteral("Windows"), QStringLiteral("Fusion")}) {
        ASSERT_NE(QApplication::setStyle(style), nullptr) << style.toStdString();
        for (const bool hover : {false, true}) {
            // The pointer over the button, or over the window beside it.
            QTest::mouseMove(hover ? static_cast<QWidget*>(button) : Form1,
                             hover ? button->rect().center() : QPoint(400, 140));
            QCoreApplication::processEvents();
            ASSERT_EQ(button->underMouse(), hover);
            const QRgb background = hover ? qRgb(64, 170, 110) : qRgb(46, 139, 87);
            const QImage shot = button->grab().toImage().convertToFormat(QImage::Format_RGB32);
            int onBackground = 0;
            int light = 0;
            for (int y = 0; y < shot.height(); ++y)
                for (int x = 0; x < shot.width(); ++x) {
                    const QRgb pixel = shot.pixel(x, y);
                    onBackground += pixel == background;
                    light += qRed(pixel) > 230 && qGreen(pixel) > 230 && qBlue(pixel) > 230;
                }
            const int area = shot.width() * shot.height();
            EXPECT_GT(onBackground, area / 2) << style.toStdString() << " hover " << hover;
            EXPECT_GT(light, 20) << style.toStdString() << " hover " << hover; // the caption
            EXPECT_LT(light, area / 4) << style.toStdString() << " hover " << hover;
        }
    }
    QApplication::setStyle(defaultStyle);

    // The slots sit inside the case: its dark shell shows just outside the block.
    const QImage window = Form1->grab().toImage();
    const QColor shell = window.pixelColor(8, 80);
    EXPECT_LT(shell.lightness(), 110) << shell.name().toStdString();
    EXPECT_GT(window.pixelColor(15, 80).lightness(), 200); // the pale screen beside slot 5
}

// On X11 Qt appends an application display name to every window title; the
// titles must be the language file's captions alone.
TEST_F(Windows, WindowTitlesAreTheCaptionsAlone) {
    ui::setUpApplication();
    startWithEnglish(1);
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QGuiApplication::applicationName());
    EXPECT_EQ(Form1->windowTitle(), QStringLiteral("Vedi Vavurir OS5 Low-Res"));
    const std::optional<LanguageTexts> english =
        readLanguageFile(test::dataPath(QStringLiteral("Language/vkdm_English.lng")));
    ASSERT_TRUE(english);
    int others = 0;
    for (const LanguageLine& line : languageLines()) {
        if (line.kind != LanguageTargetKind::WindowCaption || QLatin1String(line.window) == "Form1")
            continue;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->objectName() == QLatin1String(line.window)) {
                EXPECT_EQ(window->windowTitle(), (*english)[line.line - 1]) << line.line;
                ++others;
            }
    }
    EXPECT_GT(others, 0);
}

// A resource.bmp that cannot be read is reported in the language the
// settings name, once that language has been read.
TEST_F(Windows, UnreadableCanvasIsReportedInTheChosenLanguage) {
    installLanguage("Deutsch");
    SettingsRecord record;
    record.languageName = QStringLiteral("Deutsch");
    writeSettings(record);
    ASSERT_TRUE(test::writeBytes(path("resource.bmp"), "not a picture"));
    Form1->FormActivate();
    ASSERT_EQ(platform.messages.size(), 1) << platform.messages.join('|').toStdString();
    EXPECT_TRUE(platform.messages[0].startsWith(QDir::toNativeSeparators(path("resource.bmp")) +
                                                QStringLiteral(" kann nicht gelesen werden: ")))
        << platform.messages[0].toStdString();
    EXPECT_EQ(Form1->Button1->text(), QStringLiteral("&Beenden"));
}

TEST_F(Windows, HelpOpensTheLanguagesHelpFileOrNamesTheMissingOne) {
    startWithEnglish();
    Form1->Button9Click();
    EXPECT_EQ(platform.messages.size(), 1);
    EXPECT_TRUE(platform.messages.value(0).contains(QStringLiteral("vkdm_hen.hlp")));
    EXPECT_TRUE(platform.helpFiles.isEmpty());

    ASSERT_TRUE(test::writeBytes(path("Language/vkdm_hen.hlp"), "<p>help</p>"));
    Form1->Button9Click();
    EXPECT_EQ(platform.helpFiles, QStringList{path("Language/vkdm_hen.hlp")});
}

// A start directory of more than 299 characters is used whole: a shortened
// path would name another folder (a sibling whose name is the prefix).
TEST_F(Windows, ALongStartDirectoryIsUsedWhole) {
    QString deep = dir_.path();
    while (deep.size() <= 320)
        deep += QStringLiteral("/folder-of-a-long-start-directory");
    ASSERT_TRUE(QDir().mkpath(deep));
    ui::destroyWindows();
    QDir::setCurrent(deep);
    ui::createWindows();
    EXPECT_EQ(Form1->StartDir, QDir::currentPath());
    EXPECT_GT(Form1->StartDir.size(), 299);
}

// Colour components and a palette index outside 0 to 255 are named when the
// settings are loaded, and again whenever the Options dialog opens.
TEST_F(Windows, OutOfRangeColoursInTheSettingsAreNamed) {
    installLanguage("English");
    SettingsRecord record;
    record.screenIndex = 0;
    record.green = 256;
    record.paletteIndex = 999;
    writeSettings(record);
    Form1->FormActivate();
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_TRUE(platform.messages[0].contains("the green component of the transparent colour is 256"))
        << platform.messages[0].toStdString();
    EXPECT_TRUE(platform.messages[0].contains("the transparent palette index is 999"));
    platform.onModal = [](QWidget*) {};
    Form1->Button4Click(); // shown on opening (and again when the main window reloads after it)
    ASSERT_GE(platform.messages.size(), 2);
    EXPECT_EQ(platform.messages[1], platform.messages[0]);
}
