#include "theme/ThemePieces.h"
#include "theme/DefaultTheme.h"
#include "tools/themeart/SampleTheme.h"

#include "common/Palette.h"
#include "common/PictureCopy.h"
#include "support/TestFiles.h"

#include "support/TestPictures.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QTemporaryDir>

using namespace vv;

namespace {

// Every pixel encodes its own coordinates: red and green the low bytes of x and
// y, blue their high bits.
QRgb coordinateColour(int x, int y) {
    return qRgb(x & 0xFF, y & 0xFF, (x >> 8) | ((y >> 8) << 2));
}

QPoint coordinateOf(QRgb colour) {
    return {qRed(colour) + 256 * (qBlue(colour) & 3), qGreen(colour) + 256 * (qBlue(colour) >> 2)};
}

QImage coordinateSheet(QSize size) {
    return test::coordinateSheet(size, coordinateColour);
}

// Checks that `piece` holds the sheet pixels starting at `origin`, `step` sheet
// pixels per piece pixel. 8-bit pieces hold the palette colour nearest to them.
void expectCutFrom(const QImage& piece, QPoint origin, int step, const std::string& what) {
    int wrong = 0;
    for (int y = 0; y < piece.height(); ++y) {
        for (int x = 0; x < piece.width(); ++x) {
            const QPoint source = origin + QPoint(x, y) * step;
            const QRgb expected = coordinateColour(source.x(), source.y());
            if (piece.format() == QImage::Format_Indexed8)
                wrong += piece.pixelIndex(x, y) != formats::nearestPaletteIndex(expected) ? 1 : 0;
            else
                wrong += coordinateOf(piece.pixel(x, y)) != source ? 1 : 0;
        }
    }
    EXPECT_EQ(wrong, 0) << what;
}

void expectFormats(const ThemePieces& pieces) {
    const auto& table = themePieceTable();
    for (int i = 0; i < kThemePieceCount; ++i) {
        const QImage& low = pieces.lowPiece(i);
        const QImage& high = pieces.highPiece(i);
        EXPECT_EQ(low.size(), table[i].lowSize());
        EXPECT_EQ(high.size(), table[i].highSize());
        EXPECT_EQ(high.format(), QImage::Format_RGB32);
        if (table[i].lowDepth == PieceDepth::Palette8) {
            EXPECT_EQ(low.format(), QImage::Format_Indexed8);
            EXPECT_EQ(low.colorTable(), palmColorTable());
        } else {
            EXPECT_EQ(low.format(), QImage::Format_RGB32);
        }
    }
}

} // namespace

TEST(ThemePieces, DefaultsHaveTheLaunchersSizesAndFormats) {
    expectFormats(ThemePieces());
}

TEST(ThemePieces, LowSheetGivesEachPieceExactlyItsRectangle) {
    ThemePieces pieces;
    const ThemePieces defaults;
    pieces.loadLowResolutionSheet(coordinateSheet(kLowSheetSize));
    const auto& table = themePieceTable();
    for (int i = 0; i < kThemePieceCount; ++i) {
        expectCutFrom(pieces.lowPiece(i), table[i].lowSheetRect.topLeft(), 1, table[i].code.toStdString());
        EXPECT_EQ(pieces.highPiece(i), defaults.highPiece(i)); // a low sheet leaves the high set alone
    }
    expectFormats(pieces);

    // B0 and B3 share a column; the row between them belongs to neither.
    const QImage& b0 = pieces.lowPiece(themePieceIndex(u"B0"));
    const QImage& b3 = pieces.lowPiece(themePieceIndex(u"B3"));
    EXPECT_EQ(coordinateOf(b0.pixel(0, 3)), QPoint(219, 169));
    EXPECT_EQ(coordinateOf(b3.pixel(0, 0)), QPoint(219, 171));
    EXPECT_EQ(pieces.lowPiece(themePieceIndex(u"F9")).pixelIndex(0, 0),
              formats::nearestPaletteIndex(coordinateColour(33, 149)));
}

TEST(ThemePieces, HighSheetGivesHighPiecesAndHalfSizeLowPieces) {
    ThemePieces pieces;
    pieces.loadHighResolutionSheet(coordinateSheet(kHighSheetSize));
    const auto& table = themePieceTable();
    for (int i = 0; i < kThemePieceCount; ++i) {
        const std::string code = table[i].code.toStdString();
        expectCutFrom(pieces.highPiece(i), table[i].highSheetRect.topLeft(), 1, code + " high");
        expectCutFrom(pieces.lowPiece(i), table[i].highSheetRect.topLeft(), 2, code + " low");
    }
    expectFormats(pieces);
    // F9 keeps its own place on the high sheet: 68, 300, which is 34, 150 on the
    // low grid and not the 33, 149 of the low sheet.
    EXPECT_EQ(coordinateOf(pieces.highPiece(57).pixel(0, 0)), QPoint(68, 300));
    EXPECT_EQ(pieces.lowPiece(57).pixelIndex(0, 0), formats::nearestPaletteIndex(coordinateColour(68, 300)));
}

TEST(ThemePieces, PalettePiecesFromA24BitSheetHoldOnlyPaletteColours) {
    ThemePieces pieces;
    pieces.loadLowResolutionSheet(coordinateSheet(kLowSheetSize));
    const auto& palette = palmSystemPalette();
    for (int i = 0; i < kThemePieceCount; ++i) {
        const QImage& piece = pieces.lowPiece(i);
        if (piece.format() != QImage::Format_Indexed8)
            continue;
        for (int y = 0; y < piece.height(); ++y)
            for (int x = 0; x < piece.width(); ++x)
                ASSERT_EQ(std::find(palette.begin(), palette.end(), piece.pixel(x, y)) != palette.end(),
                          true);
    }
}

TEST(ThemePieces, EachLoadReplacesEveryPieceItCuts) {
    ThemePieces pieces;
    pieces.loadHighResolutionSheet(coordinateSheet(kHighSheetSize));
    const ThemePieces afterHigh = pieces;
    QImage red(kLowSheetSize, QImage::Format_RGB32);
    red.fill(qRgb(255, 0, 0));
    pieces.loadLowResolutionSheet(red);
    for (int i = 0; i < kThemePieceCount; ++i) {
        const QImage& low = pieces.lowPiece(i);
        for (int y = 0; y < low.height(); ++y)
            for (int x = 0; x < low.width(); ++x)
                ASSERT_EQ(low.pixel(x, y), qRgb(255, 0, 0)) << i;
        EXPECT_EQ(pieces.highPiece(i), afterHigh.highPiece(i));
    }
}

TEST(ThemePieces, SmallSheetFillsTheRestWithTheOutsideColour) {
    ThemePieces pieces;
    pieces.loadLowResolutionSheet(coordinateSheet({100, 100}), qRgb(255, 0, 255));
    const int eg = themePieceIndex(u"EG"); // wholly below the small sheet
    EXPECT_EQ(pieces.lowPiece(eg).pixel(5, 5), qRgb(255, 0, 255));
    const QImage& e0 = pieces.lowPiece(themePieceIndex(u"E0")); // crosses x = 100
    EXPECT_EQ(e0.pixelIndex(16, 0), formats::nearestPaletteIndex(coordinateColour(99, 1)));
    EXPECT_EQ(e0.pixel(17, 0), qRgb(255, 0, 255));
}

TEST(ThemePieces, FailedFileLoadChangesNothing) {
    QTemporaryDir dir;
    const QString junk = dir.filePath(QStringLiteral("junk.bmp"));
    ASSERT_TRUE(test::writeBytes(junk, "not a picture"));
    // A whole sheet cut short: the loader alone would fill the rest with black.
    const QString truncated = dir.filePath(QStringLiteral("truncated.bmp"));
    QByteArray bmp;
    {
        QBuffer buffer(&bmp);
        buffer.open(QIODevice::WriteOnly);
        ASSERT_TRUE(coordinateSheet(kHighSheetSize).save(&buffer, "BMP"));
    }
    ASSERT_TRUE(test::writeBytes(truncated, bmp.left(bmp.size() / 2)));
    ThemePieces pieces;
    const ThemePieces before = pieces;
    for (PieceResolution resolution : {PieceResolution::Low, PieceResolution::High}) {
        EXPECT_EQ(pieces.loadSheetFile(junk, resolution).status, SheetLoadResult::Status::InvalidPicture);
        const SheetLoadResult cut = pieces.loadSheetFile(truncated, resolution);
        EXPECT_EQ(cut.status, SheetLoadResult::Status::InvalidPicture);
        EXPECT_FALSE(cut.loaderMessage.isEmpty());
        EXPECT_EQ(pieces.loadSheetFile(dir.filePath(QStringLiteral("missing.bmp")), resolution).status,
                  SheetLoadResult::Status::Unreadable);
    }
    for (int i = 0; i < kThemePieceCount; ++i) {
        EXPECT_EQ(pieces.lowPiece(i), before.lowPiece(i));
        EXPECT_EQ(pieces.highPiece(i), before.highPiece(i));
    }
}

// The shipped sample sheets are the Ember theme and up to date with its drawing
// code: each cuts into Ember's pieces, every piece holds exactly its rectangle
// of the sheet (8-bit ones too: the sheet's colours are palette colours), and
// every piece differs from the built-in default, so loading a sample visibly
// changes the whole theme; the high sheet does so for both piece sets.
TEST(ThemePieces, SampleSheetsCutIntoTheEmberThemeNotTheDefaults) {
    const ThemePieces defaults;
    const ThemePieces ember = sample::samplePieces();
    const auto& table = themePieceTable();
    for (PieceResolution resolution : {PieceResolution::Low, PieceResolution::High}) {
        const bool low = resolution == PieceResolution::Low;
        SCOPED_TRACE(low ? "low sheet" : "high sheet");
        const QString file = test::dataPath(low ? QStringLiteral("ThmeBMP/SkinSheetLow.bmp")
                                                : QStringLiteral("ThmeBMP/SkinSheetHigh.bmp"));
        const QImage sheet =
            loadSheetPicture(file, kOutsideSheetColour).picture.convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(sheet, sample::sampleSheet(resolution)) << "run vv_themeart data/ThmeBMP";

        ThemePieces loaded; // every piece starts as neither theme, so each one is seen to be cut
        loaded.loadHighResolutionSheet(makeRgbPicture(kHighSheetSize, qRgb(1, 2, 3)));
        ASSERT_TRUE(loaded.loadSheetFile(file, resolution).loaded());
        int differing = 0;
        int differingHalfSize = 0;
        for (int i = 0; i < kThemePieceCount; ++i) {
            SCOPED_TRACE(table[i].code.toStdString());
            const QImage& piece = loaded.piece(i, resolution);
            EXPECT_EQ(piece, ember.piece(i, resolution));
            EXPECT_EQ(piece.convertToFormat(QImage::Format_RGB32),
                      sheet.copy(table[i].sheetRect(resolution)));
            differing += piece != defaults.piece(i, resolution) ? 1 : 0;
            differingHalfSize += loaded.lowPiece(i) != defaults.lowPiece(i) ? 1 : 0;
        }
        EXPECT_EQ(differing, kThemePieceCount);
        EXPECT_EQ(differingHalfSize, kThemePieceCount);
    }
}

// Ember lets the launcher show through where the default theme does: the same
// pieces hold the transparency colour (ends and corners, glyph backgrounds, the
// plain cells), the same pieces none (bars, check boxes), what the default
// leaves mostly clear (the plain cells, the thin glyphs, the mark) is mostly
// clear in Ember too, and no piece is wholly clear.
TEST(SampleTheme, TransparentWhereTheDefaultThemeIs) {
    const ThemePieces defaults;
    const ThemePieces ember = sample::samplePieces();
    const auto clearPixels = [](const QImage& piece) {
        const QImage rgb = piece.convertToFormat(QImage::Format_RGB32);
        int clear = 0;
        for (int y = 0; y < rgb.height(); ++y)
            for (int x = 0; x < rgb.width(); ++x)
                clear += rgb.pixel(x, y) == kDefaultThemeTransparent ? 1 : 0;
        return clear;
    };
    for (PieceResolution resolution : {PieceResolution::Low, PieceResolution::High}) {
        for (int i = 0; i < kThemePieceCount; ++i) {
            SCOPED_TRACE(themePieceTable()[i].code.toStdString());
            const QImage& piece = ember.piece(i, resolution);
            const int area = piece.width() * piece.height();
            const int clear = clearPixels(piece);
            const int clearInDefault = clearPixels(defaults.piece(i, resolution));
            EXPECT_EQ(clear > 0, clearInDefault > 0);
            if (2 * clearInDefault > area) {
                EXPECT_GT(2 * clear, area);
            }
            EXPECT_LT(clear, area);
        }
    }
}

// Transparency green belongs only where the launcher should show through: no
// default piece is wholly transparent, and the bars have none at all.
TEST(DefaultTheme, TransparencyOnlyAtEdgesAndInsideCells) {
    const ThemePieces defaults;
    for (int i = 0; i < kThemePieceCount; ++i) {
        for (PieceResolution resolution : {PieceResolution::Low, PieceResolution::High}) {
            const QImage rgb = defaults.piece(i, resolution).convertToFormat(QImage::Format_RGB32);
            int clear = 0;
            for (int y = 0; y < rgb.height(); ++y)
                for (int x = 0; x < rgb.width(); ++x)
                    clear += rgb.pixel(x, y) == kDefaultThemeTransparent ? 1 : 0;
            EXPECT_LT(clear, rgb.width() * rgb.height()) << i;
            if (themePieceTable()[i].lowSize() == QSize(160, 36)) {
                EXPECT_EQ(clear, 0);
            }
        }
    }
}
