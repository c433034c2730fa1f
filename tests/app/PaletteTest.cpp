#include "common/Palette.h"

#include <QFile>

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

// netpbm ships the Palm 8-bit palette as a plain PPM in index order; it was
// written independently of ours, so it checks the table rather than restating it.
TEST(Palette, WholeTableEqualsNetpbmsPalmPalette) {
    QFile map(QStringLiteral("/usr/share/netpbm/palmcolor8.map"));
    ASSERT_TRUE(map.open(QIODevice::ReadOnly)) << "netpbm's palmcolor8.map (package netpbm)";
    const QList<QByteArray> words = map.readAll().simplified().split(' ');
    ASSERT_GE(words.size(), 4);
    ASSERT_EQ(words[0], "P3");
    const int entries = words[1].toInt() * words[2].toInt();
    ASSERT_EQ(entries, 256);
    ASSERT_EQ(words.size(), 4 + 3 * entries);
    const auto& table = palmSystemPalette();
    for (int index = 0; index < entries; ++index) {
        const int r = words[4 + 3 * index].toInt(), g = words[5 + 3 * index].toInt(),
                  b = words[6 + 3 * index].toInt();
        EXPECT_EQ(table[index], qRgb(r, g, b)) << index;
    }
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
