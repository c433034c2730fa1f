#include "app/OptionRules.h"

#include "support/TestFiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vv;

TEST(OptionRules, OneBitDepthAlwaysStays) {
    DepthSet depths;
    EXPECT_TRUE(keepOneBitDepth(depths));
    EXPECT_EQ(depths, (DepthSet{1}));
    depths = {16};
    EXPECT_FALSE(keepOneBitDepth(depths));
    EXPECT_EQ(depths, (DepthSet{16}));
}

TEST(OptionRules, LanguageNameFromFileName) {
    EXPECT_EQ(languageNameFromFileName(QStringLiteral("vkdm_English.lng")), QStringLiteral("English"));
    EXPECT_EQ(languageNameFromFileName(QStringLiteral("vkdm_X.lng")), QStringLiteral("X"));
    EXPECT_EQ(languageNameFromFileName(QStringLiteral("vkdm_.lng")), QString());
    EXPECT_EQ(languageNameFromFileName(QStringLiteral("xx_Dansk.lng")), QStringLiteral("nsk"));
}

TEST(OptionRules, ColourChoiceShowsTheColourAndItsCubeIndex) {
    struct Case {
        QColor colour;
        const char *value, *hex, *dec;
        int index;
    };
    const Case cases[] = {
        {QColor(0, 255, 0), "65280", "00FF00", "0 255 0", 210},
        {QColor(20, 30, 240), "15736340", "141EF0", "20 30 240", 94}, // index of (00, 33, FF)
        {QColor(255, 255, 255), "16777215", "FFFFFF", "255 255 255", 0},
        {QColor(0, 0, 0), "0", "000000", "0 0 0", 230},
    };
    for (const Case& c : cases) {
        const ColourChoice choice = describeColourChoice(c.colour);
        EXPECT_EQ(choice.platformValue, QLatin1String(c.value));
        EXPECT_EQ(choice.hexRed + choice.hexGreen + choice.hexBlue, QLatin1String(c.hex));
        EXPECT_EQ(choice.decRed + ' ' + choice.decGreen + ' ' + choice.decBlue, QLatin1String(c.dec));
        EXPECT_EQ(choice.paletteIndex, c.index) << c.value;
    }
    EXPECT_EQ(hexByteText(10), QStringLiteral("0A"));
    EXPECT_EQ(hexByteText(300), QStringLiteral("12C"));
}

#ifndef Q_OS_WIN
TEST(OptionRules, InstallToolMustBeAnExecutableFile) {
    QTemporaryDir dir;
    const QString tool = dir.filePath(QStringLiteral("install.exe"));
    ASSERT_TRUE(test::writeBytes(tool, "#!/bin/sh\n"));
    QFile::setPermissions(tool, QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_FALSE(isRunnableInstallTool(tool));
    QFile::setPermissions(tool, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_TRUE(isRunnableInstallTool(tool));
    EXPECT_FALSE(isRunnableInstallTool(dir.path()));
    EXPECT_FALSE(isRunnableInstallTool(dir.filePath(QStringLiteral("missing"))));
}
#endif

TEST(OptionRules, DataPathsHangBelowTheStartDirectory) {
    EXPECT_EQ(settingsFilePath(QStringLiteral("/s")), QStringLiteral("/s/vkdm_settings.cfg"));
    EXPECT_EQ(languageFilePath(QStringLiteral("/s"), QStringLiteral("English")),
              QStringLiteral("/s/Language/vkdm_English.lng"));
    EXPECT_EQ(helpFilePath(QStringLiteral("/s"), QStringLiteral("en")),
              QStringLiteral("/s/Language/vkdm_hen.hlp"));
}
