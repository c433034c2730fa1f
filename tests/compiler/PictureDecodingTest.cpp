// The compiler's own BMP reader gives exactly the colours Qt's reader gives
// for every kind of BMP it accepts, and the fast palette search gives exactly
// the plain search's index for every colour.
#include "common/Palette.h"
#include "compiler/PictureReader.h"
#include "compiler/QtBytes.h"
#include "formats/PaletteMapper.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

struct BmpKind {
    const char* name;
    int infoSize;
    int bitCount;
    int compression;
    bool topDown;
    std::vector<quint32> masks; // after a 40-byte header, or inside a larger one
};

void put(QByteArray& b, int at, quint32 v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        b[at + i] = char(v >> (8 * i));
}

// A BMP of `kind` with random pixels (or a random valid run-length stream).
QByteArray randomBmp(const BmpKind& kind, int width, int height, QRandomGenerator& random) {
    const bool os2 = kind.infoSize == 12;
    const int colours = kind.bitCount <= 8 ? (1 << kind.bitCount) - (kind.bitCount == 8 && !os2 ? 56 : 0) : 0;
    QByteArray header(14 + kind.infoSize, '\0');
    header[0] = 'B';
    header[1] = 'M';
    put(header, 14, quint32(kind.infoSize), 4);
    if (os2) {
        put(header, 18, quint32(width), 2);
        put(header, 20, quint32(height), 2);
        put(header, 22, 1, 2);
        put(header, 24, quint32(kind.bitCount), 2);
    } else {
        put(header, 18, quint32(width), 4);
        put(header, 22, quint32(kind.topDown ? -height : height), 4);
        put(header, 26, 1, 2);
        put(header, 28, quint32(kind.bitCount), 2);
        put(header, 30, quint32(kind.compression), 4);
        put(header, 46, quint32(kind.bitCount == 8 ? colours : 0), 4);
    }
    QByteArray extra;
    if (kind.infoSize > 40)
        for (size_t i = 0; i < kind.masks.size(); ++i)
            put(header, 54 + int(i) * 4, kind.masks[i], 4);
    else
        for (quint32 m : kind.masks) {
            QByteArray four(4, '\0');
            put(four, 0, m, 4);
            extra += four;
        }
    for (int i = 0; i < colours; ++i) {
        extra += char(random.bounded(256));
        extra += char(random.bounded(256));
        extra += char(random.bounded(256));
        if (!os2)
            extra += char(0);
    }
    QByteArray pixels;
    const int maxIndex = kind.bitCount <= 8 ? (1 << kind.bitCount) : 256; // some beyond the table
    if (kind.compression == 1 || kind.compression == 2) {
        const bool four = kind.compression == 2;
        for (int y = 0; y < height; ++y) {
            int x = 0;
            while (x < width) {
                const int left = width - x;
                if (random.bounded(3) == 0 && left >= 3) { // literal run
                    const int n = 3 + int(random.bounded(quint32(qMin(left, 40) - 2)));
                    pixels += char(0);
                    pixels += char(n);
                    const int bytes = four ? (n + 1) / 2 : n;
                    for (int i = 0; i < bytes; ++i)
                        pixels += char(four ? random.bounded(256) : random.bounded(quint32(maxIndex)));
                    if (bytes % 2)
                        pixels += char(0);
                    x += n;
                } else {
                    const int n = 1 + int(random.bounded(quint32(qMin(left, 255))));
                    pixels += char(n);
                    pixels += char(random.bounded(four ? 256u : quint32(maxIndex)));
                    x += n;
                }
            }
            pixels += QByteArray::fromHex("0000");
        }
        pixels += QByteArray::fromHex("0001");
    } else {
        const int stride = (width * kind.bitCount + 31) / 32 * 4;
        for (int i = 0; i < stride * height; ++i)
            pixels += char(kind.bitCount == 8 ? random.bounded(quint32(maxIndex)) : random.bounded(256));
    }
    QByteArray bmp = header + extra + pixels;
    put(bmp, 2, quint32(bmp.size()), 4);
    put(bmp, 10, quint32(header.size() + extra.size()), 4);
    if (!os2)
        put(bmp, 34, quint32(pixels.size()), 4);
    return bmp;
}

TEST(PictureDecoding, OwnReaderGivesQtsColoursForEveryKindOfBmp) {
    const BmpKind kinds[] = {
        {"1-bit", 40, 1, 0, false, {}},
        {"4-bit", 40, 4, 0, false, {}},
        {"4-bit top-down", 40, 4, 0, true, {}},
        {"8-bit, short table", 40, 8, 0, false, {}},
        {"8-bit top-down", 40, 8, 0, true, {}},
        {"8-bit OS/2", 12, 8, 0, false, {}},
        {"24-bit OS/2", 12, 24, 0, false, {}},
        {"1-bit OS/2", 12, 1, 0, false, {}},
        {"RLE8", 40, 8, 1, false, {}},
        {"RLE4", 40, 4, 2, false, {}},
        {"16-bit 5-5-5", 40, 16, 0, false, {}},
        {"16-bit 5-6-5 bit fields", 40, 16, 3, false, {0xF800, 0x07E0, 0x001F}},
        {"16-bit 5-5-5 bit fields, top-down", 40, 16, 3, true, {0x7C00, 0x03E0, 0x001F}},
        {"16-bit 4-4-4 bit fields", 40, 16, 3, false, {0x0F00, 0x00F0, 0x000F}},
        {"24-bit", 40, 24, 0, false, {}},
        {"24-bit top-down", 40, 24, 0, true, {}},
        {"32-bit", 40, 32, 0, false, {}},
        {"32-bit bit fields", 40, 32, 3, false, {0x0000FF00, 0x00FF0000, 0xFF000000}},
        {"32-bit V5 with alpha", 124, 32, 3, false, {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000}},
        {"24-bit V4", 108, 24, 0, false, {}},
    };
    QRandomGenerator random(7);
    for (const BmpKind& kind : kinds)
        for (const QSize size : {QSize(1, 1), QSize(7, 3), QSize(33, 17)}) {
            const QByteArray bmp = randomBmp(kind, size.width(), size.height(), random);
            QBuffer buffer;
            buffer.setData(bmp);
            buffer.open(QIODevice::ReadOnly);
            QImageReader reader(&buffer, "bmp");
            const QImage qt = reader.read().convertToFormat(QImage::Format_RGB32);
            EXPECT_FALSE(qt.isNull()) << kind.name << ": " << reader.errorString().toStdString();
            if (qt.isNull())
                continue;
            std::string error;
            const auto own = vv::pdb::PictureReader::decode(vv::pdb::bytesOf(bmp), &error);
            ASSERT_TRUE(own) << kind.name << ": " << error;
            ASSERT_EQ(own->width(), qt.width()) << kind.name;
            ASSERT_EQ(own->height(), qt.height()) << kind.name;
            for (int y = 0; y < qt.height(); ++y)
                for (int x = 0; x < qt.width(); ++x)
                    ASSERT_EQ(own->pixel(x, y), qt.pixel(x, y) | 0xFF000000u)
                        << kind.name << " " << size.width() << "x" << size.height() << " at " << x << ","
                        << y;
        }
}

// Every one of the 16,777,216 colours; the plain search is slow, so the cube
// is shared out over the cores.
TEST(PictureDecoding, FastPaletteSearchAgreesWithThePlainSearchForEveryColour) {
    const vv::formats::PaletteMapper mapper;
    const int threads = int(qBound(1u, std::thread::hardware_concurrency(), 8u));
    std::vector<int> mismatches(size_t(threads), -1);
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t)
        workers.emplace_back([&, t] {
            for (int r = t; r < 256; r += threads)
                for (int g = 0; g < 256; ++g)
                    for (int b = 0; b < 256; ++b) {
                        const QRgb c = qRgb(r, g, b);
                        if (mapper.indexOf(c) != vv::formats::nearestPaletteIndex(c)) {
                            mismatches[size_t(t)] = int(c & 0xFFFFFF);
                            return;
                        }
                    }
        });
    for (std::thread& w : workers)
        w.join();
    for (int m : mismatches)
        EXPECT_EQ(m, -1) << "first colour that differs: " << std::hex << m;
}

} // namespace
