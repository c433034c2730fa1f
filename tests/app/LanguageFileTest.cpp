#include "app/LanguageFile.h"
#include "app/AnsiText.h"

#include "support/TestFiles.h"

#include <QDir>
#include <gtest/gtest.h>

#include <set>

using namespace vv;

namespace {

QByteArray numberedLines(int count) {
    QByteArray bytes;
    for (int i = 1; i <= count; ++i)
        bytes += "line " + QByteArray::number(i) + "\r\n";
    return bytes;
}

} // namespace

TEST(LanguageFile, FullFileGivesEachLineInOrder) {
    const LanguageTexts texts = readLanguageLines(numberedLines(120));
    for (int i = 0; i < LanguageLineCount; ++i)
        EXPECT_EQ(texts[i], QStringLiteral("line %1").arg(i + 1));
}

TEST(LanguageFile, ShortFilesWrapToTheirStartMissingTheFirstByte) {
    const LanguageTexts hundred = readLanguageLines(numberedLines(100));
    EXPECT_EQ(hundred[99], QStringLiteral("line 100"));
    EXPECT_EQ(hundred[100], QString());

    const LanguageTexts ninetyNine = readLanguageLines(numberedLines(99));
    EXPECT_EQ(ninetyNine[98], QStringLiteral("line 99"));
    EXPECT_EQ(ninetyNine[99], QString());
    EXPECT_EQ(ninetyNine[100], QStringLiteral("ine 1"));
}

TEST(LanguageFile, LineEndsAndTheEndByte) {
    // Without CR the first line is the whole file, every later one the file without its first byte.
    const LanguageTexts noCr = readLanguageLines("abc\ndef");
    EXPECT_EQ(noCr[0], QStringLiteral("abc\ndef"));
    EXPECT_EQ(noCr[1], QStringLiteral("bc\ndef"));
    EXPECT_EQ(noCr[100], QStringLiteral("bc\ndef"));

    // A lone LF is text; 0xFF ends the data like the end of the file.
    const LanguageTexts endByte = readLanguageLines("one\r\ntw\no\r\nthree\xFFhidden\r\n");
    EXPECT_EQ(endByte[1], QStringLiteral("tw\no"));
    EXPECT_EQ(endByte[2], QStringLiteral("three"));
    EXPECT_EQ(endByte[3], QStringLiteral("ne"));

    // An empty file gives empty lines and ends.
    EXPECT_EQ(readLanguageLines(QByteArray())[100], QString());
}

TEST(LanguageFile, TextIsWindows1252) {
    const LanguageTexts texts = readLanguageLines("\x80 \xE4\xF6\xFC\xDF \x85 \x93q\x94 \x81\r\n");
    EXPECT_EQ(texts[0], QStringLiteral("\u20AC \u00E4\u00F6\u00FC\u00DF \u2026 \u201Cq\u201D \u0081"));
    EXPECT_EQ(encodeAnsi(texts[0]), QByteArray("\x80 \xE4\xF6\xFC\xDF \x85 \x93q\x94 \x81"));
    EXPECT_EQ(encodeAnsi(QStringLiteral("\u4E2D")), QByteArray("?"));
}

TEST(LanguageFile, TableCoversEveryLineAndEveryMessageOnce) {
    std::set<int> messages;
    int lineNumber = 0;
    for (const LanguageLine& line : languageLines()) {
        EXPECT_EQ(line.line, ++lineNumber);
        if (line.kind == LanguageTargetKind::Message) {
            EXPECT_TRUE(messages.insert(line.messageIndex).second) << line.line;
        }
    }
    EXPECT_EQ(messages.size(), std::size_t(MessageCount));
    EXPECT_EQ(*messages.rbegin(), MessageCount - 1);
    EXPECT_EQ(languageLineFor("Form1", "Button9"), 57);
    EXPECT_EQ(languageLineFor("Form3", "Label13"), 100);
}

TEST(LanguageFile, ShippedLanguagesAreComplete) {
    const QDir folder(test::dataPath(QStringLiteral("Language")));
    const QStringList files = folder.entryList({QStringLiteral("vkdm_*.lng")}, QDir::Files);
    ASSERT_GE(files.size(), 2);
    for (const QString& file : files) {
        const QByteArray bytes = test::readBytes(folder.filePath(file));
        EXPECT_EQ(bytes.count("\r\n"), LanguageLineCount) << file.toStdString();
        EXPECT_EQ(bytes.count('\n'), LanguageLineCount) << file.toStdString();
        EXPECT_FALSE(bytes.contains('\xFF')) << file.toStdString();
        const LanguageTexts texts = readLanguageLines(bytes);
        EXPECT_EQ(QStringLiteral("vkdm_") + texts[0] + QStringLiteral(".lng"), file);
        for (const LanguageLine& line : languageLines())
            if (line.kind != LanguageTargetKind::Ignored) {
                EXPECT_FALSE(texts[line.line - 1].isEmpty()) << file.toStdString() << " line " << line.line;
            }
        EXPECT_TRUE(folder.exists(QStringLiteral("vkdm_h") + texts[57] + QStringLiteral(".hlp")))
            << file.toStdString();
    }
}
