// A BMP file gets one answer wherever the program opens it: the format
// library's check, the compiler's reader (from a file and from memory, as the
// picture fuzzer feeds it) and the sheet loader, whose decoding is Qt's or,
// for the plainest files, its own to the same pixels. What the program writes
// is what Qt's writer would.
#include "common/Palette.h"
#include "common/PictureCopy.h"
#include "common/SheetPicture.h"
#include "compiler/PictureReader.h"
#include "compiler/QtBytes.h"
#include "formats/BmpHeader.h"

#include "support/TestFiles.h"

#include <QBuffer>
#include <QImageWriter>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vv {
namespace {

constexpr QRgb kGreen = 0xFF00FF00u;

struct Answer {
    std::string problem;      // empty when read
    std::vector<QRgb> pixels; // row by row, when read
    int width = 0, height = 0;
};

Answer fromCompiler(const std::optional<pdb::Picture>& picture, const std::string& error) {
    Answer a{picture ? std::string() : error, {}, 0, 0};
    if (picture) {
        a.width = picture->width();
        a.height = picture->height();
        for (int y = 0; y < a.height; ++y)
            for (int x = 0; x < a.width; ++x)
                a.pixels.push_back(picture->pixel(x, y));
    }
    return a;
}

Answer fromSheet(const SheetLoadResult& result) {
    Answer a{result.loaderMessage.toStdString(), {}, 0, 0};
    if (result.loaded()) {
        a.width = result.picture.width();
        a.height = result.picture.height();
        for (int y = 0; y < a.height; ++y)
            for (int x = 0; x < a.width; ++x)
                a.pixels.push_back(result.picture.pixel(x, y));
    }
    return a;
}

TEST(BmpRoutes, EveryReaderGivesOneAnswerForTheHeadersTheyOnceDisagreedOn) {
    const struct {
        const char* file;
        std::string problem; // empty: read, with `pixels`
        std::vector<QRgb> pixels;
    } cases[] = {
        // Bit masks inside a 56-byte header, widened as for a 40-byte one with
        // masks after it: 5 bits v become v << 3, 6 bits v << 2.
        {"pictures/v3-header.bmp", "", {0xFFF80000u, 0xFF00FC00u, 0xFF0000F8u, 0xFFF8FCF8u}},
        // A core header's width is unsigned: 40000, not -25536, and too wide.
        {"pictures/core-40000-wide.bmp", "BMP picture of 40000 x 1 pixels is too large", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const QString path = test::fixturePath(QString::fromLatin1(c.file));
        const QByteArray bytes = test::readBytes(path);
        ASSERT_FALSE(bytes.isEmpty());
        std::string fromFile, fromMemory;
        const struct {
            const char* route;
            Answer answer;
        } routes[] = {
            // The check decodes nothing: only its verdict is compared.
            {"format check", {formats::checkBmpFile(pdb::bytesOf(bytes)).problem, c.pixels, 0, 0}},
            {"compiler, file",
             fromCompiler(pdb::PictureReader::read(pdb::utf8Of(path), &fromFile), fromFile)},
            {"compiler, memory",
             fromCompiler(pdb::PictureReader::decode(pdb::bytesOf(bytes), &fromMemory), fromMemory)},
            {"sheet, file", fromSheet(loadSheetPicture(path, kGreen))},
            {"sheet, memory", fromSheet(decodeSheetPicture(bytes, kGreen))},
        };
        for (const auto& r : routes) {
            SCOPED_TRACE(r.route);
            EXPECT_EQ(r.answer.problem, c.problem);
            EXPECT_EQ(r.answer.pixels, c.pixels);
        }
    }
}

// A BMP file by hand: the program's own headers, then a colour table of
// `colours` grey steps and rows of `bits`-deep values from `value(x, y)`.
QByteArray handMadeBmp(int width, int height, int bits, std::uint32_t colours, bool topDown,
                       const std::function<uint(int, int)>& value) {
    std::string file = formats::plainBmpHeaders(width, height, bits, colours, 3780, 3780);
    if (topDown)
        for (int i = 0; i < 4; ++i)
            file[22 + i] = char(std::uint32_t(-height) >> (8 * i));
    for (std::uint32_t i = 0; i < colours; ++i)
        file += std::string{char(i * 7), char(i * 5), char(i * 3), '\0'};
    const int stride = (width * bits + 31) / 32 * 4;
    for (int row = 0; row < height; ++row) {
        const int y = topDown ? row : height - 1 - row;
        std::string line(std::size_t(stride), '\0');
        for (int x = 0; x < width; ++x) {
            const uint v = value(x, y);
            if (bits == 24) {
                line[3 * x] = char(v);
                line[3 * x + 1] = char(v >> 8);
                line[3 * x + 2] = char(v >> 16);
            } else {
                const int perByte = 8 / bits;
                line[x / perByte] = char(uchar(line[x / perByte]) | v << (8 - bits * (x % perByte + 1)));
            }
        }
        file += line;
    }
    return QByteArray(file.data(), qsizetype(file.size()));
}

// The plainest files are decoded by the sheet loader itself; the pictures are
// the ones Qt's reader gives, also where it hands a file on to Qt's.
TEST(BmpRoutes, TheSheetLoaderDecodesPlainFilesAsQtDoes) {
    const auto pattern = [](uint range) {
        return [range](int x, int y) { return uint(x * 31 + y * 17) % range; };
    };
    const struct {
        const char* what;
        int width, height, bits;
        std::uint32_t colours;
        bool topDown;
        std::function<uint(int, int)> value;
    } cases[] = {
        {"24 bits, rows padded", 5, 3, 24, 0, false,
         [](int x, int y) { return uint(x * 0x010203 + y * 0x300000); }},
        {"24 bits, top-down", 3, 4, 24, 0, true,
         [](int x, int y) { return uint(x * 0x112233 ^ y * 0x0F0F0F); }},
        {"8 bits, full table", 7, 3, 8, 256, false, pattern(256)},
        {"8 bits, short table", 6, 2, 8, 20, true, pattern(20)},
        {"8 bits, a pixel past the table (Qt's)", 4, 2, 8, 20, false, pattern(40)},
        {"4 bits", 9, 3, 4, 16, false, pattern(16)},
        {"4 bits, short table, top-down", 5, 5, 4, 5, true, pattern(5)},
        {"1 bit", 13, 3, 1, 2, false, pattern(2)},
        {"1 bit, one colour", 3, 2, 1, 1, false, [](int, int) { return 0u; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QByteArray bytes = handMadeBmp(c.width, c.height, c.bits, c.colours, c.topDown, c.value);
        ASSERT_TRUE(formats::checkBmpFile(pdb::bytesOf(bytes)).ok());
        const QImage byQt = QImage::fromData(bytes, "BMP");
        ASSERT_FALSE(byQt.isNull());
        const SheetLoadResult loaded = decodeSheetPicture(bytes, kGreen);
        ASSERT_TRUE(loaded.loaded()) << loaded.loaderMessage.toStdString();
        EXPECT_EQ(loaded.picture, opaqueSheet(byQt, kGreen));
        EXPECT_EQ(loaded.picture.format(), QImage::Format_RGB32);
        EXPECT_EQ(loaded.picture.dotsPerMeterX(), byQt.dotsPerMeterX());
    }
}

// A file with the padding at the end of each row set to zero.
QByteArray withZeroPadding(QByteArray file) {
    const formats::BmpHeader h = *formats::bmpHeaderOf(pdb::bytesOf(file), nullptr);
    const qsizetype used = qsizetype(h.width * h.bitCount + 7) / 8;
    for (qsizetype row = 0; row < h.height; ++row)
        for (qsizetype at = used; at < h.stride(); ++at)
            file[qsizetype(h.dataOffset) + row * h.stride() + at] = '\0';
    return file;
}

// The pieces and pictures the program saves are the bytes Qt's writer gives,
// but for the padding at the end of an 8-bit row: Qt's writer leaves there
// whatever its row buffer held, the program writes zeros.
TEST(BmpRoutes, SavedPicturesAreTheBytesQtsWriterGives) {
    const auto filled = [](QImage picture) {
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                picture.format() == QImage::Format_Indexed8
                    ? picture.setPixel(x, y, uint(x * 13 + y * 7) % uint(picture.colorCount()))
                    : picture.setPixel(x, y, qRgb(x * 40, y * 30, x * y));
        return picture;
    };
    QImage palette(5, 3, QImage::Format_Indexed8);
    palette.setColorTable(palmColorTable());
    QImage shortTable(3, 2, QImage::Format_Indexed8);
    shortTable.setColorTable({qRgb(1, 2, 3), qRgb(200, 100, 50), qRgb(9, 8, 7)});
    QImage noResolution(2, 2, QImage::Format_RGB32);
    noResolution.setDotsPerMeterX(0);
    QImage otherResolution(3, 1, QImage::Format_RGB32);
    otherResolution.setDotsPerMeterX(1000);
    otherResolution.setDotsPerMeterY(2000);
    const struct {
        const char* what;
        QImage picture;
    } cases[] = {
        {"RGB, rows padded", filled(QImage(5, 3, QImage::Format_RGB32))},
        {"RGB, one pixel", filled(QImage(1, 1, QImage::Format_RGB32))},
        {"RGB, no resolution", filled(noResolution)},
        {"RGB, its own resolution", filled(otherResolution)},
        {"the Palm palette", filled(palette)},
        {"a short colour table", filled(shortTable)},
        {"with alpha (Qt's writer)", filled(QImage(3, 3, QImage::Format_ARGB32))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QImage padded = c.picture;
        if (padded.format() == QImage::Format_Indexed8) {
            QList<QRgb> table = padded.colorTable();
            table.resize(256, qRgb(0, 0, 0));
            padded.setColorTable(table);
        }
        QByteArray byQt;
        QBuffer buffer(&byQt);
        buffer.open(QIODevice::WriteOnly);
        ASSERT_TRUE(QImageWriter(&buffer, "bmp").write(padded));
        QString problem;
        const QByteArray ours = encodedPiece(c.picture, &problem);
        EXPECT_EQ(ours, withZeroPadding(ours));
        EXPECT_EQ(ours.toHex().toStdString(), withZeroPadding(byQt).toHex().toStdString());
        EXPECT_TRUE(problem.isEmpty());
    }
}

} // namespace
} // namespace vv
