// The OS5 check before a build: which picture pairs carry the user's art only
// at density 1, and the 2x enlargement that fills their density-2 partner.
#include "buildrun/LowArtOnly.h"
#include "icons/IconBoard.h"
#include "icons/IconPieces.h"
#include "theme/ThemeBuildPlan.h"
#include "theme/ThemePieces.h"

#include <QPainter>
#include <gtest/gtest.h>

using namespace vv;

namespace {

BuildOptions os5Options() {
    BuildOptions options;
    options.screenType = 2;
    options.depths.set(8);
    return options;
}

// The default theme as a low sheet, with the rectangles of `codes` painted over.
QImage lowSheetChanging(const QStringList& codes) {
    QImage sheet = composeSkinSheet(ThemePieces(), PieceResolution::Low, qRgb(192, 192, 192));
    QPainter painter(&sheet);
    for (const QString& code : codes)
        painter.fillRect(themePieceTable()[themePieceIndex(code)].lowSheetRect, QColor(200, 30, 40));
    return sheet;
}

QImage cellSheet(QSize size) {
    QImage sheet(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            sheet.setPixel(x, y, qRgb(x & 0xFF, y & 0xFF, 0x40));
    return sheet;
}

QStringList lowPathsOf(const QList<DensityPair>& pairs) {
    QStringList paths;
    for (const DensityPair& pair : pairs)
        paths << pair.lowPath;
    return paths;
}

} // namespace

TEST(LowArtOnly, PiecesAndThemeIconsNoneSomeAll) {
    const int firstThemeSlot = IconSetSlotCount;
    const struct {
        const char* name;
        QStringList lowPieces; // pieces painted on a low sheet (empty: no low sheet)
        bool highSheet;        // a high sheet loaded first
        QList<int> mainPicks;  // theme icon slots picked on the main window
        QList<int> os5Picks;   // theme icon slots picked on the OS5 window
        BuildOptions options;
        QStringList expectedLow;
    } cases[] = {
        {"nothing changed", {}, false, {}, {}, os5Options(), {}},
        {"some pieces",
         {"E0", "B3", "F9"},
         false,
         {},
         {},
         os5Options(),
         {"ThmeRsrc/Tbmp03E0.bmp", "ThmeRsrc/Tbmp03B3.bmp", "ThmeRsrc/Tbmp03F9.bmp"}},
        {"some icons",
         {},
         false,
         {0, 19},
         {},
         os5Options(),
         {"ThmeRsrc/Icon03E0.bmp", "ThmeRsrc/Icon23EH.bmp"}},
        {"an OS5 pick changes both of its pair", {}, false, {0}, {0}, os5Options(), {}},
        {"all pieces after a high sheet: none", {"E0"}, true, {}, {}, os5Options(), {}},
        {"not the OS5 screen", {"E0"}, false, {0}, {}, BuildOptions{}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ThemePieces pieces;
        if (c.highSheet)
            pieces.loadHighResolutionSheet(cellSheet(kHighSheetSize));
        if (!c.lowPieces.isEmpty())
            pieces.loadLowResolutionSheet(lowSheetChanging(c.lowPieces));
        IconBoard board;
        board.setSheet(IconWindow::Main, cellSheet(mainIconGrid().fullSheetSize()));
        board.setSheet(IconWindow::Os5, cellSheet(os5IconGrid().fullSheetSize()));
        board.selectCell(IconWindow::Main, 5);
        board.selectCell(IconWindow::Os5, 7);
        for (int slot : c.os5Picks)
            board.clickOs5Slot(firstThemeSlot + slot);
        for (int slot : c.mainPicks)
            board.clickMainSlot(firstThemeSlot + slot);
        EXPECT_EQ(lowPathsOf(themePairsWithLowArtOnly(pieces, board, c.options)), c.expectedLow);
    }
}

TEST(LowArtOnly, AllPiecesOfALowSheetAndTheIconSetSlots) {
    ThemePieces pieces;
    pieces.loadLowResolutionSheet(cellSheet(kLowSheetSize));
    const QList<DensityPair> pairs = piecePairsWithLowArtOnly(pieces);
    ASSERT_EQ(pairs.size(), kThemePieceCount);
    EXPECT_EQ(pairs.first(), (DensityPair{"ThmeRsrc/Tbmp03E0.bmp", "ThmeRsrc/Tbmp04E0.bmp"}));

    IconBoard board;
    board.setSheet(IconWindow::Main, cellSheet(mainIconGrid().fullSheetSize()));
    board.selectCell(IconWindow::Main, 9);
    for (int slot = 0; slot < IconSetSlotCount; ++slot)
        board.clickMainSlot(slot);
    const QList<DensityPair> icons = iconSetPairsWithLowArtOnly(board, os5Options());
    ASSERT_EQ(icons.size(), IconSetSlotCount);
    EXPECT_EQ(icons.first(), (DensityPair{"IconRsrc/Icon03E1.bmp", "IconRsrc/Icon04H1.bmp"}));
    // Without an 8 or 16 bit depth no density-2 picture is named.
    BuildOptions lowDepths = os5Options();
    lowDepths.depths.set(8, false);
    lowDepths.depths.set(4);
    EXPECT_TRUE(iconSetPairsWithLowArtOnly(board, lowDepths).isEmpty());
}

TEST(LowArtOnly, DoublingRepeatsEveryPixelAndTouchesOnlyThePairs) {
    QImage low(3, 2, QImage::Format_RGB32);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            low.setPixel(x, y, qRgb(10 * x, 100 + y, 7));
    // A partner larger than twice the low picture keeps `outside` where the enlargement ends.
    const QImage doubled = doubledPicture(low, {7, 5}, QImage::Format_RGB32, qRgb(0, 255, 0));
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            EXPECT_EQ(doubled.pixel(x, y), x < 6 && y < 4 ? low.pixel(x / 2, y / 2) : qRgb(0, 255, 0))
                << x << "," << y;

    ThemePieces pieces;
    pieces.loadLowResolutionSheet(lowSheetChanging({"E0", "F9"}));
    const IconBoard board;
    QList<PieceFile> files = themePieceFiles(pieces, board, 2);
    const QList<PieceFile> before = files;
    const QList<DensityPair> pairs = themePairsWithLowArtOnly(pieces, board, os5Options());
    ASSERT_EQ(pairs.size(), 2);
    EXPECT_EQ(doubleLowPictures(files, pairs, qRgb(0, 255, 0)), 2);
    int changed = 0;
    for (int i = 0; i < files.size(); ++i) {
        if (files[i].picture == before[i].picture)
            continue;
        ++changed;
        EXPECT_TRUE(files[i].relativePath == "ThmeRsrc/Tbmp04E0.bmp" ||
                    files[i].relativePath == "ThmeRsrc/Tbmp04F9.bmp")
            << files[i].relativePath.toStdString();
        EXPECT_EQ(files[i].picture.size(), before[i].picture.size());
        EXPECT_EQ(files[i].picture.format(), before[i].picture.format());
    }
    EXPECT_EQ(changed, 2);
    const int e0 = themePieceIndex(u"E0");
    const QImage& high = files[files.size() - kThemePieceCount + e0].picture;
    const QImage lowE0 = pieces.lowPiece(e0).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(high.pixel(5, 3), lowE0.pixel(2, 1));
    EXPECT_EQ(high.pixel(high.width() - 1, high.height() - 1),
              lowE0.pixel(lowE0.width() - 1, lowE0.height() - 1));
}
