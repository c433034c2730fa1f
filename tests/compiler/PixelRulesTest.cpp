// How colours become stored pixels: grey thresholds, the palette's tie rule,
// 565 truncation, and pictures of every BMP kind giving the same rows.
#include "CompilerTestSupport.h"

#include "common/Palette.h"
#include "compiler/PictureReader.h"
#include "compiler/PixelConverter.h"
#include "compiler/QtBytes.h"
#include "formats/PaletteMapper.h"
#include "support/TestFiles.h"

#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using vv::pdb::PixelConverter;

namespace {

TEST(PixelRules, GreyLevelsFollowTheSumOfTheComponents) {
    struct Case {
        int sum, depth, index;
    };
    const Case cases[] = {
        {382, 1, 1}, {383, 1, 0}, {0, 1, 1},   {765, 1, 0},                           // black up to 382
        {192, 2, 3}, {193, 2, 2}, {480, 2, 2}, {481, 2, 1}, {670, 2, 1}, {671, 2, 0}, // C0 and 80 greys
        {0, 4, 15},  {25, 4, 15}, {26, 4, 14}, {383, 4, 7}, {739, 4, 1}, {740, 4, 0}, {765, 4, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PixelConverter::greyIndex(c.sum, c.depth), c.index)
            << "sum " << c.sum << " at " << c.depth << " bpp";
}

TEST(PixelRules, PaletteIndexIsTheNearestColourWithTiesToTheHighestIndex) {
    struct Case {
        QRgb colour;
        int index;
    };
    const Case cases[] = {
        {qRgb(0, 0, 0), 255},       {qRgb(8, 8, 8), 255},      {qRgb(255, 255, 255), 0},
        {qRgb(0, 255, 0), 210},     {qRgb(255, 0, 0), 125},    {qRgb(0, 0, 255), 95},
        {qRgb(128, 128, 128), 220}, {qRgb(200, 0, 0), 143},    {qRgb(24, 24, 24), 215},
        {qRgb(192, 192, 192), 225}, {qRgb(100, 150, 200), 62}, {qRgb(0x80, 0, 0), 226},
        {qRgb(9, 9, 9), 215}, // (9,9,9): 243 to black, 192 to 11 11 11
    };
    const PixelConverter converter;
    for (const Case& c : cases)
        EXPECT_EQ(converter.paletteIndex(c.colour, std::nullopt), c.index) << std::hex << c.colour;
}

TEST(PixelRules, FastPaletteSearchAgreesWithTheFullSearch) {
    const vv::formats::PaletteMapper mapper;
    auto check = [&](int r, int g, int b) {
        const QRgb c = qRgb(r, g, b);
        ASSERT_EQ(mapper.indexOf(c), vv::formats::nearestPaletteIndex(c)) << r << "," << g << "," << b;
    };
    for (int r = 0; r < 256; r += 5)
        for (int g = 0; g < 256; g += 5)
            for (int b = 0; b < 256; b += 5)
                check(r, g, b);
    // Values beside every midpoint between cube levels and beside the extra greys.
    const int edges[] = {0,   8,   9,   16,  17,  24,  25,  26,  27,  42,  43,  50,
                         51,  52,  75,  76,  77,  78,  95,  96,  127, 128, 129, 144,
                         160, 177, 178, 179, 180, 188, 192, 216, 229, 230, 238, 255};
    for (int r : edges)
        for (int g : edges)
            for (int b : edges)
                check(r, g, b);
    QRandomGenerator random(42);
    for (int i = 0; i < 200000; ++i) {
        const quint32 v = random.generate();
        check(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF);
    }
}

TEST(PixelRules, TransparencyColourIsStoredAsItsOwnIndex) {
    const PixelConverter converter;
    EXPECT_EQ(converter.paletteIndex(qRgb(0, 0, 0), 230), 230); // black would otherwise be 255
    EXPECT_EQ(converter.paletteIndex(qRgb(0, 0, 0), 240), 240);
    EXPECT_EQ(converter.paletteIndex(qRgb(0, 255, 0), 230), 210);
    EXPECT_EQ(converter.paletteIndex(qRgb(1, 0, 0), 230), 255); // only the exact colour
}

TEST(PixelRules, Rgb565Truncates) {
    struct Case {
        QRgb colour;
        quint16 value;
    };
    const Case cases[] = {
        {qRgb(128, 128, 128), 0x8410}, {qRgb(200, 100, 50), 0xCB26}, {qRgb(250, 250, 250), 0xFFDF},
        {qRgb(192, 192, 192), 0xC618}, {qRgb(255, 0, 0), 0xF800},    {qRgb(7, 3, 7), 0x0000},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PixelConverter::rgb565(c.colour), c.value) << std::hex << c.colour;
}

TEST(PixelRules, EveryKindOfBmpGivesTheSameRows) {
    const PixelConverter converter;
    const auto reference = vv::pdb::PictureReader::read(
        vv::pdb::utf8Of(vv::test::fixturePath("compiler/pictures/a.bmp")), nullptr);
    ASSERT_TRUE(reference);
    for (const char* name : {"a-topdown.bmp", "a32.bmp", "a8.bmp", "a4-topdown.bmp"}) {
        std::string error;
        const auto picture = vv::pdb::PictureReader::read(
            vv::pdb::utf8Of(vv::test::fixturePath(QStringLiteral("compiler/pictures/") + name)), &error);
        ASSERT_TRUE(picture) << name << ": " << error;
        for (int depth : {1, 2, 4, 8, 16})
            EXPECT_EQ(converter.convert(*picture, depth), converter.convert(*reference, depth))
                << name << " at " << depth << " bpp";
    }
    // The rows themselves, top to bottom, MSB first, padding zeroed.
    EXPECT_EQ(vv::pdb::qtBytes(converter.convert(*reference, 2)).toHex(), "c800a800");
    EXPECT_EQ(vv::pdb::qtBytes(converter.convert(*reference, 8)).toHex(), "ff007d00dcd25f00");
}

TEST(PixelRules, OneBitPictureWiderThanAByte) {
    const PixelConverter converter;
    const auto picture = vv::pdb::PictureReader::read(
        vv::pdb::utf8Of(vv::test::fixturePath("compiler/pictures/mono.bmp")), nullptr);
    ASSERT_TRUE(picture);
    EXPECT_EQ(vv::pdb::qtBytes(converter.convert(*picture, 1)).toHex(), "90804000");
    EXPECT_EQ(vv::pdb::qtBytes(converter.convert(*picture, 4)).toHex(),
              "f00f0000f0000f0000000000"); // row 0, then row 1
}

TEST(PixelRules, PalettePictureIsMappedByItsColoursNotItsIndices) {
    // A Palm-palette picture: indices 230..255 are all black, and black is 255.
    QImage picture(26, 1, QImage::Format_Indexed8);
    picture.setColorTable(vv::palmColorTable());
    for (int x = 0; x < 26; ++x)
        picture.setPixel(x, 0, uint(230 + x));
    QTemporaryDir dir;
    const QString path = dir.filePath("palette.bmp");
    ASSERT_TRUE(vv::test::saveBmp(picture, path));
    ASSERT_EQ(vv::test::readBytes(path).at(28), 8); // really an 8-bit BMP
    const auto read = vv::pdb::PictureReader::read(vv::pdb::utf8Of(path), nullptr);
    ASSERT_TRUE(read);
    const QByteArray rows = vv::pdb::qtBytes(PixelConverter().convert(*read, 8));
    EXPECT_EQ(rows.left(26), QByteArray(26, char(0xFF)));
}

} // namespace
