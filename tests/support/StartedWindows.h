// A fixture for window tests: the six windows created in a scratch start
// directory that holds the English language, settings naming it, resource.bmp,
// PDBFiles, a sheet folder and a build's work folder with its shipped data
// files, and the main window activated once without a message.
#pragma once

#include "app/SettingsFile.h"
#include "ui/SettingsAndLanguage.h"
#include "ui/TForm1.h"
#include "ui/TForm3.h"

#include "support/RecordingDialogs.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace vv::test {

class StartedWindows : public ::testing::Test {
protected:
    // `sheetFolder` ("ThmeBMP", "IconBMP") is made empty; `workFolder`
    // ("ThmeRsrc", "IconRsrc") receives the .bin files that data/ ships in it.
    StartedWindows(QString sheetFolder, QString workFolder)
        : sheetFolder_(std::move(sheetFolder)), workFolder_(std::move(workFolder)) {}

    void SetUp() override {
        previousDir_ = QDir::currentPath();
        ASSERT_TRUE(dir_.isValid());
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
        ASSERT_TRUE(QImage(64, 48, QImage::Format_RGB32).save(path("resource.bmp"), "BMP"));
        QDir::setCurrent(dir_.path());
        ui::createWindows();
        Form1->FormActivate();
        ASSERT_TRUE(platform.messages.isEmpty()) << platform.messages.join('|').toStdString();
    }
    void TearDown() override {
        ui::destroyWindows();
        QDir::setCurrent(previousDir_);
    }

    QString path(const QString& relative) const { return dir_.filePath(relative); }

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

    RecordingDesktop platform;
    QTemporaryDir dir_;

private:
    QString sheetFolder_;
    QString workFolder_;
    QString previousDir_;
};

} // namespace vv::test
