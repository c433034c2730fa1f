// One icon set build through the real vkdm_pdb, with the launcher data files
// that ship in data/IconRsrc: the script the run writes must compile, and the
// database must come out typed, stamped and free of work files.
#include "buildrun/BuildRun.h"
#include "common/PictureCopy.h"
#include "icons/IconSlots.h"
#include "support/RecordingPlatform.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vv {
namespace {

TEST(RealCompiler, IconSetBuildProducesAStampedDatabase) {
    const QString compilerDir = QFileInfo(test::binPath("vkdm_pdb")).absolutePath();
    ASSERT_FALSE(locateCompiler({compilerDir}).isEmpty()) << "vkdm_pdb is built with the tests";
    QTemporaryDir start;
    ASSERT_TRUE(QDir(start.path()).mkpath("IconRsrc"));
    for (const QString& bin : QDir(test::dataPath("IconRsrc")).entryList({"*.bin"}, QDir::Files))
        ASSERT_TRUE(QFile::copy(test::dataPath("IconRsrc/" + bin), start.path() + "/IconRsrc/" + bin));

    BuildRequest request;
    request.kind = BuildKind::IconSet;
    request.families = iconSetFamilies();
    for (int i = 0; i < kIconSetSlotCount; ++i)
        request.pieces << PieceFile{lowPiecePath(iconSlots()[i]),
                                    makeRgbPicture(kLowIconSize, qRgb(i * 20, 0, 90))};
    for (int i = 0; i < kIconSetSlotCount; ++i)
        request.pieces << PieceFile{highPiecePath(iconSlots()[i]),
                                    makePalettePicture(kHighIconSize, qRgb(0, 0, 255))};
    for (int i = 0; i < 36; ++i)
        request.messages << QStringLiteral("M%1").arg(i);
    request.databaseName = QStringLiteral("Night Icons");
    request.options.depths = {1, 8, 16};
    request.options.screenType = 2;
    request.options.compressKeyword = QStringLiteral("COMPRESS ");
    request.startDir = start.path();
    request.compilerDirectories = {compilerDir};

    const QString previousCurrent = QDir::currentPath();
    test::RecordingPlatform platform;
    const BuildOutcome outcome = runBuild(request);
    QDir::setCurrent(previousCurrent);

    ASSERT_TRUE(outcome.messages.isEmpty()) << outcome.messages.join('|').toStdString();
    const QByteArray database = test::readBytes(start.path() + "/PDBFiles/Night Icons.pdb");
    ASSERT_GT(database.size(), 78);
    EXPECT_EQ(database.left(32), "Night Icons" + QByteArray(21, '\0'));
    EXPECT_EQ(database.mid(0x3C, 8), "Icnsreze");
    EXPECT_TRUE(QDir(start.path() + "/IconRsrc").entryList({"*.bmp"}, QDir::Files).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(start.path() + "/vkdm_script.rcp"));
}

} // namespace
} // namespace vv
