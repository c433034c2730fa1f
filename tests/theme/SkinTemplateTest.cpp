#include "theme/SkinTemplate.h"
#include "theme/ThemePieces.h"

#include <gtest/gtest.h>

using namespace vv;

// Every piece can be told from the gaps along its whole border, and the
// template cut as a sheet gives each piece exactly its marked rectangle.
TEST(SkinTemplate, MarksEveryPieceAndCutsBackIntoIt) {
    for (const PieceResolution resolution : {PieceResolution::Low, PieceResolution::High}) {
        SCOPED_TRACE(resolution == PieceResolution::Low ? "low" : "high");
        const QImage sheet = skinSheetTemplate(resolution);
        ASSERT_EQ(sheet.size(), skinSheetSize(resolution));
        ASSERT_EQ(sheet.format(), QImage::Format_RGB32);
        EXPECT_EQ(sheet.pixel(sheet.width() - 1, sheet.height() - 1), kTemplateGapColour);
        ThemePieces pieces;
        pieces.loadSheet(sheet, resolution);
        for (int i = 0; i < kThemePieceCount; ++i) {
            const ThemePiece& piece = themePieceTable()[i];
            const QRect rect = piece.sheetRect(resolution);
            SCOPED_TRACE(piece.code.toStdString());
            for (int x = rect.left(); x <= rect.right(); ++x)
                for (int y : {rect.top(), rect.bottom()})
                    ASSERT_EQ(sheet.pixel(x, y), kTemplateOutlineColour) << x << "," << y;
            for (int y = rect.top(); y <= rect.bottom(); ++y)
                for (int x : {rect.left(), rect.right()})
                    ASSERT_EQ(sheet.pixel(x, y), kTemplateOutlineColour) << x << "," << y;
            const QImage cut = pieces.piece(i, resolution).convertToFormat(QImage::Format_RGB32);
            if (piece.depth(resolution) == PieceDepth::Rgb24) {
                EXPECT_EQ(cut.pixel(0, 0), kTemplateOutlineColour);
            }
            if (rect.width() > 2 && rect.height() > 2) {
                EXPECT_NE(cut.pixel(1, 1), kTemplateGapColour);
            }
        }
    }
}
