#include "app/Palette.h"

#include <gtest/gtest.h>

using namespace vv;

namespace {

QString hex(int r, int g, int b) {
    return QStringLiteral("%1%2%3")
        .arg(r, 2, 16, QLatin1Char('0'))
        .arg(g, 2, 16, QLatin1Char('0'))
        .arg(b, 2, 16, QLatin1Char('0'))
        .toUpper();
}

} // namespace

TEST(Palette, IndexOfChosenColours) {
    struct Case {
        int r, g, b, index;
    };
    const Case cases[] = {
        {0, 255, 0, 210},        {255, 255, 255, 0},    {0, 0, 0, 230},         {24, 24, 24, 230},
        {25, 25, 25, 190},       {128, 0, 0, 161},      {127, 0, 0, 179},       {20, 30, 240, 94},
        {0xFF, 0xCC, 0xFF, 1},   {0xFF, 0xFF, 0xCC, 6}, {0xCC, 0xFF, 0xFF, 18}, {0xFF, 0xFF, 0x66, 108},
        {0x00, 0x33, 0x00, 214},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PaletteIndexOf(hex(c.r, c.g, c.b)), c.index) << c.r << "," << c.g << "," << c.b;
}

TEST(Palette, HexByteValueAndQuantise) {
    EXPECT_EQ(HexByteValue("0A"), 10);
    EXPECT_EQ(HexByteValue("a"), 10);
    EXPECT_EQ(HexByteValue("FF"), 255);
    EXPECT_EQ(HexByteValue("00"), 0);
    EXPECT_EQ(HexByteValue("G1"), -1);
    const std::pair<int, const char*> levels[] = {{0, "00"},   {24, "00"},  {25, "33"},  {76, "33"},
                                                  {77, "66"},  {127, "66"}, {128, "99"}, {178, "99"},
                                                  {179, "CC"}, {229, "CC"}, {230, "FF"}, {255, "FF"}};
    for (const auto& [value, level] : levels)
        EXPECT_EQ(QuantiseComponent(QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0'))),
                  QString::fromLatin1(level))
            << value;
}

TEST(Palette, WholeTableFollowsTheIndexRule) {
    const int level[6] = {0xFF, 0xCC, 0x99, 0x66, 0x33, 0x00};
    const auto& table = palmSystemPalette();
    for (int lr = 0; lr < 6; ++lr)
        for (int lg = 0; lg < 6; ++lg)
            for (int lb = 0; lb < 6; ++lb) {
                const int index =
                    (lr == 5 && lg == 5 && lb == 5) ? 230 : 108 * (lb / 3) + 18 * lr + 6 * (lb % 3) + lg;
                EXPECT_EQ(table[index], qRgb(level[lr], level[lg], level[lb])) << index;
                EXPECT_EQ(PaletteIndexOf(hex(level[lr], level[lg], level[lb])), index);
            }
    const int greys[] = {0x11, 0x22, 0x44, 0x55, 0x77, 0x88, 0xAA, 0xBB, 0xDD, 0xEE};
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(table[215 + i], qRgb(greys[i], greys[i], greys[i]));
    EXPECT_EQ(table[225], qRgb(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(table[226], qRgb(0x80, 0, 0));
    EXPECT_EQ(table[227], qRgb(0x80, 0, 0x80));
    EXPECT_EQ(table[228], qRgb(0, 0x80, 0));
    EXPECT_EQ(table[229], qRgb(0, 0x80, 0x80));
    for (int i = 230; i < 256; ++i)
        EXPECT_EQ(table[i], qRgb(0, 0, 0)) << i;
}

TEST(Palette, NearestColourTiesGoToTheHighestIndex) {
    struct Case {
        QRgb colour;
        int index;
    };
    const Case cases[] = {{qRgb(0, 0, 0), 255},      {qRgb(255, 255, 255), 0}, {qRgb(0, 255, 0), 210},
                          {qRgb(255, 0, 0), 125},    {qRgb(0, 0, 255), 95},    {qRgb(128, 128, 128), 220},
                          {qRgb(200, 0, 0), 143},    {qRgb(24, 24, 24), 215},  {qRgb(192, 192, 192), 225},
                          {qRgb(100, 150, 200), 62}, {qRgb(8, 8, 8), 255}};
    for (const Case& c : cases)
        EXPECT_EQ(formats::nearestPaletteIndex(c.colour), c.index)
            << qRed(c.colour) << "," << qGreen(c.colour);
}
