#include "app/LanguageFile.h"
#include "common/AnsiText.h"

#include "support/TestFiles.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
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
    const LanguageTexts texts = readLanguageLines(numberedLines(kLanguageLineCount));
    for (int i = 0; i < kLanguageLineCount; ++i)
        EXPECT_EQ(texts[i], QStringLiteral("line %1").arg(i + 1));
}

TEST(LanguageFile, LinesAFileDoesNotReachKeepTheBuiltInEnglish) {
    const LanguageTexts english = builtInLanguageLines();
    ASSERT_EQ(english.size(), kLanguageLineCount);
    EXPECT_EQ(readLanguageFile(test::dataPath(QStringLiteral("Language/vkdm_English.lng"))), english);
    QStringList ninetyNine;
    for (int i = 1; i <= 99; ++i)
        ninetyNine << QStringLiteral("line %1").arg(i);

    struct Case {
        const char* label;
        QByteArray bytes;
        QStringList expectedStart; // the lines the file gives, then English
    };
    const Case cases[] = {
        {"empty file", QByteArray(), {}},
        {"99 CRLF lines", numberedLines(99), ninetyNine},
        {"LF only: each LF ends a line", "abc\ndef\n", {"abc", "def"}},
        {"no line end at all", "abc", {"abc"}},
        {"a lone LF in a CRLF file is text", "tw\no\r\nx", {"tw\no", "x"}},
        {"0xFF ends the data", "one\r\nthree\xFFhidden\r\n", {"one", "three"}},
        {"explicitly empty line stays empty", "one\r\n\r\n", {"one", ""}},
    };
    for (const Case& c : cases) {
        const QStringList& expected = c.expectedStart;
        const LanguageTexts texts = readLanguageLines(c.bytes);
        ASSERT_EQ(texts.size(), kLanguageLineCount) << c.label;
        for (int i = 0; i < kLanguageLineCount; ++i) {
            const QString want = i < expected.size() ? expected[i] : english[i];
            EXPECT_EQ(texts[i], want) << c.label << ", line " << i + 1;
        }
    }
}

TEST(LanguageFile, FilesThatAreTooLargeOrNotFilesAreRefused) {
    QTemporaryDir dir;
    const QString big = dir.filePath(QStringLiteral("vkdm_Big.lng"));
    // LF-only files of this size once took gigabytes to read.
    ASSERT_TRUE(test::writeBytes(big, QByteArray(kMaxLanguageFileSize + 1, '\n')));
    EXPECT_FALSE(readLanguageFile(big));
    const QString limit = dir.filePath(QStringLiteral("vkdm_Limit.lng"));
    ASSERT_TRUE(test::writeBytes(limit, QByteArray(kMaxLanguageFileSize, '\n')));
    const std::optional<LanguageTexts> atLimit = readLanguageFile(limit);
    ASSERT_TRUE(atLimit);
    EXPECT_EQ((*atLimit)[0], QString());
    EXPECT_FALSE(readLanguageFile(dir.path()));
    EXPECT_FALSE(readLanguageFile(dir.filePath(QStringLiteral("vkdm_Missing.lng"))));
    EXPECT_FALSE(readLanguageFile(QString()));
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
    EXPECT_EQ(messages.size(), std::size_t(kMessageCount));
    EXPECT_EQ(*messages.rbegin(), kMessageCount - 1);
    EXPECT_EQ(languageLineFor("Form1", "Button9"), 57);
    EXPECT_EQ(languageLineFor("Form3", "Label13"), 100);
}

TEST(LanguageFile, ShippedLanguagesAreComplete) {
    const QDir folder(test::dataPath(QStringLiteral("Language")));
    const QStringList files = folder.entryList({QStringLiteral("vkdm_*.lng")}, QDir::Files);
    ASSERT_GE(files.size(), 2);
    for (const QString& file : files) {
        const QByteArray bytes = test::readBytes(folder.filePath(file));
        EXPECT_EQ(bytes.count("\r\n"), kLanguageLineCount) << file.toStdString();
        EXPECT_EQ(bytes.count('\n'), kLanguageLineCount) << file.toStdString();
        EXPECT_FALSE(bytes.contains('\xFF')) << file.toStdString();
        const LanguageTexts texts = readLanguageLines(bytes);
        // The first line is the language's own name; the file name spells it
        // without accents, so that it is the same on every file system.
        QString plainName = texts[0].normalized(QString::NormalizationForm_D);
        plainName.remove(QRegularExpression(QStringLiteral("[^\\x{0000}-\\x{007F}]")));
        EXPECT_EQ(QStringLiteral("vkdm_") + plainName + QStringLiteral(".lng"), file);
        for (const LanguageLine& line : languageLines())
            if (line.kind != LanguageTargetKind::Ignored) {
                EXPECT_FALSE(texts[line.line - 1].isEmpty()) << file.toStdString() << " line " << line.line;
            }
        EXPECT_TRUE(folder.exists(QStringLiteral("vkdm_h") + texts[57] + QStringLiteral(".hlp")))
            << file.toStdString();
    }
}
