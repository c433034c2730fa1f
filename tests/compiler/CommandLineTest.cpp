// vkdm_pdb as the program runs it: arguments, messages, exit codes, and the
// promise that a failed run leaves an older output file exactly as it was.
#include "CompilerTestSupport.h"

#include "compiler/QtBytes.h"
#include "formats/PalmDatabase.h"
#include "support/TestFiles.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

using vv::test::readBytes;
using vv::test::runCompiler;
using vv::test::themeArguments;
using vv::test::writeBytes;

namespace {

class CommandLine : public ::testing::Test {
public:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        ASSERT_TRUE(QFile::copy(vv::test::fixturePath("compiler/pictures/a.bmp"), path("ThmeRsrc/a.bmp")) ||
                    (QDir().mkpath(path("ThmeRsrc")) &&
                     QFile::copy(vv::test::fixturePath("compiler/pictures/a.bmp"), path("ThmeRsrc/a.bmp"))));
        QDir().mkpath(path("PDBFiles"));
    }
    QString path(const QString& relative) const { return dir_.filePath(relative); }
    void writeScript(const QByteArray& text) { ASSERT_TRUE(writeBytes(path("vkdm_script.rcp"), text)); }
    vv::test::CompilerRun compile(const QString& output = QStringLiteral("PDBFiles/out.pdb")) {
        return runCompiler(themeArguments(QStringLiteral("vkdm_script.rcp"), output), dir_.path());
    }
    QStringList folderEntries(const QString& folder) const {
        return QDir(path(folder)).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    QTemporaryDir dir_;
};

const QByteArray goodFamily = "BITMAPFAMILYEX ID 1000\r\n BEGIN\r\n"
                              "  BITMAP \"ThmeRsrc/a.bmp\" BPP 8 DENSITY 1 TRANSPARENTINDEX 210\r\n END\r\n";

QByteArray bigPicture() {
    // 300 x 200, every other 4-pixel group changing per row: compresses to about
    // 76,000 bytes at 16 bpp, beyond a 16-bit size field.
    QImage picture(300, 200, QImage::Format_RGB32);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 300; ++x)
            picture.setPixel(
                x, y, (x / 4) % 2 ? qRgb(10, 20, 30) : qRgb(y % 2 ? 255 : 0, x & 0xFF, y % 2 ? 255 : 0));
    QTemporaryDir dir;
    vv::test::saveBmp(picture, dir.filePath("big.bmp"));
    return readBytes(dir.filePath("big.bmp"));
}

TEST_F(CommandLine, BadInputLeavesTheOlderOutputUntouched) {
    struct Case {
        const char* what;
        QByteArray script;
        QString expected; // a fragment of stderr
        std::function<void(CommandLine&)> prepare;
    };
    const QByteArray bmp = readBytes(vv::test::fixturePath("compiler/pictures/a.bmp"));
    const QList<Case> cases = {
        {"missing picture",
         goodFamily + "BITMAPFAMILYEX ID 1010\r\n BEGIN\r\n  BITMAP \"ThmeRsrc/none.bmp\" BPP 8\r\n END",
         "vkdm_script.rcp:7: error: cannot read picture \"ThmeRsrc/none.bmp\"",
         {}},
        {"truncated picture", "BITMAPFAMILYEX ID 1\r\nBEGIN\r\n BITMAP \"ThmeRsrc/cut.bmp\" BPP 8\r\nEND",
         "vkdm_script.rcp:3: error: cannot read picture \"ThmeRsrc/cut.bmp\": truncated BMP",
         [&](CommandLine& t) { writeBytes(t.path("ThmeRsrc/cut.bmp"), bmp.left(bmp.size() - 1)); }},
        {"unknown picture format",
         "BITMAPFAMILYEX ID 1\r\nBEGIN\r\n BITMAP \"ThmeRsrc/text.bmp\" BPP 8\r\nEND",
         "vkdm_script.rcp:3: error: cannot read picture \"ThmeRsrc/text.bmp\": not a Windows BMP",
         [](CommandLine& t) { writeBytes(t.path("ThmeRsrc/text.bmp"), "just text\n"); }},
        {"missing data file",
         goodFamily + "\r\nDATA \"code\" ID 1 \"ThmeRsrc/code0001.bin\"",
         "vkdm_script.rcp:6: error: cannot read data file \"ThmeRsrc/code0001.bin\"",
         {}},
        {"duplicate depth and density",
         "BITMAPFAMILYEX ID 1\r\nBEGIN\r\n BITMAP \"ThmeRsrc/a.bmp\" BPP 8\r\n BITMAP \"ThmeRsrc/a.bmp\" BPP "
         "8 DENSITY 72\r\nEND",
         "vkdm_script.rcp:4: error: a second BITMAP with BPP 8 DENSITY 1",
         {}},
        {"duplicate resource",
         goodFamily + goodFamily,
         "vkdm_script.rcp:5: error: a second resource Tbmp 1000",
         {}},
        {"bad number",
         "BITMAPFAMILYEX ID 1\r\nBEGIN\r\n BITMAP \"ThmeRsrc/a.bmp\" BPP 16 TRANSPARENT 0 300 0\r\nEND",
         "vkdm_script.rcp:3: error: the green of TRANSPARENT must be 0 to 255, not 300",
         {}},
        {"unknown statement",
         goodFamily + "\r\nICON \"x.bmp\"",
         "vkdm_script.rcp:6: error: unexpected 'ICON'",
         {}},
        {"version 2 size overflow",
         "BITMAPFAMILYEX ID 1\r\nBEGIN\r\n BITMAP \"ThmeRsrc/big.bmp\" BPP 8 DENSITY 1 COMPRESS\r\n"
         " BITMAP \"ThmeRsrc/big.bmp\" BPP 16 DENSITY 1 COMPRESS\r\nEND",
         "vkdm_script.rcp:4: error: compressed too big for a version 2 bitmap",
         [](CommandLine& t) { writeBytes(t.path("ThmeRsrc/big.bmp"), bigPicture()); }},
    };
    const QByteArray older = "an older database";
    for (const Case& c : cases) {
        writeScript(c.script);
        if (c.prepare)
            c.prepare(*this);
        ASSERT_TRUE(writeBytes(path("PDBFiles/out.pdb"), older));
        const auto run = compile();
        EXPECT_EQ(run.exitCode, 1) << c.what;
        EXPECT_TRUE(run.errors.contains(c.expected)) << c.what << "\n  gave: " << run.errors.toStdString();
        EXPECT_EQ(readBytes(path("PDBFiles/out.pdb")), older) << c.what;
        EXPECT_EQ(folderEntries("PDBFiles"), QStringList{"out.pdb"})
            << c.what; // no temporary file left behind
    }
}

TEST_F(CommandLine, NoOutputIsCreatedOnError) {
    writeScript("BITMAPFAMILYEX ID 1\r\nBEGIN\r\n BITMAP \"ThmeRsrc/none.bmp\" BPP 8\r\nEND");
    EXPECT_EQ(compile().exitCode, 1);
    EXPECT_TRUE(folderEntries("PDBFiles").isEmpty());
}

TEST_F(CommandLine, UnwritableOutputIsAnError) {
    writeScript(goodFamily);
    const auto run = compile(QStringLiteral("NoSuchFolder/out.pdb"));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.errors.startsWith("vkdm_pdb: error: cannot write \"NoSuchFolder/out.pdb\""))
        << run.errors.toStdString();
    EXPECT_FALSE(QFileInfo::exists(path("NoSuchFolder")));
}

TEST_F(CommandLine, UsageErrors) {
    writeScript(goodFamily);
    const QList<QStringList> cases = {
        {"-ro", "-x", "-type", "thme", "-creator", "reze", "vkdm_script.rcp", "PDBFiles/out.pdb"},
        {"-type", "theme", "-creator", "reze", "vkdm_script.rcp", "PDBFiles/out.pdb"},
        {"-type", "thme", "-creator", "", "vkdm_script.rcp", "PDBFiles/out.pdb"},
        {"-type", "thme", "-creator", "reze", "vkdm_script.rcp"},
        {"-type", "thme", "vkdm_script.rcp", "PDBFiles/out.pdb"},
        {"-creator", "reze", "vkdm_script.rcp", "PDBFiles/out.pdb", "-type"},
    };
    for (const QStringList& arguments : cases) {
        const auto run = runCompiler(arguments, dir_.path());
        EXPECT_EQ(run.exitCode, 1) << arguments.join(' ').toStdString();
        EXPECT_TRUE(run.errors.contains("usage: vkdm_pdb")) << run.errors.toStdString();
        EXPECT_FALSE(QFileInfo::exists(path("PDBFiles/out.pdb")));
    }
    EXPECT_EQ(runCompiler({"--bogus"}, dir_.path()).exitCode, 1);
}

TEST_F(CommandLine, HelpAndVersion) {
    for (const char* option : {"-h", "--help"}) {
        const auto run = runCompiler({option}, dir_.path());
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_TRUE(run.output.startsWith("usage: vkdm_pdb")) << run.output.toStdString();
    }
    const auto run = runCompiler({"--version"}, dir_.path());
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output.trimmed(), QStringLiteral("vkdm_pdb " VV_VERSION));
}

TEST_F(CommandLine, OversizeResourcesAndEditIDsWarnButSucceed) {
    writeBytes(path("ThmeRsrc/big.bin"), QByteArray(65001, 'x'));
    writeBytes(path("ThmeRsrc/ok.bin"), QByteArray(65000, 'x'));
    writeScript("DATA \"code\" ID 1 \"ThmeRsrc/ok.bin\"\r\nDATA \"data\" ID 0 \"ThmeRsrc/big.bin\"\r\n"
                "VERSION ID 10000 \"1.0\"");
    auto run = compile();
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.errors,
              "vkdm_script.rcp:2: warning: resource data 0 is 65001 bytes; HotSync refuses resources "
              "over 65000 bytes\n");
    EXPECT_TRUE(QFileInfo::exists(path("PDBFiles/out.pdb")));

    run = runCompiler({"-type", "thme", "-creator", "reze", "vkdm_script.rcp", "PDBFiles/out.pdb"},
                      dir_.path());
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.errors.contains("vkdm_script.rcp:3: warning: resource ID 10000"))
        << run.errors.toStdString();

    run = runCompiler({"-q", "-type", "thme", "-creator", "reze", "vkdm_script.rcp", "PDBFiles/out.pdb"},
                      dir_.path());
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.errors.isEmpty()) << run.errors.toStdString();
}

TEST_F(CommandLine, NameFieldTypeCreatorAndDates) {
    writeScript(goodFamily);
    struct Case {
        QString output;
        QByteArray name;
    };
    const Case cases[] = {
        {QStringLiteral("PDBFiles/My Theme \u00f1.pdb"), QByteArray("My Theme \xf1")},
        {QStringLiteral("PDBFiles/") + QString(40, QLatin1Char('n')) + ".pdb", QByteArray(31, 'n')},
        {QStringLiteral("PDBFiles/two.dots.pdb"), QByteArray("two.dots")},
        {QStringLiteral("PDBFiles/\u20ac \u2122.pdb"), QByteArray("\x80 \x99")}, // Windows-1252, not Latin-1
    };
    for (const Case& c : cases) {
        const auto run = runCompiler({"-ro", "-type", "Icns", "-creator", "rz", "vkdm_script.rcp", c.output},
                                     dir_.path(), QStringLiteral("0"));
        ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
        std::string error;
        const auto db =
            vv::formats::PalmDatabase::fromBytes(vv::pdb::bytesOf(readBytes(path(c.output))), &error);
        ASSERT_TRUE(db) << error;
        EXPECT_EQ(vv::pdb::qtBytes(db->name), c.name);
        EXPECT_EQ(db->type, "Icns");
        EXPECT_EQ(db->creator, std::string("rz\0\0", 4));
        EXPECT_EQ(db->creationDate, quint32(vv::formats::PalmDatabase::kEpochOffset));
        EXPECT_EQ(db->modificationDate, db->creationDate);
    }
    // Without SOURCE_DATE_EPOCH the dates are the current local time.
    ASSERT_EQ(
        runCompiler(themeArguments("vkdm_script.rcp", "PDBFiles/now.pdb"), dir_.path(), QString()).exitCode,
        0);
    const auto db =
        vv::formats::PalmDatabase::fromBytes(vv::pdb::bytesOf(readBytes(path("PDBFiles/now.pdb"))), nullptr);
    ASSERT_TRUE(db);
    const QDateTime now = QDateTime::currentDateTime();
    const qint64 expected =
        now.toSecsSinceEpoch() + now.offsetFromUtc() + vv::formats::PalmDatabase::kEpochOffset;
    EXPECT_LE(std::abs(qint64(db->creationDate) - expected), 120);

    const auto bad =
        runCompiler(themeArguments("vkdm_script.rcp", "PDBFiles/x.pdb"), dir_.path(), "yesterday");
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_TRUE(bad.errors.contains("SOURCE_DATE_EPOCH")) << bad.errors.toStdString();
}

TEST_F(CommandLine, SuccessReplacesTheOlderOutput) {
    writeScript(goodFamily);
    writeBytes(path("PDBFiles/out.pdb"), "old");
    ASSERT_EQ(compile().exitCode, 0);
    const QByteArray first = readBytes(path("PDBFiles/out.pdb"));
    EXPECT_EQ(first.left(3), "out");
    ASSERT_EQ(compile().exitCode, 0);
    EXPECT_EQ(readBytes(path("PDBFiles/out.pdb")), first); // reproducible with a fixed date
    EXPECT_EQ(folderEntries("PDBFiles"), QStringList{"out.pdb"});
}

TEST_F(CommandLine, EmptyFamilyWarnsAndWritesNoResource) {
    writeScript("BITMAPFAMILYEX ID 11000\r\n BEGIN\r\n END\r\n\r\n" + goodFamily);
    const auto run = compile();
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(
        run.errors.contains("vkdm_script.rcp:1: warning: BITMAPFAMILYEX ID 11000 has no BITMAP lines"))
        << run.errors.toStdString();
    const auto db =
        vv::formats::PalmDatabase::fromBytes(vv::pdb::bytesOf(readBytes(path("PDBFiles/out.pdb"))), nullptr);
    ASSERT_TRUE(db);
    ASSERT_EQ(db->resources.size(), 1u);
    EXPECT_EQ(db->resources[0].id, 1000);
}

} // namespace
