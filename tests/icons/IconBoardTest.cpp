// The picker model: cell picks, snapshot picks, partner copies, resets, sheet loads.
#include "icons/IconBoard.h"

#include "icons/IconArt.h"
#include "support/TestFiles.h"

#include "support/TestPictures.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QThread>
#include <QtEndian>

#include <atomic>

using namespace vv;

namespace {

// The transparency colour of the shipped options.
constexpr QRgb kGreen = 0xFF00FF00u;

// Every pixel names its own coordinates, so a copy shows exactly where it read.
QRgb codeOf(int x, int y) {
    return qRgb(x & 0xFF, y & 0xFF, ((x >> 8) << 4) | (y >> 8));
}

QImage coordinateSheet(QSize size) {
    return test::coordinateSheet(size, codeOf);
}

using test::pixelsAre;

using test::filled;

int slotOf(const char* mainName) {
    return slotIndexByMainName(mainName);
}

class IconBoardTest : public ::testing::Test {
protected:
    void SetUp() override {
        board.setSheet(IconWindow::Main, coordinateSheet({579, 450}));
        board.setSheet(IconWindow::Os5, coordinateSheet({726, 484}));
    }
    IconBoard board;
};

} // namespace

TEST_F(IconBoardTest, StartsWithFactoryPicturesAndNoCell) {
    for (int i = 0; i < kIconSlotCount; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(board.slotPicture(IconWindow::Main, i), factorySlotPicture(i, 1));
        EXPECT_EQ(board.slotPicture(IconWindow::Os5, i), factorySlotPicture(i, 2));
    }
    EXPECT_EQ(board.snapshotPicture(IconWindow::Main), factorySnapshotPicture(1));
    EXPECT_EQ(board.snapshotPicture(IconWindow::Os5), factorySnapshotPicture(2));
    EXPECT_EQ(board.selectedCell(IconWindow::Main), 0);
    EXPECT_EQ(board.selectedCell(IconWindow::Os5), 0);
    EXPECT_TRUE(IconBoard().sheet(IconWindow::Main).isNull());
}

TEST_F(IconBoardTest, MainPickCopiesTheCellFromItsSourceOffset) {
    struct Case {
        int cell;
        QPoint from;
    };
    // 69 opens the second band; 272's rectangle runs past the 577 x 449 control.
    for (const Case& c : {Case{69, {147, 8}}, Case{1, {3, 8}}, Case{5, {3, 34}}, Case{272, {543, 424}}}) {
        SCOPED_TRACE(c.cell);
        ASSERT_TRUE(board.selectCell(IconWindow::Main, c.cell));
        board.clickMainSlot(slotOf("Image241"));
        const QImage& slot = board.slotPicture(IconWindow::Main, slotOf("Image241"));
        EXPECT_EQ(slot.size(), QSize(32, 22));
        EXPECT_TRUE(pixelsAre(slot, [&](int x, int y) { return codeOf(c.from.x() + x, c.from.y() + y); }));
    }
}

TEST_F(IconBoardTest, PixelsBeyondTheSheetReadAsWhite) {
    board.setSheet(IconWindow::Main, coordinateSheet({560, 440}));
    board.selectCell(IconWindow::Main, 272); // copies x 543..574, y 424..445
    board.clickMainSlot(0);
    EXPECT_TRUE(pixelsAre(board.slotPicture(IconWindow::Main, 0), [](int x, int y) {
        return (543 + x < 560 && 424 + y < 440) ? codeOf(543 + x, 424 + y) : kSheetOutsideColour;
    }));

    IconBoard empty; // no sheet loaded at all
    empty.selectCell(IconWindow::Main, 1);
    empty.clickMainSlot(0);
    EXPECT_EQ(empty.slotPicture(IconWindow::Main, 0), filled({32, 22}, kSheetOutsideColour));
}

TEST_F(IconBoardTest, NoCellChosenCopiesLowSnap) {
    board.writeSnapshot(IconWindow::Main, [](QImage& p) { p.fill(qRgb(200, 10, 10)); });
    board.clickMainSlot(slotOf("Image6"));
    EXPECT_EQ(board.slotPicture(IconWindow::Main, slotOf("Image6")), filled({32, 22}, qRgb(200, 10, 10)));

    // A cell click, then a click on LowSnap: the snapshot is the source again.
    board.selectCell(IconWindow::Main, 3);
    board.selectSnapshot(IconWindow::Main);
    EXPECT_EQ(board.selectedCell(IconWindow::Main), 0);
    board.clickMainSlot(slotOf("Image44"));
    EXPECT_EQ(board.slotPicture(IconWindow::Main, slotOf("Image44")), filled({32, 22}, qRgb(200, 10, 10)));
}

TEST_F(IconBoardTest, OneCellIntoThreeSlots) {
    board.selectCell(IconWindow::Main, 70);
    for (const char* name : {"Image241", "Image10", "Image43"})
        board.clickMainSlot(slotOf(name));
    for (const char* name : {"Image241", "Image10", "Image43"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(pixelsAre(board.slotPicture(IconWindow::Main, slotOf(name)),
                              [](int x, int y) { return codeOf(183 + x, 8 + y); }));
    }
    EXPECT_EQ(board.selectedCell(IconWindow::Main), 70);
}

TEST_F(IconBoardTest, CellsOutsideTheGridAreRefused) {
    board.selectCell(IconWindow::Main, 12);
    EXPECT_FALSE(board.selectCell(IconWindow::Main, 273));
    EXPECT_FALSE(board.selectCell(IconWindow::Main, 0));
    EXPECT_FALSE(board.selectCell(IconWindow::Os5, 91));
    EXPECT_EQ(board.selectedCell(IconWindow::Main), 12);
    EXPECT_EQ(board.selectedCell(IconWindow::Os5), 0);
}

TEST_F(IconBoardTest, MainResetRestoresFactoryPicturesAndKeepsTheCell) {
    board.selectCell(IconWindow::Main, 69);
    for (int i = 0; i < kIconSlotCount; ++i)
        board.clickMainSlot(i);
    board.writeSnapshot(IconWindow::Main, [](QImage& p) { p.fill(Qt::black); });
    board.selectCell(IconWindow::Os5, 1);
    board.clickOs5Slot(0);
    const QImage os5Before = board.slotPicture(IconWindow::Os5, 0);

    board.reset(IconWindow::Main);

    for (int i = 0; i < kIconSlotCount; ++i) {
        SCOPED_TRACE(i);
        const QImage holder = board.holderPicture(IconWindow::Main, iconSlots()[i].mainHolder);
        EXPECT_FALSE(holder.isNull());
        EXPECT_EQ(board.slotPicture(IconWindow::Main, i), holder);
    }
    EXPECT_EQ(board.slotPicture(IconWindow::Main, slotOf("Image43")),
              board.holderPicture(IconWindow::Main, "Image46"));
    EXPECT_EQ(board.slotPicture(IconWindow::Main, slotOf("Image252")),
              board.holderPicture(IconWindow::Main, "Image24"));
    EXPECT_EQ(board.snapshotPicture(IconWindow::Main), board.holderPicture(IconWindow::Main, "Image47"));
    EXPECT_EQ(board.slotPicture(IconWindow::Os5, 0), os5Before);
    EXPECT_EQ(board.selectedCell(IconWindow::Main), 69);

    // The chosen cell still works after the reset.
    board.clickMainSlot(slotOf("Image7"));
    EXPECT_TRUE(pixelsAre(board.slotPicture(IconWindow::Main, slotOf("Image7")),
                          [](int x, int y) { return codeOf(147 + x, 8 + y); }));
}

TEST_F(IconBoardTest, FactoryPicturesAreDistinctWhereTheyShouldBe) {
    QList<QImage> seen;
    for (int i = kIconSetSlotCount; i < kIconSlotCount; ++i)
        seen.append(board.slotPicture(IconWindow::Main, i));
    seen.append(board.slotPicture(IconWindow::Main, 0));
    seen.append(board.snapshotPicture(IconWindow::Main));
    for (int a = 0; a < seen.size(); ++a)
        for (int b = a + 1; b < seen.size(); ++b)
            EXPECT_NE(seen[a], seen[b]) << a << " and " << b;
    for (int i = 1; i < kIconSetSlotCount; ++i)
        EXPECT_EQ(board.slotPicture(IconWindow::Os5, i), board.slotPicture(IconWindow::Os5, 0));
    for (int i = 0; i < kIconSlotCount; ++i) {
        EXPECT_EQ(board.slotPicture(IconWindow::Main, i).format(), QImage::Format_RGB32);
        EXPECT_EQ(board.slotPicture(IconWindow::Os5, i).size(), QSize(64, 44));
    }
}

TEST_F(IconBoardTest, Os5PickWritesTheSlotAndTheHalfSizePartner) {
    const int slot = slotOf("Image241"); // OS5 Image1
    const QImage mainOther = board.slotPicture(IconWindow::Main, slotOf("Image242"));
    board.selectCell(IconWindow::Main, 5);
    board.selectCell(IconWindow::Os5, 11); // source (6, 68)
    board.clickOs5Slot(slot);
    EXPECT_TRUE(pixelsAre(board.slotPicture(IconWindow::Os5, slot),
                          [](int x, int y) { return codeOf(6 + x, 68 + y); }));
    const QImage& partner = board.slotPicture(IconWindow::Main, slot);
    EXPECT_EQ(partner.size(), QSize(32, 22));
    EXPECT_TRUE(pixelsAre(partner, [](int x, int y) { return codeOf(6 + 2 * x, 68 + 2 * y); }));
    EXPECT_EQ(board.slotPicture(IconWindow::Main, slotOf("Image242")), mainOther);
    EXPECT_EQ(board.selectedCell(IconWindow::Main), 5);
}

TEST_F(IconBoardTest, Os5PickOfHighSnapAlsoHalvesIntoThePartner) {
    board.writeSnapshot(IconWindow::Os5, [](QImage& p) {
        for (int y = 0; y < p.height(); ++y)
            for (int x = 0; x < p.width(); ++x)
                p.setPixel(x, y, codeOf(x, y));
    });
    const int slot = slotOf("Image6"); // OS5 Image13
    board.clickOs5Slot(slot);
    EXPECT_TRUE(pixelsAre(board.slotPicture(IconWindow::Os5, slot), codeOf));
    EXPECT_TRUE(pixelsAre(board.slotPicture(IconWindow::Main, slot),
                          [](int x, int y) { return codeOf(2 * x, 2 * y); }));
}

TEST_F(IconBoardTest, Os5SnapshotEndHalvesHighSnapIntoLowSnap) {
    board.writeSnapshot(IconWindow::Os5, [](QImage& p) {
        for (int y = 0; y < p.height(); ++y)
            for (int x = 0; x < p.width(); ++x)
                p.setPixel(x, y, codeOf(x, y));
    });
    board.halveHighSnapIntoLowSnap();
    EXPECT_TRUE(pixelsAre(board.snapshotPicture(IconWindow::Main),
                          [](int x, int y) { return codeOf(2 * x, 2 * y); }));
    EXPECT_EQ(board.snapshotPicture(IconWindow::Main).size(), QSize(32, 22));
}

TEST_F(IconBoardTest, MainPickNeverTouchesOs5Slots) {
    std::array<QImage, kIconSlotCount> before;
    for (int i = 0; i < kIconSlotCount; ++i)
        before[i] = board.slotPicture(IconWindow::Os5, i);
    board.clickMainSlot(3);
    board.selectCell(IconWindow::Main, 100);
    for (int i = 0; i < kIconSlotCount; ++i)
        board.clickMainSlot(i);
    for (int i = 0; i < kIconSlotCount; ++i)
        EXPECT_EQ(board.slotPicture(IconWindow::Os5, i), before[i]) << i;
}

TEST_F(IconBoardTest, Os5ResetLeavesTheMainSlotsAlone) {
    board.selectCell(IconWindow::Os5, 90);
    for (int i = 0; i < kIconSlotCount; ++i)
        board.clickOs5Slot(i);
    board.writeSnapshot(IconWindow::Os5, [](QImage& p) { p.fill(Qt::blue); });
    std::array<QImage, kIconSlotCount> mainBefore;
    for (int i = 0; i < kIconSlotCount; ++i)
        mainBefore[i] = board.slotPicture(IconWindow::Main, i);
    const QImage lowSnap = board.snapshotPicture(IconWindow::Main);

    board.reset(IconWindow::Os5);

    for (int i = 0; i < kIconSlotCount; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(board.slotPicture(IconWindow::Main, i), mainBefore[i]);
        EXPECT_EQ(board.slotPicture(IconWindow::Os5, i),
                  board.holderPicture(IconWindow::Os5, iconSlots()[i].os5Holder));
    }
    EXPECT_EQ(board.slotPicture(IconWindow::Os5, slotOf("Image44")),
              board.holderPicture(IconWindow::Os5, "Image54"));
    EXPECT_EQ(board.snapshotPicture(IconWindow::Os5), board.holderPicture(IconWindow::Os5, "Image56"));
    EXPECT_EQ(board.snapshotPicture(IconWindow::Main), lowSnap);
    EXPECT_EQ(board.selectedCell(IconWindow::Os5), 90);
}

TEST_F(IconBoardTest, ASlotOwnsItsPicture) {
    // A pick into one slot must not show in another slot or in a holder that
    // shared the same factory picture.
    board.selectCell(IconWindow::Main, 2);
    board.clickMainSlot(0);
    EXPECT_NE(board.slotPicture(IconWindow::Main, 1), board.slotPicture(IconWindow::Main, 0));
    EXPECT_EQ(board.slotPicture(IconWindow::Main, 1), board.holderPicture(IconWindow::Main, "Image24"));
}

TEST_F(IconBoardTest, LoadsASheetAndKeepsTheOldOneOnBadFiles) {
    QTemporaryDir dir;
    const QString good = dir.filePath("good.bmp");
    ASSERT_TRUE(coordinateSheet({100, 60}).save(good, "BMP"));
    board.selectCell(IconWindow::Main, 7);
    SheetLoadResult loaded = board.loadSheet(IconWindow::Main, good, kGreen);
    ASSERT_TRUE(loaded.loaded()) << loaded.loaderMessage.toStdString();
    EXPECT_EQ(board.sheet(IconWindow::Main).size(), QSize(100, 60));

    QByteArray bmp = test::readBytes(good);
    ASSERT_TRUE(test::writeBytes(dir.filePath("text.bmp"), "not a picture\r\n"));
    ASSERT_TRUE(test::writeBytes(dir.filePath("truncated.bmp"), bmp.left(bmp.size() / 2)));
    struct Case {
        const char* file;
        SheetLoadResult::Status status;
        const char* messagePart;
    };
    const Case cases[] = {
        {"text.bmp", SheetLoadResult::Status::InvalidPicture, "Unsupported image format"},
        {"truncated.bmp", SheetLoadResult::Status::InvalidPicture, "incomplete"},
        {"missing.bmp", SheetLoadResult::Status::Unreadable, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const SheetLoadResult result = board.loadSheet(IconWindow::Main, dir.filePath(c.file), kGreen);
        EXPECT_EQ(result.status, c.status);
        EXPECT_FALSE(result.loaderMessage.isEmpty());
        EXPECT_TRUE(result.loaderMessage.contains(c.messagePart)) << result.loaderMessage.toStdString();
        EXPECT_TRUE(pixelsAre(board.sheet(IconWindow::Main), codeOf));
        EXPECT_EQ(board.sheet(IconWindow::Main).size(), QSize(100, 60));
    }
    EXPECT_EQ(board.selectedCell(IconWindow::Main), 7);
}

TEST(SheetPicture, TruncationCheckCountsRowPadding) {
    QTemporaryDir dir;
    for (const QImage::Format format : {QImage::Format_RGB32, QImage::Format_Indexed8, QImage::Format_Mono}) {
        SCOPED_TRACE(int(format));
        QImage picture = coordinateSheet({13, 7}).convertToFormat(format);
        const QString path = dir.filePath("p.bmp");
        ASSERT_TRUE(picture.save(path, "BMP"));
        const QByteArray bytes = test::readBytes(path);
        EXPECT_EQ(truncatedBitmapProblem(bytes.left(64), bytes.size()), QString());
        EXPECT_NE(truncatedBitmapProblem(bytes.left(64), bytes.size() - 1), QString());
    }
    EXPECT_EQ(truncatedBitmapProblem("GIF89a", 6), QString());
}

// A 2 x 1 GIF: (10,20,30) and a pixel of its transparent colour index.
QByteArray transparentGif() {
    return QByteArray("GIF89a\x02\x00\x01\x00\x80\x00\x00"
                      "\x0A\x14\x1E\xFF\xFF\xFF"
                      "\x21\xF9\x04\x01\x00\x00\x01\x00"
                      "\x2C\x00\x00\x00\x00\x02\x00\x01\x00\x00"
                      "\x02\x02\x44\x0A\x00\x3B",
                      43);
}

// A 32-bit BMP whose V4 header carries an alpha mask, one row, bottom-up.
QByteArray alphaBitmap(const QList<QRgb>& pixels) {
    QByteArray bytes(14 + 108, '\0');
    auto put32 = [&](int at, quint32 value) { qToLittleEndian(value, bytes.data() + at); };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(2, quint32(bytes.size() + 4 * pixels.size()));
    put32(10, 14 + 108);
    put32(14, 108);
    put32(18, quint32(pixels.size()));
    put32(22, 1);
    qToLittleEndian(quint16(1), bytes.data() + 26);
    qToLittleEndian(quint16(32), bytes.data() + 28);
    put32(30, 3); // bit fields
    put32(34, quint32(4 * pixels.size()));
    put32(54, 0x00FF0000u);
    put32(58, 0x0000FF00u);
    put32(62, 0x000000FFu);
    put32(66, 0xFF000000u);
    for (const QRgb pixel : pixels) {
        QByteArray four(4, '\0');
        qToLittleEndian(quint32(pixel), four.data());
        bytes += four;
    }
    return bytes;
}

QByteArray encoded(const QImage& picture, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(100); // lossless WebP
    EXPECT_TRUE(writer.write(picture)) << format << " " << writer.errorString().toStdString();
    return bytes;
}

// Whatever the format, alpha below 128 is the colour the build marks
// transparent, and every other pixel keeps its own colour with its alpha
// dropped: not laid on white, not left premultiplied (a half-transparent
// yellow survives the premultiplied storage of TIFF exactly).
TEST(SheetPicture, AlphaBelowHalfTakesTheTransparencyColour) {
    const QRgb transparency = qRgb(255, 0, 255);
    const QList<QRgb> pixels = {qRgba(10, 20, 30, 255), qRgba(90, 90, 90, 0), qRgba(40, 50, 60, 127),
                                qRgba(255, 255, 0, 128)};
    QImage picture(int(pixels.size()), 1, QImage::Format_ARGB32);
    for (int x = 0; x < picture.width(); ++x)
        picture.setPixel(x, 0, pixels[x]);
    const QList<QRgb> expected = {qRgb(10, 20, 30), transparency, transparency, qRgb(255, 255, 0)};
    const struct {
        const char* format;
        QByteArray bytes;
        QList<QRgb> expected;
    } cases[] = {
        {"png", encoded(picture, "png"), expected},
        {"tiff", encoded(picture, "tiff"), expected},
        {"webp", encoded(picture, "webp"), expected},
        {"bmp", alphaBitmap(pixels), expected},
        {"gif", transparentGif(), {qRgb(10, 20, 30), transparency}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.format);
        const SheetLoadResult result = decodeSheetPicture(c.bytes, transparency);
        ASSERT_TRUE(result.loaded()) << result.loaderMessage.toStdString();
        ASSERT_EQ(result.picture.format(), QImage::Format_RGB32);
        ASSERT_EQ(result.picture.width(), c.expected.size());
        for (int x = 0; x < result.picture.width(); ++x)
            EXPECT_EQ(result.picture.pixel(x, 0), c.expected[x]) << "pixel " << x;
    }
}

TEST(SnapshotGuard, ASlotNeverReadsAHalfDrawnSnapshot) {
    // The writer paints the picture in two halves under one lock; a reader that
    // got in between would see two colours.
    IconBoard board;
    std::atomic<bool> stop{false};
    std::atomic<int> rounds{0};
    QThread* writer = QThread::create([&] {
        for (int round = 0; !stop.load(); round = ++rounds) {
            board.writeSnapshot(IconWindow::Main, [&](QImage& p) {
                const QRgb colour = (round % 2) ? qRgb(255, 0, 0) : qRgb(0, 0, 255);
                for (int y = 0; y < p.height(); ++y) {
                    for (int x = 0; x < p.width(); ++x)
                        p.setPixel(x, y, colour);
                    if (y == p.height() / 2)
                        QThread::usleep(20);
                }
            });
        }
    });
    writer->start();
    int mixed = 0;
    // Read for as long as the writer needs to complete a good number of rounds.
    for (int i = 0; i < 2000 || rounds.load() < 300; ++i) {
        board.clickMainSlot(0);
        const QImage& slot = board.slotPicture(IconWindow::Main, 0);
        if (slot.pixel(0, 0) != slot.pixel(31, 21))
            ++mixed;
    }
    stop = true;
    writer->wait();
    delete writer;
    EXPECT_EQ(mixed, 0);
}
