// What choosing each SystemScreen does, one row per screen: a screen added to
// the table without its row here fails the first check.
#include "common/SystemScreens.h"
#include "app/SettingsFile.h"
#include "buildrun/ResourceScript.h"
#include "icons/IconBoard.h"
#include "theme/ThemeBuildPlan.h"

#include <gtest/gtest.h>

using namespace vv;

namespace {

struct ScreenCase {
    const char* name;
    int screenType;
    const char* bitmapBlock16; // a theme bitmap family with only 16 bpp on
    const char* themeInfoFile; // with 8 bpp on
    int themePieceFiles;
    bool highThemeWindow;
    const char* captionSuffix;
    bool highIconsButton;
};

const ScreenCase kCases[] = {
    {"160x160 Low", 1,
     "BITMAPFAMILYEX ID 1000\r\n BEGIN\r\n  BITMAP \"ThmeRsrc/Tbmp03EE.bmp\" BPP 16 DENSITY 1 TRANSPARENT 0 "
     "255 0\r\n "
     "END\r\n\r\n",
     "InFO03E8.bin", 136, false, "", false},
    {"320x320 OS5", 2,
     "BITMAPFAMILYEX ID 1000\r\n BEGIN\r\n  BITMAP \"ThmeRsrc/Tbmp03EE.bmp\" BPP 16 DENSITY 1 TRANSPARENT 0 "
     "255 0\r\n"
     "  BITMAP \"ThmeRsrc/Tbmp04EE.bmp\" BPP 16 DENSITY 2 TRANSPARENT 0 255 0\r\n END\r\n\r\n",
     "InFOOS5.bin", 156, false, " OS5 Low-Res", true},
    {"320x320 Sony", 3,
     "BITMAPFAMILYEX ID 11000\r\n BEGIN\r\n  BITMAP \"ThmeRsrc/Tbmp04EE.bmp\" BPP 16 DENSITY 1 TRANSPARENT 0 "
     "255 0\r\n "
     "END\r\n\r\n",
     "InFOSONY.bin", 136, true, " Sony Hi-Res", false},
    {"320x480 Sony", 3,
     "BITMAPFAMILYEX ID 11000\r\n BEGIN\r\n  BITMAP \"ThmeRsrc/Tbmp04EE.bmp\" BPP 16 DENSITY 1 TRANSPARENT 0 "
     "255 0\r\n "
     "END\r\n\r\n",
     "InFOSONY.bin", 136, true, " Sony Hi-Res", false},
};

} // namespace

TEST(SystemScreens, EachScreenBuildsAndShowsAsItsRowSays) {
    ASSERT_EQ(systemScreenNames().size(), qsizetype(std::size(kCases)));
    const ResourceFamily sky{FamilyKind::Bitmap, 1000, "ThmeRsrc", "Tbmp03EE", "Tbmp04EE"};
    const ThemePieces pieces;
    const IconBoard icons;
    for (int index = 0; index < int(std::size(kCases)); ++index) {
        const ScreenCase& c = kCases[index];
        EXPECT_EQ(systemScreenNames()[index], QLatin1String(c.name));
        EXPECT_EQ(systemScreenIndexOf(QLatin1String(c.name)), index);
        const int screenType = screenTypeFromStoredIndex(index);
        EXPECT_EQ(screenType, c.screenType) << c.name;

        BuildOptions options;
        options.depths = {16};
        options.screenType = screenType;
        EXPECT_EQ(QString::fromLatin1(familyBlock(sky, options)), QLatin1String(c.bitmapBlock16)) << c.name;
        options.depths.set(8);
        EXPECT_TRUE(dataTrailer(BuildKind::Theme, options).contains(QByteArray("/") + c.themeInfoFile + '"'))
            << c.name;
        EXPECT_EQ(themePieceFiles(pieces, icons, screenType).size(), c.themePieceFiles) << c.name;

        const ScreenProfile* profile = screenProfileOf(screenType);
        ASSERT_TRUE(profile) << c.name;
        EXPECT_EQ(profile->opensHighThemeWindow, c.highThemeWindow) << c.name;
        EXPECT_STREQ(profile->captionSuffix, c.captionSuffix) << c.name;
        EXPECT_EQ(profile->showsHighIconsButton, c.highIconsButton) << c.name;
    }
    EXPECT_EQ(systemScreenIndexOf(QStringLiteral("160x160")), -1);
    EXPECT_EQ(screenProfileOf(0), nullptr);
    EXPECT_EQ(screenProfileOf(77), nullptr);
}
