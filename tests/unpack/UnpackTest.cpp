// Databases read back into pictures: themes and icon sets built from the
// shipped sample sheets by vedivavurir-cli and the real vkdm_pdb come back
// equal to their pieces after the compiler's colour reduction; damaged
// databases are refused with their problem and write nothing.
#include "cli/StagedStartDir.h"
#include "common/Palette.h"
#include "common/SheetPicture.h"
#include "common/SystemScreens.h"
#include "compiler/PixelConverter.h"
#include "compiler/QtBytes.h"
#include "formats/PalmDatabase.h"
#include "icons/IconBoard.h"
#include "icons/IconSlots.h"
#include "support/IconPicks.h"
#include "support/TestFiles.h"
#include "theme/ThemeFamilies.h"
#include "theme/ThemePieces.h"
#include "unpack/DatabaseUnpack.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <functional>

namespace vv::test {
namespace {

constexpr QRgb kGreen = 0xFF00FF00u; // the options' transparency colour of the staged start directory
constexpr int kGreenIndex = 210;

// What a pixel becomes in a database of one depth, as the compiler reduces it:
// the RGB565 value at 16 bpp, the palette index at 8 bpp.
using Reduction = std::function<int(QRgb)>;

Reduction reductionFor(int depth) {
    if (depth == 16)
        return [](QRgb c) { return int(pdb::PixelConverter::rgb565(c)); };
    return [](QRgb c) {
        return (c & 0xFFFFFF) == (palmSystemPalette()[kGreenIndex] & 0xFFFFFF)
                   ? kGreenIndex
                   : formats::nearestPaletteIndex(c);
    };
}

// Whether `got` shows `want` after the reduction, pixel for pixel.
::testing::AssertionResult sameAfterReduction(const QImage& got, const QImage& want, const QRect& area,
                                              const Reduction& reduce) {
    const QImage g = got.convertToFormat(QImage::Format_RGB32);
    const QImage w = want.convertToFormat(QImage::Format_RGB32);
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (reduce(g.pixel(x, y)) != reduce(w.pixel(x, y)))
                return ::testing::AssertionFailure() << "at " << x << "," << y << ": " << std::hex
                                                     << g.pixel(x, y) << " for " << w.pixel(x, y);
    return ::testing::AssertionSuccess();
}

class Unpack : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(start.isValid()); }

    QString build(const QStringList& arguments, const QString& name) {
        const CliResult run = start.runProgram(arguments);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        return start.filePath(QStringLiteral("PDBFiles/") + name + QStringLiteral(".pdb"));
    }

    UnpackedDatabase unpack(const QString& path) {
        QString problem;
        std::optional<UnpackedDatabase> database = unpackDatabaseFile(path, kGreen, &problem);
        EXPECT_TRUE(database) << problem.toStdString();
        return database.value_or(UnpackedDatabase{});
    }

    StagedStartDir start;
};

struct ThemeCase {
    const char* screen;
    int depth;
    bool low;  // the low sheet (and pieces) come back
    bool high; // the high sheet (and pieces) come back
};

TEST_F(Unpack, ThemesComeBackAsTheirSheetsAfterTheColourReduction) {
    const ThemeCase cases[] = {
        {"160x160 Low", 16, true, false}, {"160x160 Low", 8, true, false},   {"320x320 OS5", 16, true, true},
        {"320x320 OS5", 8, true, true},   {"320x320 Sony", 16, false, true}, {"320x480 Sony", 8, false, true},
    };
    for (const ThemeCase& c : cases) {
        const QString screen = QString::fromLatin1(c.screen);
        SCOPED_TRACE(QStringLiteral("%1 at %2 bpp").arg(screen).arg(c.depth).toStdString());
        const bool lowSheet = screen == QLatin1String("160x160 Low");
        const QString sheet = lowSheet ? QStringLiteral("ThmeBMP/SkinSheetLow.bmp")
                                       : QStringLiteral("ThmeBMP/SkinSheetHigh.bmp");
        const QString name = QStringLiteral("Round %1 %2").arg(systemScreenIndexOf(screen)).arg(c.depth);
        const QString path = build({"theme", "--name", name, lowSheet ? "--sheet" : "--hires-sheet", sheet,
                                    "--screen", screen, "--depths", QString::number(c.depth), "--compress"},
                                   name);
        const UnpackedDatabase database = unpack(path);
        EXPECT_EQ(database.kind, UnpackedKind::Theme);
        EXPECT_EQ(database.name, name);
        EXPECT_EQ(database.sonyIds, screen.contains(QLatin1String("Sony")));
        EXPECT_TRUE(database.missingFamilies.isEmpty()) << database.missingFamilies.join(' ').toStdString();
        EXPECT_EQ(database.unknownResources, 0);
        EXPECT_EQ(database.hasPieces(PieceResolution::Low), c.low);
        EXPECT_EQ(database.hasPieces(PieceResolution::High), c.high);

        ThemePieces original;
        ASSERT_TRUE(
            original
                .loadSheetFile(start.filePath(sheet), lowSheet ? PieceResolution::Low : PieceResolution::High)
                .loaded());
        const Reduction reduce = reductionFor(c.depth);
        for (const PieceResolution resolution : {PieceResolution::Low, PieceResolution::High}) {
            if (!(resolution == PieceResolution::Low ? c.low : c.high))
                continue;
            const QImage got = unpackedSkinSheet(database, resolution, kGreen);
            const QImage want = composeSkinSheet(original, resolution, kGreen);
            for (const ThemePiece& piece : themePieceTable())
                ASSERT_TRUE(sameAfterReduction(got, want, piece.sheetRect(resolution), reduce))
                    << piece.code.toStdString() << (resolution == PieceResolution::Low ? " low" : " high");
        }

        // The theme's icons: the factory pictures, low always, high on OS5 only.
        const IconBoard factory;
        for (int s = 0; s < kIconSlotCount; ++s) {
            const bool themeSlot = iconSlots()[s].use == BuildKind::Theme;
            ASSERT_EQ(!database.lowIcons[s].isNull(), themeSlot) << s;
            if (themeSlot) {
                ASSERT_TRUE(sameAfterReduction(database.lowIcons[s], factory.slotPicture(IconWindow::Main, s),
                                               QRect(QPoint(0, 0), kLowIconSize), reduce))
                    << iconSlots()[s].mainName;
            }
            ASSERT_EQ(!database.highIcons[s].isNull(), themeSlot && screen == QLatin1String("320x320 OS5"));
            if (!database.highIcons[s].isNull()) {
                ASSERT_TRUE(sameAfterReduction(database.highIcons[s], factory.slotPicture(IconWindow::Os5, s),
                                               QRect(QPoint(0, 0), kHighIconSize), reduce))
                    << iconSlots()[s].os5Name;
            }
        }
    }
}

TEST_F(Unpack, IconSetSlotsComeBackAtBothDensities) {
    for (const int depth : {16, 8}) {
        SCOPED_TRACE(depth);
        const QString name = QStringLiteral("Icons %1").arg(depth);
        const QString path =
            build({"iconset", "--name", name, "--sheet", "IconBMP/SampleIcons.bmp", "--icon", "1=1", "--icon",
                   "12=272", "--hires-sheet", "IconBMP/SampleIconsOS5.bmp", "--hires-icon", "2=2",
                   "--hires-icon", "11=90", "--screen", "320x320 OS5", "--depths", QString::number(depth),
                   // Slots 1 and 12 have own art only at low resolution: their
                   // OS5 pictures stay the built-in ones, as on the board below.
                   "--as-is"},
                  name);
        const UnpackedDatabase database = unpack(path);
        EXPECT_EQ(database.kind, UnpackedKind::IconSet);
        EXPECT_FALSE(database.hasPieces(PieceResolution::Low));

        IconBoard board;
        ASSERT_TRUE(pickIcons(board, IconWindow::Os5, start.filePath("IconBMP/SampleIconsOS5.bmp"),
                              {{1, 2}, {10, 90}}));
        ASSERT_TRUE(pickIcons(board, IconWindow::Main, start.filePath("IconBMP/SampleIcons.bmp"),
                              {{0, 1}, {11, 272}}));
        const Reduction reduce = reductionFor(depth);
        for (int s = 0; s < kIconSlotCount; ++s) {
            const bool setSlot = iconSlots()[s].use == BuildKind::IconSet;
            ASSERT_EQ(!database.lowIcons[s].isNull(), setSlot) << s;
            ASSERT_EQ(!database.highIcons[s].isNull(), setSlot) << s;
            if (!setSlot)
                continue;
            ASSERT_TRUE(sameAfterReduction(database.lowIcons[s], board.slotPicture(IconWindow::Main, s),
                                           QRect(QPoint(0, 0), kLowIconSize), reduce))
                << iconSlots()[s].mainName;
            ASSERT_TRUE(sameAfterReduction(database.highIcons[s], board.slotPicture(IconWindow::Os5, s),
                                           QRect(QPoint(0, 0), kHighIconSize), reduce))
                << iconSlots()[s].os5Name;
        }
    }
}

// With every depth in the family the deepest member decides; a family taken
// out is listed and leaves its piece as it was; resources of no table are
// counted; two families with one ID give the first.
TEST_F(Unpack, DeepestMemberWinsMissingFamiliesStayUnknownResourcesAreCounted) {
    const QString path = build({"theme", "--name", "Every depth", "--sheet", "ThmeBMP/SkinSheetLow.bmp",
                                "--screen", "160x160 Low", "--depths", "1,2,4,8,16"},
                               "Every depth");
    std::string error;
    std::optional<formats::PalmDatabase> db =
        formats::PalmDatabase::fromBytes(pdb::bytesOf(readBytes(path)), &error);
    ASSERT_TRUE(db) << error;
    const int before = int(db->resources.size());
    std::erase_if(db->resources,
                  [](const formats::PalmResource& r) { return r.type == "Tbmp" && r.id == 3000; });
    ASSERT_EQ(int(db->resources.size()), before - 1);
    db->resources.push_back({"abcd", 1, std::string(8, 'x')});
    db->resources.push_back({"Tbmp", 4242, db->resources.front().bytes});
    db->resources.push_back({"Tbmp", 1000, "not read: the first 1000 wins"});
    QString problem;
    const std::optional<UnpackedDatabase> database =
        unpackDatabase(pdb::qtBytes(db->toBytes()), kGreen, &problem);
    ASSERT_TRUE(database) << problem.toStdString();
    EXPECT_EQ(database->missingFamilies, QStringList{"Tbmp 3000 (EG)"});
    EXPECT_EQ(database->unknownResources, 2);

    ThemePieces original;
    ASSERT_TRUE(
        original.loadSheetFile(start.filePath("ThmeBMP/SkinSheetLow.bmp"), PieceResolution::Low).loaded());
    const QImage got = unpackedSkinSheet(*database, PieceResolution::Low, kGreen);
    const QImage want = composeSkinSheet(original, PieceResolution::Low, kGreen);
    for (const ThemePiece& piece : themePieceTable()) {
        if (piece.code == QLatin1String("EG"))
            continue;
        ASSERT_TRUE(sameAfterReduction(got, want, piece.lowSheetRect, reductionFor(16)))
            << piece.code.toStdString();
    }

    ThemePieces pieces;
    IconBoard board;
    const int eg = themePieceIndex(u"EG");
    const QImage untouched = pieces.lowPiece(eg);
    applyUnpackedDatabase(*database, pieces, board);
    EXPECT_EQ(pieces.lowPiece(eg), untouched);
    EXPECT_EQ(pieces.lowPiece(0).format(),
              makeBlankPiece(themePieceTable()[0], PieceResolution::Low).format());
}

TEST_F(Unpack, DamagedDatabasesAreRefusedByNameAndWriteNothing) {
    const struct {
        const char* file;
        const char* problem;
    } cases[] = {
        {"broken-truncated.pdb", "runs past the end"},
        {"broken-type.pdb", "neither a theme (thme) nor an icon set (Icns)"},
        {"broken-offsets.pdb", "outside the file"},
        {"broken-size.pdb", "32767 x 32767"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const QString path = fixturePath(QString::fromLatin1(c.file));
        ASSERT_TRUE(QFileInfo::exists(path));
        QString problem;
        EXPECT_FALSE(unpackDatabaseFile(path, kGreen, &problem));
        EXPECT_TRUE(problem.contains(QString::fromLatin1(c.file))) << problem.toStdString();
        EXPECT_TRUE(problem.contains(QString::fromLatin1(c.problem))) << problem.toStdString();

        const CliResult run = start.runProgram({"unpack", "--from", path, "--sheet", "low.bmp",
                                                "--hires-sheet", "high.bmp", "--icons", "icons"});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.err.contains(c.file)) << run.err.toStdString();
        EXPECT_FALSE(QFileInfo::exists(start.filePath("low.bmp")));
        EXPECT_FALSE(QFileInfo::exists(start.filePath("high.bmp")));
        EXPECT_FALSE(QFileInfo::exists(start.filePath("icons")));
    }
}

TEST_F(Unpack, CommandLineWritesTheSheetsAndIconsItHasAndSaysWhatItSkipped) {
    const QString path = build({"theme", "--name", "Low only", "--sheet", "ThmeBMP/SkinSheetLow.bmp",
                                "--screen", "160x160 Low", "--depths", "16"},
                               "Low only");
    const CliResult run = start.runProgram(
        {"unpack", "--from", path, "--sheet", "low.bmp", "--hires-sheet", "high.bmp", "--icons", "icons"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains("wrote")) << run.out.toStdString();
    // A sheet the database cannot give is a warning, not a result.
    EXPECT_TRUE(run.err.contains("vedivavurir-cli: warning: skipped --hires-sheet")) << run.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(start.filePath("high.bmp")));
    const QImage sheet(start.filePath("low.bmp"));
    EXPECT_EQ(sheet.size(), kLowSheetSize);
    EXPECT_EQ(readBytes(start.filePath("low.bmp")).at(28), 24) << "a 24-bit BMP";
    EXPECT_EQ(QDir(start.filePath("icons")).entryList({"Icon?3*.bmp"}, QDir::Files).size(),
              kThemeIconSlotCount);
    EXPECT_TRUE(QDir(start.filePath("icons")).entryList({"Icon?4*.bmp"}, QDir::Files).isEmpty());

    // The written sheet cuts into the same pieces the database holds.
    const UnpackedDatabase database = unpack(path);
    ThemePieces reloaded;
    ASSERT_TRUE(reloaded.loadSheetFile(start.filePath("low.bmp"), PieceResolution::Low).loaded());
    for (int i = 0; i < kThemePieceCount; ++i)
        ASSERT_EQ(reloaded.lowPiece(i), database.lowPieces[i]) << themePieceTable()[i].code.toStdString();
}

TEST_F(Unpack, IconsAsPngLoadBackToTheDatabasesIcons) {
    const QString path =
        build({"theme", "--name", "Png icons", "--screen", "160x160 Low", "--depths", "16"}, "Png icons");
    const CliResult run =
        start.runProgram({"unpack", "--from", path, "--icons", "icons", "--icons-format", "png"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const UnpackedDatabase database = unpack(path);
    int written = 0;
    for (int s = 0; s < kIconSlotCount; ++s) {
        if (database.lowIcons[s].isNull())
            continue;
        const QString file = start.filePath(QStringLiteral("icons/%1.png").arg(iconSlots()[s].lowPiece));
        ASSERT_TRUE(readBytes(file).startsWith("\x89PNG")) << file.toStdString();
        // The transparency colour went out as alpha 0 and comes back by the sheet rule.
        const QImage back = opaqueSheet(QImage(file), kGreen).convertToFormat(database.lowIcons[s].format());
        EXPECT_EQ(back, database.lowIcons[s]) << file.toStdString();
        ++written;
    }
    EXPECT_EQ(written, kThemeIconSlotCount);
    EXPECT_TRUE(QDir(start.filePath("icons")).entryList({"*.bmp"}, QDir::Files).isEmpty());

    const CliResult wrong =
        start.runProgram({"unpack", "--from", path, "--icons", "other", "--icons-format", "gif"});
    EXPECT_EQ(wrong.exitCode, 2);
    EXPECT_TRUE(wrong.err.contains("--icons-format gif")) << wrong.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(start.filePath("other")));
}

} // namespace
} // namespace vv::test
