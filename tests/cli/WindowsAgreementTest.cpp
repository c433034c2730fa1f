// The windows and the command line share one road: the same theme and icon set
// built by clicking through the windows (headless) and by vedivavurir-cli come
// out as the same databases, byte for byte, with the dates fixed.
#include "cli/StagedStartDir.h"
#include "support/IconPicks.h"
#include "support/StartedWindows.h"
#include "support/TestFiles.h"
#include "ui/SettingsAndLanguage.h"
#include "ui/TForm1.h"
#include "ui/TForm6.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>

#include <gtest/gtest.h>

namespace vv::test {
namespace {

class WindowsAgreement : public WindowsInStartDir {
protected:
    void SetUp() override {
        ASSERT_TRUE(start.isValid());
        qputenv("SOURCE_DATE_EPOCH", "1704067200");
        ASSERT_TRUE(QImage(64, 48, QImage::Format_RGB32).save(start.filePath("resource.bmp"), "BMP"));
        // The double-density screen with every depth: the road with the most pieces.
        ASSERT_TRUE(start.editSettings([](SettingsRecord& s) {
            s.screenIndex = 1;
            s.screenText = "320x320 OS5";
            s.depths = {1, 2, 4, 8, 16};
            s.red = 255, s.green = 0, s.blue = 255, s.paletteIndex = 5;
        }));
        createWindowsIn(start.path());
        Form1->FormActivate();
        ASSERT_TRUE(platform.messages.isEmpty()) << platform.messages.join('|').toStdString();
    }
    void TearDown() override {
        WindowsInStartDir::TearDown();
        qunsetenv("SOURCE_DATE_EPOCH");
    }

    // Picks cells of both icon sheets into slots, as clicks on the two icon
    // windows do.
    void pick(IconWindow window, const QString& sheet, const QList<std::pair<int, int>>& slotCells) {
        ASSERT_TRUE(pickIcons(Form1->IconBoard, window, start.filePath(sheet), slotCells));
    }

    QByteArray takeDatabase(const QString& name) {
        const QString file = start.filePath("PDBFiles/" + name + ".pdb");
        const QByteArray bytes = readBytes(file);
        QFile::remove(file);
        return bytes;
    }

    StagedStartDir start; // platform runs the real compiler in it
};

TEST_F(WindowsAgreement, ThemeFromTheWindowsEqualsThemeFromTheCommandLine) {
    Form6->StartDir = Form1->StartDir;
    platform.fileAnswers.enqueue(start.filePath("ThmeBMP/SkinSheetHigh.bmp"));
    Form6->Button1Click();
    pick(IconWindow::Os5, "IconBMP/SampleIconsOS5.bmp", {{12, 7}});
    pick(IconWindow::Main, "IconBMP/SampleIcons.bmp", {{13, 5}, {31, 100}});
    Form1->Edit1->setText("Same Theme");
    // The main window's picks have built-in OS5 partners: both sides double them.
    platform.choiceAnswers.enqueue(0);
    Form1->Button2Click();
    ASSERT_EQ(platform.questions.size(), 1);
    ASSERT_TRUE(platform.messages.isEmpty()) << platform.messages.join('|').toStdString();
    const QByteArray fromWindows = takeDatabase("Same Theme");
    ASSERT_GT(fromWindows.size(), 78);

    // Theme icon slots count from 1 at the first theme slot (table index 12).
    const CliResult run = start.runProgram(
        {"theme", "--name", "Same Theme", "--hires-sheet", "ThmeBMP/SkinSheetHigh.bmp", "--hires-icons-sheet",
         "IconBMP/SampleIconsOS5.bmp", "--hires-icon", "1=7", "--icons-sheet", "IconBMP/SampleIcons.bmp",
         "--icon", "2=5", "--icon", "Image44=100", "--double-low"},
        {"SOURCE_DATE_EPOCH=1704067200"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QByteArray fromCli = takeDatabase("Same Theme");
    EXPECT_EQ(fromCli.size(), fromWindows.size());
    EXPECT_TRUE(fromCli == fromWindows) << "the databases differ";
}

TEST_F(WindowsAgreement, IconSetFromTheWindowsEqualsIconSetFromTheCommandLine) {
    pick(IconWindow::Os5, "IconBMP/SampleIconsOS5.bmp", {{3, 11}});
    pick(IconWindow::Main, "IconBMP/SampleIcons.bmp", {{0, 1}, {11, 272}});
    Form1->Edit1->setText("Same Icons");
    platform.choiceAnswers.enqueue(0);
    Form1->SpeedButton1Click();
    ASSERT_EQ(platform.questions.size(), 1);
    ASSERT_TRUE(platform.messages.isEmpty()) << platform.messages.join('|').toStdString();
    const QByteArray fromWindows = takeDatabase("Same Icons");
    ASSERT_GT(fromWindows.size(), 78);

    const CliResult run =
        start.runProgram({"iconset", "--name", "Same Icons", "--hires-sheet", "IconBMP/SampleIconsOS5.bmp",
                          "--hires-icon", "4=11", "--sheet", "IconBMP/SampleIcons.bmp", "--icon", "1=1",
                          "--icon", "Image252=272", "--double-low"},
                         {"SOURCE_DATE_EPOCH=1704067200"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(takeDatabase("Same Icons") == fromWindows) << "the databases differ";
}

} // namespace
} // namespace vv::test
