// The script's bytes: BITMAP lines, family blocks per screen type and depth,
// DATA trailers and the closing header.
#include "buildrun/ResourceScript.h"
#include "buildrun/BuildKindTraits.h"

#include <gtest/gtest.h>

namespace vv {
namespace {

const ResourceFamily kSkyBitmap{FamilyKind::Bitmap, 1000, "ThmeRsrc", "Tbmp03EE", "Tbmp04EE"};
const ResourceFamily kThemeIcon{FamilyKind::Icon, 10000, "ThmeRsrc", "Icon03E0", "Icon04H0"};

BuildOptions withDepths(const QList<int>& depths, int screenType) {
    BuildOptions options;
    options.depths = {};
    for (const int bpp : depths)
        options.depths.set(bpp);
    options.screenType = screenType;
    return options;
}

TEST(ResourceScript, BitmapLinesCarryCompressionAndTransparency) {
    BuildOptions compressed;
    compressed.compressKeyword = "COMPRESS ";
    const BuildOptions plain;
    EXPECT_EQ(bitmapLine("ThmeRsrc", "Tbmp03EE", 8, 1, compressed),
              "  BITMAP \"ThmeRsrc/Tbmp03EE.bmp\" BPP 8 DENSITY 1 COMPRESS TRANSPARENTINDEX 210\r\n");
    EXPECT_EQ(bitmapLine("ThmeRsrc", "Tbmp03EE", 16, 1, plain),
              "  BITMAP \"ThmeRsrc/Tbmp03EE.bmp\" BPP 16 DENSITY 1 TRANSPARENT 0 255 0\r\n");
    EXPECT_EQ(bitmapLine("IconRsrc", "Icon03E1", 1, 1, plain),
              "  BITMAP \"IconRsrc/Icon03E1.bmp\" BPP 1 DENSITY 1 \r\n");
    EXPECT_EQ(bitmapLine("IconRsrc", "Icon03E1", 1, 1, compressed),
              "  BITMAP \"IconRsrc/Icon03E1.bmp\" BPP 1 DENSITY 1 COMPRESS \r\n");

    BuildOptions coloured;
    coloured.transparentIndex = "7";
    coloured.transparentRed = "12";
    coloured.transparentGreen = "34";
    coloured.transparentBlue = "56";
    EXPECT_EQ(bitmapLine("ThmeRsrc", "Tbmp04F9", 8, 2, coloured),
              "  BITMAP \"ThmeRsrc/Tbmp04F9.bmp\" BPP 8 DENSITY 2 TRANSPARENTINDEX 7\r\n");
    EXPECT_EQ(bitmapLine("ThmeRsrc", "Tbmp04F9", 16, 2, coloured),
              "  BITMAP \"ThmeRsrc/Tbmp04F9.bmp\" BPP 16 DENSITY 2 TRANSPARENT 12 34 56\r\n");
}

struct BlockCase {
    const char* name;
    ResourceFamily family;
    BuildOptions options;
    QByteArray expected;
};

TEST(ResourceScript, FamilyBlocksFollowScreenTypeAndDepths) {
    const QByteArray end = " END\r\n\r\n";
    const QList<BlockCase> cases{
        {"no screen chosen: bitmap family has no lines", kSkyBitmap, withDepths({8, 16}, -1),
         "BITMAPFAMILYEX ID 1000\r\n BEGIN\r\n" + end},
        {"no screen chosen: icon family keeps its low icon", kThemeIcon, withDepths({8, 16}, -1),
         "ICONFAMILYEX ID 10000\r\n BEGIN\r\n"
         "  BITMAP \"ThmeRsrc/Icon03E0.bmp\" BPP 8 DENSITY 1 TRANSPARENTINDEX 210\r\n"
         "  BITMAP \"ThmeRsrc/Icon03E0.bmp\" BPP 16 DENSITY 1 TRANSPARENT 0 255 0\r\n" +
             end},
        {"Sony: prefixed ID and the high piece at density 1", kSkyBitmap, withDepths({1, 8, 16}, 3),
         "BITMAPFAMILYEX ID 11000\r\n BEGIN\r\n"
         "  BITMAP \"ThmeRsrc/Tbmp03EE.bmp\" BPP 1 DENSITY 1 \r\n"
         "  BITMAP \"ThmeRsrc/Tbmp04EE.bmp\" BPP 8 DENSITY 1 TRANSPARENTINDEX 210\r\n"
         "  BITMAP \"ThmeRsrc/Tbmp04EE.bmp\" BPP 16 DENSITY 1 TRANSPARENT 0 255 0\r\n" +
             end},
        {"Sony: icon ID unprefixed, low icon", kThemeIcon, withDepths({8}, 3),
         "ICONFAMILYEX ID 10000\r\n BEGIN\r\n"
         "  BITMAP \"ThmeRsrc/Icon03E0.bmp\" BPP 8 DENSITY 1 TRANSPARENTINDEX 210\r\n" +
             end},
        {"OS5 with all depths: seven lines", kSkyBitmap, withDepths({1, 2, 4, 8, 16}, 2),
         "BITMAPFAMILYEX ID 1000\r\n BEGIN\r\n"
         "  BITMAP \"ThmeRsrc/Tbmp03EE.bmp\" BPP 1 DENSITY 1 \r\n"
         "  BITMAP \"ThmeRsrc/Tbmp03EE.bmp\" BPP 2 DENSITY 1 \r\n"
         "  BITMAP \"ThmeRsrc/Tbmp03EE.bmp\" BPP 4 DENSITY 1 \r\n"
         "  BITMAP \"ThmeRsrc/Tbmp03EE.bmp\" BPP 8 DENSITY 1 TRANSPARENTINDEX 210\r\n"
         "  BITMAP \"ThmeRsrc/Tbmp04EE.bmp\" BPP 8 DENSITY 2 TRANSPARENTINDEX 210\r\n"
         "  BITMAP \"ThmeRsrc/Tbmp03EE.bmp\" BPP 16 DENSITY 1 TRANSPARENT 0 255 0\r\n"
         "  BITMAP \"ThmeRsrc/Tbmp04EE.bmp\" BPP 16 DENSITY 2 TRANSPARENT 0 255 0\r\n" +
             end},
        {"OS5: icon family gets its high icon at density 2", kThemeIcon, withDepths({16}, 2),
         "ICONFAMILYEX ID 10000\r\n BEGIN\r\n"
         "  BITMAP \"ThmeRsrc/Icon03E0.bmp\" BPP 16 DENSITY 1 TRANSPARENT 0 255 0\r\n"
         "  BITMAP \"ThmeRsrc/Icon04H0.bmp\" BPP 16 DENSITY 2 TRANSPARENT 0 255 0\r\n" +
             end},
        {"low resolution: low piece only", kSkyBitmap, withDepths({4, 16}, 1),
         "BITMAPFAMILYEX ID 1000\r\n BEGIN\r\n"
         "  BITMAP \"ThmeRsrc/Tbmp03EE.bmp\" BPP 4 DENSITY 1 \r\n"
         "  BITMAP \"ThmeRsrc/Tbmp03EE.bmp\" BPP 16 DENSITY 1 TRANSPARENT 0 255 0\r\n" +
             end},
    };
    for (const BlockCase& c : cases)
        EXPECT_EQ(familyBlock(c.family, c.options), c.expected) << c.name;
}

TEST(ResourceScript, BitmapBlocksComeFirstAndNoTrailerWithoutAKnownScreen) {
    const ResourceFamily secondBitmap{FamilyKind::Bitmap, 2040, "ThmeRsrc", "Tbmp03F9", "Tbmp04F9"};
    const BuildOptions options = withDepths({8, 16}, -1);
    const QByteArray script =
        resourceScript(BuildKind::Theme, {kThemeIcon, kSkyBitmap, secondBitmap}, options);
    EXPECT_EQ(script, familyBlock(kSkyBitmap, options) + familyBlock(secondBitmap, options) +
                          familyBlock(kThemeIcon, options));
}

TEST(ResourceScript, ScriptIsCrLfSingleByteWithoutMark) {
    BuildOptions options = withDepths({1, 2, 4, 8, 16}, 2);
    const QByteArray script = resourceScript(BuildKind::Theme, {kSkyBitmap, kThemeIcon}, options);
    EXPECT_TRUE(script.startsWith("BITMAPFAMILYEX ID 1000\r\n"));
    EXPECT_EQ(script.count('\n'), script.count("\r\n"));
    EXPECT_EQ(script.count('\r'), script.count("\r\n"));
    for (const char byte : script)
        EXPECT_LT(static_cast<unsigned char>(byte), 0x80);
}

TEST(ResourceScript, ThemeTrailerEndsWithoutLineEndIconSetTrailerWithOne) {
    const QByteArray theme = resourceScript(BuildKind::Theme, {kSkyBitmap}, withDepths({8}, 1));
    const QByteArray iconSet =
        resourceScript(BuildKind::IconSet, {{FamilyKind::Icon, 10000, "IconRsrc", "Icon03E1", "Icon04H1"}},
                       withDepths({1}, 1));
    EXPECT_TRUE(
        theme.endsWith("\r\nDATA \"tAIN\" ID 1000 \"ThmeRsrc/tAIN03E8.bin\"\r\nVERSION ID 1000 \"1.0\""));
    EXPECT_TRUE(iconSet.endsWith(
        "\r\nDATA \"tAIN\" ID 1000 \"IconRsrc/tAIN03E8.bin\"\r\nVERSION ID 1000 \"1.0\"\r\n"));
}

TEST(ResourceScript, ThemeTrailerInFull) {
    EXPECT_EQ(dataTrailer(BuildKind::Theme, withDepths({8}, 1)),
              "\r\nDATA \"code\" ID 1 \"ThmeRsrc/code0001.bin\""
              "\r\nDATA \"data\" ID 0 \"ThmeRsrc/data0000.bin\""
              "\r\nDATA \"IdAT\" ID 1000 \"ThmeRsrc/IdAT03E8.bin\""
              "\r\nDATA \"InFO\" ID 1000 \"ThmeRsrc/InFO03E8.bin\""
              "\r\nDATA \"code\" ID 0 \"ThmeRsrc/code0000.bin\""
              "\r\nDATA \"tAIN\" ID 1000 \"ThmeRsrc/tAIN03E8.bin\""
              "\r\nVERSION ID 1000 \"1.0\"");
}

struct TrailerCase {
    BuildKind kind;
    int screenType;
    QList<int> depths;
    const char* info; // nullptr: no trailer
    const char* idat;
};

TEST(ResourceScript, TrailerVariants) {
    const QList<TrailerCase> cases{
        {BuildKind::Theme, 1, {1, 8}, "InFO03E8.bin", "IdAT03E8.bin"},
        {BuildKind::Theme, 1, {4, 16}, "InFO03E4.bin", "IdAT03E8.bin"},
        {BuildKind::Theme, 1, {1, 2, 16}, "InFO03E2.bin", "IdAT03E8.bin"},
        {BuildKind::Theme, 2, {1}, "InFOOS5.bin", "IdATOS5.bin"},
        {BuildKind::Theme, 3, {8}, "InFOSONY.bin", "IdAT03E8.bin"},
        {BuildKind::Theme, -1, {8}, nullptr, nullptr},
        {BuildKind::Theme, 0, {1}, nullptr, nullptr},
        {BuildKind::IconSet, 1, {1, 2, 16}, "InFO03E6.bin", "IdAT03E8.bin"},
        {BuildKind::IconSet, 2, {1, 8}, "InFO03E8.bin", "IdAT03E8.bin"},
        {BuildKind::IconSet, 3, {2, 4}, "InFO03E4.bin", "IdAT03E8.bin"},
        {BuildKind::IconSet, -1, {1, 2}, "InFO03E2.bin", "IdAT03E8.bin"},
        {BuildKind::IconSet, 2, {1}, "InFO03E1.bin", "IdAT03E8.bin"},
    };
    for (const TrailerCase& c : cases) {
        const QByteArray trailer = dataTrailer(c.kind, withDepths(c.depths, c.screenType));
        const QByteArray folder = traitsOf(c.kind).workFolder;
        const QString label = QStringLiteral("kind %1, screen %2, info %3")
                                  .arg(int(c.kind))
                                  .arg(c.screenType)
                                  .arg(c.info ? c.info : "none");
        if (!c.info) {
            EXPECT_TRUE(trailer.isEmpty()) << label.toStdString();
            continue;
        }
        EXPECT_EQ(trailer.count("\r\n"), c.kind == BuildKind::Theme ? 7 : 8) << label.toStdString();
        EXPECT_TRUE(trailer.contains("\r\nDATA \"IdAT\" ID 1000 \"" + folder + '/' + c.idat + "\"\r\n"))
            << label.toStdString();
        EXPECT_TRUE(trailer.contains("\r\nDATA \"InFO\" ID 1000 \"" + folder + '/' + c.info + "\"\r\n"))
            << label.toStdString();
    }
}

TEST(ResourceScript, ClosingHeaderBytes) {
    EXPECT_EQ(closingHeader(BuildKind::Theme, VV_VERSION),
              QByteArray("Lantern Shade Vedi Vavurir v " VV_VERSION "\r\nTheme Configuration Scheme File\r\n"
                         "Developed by Orrin Vantal.\r\n") +
                  '\0');
    const QByteArray iconSet = closingHeader(BuildKind::IconSet, VV_VERSION);
    EXPECT_EQ(iconSet,
              QByteArray("Lantern Shade Vedi Vavurir v " VV_VERSION "\r\nIcon Configuration Scheme File\r\n"
                         "Developed by Orrin Vantal.\r\n") +
                  '\0');
}

} // namespace
} // namespace vv
