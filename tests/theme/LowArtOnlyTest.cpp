// The OS5 check before a build: which picture pairs carry the user's art only
// at density 1, and the 2x enlargement that fills their density-2 partner.
#include "common/LowArtOnly.h"
#include "icons/IconBoard.h"
#include "icons/IconPieces.h"
#include "theme/ThemeBuildPlan.h"
#include "theme/ThemePieces.h"
#include "unpack/DatabaseUnpack.h"

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

// A theme database as unpacked: every piece and theme icon at low
// resolution, and at high resolution too unless `withHigh` is false.
UnpackedDatabase themeDatabase(bool withHigh) {
    UnpackedDatabase database;
    for (int i = 0; i < kThemePieceCount; ++i) {
        database.lowPieces[i] = makeBlankPiece(themePieceTable()[i], PieceResolution::Low);
        if (withHigh)
            database.highPieces[i] = makeBlankPiece(themePieceTable()[i], PieceResolution::High);
    }
    for (int s = kIconSetSlotCount; s < kIconSlotCount; ++s) {
        database.lowIcons[s] = cellSheet(kLowIconSize);
        if (withHigh)
            database.highIcons[s] = cellSheet(kHighIconSize);
    }
    return database;
}

QStringList allThemeIcons() {
    QStringList paths;
    for (int s = kIconSetSlotCount; s < kIconSlotCount; ++s)
        paths << lowPiecePath(iconSlots()[s]);
    return paths;
}

QStringList allLowPieces() {
    QStringList paths;
    for (const DensityPair& pair : piecePairsWithLowArtOnly([] {
             ThemePieces all;
             all.loadLowResolutionSheet(cellSheet(kLowSheetSize));
             return all;
         }()))
        paths << pair.lowPath;
    return paths;
}

} // namespace

// The partner rule over the steps that set pictures: a pair is asked about
// when its low picture is the user's and newer than its high partner, or its
// partner is built in or was left by a database that had none. What the
// pictures look like plays no part: the test sheets and databases are plain.
TEST(LowArtOnly, PairsAreJudgedByWhereTheirPicturesCameFrom) {
    const int first = kIconSetSlotCount; // the first theme icon slot
    const int last = kIconSlotCount - 1;
    enum class Step { LowSheet, HighSheet, MainPick, Os5Pick, Database, LowOnlyDatabase, ResetOs5 };
    using enum Step;
    const QString firstIcon = "ThmeRsrc/Icon03E0.bmp";
    const QString lastIcon = "ThmeRsrc/Icon23EH.bmp";
    const struct {
        const char* name;
        QList<Step> steps;
        BuildOptions options;
        QStringList expectedLow;
    } cases[] = {
        {"nothing changed: built in at both", {}, os5Options(), {}},
        {"a low sheet over built-in partners", {LowSheet}, os5Options(), allLowPieces()},
        {"a high sheet makes both of each pair", {HighSheet}, os5Options(), {}},
        {"a low sheet after a high sheet is newer", {HighSheet, LowSheet}, os5Options(), allLowPieces()},
        {"a high sheet after a low sheet rewrites both", {LowSheet, HighSheet}, os5Options(), {}},
        {"main picks over built-in partners", {MainPick}, os5Options(), {firstIcon, lastIcon}},
        {"an OS5 pick sets both of its pair", {Os5Pick}, os5Options(), {}},
        {"a main pick after an OS5 pick is newer", {Os5Pick, MainPick}, os5Options(), {firstIcon, lastIcon}},
        {"a database with both pictures", {Database}, os5Options(), {}},
        {"a low sheet after a database", {Database, LowSheet}, os5Options(), allLowPieces()},
        {"a pick after a database", {Database, MainPick}, os5Options(), {firstIcon, lastIcon}},
        {"a database without high pictures",
         {LowOnlyDatabase},
         os5Options(),
         allLowPieces() + allThemeIcons()},
        {"a high sheet after a database without high pictures",
         {LowOnlyDatabase, HighSheet},
         os5Options(),
         allThemeIcons()},
        {"an OS5 reset after an OS5 pick leaves the low half alone",
         {Os5Pick, ResetOs5},
         os5Options(),
         {firstIcon, lastIcon}},
        {"not the OS5 screen", {LowSheet, MainPick}, BuildOptions{}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ThemePieces pieces;
        IconBoard board;
        board.setSheet(IconWindow::Main, cellSheet(mainIconGrid().fullSheetSize()));
        board.setSheet(IconWindow::Os5, cellSheet(os5IconGrid().fullSheetSize()));
        board.selectCell(IconWindow::Main, 5);
        board.selectCell(IconWindow::Os5, 7);
        for (Step step : c.steps) {
            switch (step) {
            case LowSheet:
                pieces.loadLowResolutionSheet(cellSheet(kLowSheetSize));
                break;
            case HighSheet:
                pieces.loadHighResolutionSheet(cellSheet(kHighSheetSize));
                break;
            case MainPick:
            case Os5Pick:
                for (int slot : {first, last})
                    board.clickSlot(step == MainPick ? IconWindow::Main : IconWindow::Os5, slot);
                break;
            case Database:
            case LowOnlyDatabase:
                applyUnpackedDatabase(themeDatabase(step == Database), pieces, board, true);
                break;
            case ResetOs5:
                board.reset(IconWindow::Os5);
                break;
            }
        }
        EXPECT_EQ(lowPathsOf(themePairsWithLowArtOnly(pieces, board, c.options)), c.expectedLow);
    }
}

TEST(LowArtOnly, ADatabaseWithoutHighPicturesMarksThemOnlyWhereThePairsAreBuilt) {
    for (const bool pairsNamed : {false, true}) {
        SCOPED_TRACE(pairsNamed);
        ThemePieces pieces;
        pieces.loadHighResolutionSheet(cellSheet(kHighSheetSize));
        const ThemePieces before = pieces;
        IconBoard board;
        applyUnpackedDatabase(themeDatabase(false), pieces, board, pairsNamed);
        const PictureSource high = pairsNamed ? PictureSource::DatabaseWithout : PictureSource::Sheet;
        for (int i = 0; i < kThemePieceCount; ++i) {
            EXPECT_EQ(pieces.origin(i, PieceResolution::Low).source, PictureSource::Database);
            EXPECT_EQ(pieces.origin(i, PieceResolution::High).source, high);
            // The high pictures stay as they were.
            EXPECT_EQ(pieces.highPiece(i), before.highPiece(i));
        }
        EXPECT_EQ(board.slotOrigin(IconWindow::Os5, kIconSetSlotCount).source,
                  pairsNamed ? PictureSource::DatabaseWithout : PictureSource::BuiltIn);
        EXPECT_EQ(board.slotOrigin(IconWindow::Os5, 0).source, PictureSource::BuiltIn);
    }
}

TEST(LowArtOnly, OneMomentMakesNoPictureNewerThanAnother) {
    ThemePieces pieces;
    {
        const OnePictureMoment oneCommandLine;
        pieces.loadHighResolutionSheet(cellSheet(kHighSheetSize));
        pieces.loadLowResolutionSheet(cellSheet(kLowSheetSize));
    }
    EXPECT_TRUE(piecePairsWithLowArtOnly(pieces).isEmpty());
    pieces.loadLowResolutionSheet(cellSheet(kLowSheetSize));
    EXPECT_EQ(piecePairsWithLowArtOnly(pieces).size(), kThemePieceCount);
}

TEST(LowArtOnly, OriginsReadBackAsWritten) {
    for (const PictureOrigin origin :
         {PictureOrigin{}, PictureOrigin{PictureSource::Sheet, 7}, PictureOrigin{PictureSource::Cell, 1},
          PictureOrigin{PictureSource::Snapshot, 12345678901234ull},
          PictureOrigin{PictureSource::Database, 3}, PictureOrigin{PictureSource::DatabaseWithout, 3}})
        EXPECT_EQ(originFromText(originText(origin)), origin) << originText(origin).constData();
    for (const char* text : {"", "s", "x1", "s-1", "s1a", "s 1", "b+2"})
        EXPECT_FALSE(originFromText(text)) << text;
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
    for (int slot = 0; slot < kIconSetSlotCount; ++slot)
        board.clickMainSlot(slot);
    const QList<DensityPair> icons = iconSetPairsWithLowArtOnly(board, os5Options());
    ASSERT_EQ(icons.size(), kIconSetSlotCount);
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

    // Two low pieces of the user's, read from a database, beside built-in partners.
    ThemePieces pieces;
    const QImage painted = lowSheetChanging({"E0", "F9"});
    for (const char* code : {"E0", "F9"}) {
        const int i = themePieceIndex(QString::fromLatin1(code));
        pieces.setPiece(i, PieceResolution::Low, painted.copy(themePieceTable()[i].lowSheetRect));
    }
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
