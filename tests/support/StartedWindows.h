// Fixtures for window tests. WindowsInStartDir makes the six windows in a
// start directory with everything they reach outside recorded; ScratchWindows
// gives them a scratch start directory holding resource.bmp; StartedWindows
// fills that with the English language, settings naming it, PDBFiles, a sheet
// folder and a build's work folder with its shipped data files, and activates
// the main window once without a message.
#pragma once

#include "app/SettingsFile.h"
#include "ui/SettingsAndLanguage.h"
#include "ui/TAboutBox.h"
#include "ui/TForm1.h"
#include "ui/TForm2.h"
#include "ui/TForm3.h"
#include "ui/TForm6.h"
#include "ui/TForm7.h"

#include "support/RecordingDialogs.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace vv::test {

class WindowsInStartDir : public ::testing::Test {
protected:
    // Makes `startDir` the working folder and creates the six windows there;
    // both are undone after the test.
    void createWindowsIn(const QString& startDir) {
        previousDir_ = QDir::currentPath();
        QDir::setCurrent(startDir);
        ui::createWindows();
    }
    void TearDown() override {
        if (previousDir_.isEmpty())
            return; // set-up failed before the windows were made
        ui::destroyWindows();
        QDir::setCurrent(previousDir_);
    }

    // The six windows, the main window first.
    static QList<QWidget*> sixWindows() { return {Form1, Form2, Form3, AboutBox, Form6, Form7}; }

    RecordingDesktop platform;

private:
    QString previousDir_;
};

class ScratchWindows : public WindowsInStartDir {
protected:
    // `canvas` becomes the start directory's resource.bmp.
    explicit ScratchWindows(QImage canvas = QImage(64, 48, QImage::Format_RGB32))
        : canvas_(std::move(canvas)) {}

    // Makes the scratch directory with resource.bmp; a test's own SetUp adds
    // what it needs and then calls createWindowsIn(dir_.path()).
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        ASSERT_TRUE(canvas_.save(path("resource.bmp"), "BMP"));
    }

    QString path(const QString& relative) const { return dir_.filePath(relative); }

    QTemporaryDir dir_;

private:
    QImage canvas_;
};

class StartedWindows : public ScratchWindows {
protected:
    // `sheetFolder` ("ThmeBMP", "IconBMP") is made empty; `workFolder`
    // ("ThmeRsrc", "IconRsrc") receives the .bin files that data/ ships in it.
    StartedWindows(QString sheetFolder, QString workFolder)
        : sheetFolder_(std::move(sheetFolder)), workFolder_(std::move(workFolder)) {}

    void SetUp() override {
        ScratchWindows::SetUp();
        if (HasFatalFailure())
            return;
        QDir start(dir_.path());
        for (const QString& folder :
             {QStringLiteral("Language"), sheetFolder_, workFolder_, QStringLiteral("PDBFiles")})
            ASSERT_TRUE(start.mkpath(folder));
        for (const QString& bin : QDir(dataPath(workFolder_)).entryList({"*.bin"}, QDir::Files))
            ASSERT_TRUE(QFile::copy(dataPath(workFolder_ + "/" + bin), path(workFolder_ + "/" + bin)));
        ASSERT_TRUE(
            writeBytes(path("Language/vkdm_English.lng"), readBytes(dataPath("Language/vkdm_English.lng"))));
        SettingsRecord record;
        record.languageName = QStringLiteral("English");
        ASSERT_TRUE(writeSettingsFile(path("vkdm_settings.cfg"), record));
        createWindowsIn(dir_.path());
        Form1->FormActivate();
        ASSERT_TRUE(platform.messages.isEmpty()) << platform.messages.join('|').toStdString();
    }

    // Sets the Options dialog's depth boxes: exactly `depths` on.
    static void chooseDepths(DepthSet depths) {
        // On before off, so the one-depth rule never steps in.
        for (const bool on : {true, false})
            for (const BitDepthRow& row : kBitDepthRows)
                if (depths.contains(row.bpp) == on)
                    Form3->depthBox(row.bpp)->setChecked(on);
    }

    // Runs the fake compiler in place of the one a build asked for. It keeps
    // copies of the script and of every piece in fake_seen/ of the start directory.
    static ProcessOutcome runFakeCompiler(const ProcessCall& call) {
        QProcess process;
        process.setWorkingDirectory(call.workingDirectory);
        process.start(binPath("fake_vkdm_pdb"), call.arguments);
        process.waitForFinished(-1);
        ProcessOutcome outcome;
        outcome.status = ProcessOutcome::Status::Finished;
        outcome.exitCode = process.exitCode();
        return outcome;
    }

private:
    QString sheetFolder_;
    QString workFolder_;
};

} // namespace vv::test
