#include "theme/ThemeBuildPlan.h"

#include "icons/IconBoard.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

using namespace vv;

namespace {

using test::pathsOf;

} // namespace

TEST(ThemeBuildPlan, SeventyEightFamiliesBitmapsFirst) {
    const QList<ResourceFamily> families = themeFamilies();
    ASSERT_EQ(families.size(), 78);
    for (int i = 0; i < families.size(); ++i) {
        EXPECT_EQ(families[i].kind, i < 58 ? FamilyKind::Bitmap : FamilyKind::Icon) << i;
        EXPECT_EQ(families[i].folder, QStringLiteral("ThmeRsrc"));
    }
    EXPECT_EQ(families[0].id, 1000);
    EXPECT_EQ(families[0].lowPiece, QStringLiteral("Tbmp03EE"));
    EXPECT_EQ(families[0].highPiece, QStringLiteral("Tbmp04EE"));
    EXPECT_EQ(families[57].id, 2040);
    EXPECT_EQ(families[57].highPiece, QStringLiteral("Tbmp04F9"));
    EXPECT_EQ(families[58].id, 10000);
    EXPECT_EQ(families[58].lowPiece, QStringLiteral("Icon03E0"));
    EXPECT_EQ(families[76].lowPiece, QStringLiteral("Icon13EH"));
    EXPECT_EQ(families[76].highPiece, QStringLiteral("Icon14HH"));
    EXPECT_EQ(families[77].id, 10190);
    EXPECT_EQ(families[77].highPiece, QStringLiteral("Icon24HH"));
}

TEST(ThemeBuildPlan, PieceFilesInSavingOrderForEachScreen) {
    ThemePieces pieces;
    QImage grey(kLowSheetSize, QImage::Format_RGB32);
    grey.fill(qRgb(0x99, 0x99, 0x99));
    pieces.loadLowResolutionSheet(grey);
    const IconBoard icons;
    for (int screenType : {-1, 1, 2, 3}) {
        const QList<PieceFile> files = themePieceFiles(pieces, icons, screenType);
        const QStringList paths = pathsOf(files);
        const int highIcons = screenType == 2 ? 20 : 0;
        ASSERT_EQ(files.size(), 136 + highIcons) << screenType;
        EXPECT_EQ(paths.filter(QStringLiteral("Icon04H")).size(), screenType == 2 ? 18 : 0);
        EXPECT_EQ(paths[0], QStringLiteral("ThmeRsrc/Icon03E0.bmp"));
        EXPECT_EQ(paths[17], QStringLiteral("ThmeRsrc/Icon03EH.bmp"));
        EXPECT_EQ(paths[18], QStringLiteral("ThmeRsrc/Icon13EH.bmp"));
        EXPECT_EQ(paths[19], QStringLiteral("ThmeRsrc/Icon23EH.bmp"));
        if (screenType == 2) {
            EXPECT_EQ(paths[20], QStringLiteral("ThmeRsrc/Icon04H0.bmp"));
            EXPECT_EQ(paths[38], QStringLiteral("ThmeRsrc/Icon24HH.bmp"));
            EXPECT_EQ(paths[39], QStringLiteral("ThmeRsrc/Icon14HH.bmp"));
        }
        const int low = 20 + highIcons;
        EXPECT_EQ(paths[low], QStringLiteral("ThmeRsrc/Tbmp03E0.bmp"));
        EXPECT_EQ(paths[low + 57], QStringLiteral("ThmeRsrc/Tbmp03F9.bmp"));
        EXPECT_EQ(paths[low + 58], QStringLiteral("ThmeRsrc/Tbmp04E0.bmp"));
        EXPECT_EQ(paths.last(), QStringLiteral("ThmeRsrc/Tbmp04F9.bmp"));
        QStringList unique = paths;
        EXPECT_EQ(unique.removeDuplicates(), 0);
        // The files carry the pictures held at the moment of the call.
        EXPECT_EQ(files[low].picture, pieces.lowPiece(0));
        EXPECT_EQ(files[low].picture.format(), QImage::Format_Indexed8);
        EXPECT_EQ(files.last().picture, pieces.highPiece(57));
        EXPECT_EQ(files[0].picture,
                  icons.slotPicture(IconWindow::Main, kIconSetSlotCount)); // first theme slot
    }
}
