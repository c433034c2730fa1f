// The one way the program writes and reads the user's files: never through a
// link at the file's name, all or nothing, regular files only, causes named.
#include "platform/FileErrors.h"

#include "app/SettingsFile.h"
#include "support/TestFiles.h"
#include "unpack/DatabaseUnpack.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

#include <sys/stat.h>
#include <sys/types.h>

namespace vv {
namespace {

using test::readBytes;
using test::writeBytes;

class FileWriting : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(start_.isValid());
        ASSERT_TRUE(outside_.isValid());
    }
    QString inside(const QString& name) const { return start_.filePath(name); }
    QString outside(const QString& name) const { return outside_.filePath(name); }
    // Files whose names start with a dot: the temporary files of a write.
    QStringList hiddenLeftovers() const {
        return QDir(start_.path())
            .entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot)
            .filter(QRegularExpression(QStringLiteral("^\\.")));
    }

    QTemporaryDir start_;
    QTemporaryDir outside_;
};

// Every writer of the program's files, given a name that is a link to a file
// outside (or to a name outside where nothing is yet): the outside stays as
// it was, and the name becomes a regular file of its own.
TEST_F(FileWriting, NoWriterFollowsALinkAtItsName) {
    const QImage picture = [] {
        QImage p(4, 3, QImage::Format_RGB32);
        p.fill(qRgb(1, 2, 3));
        return p;
    }();
    struct Writer {
        const char* label;
        std::function<bool(const QString&)> write;
    };
    const QList<Writer> writers{
        {"writeWholeFile", [](const QString& p) { return writeWholeFile(p, "new bytes"); }},
        {"writeFilesTogether",
         [](const QString& p) {
             QString failed;
             QString error;
             return writeFilesTogether({{p, "one"}, {p + "-second", "two"}}, &failed, &error);
         }},
        {"writeSettingsFile",
         [](const QString& p) { return writeSettingsFile(p, SettingsRecord{}, nullptr); }},
        {"savePictureAtomically",
         [&](const QString& p) { return savePictureAtomically(picture, p, 0xFF00FF00u).isEmpty(); }},
    };
    const QByteArray precious = "the user's own document\n";
    for (const Writer& writer : writers) {
        for (const bool dangling : {false, true}) {
            SCOPED_TRACE(std::string(writer.label) + (dangling ? ", dangling link" : ", link to a file"));
            const QString target = outside(QString::fromLatin1(writer.label));
            QFile::remove(target);
            if (!dangling) {
                ASSERT_TRUE(writeBytes(target, precious));
            }
            const QString name = inside(QStringLiteral("piece.bmp"));
            QFile::remove(name);
            ASSERT_TRUE(QFile::link(target, name));

            EXPECT_TRUE(writer.write(name));

            if (dangling)
                EXPECT_FALSE(QFileInfo::exists(target));
            else
                EXPECT_EQ(readBytes(target), precious);
            EXPECT_FALSE(QFileInfo(name).isSymLink());
            EXPECT_TRUE(QFileInfo(name).isFile());
            EXPECT_EQ(hiddenLeftovers(), QStringList{});
        }
    }
}

TEST_F(FileWriting, ANewFileIsNeverMadeWhereALinkIs) {
    const QString target = outside("target");
    ASSERT_TRUE(QFile::link(target, inside("new.bmp")));
    QString error;
    EXPECT_FALSE(createNewFile(inside("new.bmp"), "bytes", &error));
    EXPECT_EQ(error, "it already exists");
    EXPECT_FALSE(QFileInfo::exists(target));
    EXPECT_TRUE(createNewFile(inside("fresh.bmp"), "bytes", &error));
    EXPECT_EQ(readBytes(inside("fresh.bmp")), "bytes");
}

// A second name is the same bytes; it is never made where anything has the
// name, and a link given as the file is named itself, never its target.
TEST_F(FileWriting, ASecondNameIsMadeOnlyWhereNothingIs) {
    ASSERT_TRUE(createNewFile(inside("a.bmp"), "piece"));
    QString error;
    EXPECT_TRUE(addFileName(inside("a.bmp"), inside("b.bmp"), &error)) << error.toStdString();
    EXPECT_EQ(readBytes(inside("b.bmp")), "piece");

    ASSERT_TRUE(writeBytes(inside("taken.bmp"), "other"));
    ASSERT_TRUE(QFile::link(outside("target"), inside("dangling.bmp")));
    for (const char* name : {"taken.bmp", "dangling.bmp", "b.bmp"}) {
        EXPECT_FALSE(addFileName(inside("a.bmp"), inside(name), &error)) << name;
        EXPECT_EQ(error, "it already exists") << name;
    }
    EXPECT_EQ(readBytes(inside("taken.bmp")), "other");
    EXPECT_FALSE(QFileInfo::exists(outside("target")));

    EXPECT_TRUE(addFileName(inside("dangling.bmp"), inside("named.bmp"), &error));
    EXPECT_TRUE(QFileInfo(inside("named.bmp")).isSymLink());
    EXPECT_FALSE(QFileInfo::exists(outside("target")));
    EXPECT_FALSE(addFileName(inside("missing.bmp"), inside("c.bmp"), &error));
    EXPECT_FALSE(QFileInfo::exists(inside("c.bmp")));
}

// A failed write leaves the old content and no temporary file; for a set of
// files, none of them changes.
TEST_F(FileWriting, AFailedWriteChangesNothingAndNamesTheCause) {
    ASSERT_TRUE(writeBytes(inside("a.bmp"), "old a"));
    {
        test::FileSizeLimit limit(1024);
        QString error;
        EXPECT_FALSE(writeWholeFile(inside("a.bmp"), QByteArray(4096, 'x'), &error));
        EXPECT_EQ(error, "the file is too large for the device");

        QString failed;
        EXPECT_FALSE(writeFilesTogether(
            {{inside("a.bmp"), "new a"}, {inside("b.bmp"), QByteArray(4096, 'b')}}, &failed, &error));
        EXPECT_EQ(failed, inside("b.bmp"));
        EXPECT_EQ(error, "the file is too large for the device");
    }
    EXPECT_EQ(readBytes(inside("a.bmp")), "old a");
    EXPECT_FALSE(QFileInfo::exists(inside("b.bmp")));
    EXPECT_EQ(hiddenLeftovers(), QStringList{});

    QString error;
    EXPECT_FALSE(writeWholeFile(inside("no-such-folder/c.bmp"), "c", &error));
    EXPECT_EQ(error, "no such file or folder");
    EXPECT_EQ(fileErrorText(ENOSPC), "no space left on the device");
}

// Special files are refused at once (a FIFO without a writer would block an
// ordinary open for ever); a file over the cap is refused with the cap named.
TEST_F(FileWriting, OnlyRegularFilesAreReadAndTheCapIsNamed) {
    ASSERT_EQ(::mkfifo(QFile::encodeName(inside("fifo.bmp")).constData(), 0600), 0);
    ASSERT_TRUE(QDir(start_.path()).mkdir("folder.bmp"));
    ASSERT_TRUE(writeBytes(inside("big.bmp"), QByteArray(2048, 'x')));
    ASSERT_TRUE(QFile::link(inside("big.bmp"), inside("link.bmp")));
    const struct {
        QString path;
        bool read;
        QString error;
    } cases[] = {
        {inside("fifo.bmp"), false, "it is a FIFO, not a regular file"},
        {inside("folder.bmp"), false, "it is a folder, not a regular file"},
        {QStringLiteral("/dev/zero"), false, "it is a device, not a regular file"},
        {inside("missing.bmp"), false, "no such file or folder"},
        {inside("big.bmp"), true, {}},
        {inside("link.bmp"), true, {}}, // reading through a link is harmless
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        QByteArray bytes;
        QString error;
        EXPECT_EQ(readWholeFile(c.path, 4096, &bytes, &error), c.read);
        EXPECT_EQ(error, c.error);
        if (c.read) {
            EXPECT_EQ(bytes.size(), 2048);
        }
    }
    QByteArray bytes;
    QString error;
    EXPECT_FALSE(readWholeFile(inside("big.bmp"), 1024, &bytes, &error));
    EXPECT_EQ(error, "it is larger than the 1 KB this program reads");
}

} // namespace
} // namespace vv
