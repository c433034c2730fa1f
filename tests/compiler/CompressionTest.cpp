// The three compressions, the rule that keeps compressed data only when it is
// strictly smaller, the 16-bit size limit of density-1 bitmaps and the
// smallest-method choice at density 2.
#include "CompilerTestSupport.h"

#include "compiler/BitmapCompression.h"
#include "compiler/BitmapDecoder.h"
#include "compiler/BitmapFamilyEncoder.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

using vv::pdb::BitmapCompression;
using vv::pdb::Compression;

namespace {

// The compressor on the byte arrays the cases are written in.
QByteArray compress(Compression method, const QByteArray& rows, int rowBytes, int height,
                    bool words = false) {
    return vv::pdb::qtBytes(
        BitmapCompression::compress(method, vv::pdb::bytesOf(rows), rowBytes, height, words));
}

// Ten bytes per row, three rows: the picture of the format's worked examples.
const QByteArray exampleRows = QByteArray::fromHex("00000000d2d2d2d20505"
                                                   "00000000d2d2d2d70500"
                                                   "00000000d2d2d2d70500");

TEST(Compression, MatchesTheWorkedExamples) {
    EXPECT_EQ(compress(Compression::Scanline, exampleRows, 10, 3).toHex(' '),
              "ff 00 00 00 00 d2 d2 d2 d2 c0 05 05 01 d7 40 00 00 00");
    EXPECT_EQ(compress(Compression::Rle, exampleRows, 10, 3).toHex(' '),
              "04 00 04 d2 02 05 04 00 03 d2 01 d7 01 05 01 00 04 00 03 d2 01 d7 01 05 01 00");
    EXPECT_EQ(compress(Compression::PackBits, exampleRows, 10, 3).toHex(' '),
              "fd 00 fd d2 ff 05 fd 00 fe d2 02 d7 05 00 fd 00 fe d2 02 d7 05 00");
    // 16-bit PackBits counts pixels, not bytes.
    EXPECT_EQ(compress(Compression::PackBits, QByteArray::fromHex("f800f800f80007e0001f001f"), 12, 1, true)
                  .toHex(' '),
              "fe f8 00 00 07 e0 ff 00 1f");
    // A short last scanline group of the first row has bits only for its bytes.
    EXPECT_EQ(compress(Compression::Scanline, QByteArray::fromHex("1be40000"), 4, 1).toHex(' '),
              "f0 1b e4 00 00");
}

TEST(Compression, LongRunsAndLiteralsAreSplitAtPacketLimits) {
    const QByteArray run(300, char(0x77));
    EXPECT_EQ(compress(Compression::Rle, run, 300, 1).toHex(' '), "ff 77 2d 77");
    EXPECT_EQ(compress(Compression::PackBits, run, 300, 1).toHex(' '), "81 77 81 77 d5 77");
    // 129 equal bytes: never a run of one, never the 0x80 control byte.
    EXPECT_EQ(compress(Compression::PackBits, QByteArray(129, 'a'), 129, 1).toHex(' '), "82 61 ff 61");
    QByteArray literal;
    for (int i = 0; i < 130; ++i)
        literal.append(char(i));
    const QByteArray packed = compress(Compression::PackBits, literal, 130, 1);
    EXPECT_EQ(uchar(packed[0]), 0x7F);   // 128 literal bytes
    EXPECT_EQ(uchar(packed[129]), 0x01); // then 2 more
}

TEST(Compression, EveryMethodDecodesBackToTheRows) {
    QRandomGenerator random(7);
    for (int trial = 0; trial < 200; ++trial) {
        const int rowBytes = 2 * int(random.bounded(1, 400));
        const int height = int(random.bounded(1, 6));
        QByteArray rows;
        while (rows.size() < rowBytes * height) {
            const char value = char(random.bounded(4)); // few values: runs and repeats
            rows.append(QByteArray(int(random.bounded(1, 300)), value));
        }
        rows.truncate(rowBytes * height);
        for (const bool words : {false, true}) {
            for (const Compression method :
                 {Compression::Scanline, Compression::Rle, Compression::PackBits}) {
                const QByteArray packed = compress(method, rows, rowBytes, height, words);
                std::ptrdiff_t consumed = 0;
                const auto back = BitmapCompression::decompress(method, packed.constData(), packed.size(),
                                                                rowBytes, height, words, &consumed);
                ASSERT_TRUE(back) << int(method);
                EXPECT_EQ(vv::pdb::qtBytes(*back), rows) << int(method) << " words " << words;
                EXPECT_EQ(consumed, packed.size());
            }
        }
    }
}

vv::pdb::FamilyMember member(const QImage& picture, int depth, bool high, bool compress = true) {
    vv::pdb::FamilyMember m;
    m.picture = picture;
    m.depth = depth;
    m.highDensity = high;
    m.compress = compress;
    return m;
}

TEST(Compression, KeptOnlyWhenStrictlySmaller) {
    // 8 x 2 at 8 bpp: 16 plain bytes. Scanline costs 2 + 9 + (1 + k) when the
    // second row differs in its first k pixels: equal at k = 4.
    const vv::pdb::BitmapFamilyEncoder encoder;
    for (const int k : {3, 4}) {
        QImage picture(8, 2, QImage::Format_RGB32);
        picture.fill(Qt::white);
        for (int x = 0; x < k; ++x)
            picture.setPixel(x, 1, qRgb(0, 0, 0));
        const auto bitmap = encoder.encodeBitmap(member(picture, 8, false), nullptr);
        ASSERT_TRUE(bitmap);
        const bool compressed = uchar((*bitmap)[6]) & 0x80;
        EXPECT_EQ(compressed, k == 3) << "k " << k;
        EXPECT_EQ(bitmap->size(), k == 3 ? 16u + 15 : 16u + 16);
    }
}

QImage halfChangingPicture() {
    // 300 x 200: every other 4-pixel group changes each row, so scanline halves
    // the data but still needs more than 65535 bytes at 16 bpp.
    QImage picture(300, 200, QImage::Format_RGB32);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 300; ++x)
            picture.setPixel(
                x, y, (x / 4) % 2 ? qRgb(10, 20, 30) : qRgb(y % 2 ? 255 : 0, x & 0xFF, y % 2 ? 255 : 0));
    return picture;
}

TEST(Compression, VersionTwoSizeFieldOverflowIsAnError) {
    const vv::pdb::BitmapFamilyEncoder encoder;
    std::string error;
    EXPECT_FALSE(encoder.encodeBitmap(member(halfChangingPicture(), 16, false), &error));
    EXPECT_NE(error.find("compressed too big for a version 2 bitmap"), std::string::npos) << error;
    // Uncompressed it is fine, and version 3 has a 32-bit size field.
    EXPECT_TRUE(encoder.encodeBitmap(member(halfChangingPicture(), 16, false, false), nullptr));
    EXPECT_TRUE(encoder.encodeBitmap(member(halfChangingPicture(), 16, true), nullptr));
}

TEST(Compression, DensityTwoTakesTheSmallestMethod) {
    struct Case {
        const char* what;
        QImage picture;
        int depth;
        int expectedType; // -1: stays uncompressed
    };
    QImage repeatedRows(64, 8, QImage::Format_RGB32); // noisy row, repeated: scanline
    QImage longRuns(64, 8, QImage::Format_RGB32);     // each row one colour: RLE or PackBits
    QImage runsAndNoise(64, 8, QImage::Format_RGB32); // long runs between noise: PackBits
    QImage noise(64, 8, QImage::Format_RGB32);
    QRandomGenerator random(3);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 64; ++x) {
            repeatedRows.setPixel(x, y, qRgb(x * 37 % 256, x * 91 % 256, x * 13 % 256));
            longRuns.setPixel(x, y, qRgb(y * 30, 0, 0));
            runsAndNoise.setPixel(x, y, x < 48 ? qRgb(0, 0, 255) : random.generate() | 0xFF000000u);
            noise.setPixel(x, y, random.generate() | 0xFF000000u);
        }
    const Case cases[] = {
        {"repeated rows", repeatedRows, 8, 0},
        {"runs per row", longRuns, 8, 1},
        {"runs and noise", runsAndNoise, 8, 2},
        {"runs and noise", runsAndNoise, 16, 2},
        {"noise", noise, 16, -1},
    };
    const vv::pdb::BitmapFamilyEncoder encoder;
    for (const Case& c : cases) {
        const auto plain = encoder.encodeBitmap(member(c.picture, c.depth, true, false), nullptr);
        const auto packed = encoder.encodeBitmap(member(c.picture, c.depth, true), nullptr);
        ASSERT_TRUE(plain && packed);
        QString error;
        const auto decoded = vv::pdb::BitmapDecoder::decodeBitmap(*packed, 0, &error);
        ASSERT_TRUE(decoded) << error.toStdString();
        EXPECT_EQ(decoded->compressed, c.expectedType >= 0) << c.what;
        if (c.expectedType >= 0) {
            EXPECT_EQ(decoded->compressionType, c.expectedType) << c.what << " at " << c.depth;
            EXPECT_LT(packed->size(), plain->size());
            EXPECT_EQ(decoded->sizeField, quint32(packed->size() - 24));
            // No method would have done better.
            const QByteArray rows = vv::pdb::BitmapDecoder::decodeBitmap(*plain, 0, nullptr)->rows;
            for (const Compression method : {Compression::Scanline, Compression::Rle, Compression::PackBits})
                EXPECT_LE(
                    decoded->sizeField,
                    4 + compress(method, rows, decoded->rowBytes, decoded->height, c.depth == 16).size());
        }
        EXPECT_EQ(decoded->rows, vv::pdb::BitmapDecoder::decodeBitmap(*plain, 0, nullptr)->rows) << c.what;
    }
}

TEST(Compression, DensityOneStaysScanline) {
    QImage longRuns(64, 8, QImage::Format_RGB32);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 64; ++x)
            longRuns.setPixel(x, y, qRgb(y * 30, 0, 0));
    const auto bitmap = vv::pdb::BitmapFamilyEncoder().encodeBitmap(member(longRuns, 8, false), nullptr);
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(uchar((*bitmap)[6]), 0x80);
    EXPECT_EQ((*bitmap)[13], 0);
}

} // namespace
