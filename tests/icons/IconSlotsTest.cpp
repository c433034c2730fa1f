// The slot table and the two grids: geometry the windows and builds rely on.
#include "icons/IconSlots.h"

#include <gtest/gtest.h>

#include <QSet>

using namespace vv;

namespace {

struct CellCase {
    int cell;
    int column;
    int row;
    QRect source; // left, top, right, bottom (exclusive)
};

QRect ltrb(int l, int t, int r, int b) {
    return QRect(QPoint(l, t), QPoint(r - 1, b - 1));
}

} // namespace

TEST(IconGrid, MainCellsInFourBands) {
    const CellCase cases[] = {
        {1, 0, 0, ltrb(3, 8, 39, 34)},       {4, 3, 0, ltrb(111, 8, 147, 34)},
        {5, 0, 1, ltrb(3, 34, 39, 60)},      {68, 3, 16, ltrb(111, 424, 147, 450)},
        {69, 4, 0, ltrb(147, 8, 183, 34)},   {137, 8, 0, ltrb(291, 8, 327, 34)},
        {205, 12, 0, ltrb(435, 8, 471, 34)}, {272, 15, 16, ltrb(543, 424, 579, 450)},
    };
    for (const CellCase& c : cases) {
        SCOPED_TRACE(c.cell);
        EXPECT_EQ(mainIconGrid().column(c.cell), c.column);
        EXPECT_EQ(mainIconGrid().row(c.cell), c.row);
        EXPECT_EQ(mainIconGrid().sourceRect(c.cell), c.source);
        // The click target sits 3 left of and 2 above the copy, offset by the sheet's corner (8, 152).
        EXPECT_EQ(mainIconGrid().clickTarget(c.cell),
                  QRect(c.source.topLeft() + QPoint(8 - 3, 152 - 2), QSize(36, 26)));
    }
}

TEST(IconGrid, Os5CellsRowByRow) {
    const CellCase cases[] = {
        {1, 0, 0, ltrb(6, 16, 78, 68)},
        {10, 9, 0, ltrb(654, 16, 726, 68)},
        {11, 0, 1, ltrb(6, 68, 78, 120)},
        {90, 9, 8, ltrb(654, 432, 726, 484)},
    };
    for (const CellCase& c : cases) {
        SCOPED_TRACE(c.cell);
        EXPECT_EQ(os5IconGrid().column(c.cell), c.column);
        EXPECT_EQ(os5IconGrid().row(c.cell), c.row);
        EXPECT_EQ(os5IconGrid().sourceRect(c.cell), c.source);
        EXPECT_EQ(os5IconGrid().clickTarget(c.cell),
                  QRect(c.source.topLeft() + QPoint(1 - 3, 163 - 3), QSize(70, 52)));
    }
}

TEST(IconGrid, EveryCellHasItsOwnPlace) {
    for (const IconGrid* grid : {&mainIconGrid(), &os5IconGrid()}) {
        QSet<QPair<int, int>> seen;
        for (int cell = 1; cell <= grid->cellCount; ++cell)
            seen.insert({grid->cellOrigin(cell).x(), grid->cellOrigin(cell).y()});
        EXPECT_EQ(seen.size(), grid->cellCount);
        EXPECT_FALSE(grid->isCell(0));
        EXPECT_FALSE(grid->isCell(grid->cellCount + 1));
    }
}

TEST(IconSlots, NamesAreUniquePerWindowAndFindable) {
    QSet<QString> mainNames, os5Names;
    for (int i = 0; i < kIconSlotCount; ++i) {
        const IconSlot& slot = iconSlots()[i];
        mainNames.insert(slot.mainName);
        os5Names.insert(slot.os5Name);
        EXPECT_EQ(slotIndexByMainName(slot.mainName), i);
        EXPECT_EQ(slotIndexByOs5Name(slot.os5Name), i);
    }
    EXPECT_EQ(mainNames.size(), kIconSlotCount);
    EXPECT_EQ(os5Names.size(), kIconSlotCount);
    EXPECT_EQ(slotIndexByMainName("Image253"), -1);
}

TEST(IconSlots, ExtraThemeSlotsPairAndTakeCrossedHolders) {
    const IconSlot& i43 = iconSlots()[slotIndexByMainName("Image43")];
    const IconSlot& i44 = iconSlots()[slotIndexByMainName("Image44")];
    EXPECT_STREQ(i43.mainHolder, "Image46");
    EXPECT_STREQ(i44.mainHolder, "Image45");
    EXPECT_STREQ(i43.os5Name, "Image53");
    EXPECT_STREQ(i44.os5Name, "Image51");
    EXPECT_EQ(lowPiecePath(i43), "ThmeRsrc/Icon13EH.bmp");
    EXPECT_EQ(highPiecePath(i44), "ThmeRsrc/Icon24HH.bmp");
}

TEST(IconSlots, IconSetFamiliesInIdOrderWithTenthOnCodeZero) {
    const QList<ResourceFamily> families = iconSetFamilies();
    ASSERT_EQ(families.size(), 12);
    const char codes[] = "1234567890AB";
    for (int i = 0; i < 12; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(families[i].kind, FamilyKind::Icon);
        EXPECT_EQ(families[i].id, 10000 + 10 * i);
        EXPECT_EQ(families[i].folder, "IconRsrc");
        EXPECT_EQ(families[i].lowPiece, QString("Icon03E") + codes[i]);
        EXPECT_EQ(families[i].highPiece, QString("Icon04H") + codes[i]);
    }
}

TEST(IconSlots, ThemeFamiliesInIdOrder) {
    const QList<ResourceFamily> families = themeIconFamilies();
    ASSERT_EQ(families.size(), 20);
    const char codes[] = "0123456789ABCDEFGH";
    for (int i = 0; i < 18; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(families[i].id, 10000 + 10 * i);
        EXPECT_EQ(families[i].folder, "ThmeRsrc");
        EXPECT_EQ(families[i].lowPiece, QString("Icon03E") + codes[i]);
        EXPECT_EQ(families[i].highPiece, QString("Icon04H") + codes[i]);
    }
    EXPECT_EQ(families[18].id, 10180);
    EXPECT_EQ(families[18].lowPiece, "Icon13EH");
    EXPECT_EQ(families[18].highPiece, "Icon14HH");
    EXPECT_EQ(families[19].id, 10190);
    EXPECT_EQ(families[19].lowPiece, "Icon23EH");
    EXPECT_EQ(families[19].highPiece, "Icon24HH");
}
