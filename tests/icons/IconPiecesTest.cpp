// The piece lists both builds save from the icon slots.
#include "icons/IconPieces.h"

#include "support/TestFiles.h"

#include <gtest/gtest.h>

using namespace vv;

namespace {

using test::pathsOf;

QStringList numbered(const QString& prefix, const QString& codes) {
    QStringList names;
    for (QChar code : codes)
        names.append(prefix + code + ".bmp");
    return names;
}

} // namespace

TEST(IconPieces, IconSetSavesMainSlotsThenTheirPartners) {
    IconBoard board;
    board.writeSnapshot(IconWindow::Os5, [](QImage& p) { p.fill(Qt::red); });
    board.clickOs5Slot(slotIndexByOs5Name("Image10")); // marks the tenth icon at both densities
    const QList<PieceFile> pieces = iconSetPieces(board);
    EXPECT_EQ(pathsOf(pieces),
              numbered("IconRsrc/Icon03E", "1234567890AB") + numbered("IconRsrc/Icon04H", "1234567890AB"));
    for (int i = 0; i < 12; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(pieces[i].picture, board.slotPicture(IconWindow::Main, i));
        EXPECT_EQ(pieces[12 + i].picture, board.slotPicture(IconWindow::Os5, i));
        EXPECT_EQ(pieces[i].picture.size(), QSize(32, 22));
        EXPECT_EQ(pieces[12 + i].picture.size(), QSize(64, 44));
    }
    EXPECT_EQ(pieces[9].relativePath, "IconRsrc/Icon03E0.bmp");
    EXPECT_EQ(pieces[9].picture.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(pieces[21].relativePath, "IconRsrc/Icon04H0.bmp");
    EXPECT_EQ(pieces[21].picture.pixel(63, 43), qRgb(255, 0, 0));
}

TEST(IconPieces, ThemeIconsInTheirSavingOrder) {
    IconBoard board;
    const QList<PieceFile> low = themeLowIconPieces(board);
    EXPECT_EQ(pathsOf(low), numbered("ThmeRsrc/Icon03E", "0123456789ABCDEFGH") << "ThmeRsrc/Icon13EH.bmp"
                                                                               << "ThmeRsrc/Icon23EH.bmp");
    EXPECT_EQ(low[0].picture, board.slotPicture(IconWindow::Main, slotIndexByMainName("Image6")));
    EXPECT_EQ(low[19].picture, board.slotPicture(IconWindow::Main, slotIndexByMainName("Image44")));

    const QList<PieceFile> high = themeHighIconPieces(board);
    EXPECT_EQ(pathsOf(high), numbered("ThmeRsrc/Icon04H", "0123456789ABCDEFGH") << "ThmeRsrc/Icon24HH.bmp"
                                                                                << "ThmeRsrc/Icon14HH.bmp");
    EXPECT_EQ(high[0].picture, board.slotPicture(IconWindow::Os5, slotIndexByOs5Name("Image13")));
    EXPECT_EQ(high[18].picture, board.slotPicture(IconWindow::Os5, slotIndexByOs5Name("Image51")));
    EXPECT_EQ(high[19].picture, board.slotPicture(IconWindow::Os5, slotIndexByOs5Name("Image53")));
}
