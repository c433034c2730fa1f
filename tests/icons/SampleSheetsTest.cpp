// The shipped sample sheets: every cell's pick lands one whole icon in a slot.
#include "icons/IconArt.h"
#include "icons/IconBoard.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

using namespace vv;

namespace {

// The transparency colour of the shipped options.
constexpr QRgb kGreen = 0xFF00FF00u;

// A whole icon: its transparency-colour box is intact on all four corners
// and the tile sits in the middle.
bool holdsWholeIcon(const QImage& slot) {
    const int r = slot.width() - 1, b = slot.height() - 1;
    for (const QPoint corner : {QPoint(0, 0), QPoint(r, 0), QPoint(0, b), QPoint(r, b)})
        if ((slot.pixel(corner) | 0xFF000000u) != kIconBackground)
            return false;
    return (slot.pixel(slot.width() / 2, slot.height() / 2) | 0xFF000000u) != kIconBackground;
}

} // namespace

TEST(SampleSheets, EveryCellPicksAWholeIcon) {
    struct Case {
        IconWindow window;
        const char* file;
    };
    for (const Case& c : {Case{IconWindow::Main, "IconBMP/SampleIcons.bmp"},
                          Case{IconWindow::Os5, "IconBMP/SampleIconsOS5.bmp"}}) {
        SCOPED_TRACE(c.file);
        const QByteArray bytes = test::readBytes(test::dataPath(c.file));
        ASSERT_GE(bytes.size(), 54);
        EXPECT_EQ(bytes[28], 24) << "24-bit BMP";
        IconBoard board;
        const SheetLoadResult loaded = board.loadSheet(c.window, test::dataPath(c.file), kGreen);
        ASSERT_TRUE(loaded.loaded()) << loaded.loaderMessage.toStdString();
        const IconGrid& grid = iconGrid(c.window);
        for (int cell = 1; cell <= grid.cellCount; ++cell) {
            EXPECT_TRUE(QRect(QPoint(0, 0), board.sheet(c.window).size()).contains(grid.sourceRect(cell)))
                << "cell " << cell;
            board.selectCell(c.window, cell);
            board.clickSlot(c.window, 0);
            EXPECT_TRUE(holdsWholeIcon(board.slotPicture(c.window, 0))) << "cell " << cell;
            if (c.window == IconWindow::Os5) {
                EXPECT_TRUE(holdsWholeIcon(board.slotPicture(IconWindow::Main, 0)))
                    << "half-size cell " << cell;
            }
        }
    }
}
