#include "tools/launcherdata/LauncherData.h"

#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <QtEndian>

using namespace vv;

namespace {

quint32 be32(const QByteArray& bytes, int at) {
    return qFromBigEndian<quint32>(bytes.constData() + at);
}

QByteArray bytesOf(const QString& folder, const QString& name) {
    for (const launcherdata::DataFile& file : launcherdata::launcherDataFiles())
        if (file.folder == folder && file.name == name)
            return file.bytes;
    return {};
}

} // namespace

// The shipped files are exactly what the writer makes, so a layout change in the
// writer cannot leave stale data behind.
TEST(LauncherData, CommittedFilesMatchTheirWriter) {
    const QList<launcherdata::DataFile> files = launcherdata::launcherDataFiles();
    EXPECT_EQ(files.size(), 21);
    for (const launcherdata::DataFile& file : files) {
        const QString path = file.folder + QLatin1Char('/') + file.name;
        EXPECT_EQ(test::readBytes(test::dataPath(path)), file.bytes) << path.toStdString();
    }
}

TEST(LauncherData, CodeAndDataResourcesAreWellFormed) {
    for (const QString& folder : {QStringLiteral("ThmeRsrc"), QStringLiteral("IconRsrc")}) {
        const QByteArray code0 = bytesOf(folder, QStringLiteral("code0000.bin"));
        ASSERT_EQ(code0.size(), 24);
        EXPECT_EQ(be32(code0, 0), 32u + be32(code0, 8)); // above A5: parameters plus jump table
        EXPECT_EQ(be32(code0, 12), 32u);                 // jump table right after the parameters
        EXPECT_EQ(code0.mid(18, 6), QByteArray::fromHex("3f3c0001a9f0"));

        EXPECT_EQ(bytesOf(folder, QStringLiteral("code0001.bin")).right(2),
                  QByteArray::fromHex("4e75")); // rts

        const QByteArray data0 = bytesOf(folder, QStringLiteral("data0000.bin"));
        const quint32 codeRelocations = be32(data0, 0);
        ASSERT_EQ(data0.size(), int(codeRelocations) + 12);
        EXPECT_EQ(data0.mid(4), QByteArray(data0.size() - 4, '\0'));

        const QByteArray name = bytesOf(folder, QStringLiteral("tAIN03E8.bin"));
        EXPECT_EQ(name.size() % 2, 0);
        EXPECT_TRUE(name.contains('\0'));
        EXPECT_GT(name.indexOf('\0'), 0);
    }
}
