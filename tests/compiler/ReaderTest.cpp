// The readers other tests use to look into built databases: the container and
// bitmap families, on the format's worked examples and on broken input.
#include "compiler/BitmapDecoder.h"
#include "formats/PalmDatabase.h"

#include <gtest/gtest.h>

using vv::formats::PalmDatabase;
using vv::pdb::BitmapDecoder;
using vv::pdb::bytesOf;
using vv::pdb::qtBytes;

namespace {

// Name "Demo", thme/reze, 2024-01-01, tAIN 1000 "Theme" and tver 1000 "1.0".
const QByteArray demoDatabase =
    QByteArray::fromHex("44656d6f000000000000000000000000000000000000000000000000000000000001000"
                        "1e1b7b100e1b7b100000000000000000000000000000000007468"
                        "6d6572657a65000000000000000000027441494e03e8000000647476657203e80000006a000054686"
                        "56d6500312e3000");

TEST(PalmDatabaseReader, ReadsAndRewritesTheWorkedExample) {
    ASSERT_EQ(demoDatabase.size(), 110);
    std::string error;
    const auto db = PalmDatabase::fromBytes(bytesOf(demoDatabase), &error);
    ASSERT_TRUE(db) << error;
    EXPECT_EQ(db->name, "Demo");
    EXPECT_EQ(db->attributes, 1);
    EXPECT_EQ(db->creationDate, 0xE1B7B100u);
    EXPECT_EQ(db->type, "thme");
    EXPECT_EQ(db->creator, "reze");
    ASSERT_EQ(db->resources.size(), 2u);
    EXPECT_EQ(qtBytes(db->find("tAIN", 1000)->bytes), QByteArray("Theme\0", 6));
    EXPECT_EQ(qtBytes(db->find("tver", 1000)->bytes), QByteArray("1.0\0", 4));
    EXPECT_EQ(db->find("tver", 1), nullptr);
    EXPECT_EQ(qtBytes(db->toBytes()), demoDatabase);
}

TEST(PalmDatabaseReader, RefusesBrokenFiles) {
    QByteArray listPastEnd = demoDatabase.left(90);
    QByteArray offsetOutside = demoDatabase;
    offsetOutside[0x4E + 9] = char(0xF0); // first body at 0xF0, beyond 110 bytes
    QByteArray outOfOrder = demoDatabase;
    outOfOrder[0x4E + 10 + 9] = 0x63; // second body before the first
    QByteArray unterminatedName = demoDatabase;
    unterminatedName.replace(0, 32, QByteArray(32, 'x'));
    for (const QByteArray& bytes :
         {demoDatabase.left(77), listPastEnd, offsetOutside, outOfOrder, unterminatedName}) {
        std::string error;
        EXPECT_FALSE(PalmDatabase::fromBytes(bytesOf(bytes), &error));
        EXPECT_FALSE(error.empty());
    }
}

TEST(BitmapFamilyReader, ReadsTheWorkedFamily) {
    QString error;
    // V1 1 bpp 4 x 2, V2 8 bpp with transparency, separator, V3 8 bpp 8 x 4.
    // (fromHex skips the blanks.)
    const QByteArray family =
        QByteArray::fromHex("00040002000200000101000500000000"
                            "90006000"
                            "00040002000420000802000"
                            "6d2000000"
                            "d20000d200050500"
                            "0000000000000000ff01000000000000"
                            "000800040008200008031800000000900000"
                            "00d200000000"
                            "d2d20000 0000d2d2 d2d20000 0000d2d2 0000 0505 0505 0000 0000 0505 0505 0000");
    ASSERT_EQ(family.size(), 116);
    const auto decoded = BitmapDecoder::decodeFamily(family, &error);
    ASSERT_TRUE(decoded) << error.toStdString();
    ASSERT_EQ(decoded->members.size(), 3);
    EXPECT_EQ(decoded->separatorOffset, 0x2C);
    const auto& one = decoded->members[0];
    EXPECT_EQ(one.version, 1);
    EXPECT_EQ(one.depth, 1);
    EXPECT_EQ(one.storedValue(0, 0), 1);
    EXPECT_EQ(one.storedValue(1, 0), 0);
    EXPECT_EQ(one.image.pixel(0, 0), qRgb(0, 0, 0));
    const auto& two = decoded->members[1];
    EXPECT_EQ(two.version, 2);
    EXPECT_TRUE(two.hasTransparency);
    EXPECT_EQ(two.transparentValue, 210u);
    EXPECT_EQ(two.image.pixelIndex(0, 0), 210);
    EXPECT_EQ(two.image.pixel(0, 0), qRgb(0, 255, 0));
    const auto& three = decoded->members[2];
    EXPECT_EQ(three.version, 3);
    EXPECT_EQ(three.density, 144);
    EXPECT_EQ(three.width, 8);
    EXPECT_EQ(three.storedValue(5, 3), 0x05);
    EXPECT_EQ(three.storedValue(7, 3), 0x00);
    EXPECT_EQ(three.offset, 0x3C);
}

TEST(BitmapFamilyReader, ReadsEveryCompressionOfTheWorkedPicture) {
    const QByteArray rows =
        QByteArray::fromHex("00000000d2d2d2d2050500000000d2d2d2d7050000000000d2d2d2d70500");
    const char* bitmaps[] = {
        "000a0003000a80000802000000000000"
        "0014ff00000000d2d2d2d2c0050501d7400000 00",
        "000a0003000a80000802000000010000"
        "001c040004d2020504000 3d201d7010501000400 03d201d701050100",
        "000a0003000a80000802000000020000"
        "0018fd00fdd2ff05fd00fed202d70500fd00fed202d70500",
        "000a0003000aa00008031800000000900000 00d200000000 00000016 ff00000000d2d2d2d2c0050501d740000000",
    };
    for (const char* hex : bitmaps) {
        QString error;
        const auto bitmap = BitmapDecoder::decodeBitmap(QByteArray::fromHex(hex), 0, &error);
        ASSERT_TRUE(bitmap) << hex << ": " << error.toStdString();
        EXPECT_TRUE(bitmap->compressed);
        EXPECT_EQ(bitmap->rows, rows) << hex;
    }
    // 16 bpp PackBits in 16-bit units, version 2 with direct-colour info.
    const auto words = BitmapDecoder::decodeBitmap(
        QByteArray::fromHex("00060001000c840010020000000200000506050000000000000bfef800000"
                            "7e0ff001f"),
        0, nullptr);
    ASSERT_TRUE(words);
    EXPECT_EQ(words->rows.toHex(), "f800f800f80007e0001f001f");
    EXPECT_EQ(words->image.pixel(0, 0), qRgb(255, 0, 0));
}

TEST(BitmapFamilyReader, RefusesBrokenFamilies) {
    const QByteArray good = QByteArray::fromHex("00040002000200000101000000000000"
                                                "90006000");
    ASSERT_TRUE(BitmapDecoder::decodeFamily(good, nullptr));
    QByteArray nextPastEnd = good;
    nextPastEnd[11] = 9; // next member 36 bytes on, past the end
    QByteArray badRowBytes = good;
    badRowBytes[5] = 4;
    QByteArray cutCompressed = QByteArray::fromHex("000a0003000a80000802000000010000001c0400");
    QByteArray pointsIntoItself = good;
    pointsIntoItself[11] = 1;
    for (const QByteArray& bytes :
         {good.left(19), nextPastEnd, badRowBytes, cutCompressed, pointsIntoItself}) {
        QString error;
        EXPECT_FALSE(BitmapDecoder::decodeFamily(bytes, &error)) << bytes.toHex().toStdString();
        EXPECT_FALSE(error.isEmpty());
    }
}

} // namespace
