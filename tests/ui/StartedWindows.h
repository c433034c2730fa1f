// A fixture for window tests: the six windows created in a scratch start
// directory that holds the English language, settings naming it, resource.bmp,
// PDBFiles, a sheet folder and a build's work folder with its shipped data
// files, and the main window activated once without a message.
#pragma once

#include "app/SettingsFile.h"
#include "ui/SettingsAndLanguage.h"
#include "ui/TForm1.h"

#include "support/RecordingPlatform.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QImage>
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

    RecordingPlatform platform;
    QTemporaryDir dir_;

private:
    QString sheetFolder_;
    QString workFolder_;
    QString previousDir_;
};

} // namespace vv::test
