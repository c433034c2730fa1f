#include "theme/PieceTable.h"
#include "theme/ThemeFamilies.h"

#include <gtest/gtest.h>

#include <QSet>

using namespace vv;

TEST(PieceTable, CodesInOrderWithoutF6) {
    QString codes;
    for (const ThemePiece& piece : themePieceTable())
        codes += piece.code + QLatin1Char(' ');
    EXPECT_EQ(codes.trimmed(),
              QStringLiteral("E0 E1 E2 E3 E4 E5 E6 E7 E8 E9 EA EB EC ED EE EF EG EH EI EJ EK EL "
                             "EM EN EO EP EQ ER ES ET EU EV EW EX EY EZ F0 F1 F2 F3 F4 F5 B0 "
                             "B1 B2 B3 B4 B5 B6 B7 B8 B9 BA BB BC F7 F8 F9"));
    EXPECT_EQ(themePieceIndex(u"F6"), -1);
    EXPECT_EQ(themePieceIndex(u"F9"), 57);
}

// The sheet grid must hold every piece inside the sheet and never overlap two
// pieces, or slicing would hand one painted pixel to two pieces.
TEST(PieceTable, RectanglesLieInsideTheSheetsAndNeverOverlap) {
    const auto& table = themePieceTable();
    for (PieceResolution resolution : {PieceResolution::Low, PieceResolution::High}) {
        const QRect sheet(QPoint(0, 0), resolution == PieceResolution::Low ? kLowSheetSize : kHighSheetSize);
        for (int i = 0; i < kThemePieceCount; ++i) {
            const QRect rect = table[i].sheetRect(resolution);
            EXPECT_TRUE(sheet.contains(rect)) << table[i].code.toStdString();
            for (int j = i + 1; j < kThemePieceCount; ++j)
                EXPECT_FALSE(rect.intersects(table[j].sheetRect(resolution)))
                    << table[i].code.toStdString() << " " << table[j].code.toStdString();
        }
    }
}

TEST(PieceTable, HighRectanglesAreTwiceTheLowOnesExceptF9) {
    for (const ThemePiece& piece : themePieceTable()) {
        const QRect twice(piece.lowSheetRect.topLeft() * 2, piece.lowSheetRect.size() * 2);
        if (piece.code == u"F9") {
            EXPECT_EQ(piece.lowSheetRect, QRect(33, 149, 48, 48));
            EXPECT_EQ(piece.highSheetRect, QRect(68, 300, 96, 96));
        } else {
            EXPECT_EQ(piece.highSheetRect, twice) << piece.code.toStdString();
        }
    }
}

TEST(PieceTable, ImageNamesAreUniqueAndFormatsAsLaunched) {
    QSet<QString> names;
    int palettePieces = 0;
    for (const ThemePiece& piece : themePieceTable()) {
        names.insert(piece.imageName());
        palettePieces += piece.lowDepth == PieceDepth::Palette8 ? 1 : 0;
        EXPECT_EQ(piece.depth(PieceResolution::High), PieceDepth::Rgb24);
    }
    EXPECT_EQ(names.size(), kThemePieceCount);
    EXPECT_TRUE(names.contains(QStringLiteral("Image2")) && names.contains(QStringLiteral("Image59")));
    EXPECT_EQ(palettePieces, 36 + 4 + 1); // E0..EZ, F0..F3 and F9
    const ThemePiece& b0 = themePieceTable()[themePieceIndex(u"B0")];
    EXPECT_EQ(b0.imageName(), QStringLiteral("Image47"));
    EXPECT_EQ(b0.fileBaseName(PieceResolution::High), QStringLiteral("Tbmp04B0"));
}

// Preview pieces of one window must not cover each other.
TEST(PieceTable, PreviewPositionsDoNotOverlap) {
    const auto& table = themePieceTable();
    for (PieceResolution resolution : {PieceResolution::Low, PieceResolution::High}) {
        for (int i = 0; i < kThemePieceCount; ++i) {
            const QRect a(table[i].previewPosition(resolution), table[i].size(resolution));
            for (int j = i + 1; j < kThemePieceCount; ++j) {
                const QRect b(table[j].previewPosition(resolution), table[j].size(resolution));
                EXPECT_FALSE(a.intersects(b))
                    << table[i].code.toStdString() << " " << table[j].code.toStdString();
            }
        }
    }
}

TEST(ThemeFamilies, EveryPieceOnceInScriptOrder) {
    const auto& families = themeBitmapFamilies();
    QSet<int> pieces;
    QSet<int> ids;
    for (const ThemeBitmapFamily& family : families) {
        pieces.insert(family.pieceIndex);
        ids.insert(family.id);
    }
    EXPECT_EQ(pieces.size(), kThemePieceCount);
    EXPECT_EQ(ids.size(), kThemePieceCount);
    EXPECT_EQ(families.front().id, 1000);
    EXPECT_EQ(families.front().piece().code, u"EE");
    EXPECT_EQ(families[16].id, 2030);
    EXPECT_EQ(families[16].piece().imageName(), QStringLiteral("Image42"));
    EXPECT_EQ(families[56].id, 3121);
    EXPECT_EQ(families.back().id, 2040);
    EXPECT_EQ(families.back().piece().code, u"F9");
}
