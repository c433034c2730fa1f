#include "app/SettingsFile.h"

#include "support/TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

using namespace vv;

namespace {

// The layout written out by hand, independent of the encoder.
QByteArray handMadeRecord() {
    QByteArray bytes(370, '\0');
    const char flags[] = {1, 0, 1, 0, 1, 1};
    for (int i = 0; i < 6; ++i)
        bytes[i] = flags[i];
    const qint32 ints[] = {2, 3, 20, 30, 240, 94};
    for (int i = 0; i < 6; ++i)
        qToLittleEndian<qint32>(ints[i], bytes.data() + 6 + 4 * i);
    bytes.replace(30, 7, "Deutsch");
    bytes.replace(50, 12, "320x480 Sony");
    bytes.replace(70, 15, "/opt/inst\xE4ll.sh");
    return bytes;
}

SettingsRecord sampleRecord() {
    SettingsRecord r;
    r.depths = {1, 4, 16};
    r.compress = true;
    r.languageIndex = 2;
    r.screenIndex = 3;
    r.red = 20;
    r.green = 30;
    r.blue = 240;
    r.paletteIndex = 94;
    r.languageName = QStringLiteral("Deutsch");
    r.screenText = QStringLiteral("320x480 Sony");
    r.installTool = QStringLiteral("/opt/inst\u00e4ll.sh");
    return r;
}

} // namespace

TEST(SettingsFile, EncodesEveryFieldAtItsOffset) {
    EXPECT_EQ(encodeSettings(sampleRecord()), handMadeRecord());
    EXPECT_EQ(decodeSettings(handMadeRecord(), SettingsRecord{}), sampleRecord());
}

TEST(SettingsFile, ShippedDefaultsAreTheEncoderOutput) {
    SettingsRecord shipped;
    shipped.depths.set(8);
    shipped.languageIndex = 1; // English after Deutsch in the sorted list
    shipped.screenIndex = 0;
    shipped.languageName = QStringLiteral("English");
    shipped.screenText = QStringLiteral("160x160 Low");
    EXPECT_EQ(test::readBytes(test::dataPath(QStringLiteral("vkdm_settings.cfg"))), encodeSettings(shipped));
}

TEST(SettingsFile, TextsAreCutToTheirFieldWithTerminator) {
    SettingsRecord r;
    r.languageName = QStringLiteral("ABCDEFGHIJKLMNOPQRS"); // 19: fits exactly
    r.screenText = QString(25, QLatin1Char('x'));
    r.installTool = QString(400, QLatin1Char('p'));
    const QByteArray bytes = encodeSettings(r);
    ASSERT_EQ(bytes.size(), 370);
    EXPECT_EQ(bytes[49], '\0');
    EXPECT_EQ(bytes[69], '\0');
    EXPECT_EQ(bytes[369], '\0');
    const SettingsRecord back = decodeSettings(bytes, SettingsRecord{});
    EXPECT_EQ(back.languageName, r.languageName);
    EXPECT_EQ(back.screenText, QString(19, QLatin1Char('x')));
    EXPECT_EQ(back.installTool, QString(299, QLatin1Char('p')));
}

TEST(SettingsFile, ShortAndLongFiles) {
    SettingsRecord current;
    current.installTool = QStringLiteral("keep me");
    current.languageName = QStringLiteral("Keep");
    const QByteArray full = handMadeRecord();

    // Ends inside the language name: the flags and numbers are read, the texts kept.
    const SettingsRecord shortRead = decodeSettings(full.left(40), current);
    EXPECT_TRUE(shortRead.depths.contains(4));
    EXPECT_EQ(shortRead.paletteIndex, 94);
    EXPECT_EQ(shortRead.languageName, QStringLiteral("Keep"));
    EXPECT_EQ(shortRead.installTool, QStringLiteral("keep me"));

    // Ends inside the red component: that field keeps its current value.
    const SettingsRecord partInt = decodeSettings(full.left(16), current);
    EXPECT_EQ(partInt.screenIndex, 3);
    EXPECT_EQ(partInt.red, current.red);

    // Bytes past 370 are ignored, even when they hold no terminator.
    EXPECT_EQ(decodeSettings(full + QByteArray(50, 'Z'), current), sampleRecord());

    // Any non-zero flag byte reads as on.
    QByteArray flags = full;
    flags[1] = char(7);
    EXPECT_TRUE(decodeSettings(flags, current).depths.contains(2));
}

TEST(SettingsFile, WritesAndReadsBackThroughTheDisk) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("vkdm_settings.cfg"));
    EXPECT_FALSE(readSettingsFile(path, SettingsRecord{}).has_value());
    ASSERT_TRUE(writeSettingsFile(path, sampleRecord()));
    EXPECT_EQ(test::readBytes(path), handMadeRecord());
    EXPECT_EQ(readSettingsFile(path, SettingsRecord{}), sampleRecord());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("vkdm_settings.cfg")});
}

TEST(SettingsFile, FailedWriteReportsThePathAndLeavesNothing) {
    QTemporaryDir dir;
    // A folder below a plain file cannot exist, whoever runs the test.
    const QString blocker = dir.filePath(QStringLiteral("plain"));
    ASSERT_TRUE(test::writeBytes(blocker, "x"));
    const QString path = blocker + QStringLiteral("/vkdm_settings.cfg");
    QString error;
    EXPECT_FALSE(writeSettingsFile(path, sampleRecord(), &error));
    EXPECT_TRUE(error.contains(path));
    EXPECT_EQ(test::readBytes(blocker), QByteArray("x"));
}

TEST(SettingsFile, ScreenTypeMapping) {
    struct Case {
        int stored, loaded, afterSave;
    };
    const Case cases[] = {{0, 1, 1}, {1, 2, 2}, {2, 3, 3}, {3, 3, 3}, {-1, -1, 9}, {7, 7, 9}};
    for (const Case& c : cases) {
        EXPECT_EQ(screenTypeFromStoredIndex(c.stored), c.loaded) << c.stored;
        EXPECT_EQ(screenTypeAfterSave(c.stored, 9), c.afterSave) << c.stored;
    }
    EXPECT_EQ(compressKeywordFor(true), QStringLiteral("COMPRESS "));
    EXPECT_EQ(compressKeywordFor(false), QString());
}
