// The compiler's own text and file rules, which stand in for what Qt did for it:
// Windows-1252 and UTF-8 as the program's encoder has them, script file names,
// SOURCE_DATE_EPOCH, and how the output replaces an older file.
#include "CompilerTestSupport.h"

#include "common/AnsiText.h"
#include "compiler/InputFile.h"
#include "compiler/QtBytes.h"
#include "compiler/ResourceCompiler.h"
#include "compiler/TextRules.h"
#include "formats/PalmDatabase.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using vv::pdb::bytesOf;
using vv::pdb::qtBytes;

namespace {

TEST(CompilerText, CodePageMatchesTheProgramsEncoder) {
    for (int b = 0; b < 256; ++b) {
        const QByteArray byte(1, char(b));
        EXPECT_EQ(qtBytes(vv::pdb::ansiToUtf8(bytesOf(byte))), vv::decodeAnsi(byte).toUtf8()) << b;
    }
    // Text in UTF-8 as the system gives it (an output file name) to the
    // database's single-byte name, by the rule of the program's encoder.
    const char* texts[] = {
        "plain",         "Caf\xC3\xA9",   "\xE2\x82\xAC \xE2\x84\xA2", // euro, trade mark
        "\xC2\x81",      "\xE4\xB8\xAD",  "\xF0\x9F\x98\x80",          // unassigned C1, CJK, emoji
        "\xEF\xBB\xBFx", "bad \xE9 byte", "\xC0\x80",                  // BOM, Latin-1 byte, overlong
        "\xED\xA0\x80",  "\xEF\xBF\xBD",
    };
    for (const char* text : texts)
        EXPECT_EQ(qtBytes(vv::pdb::utf8ToAnsi(text)), vv::encodeAnsi(QString::fromUtf8(text)))
            << QByteArray(text).toHex().toStdString();
}

TEST(CompilerText, ScriptFileNamesAreUtf8OrWindows1252) {
    // The rule the compiler had on Qt: valid UTF-8 as such, else Windows-1252.
    auto expected = [](const QByteArray& bytes) {
        QString path = QString::fromUtf8(bytes);
        if (path.contains(QChar::ReplacementCharacter))
            path = vv::decodeAnsi(bytes);
        return path.replace(QLatin1Char('\\'), QLatin1Char('/')).toUtf8();
    };
    const QByteArray names[] = {
        "ThmeRsrc\\a.bmp",
        "Caf\xC3\xA9/a.bmp",
        "Caf\xE9\\a.bmp",
        "\x80 \x99.bmp",
        "\xEF\xBB\xBF"
        "a.bmp",
        "a\xEF\xBF\xBD.bmp",
        "\xF0\x9F\x98\x80.bmp",
        "\xED\xA0\x80.bmp",
    };
    for (const QByteArray& name : names)
        EXPECT_EQ(qtBytes(vv::pdb::scriptPath(bytesOf(name))), expected(name)) << name.toHex().toStdString();
}

TEST(CompilerText, SourceDateEpochIsAWholeNumberOfSeconds) {
    const struct {
        const char* value;
        std::optional<std::uint32_t> date;
    } cases[] = {
        {"0", std::uint32_t(vv::formats::PalmDatabase::kEpochOffset)},
        {" 86400\n", std::uint32_t(vv::formats::PalmDatabase::kEpochOffset + 86400)},
        {"+86400", std::uint32_t(vv::formats::PalmDatabase::kEpochOffset + 86400)},
        {"-2082844800", 0u},
        {"-2082844801", std::nullopt},
        {"2212122495", 0xFFFFFFFFu},
        {"2212122496", std::nullopt},
        {"0x10", std::nullopt},
        {"1e3", std::nullopt},
        {"yesterday", std::nullopt},
        {" ", std::nullopt},
        {"99999999999999999999", std::nullopt},
    };
    const QByteArray before = qgetenv("SOURCE_DATE_EPOCH");
    for (const auto& c : cases) {
        qputenv("SOURCE_DATE_EPOCH", c.value);
        std::string error;
        EXPECT_EQ(vv::pdb::ResourceCompiler::buildDate(&error), c.date) << '"' << c.value << "\" " << error;
        EXPECT_EQ(error.empty(), c.date.has_value()) << c.value;
    }
    if (before.isNull())
        qunsetenv("SOURCE_DATE_EPOCH");
    else
        qputenv("SOURCE_DATE_EPOCH", before);
}

class CompilerOutput : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        const QString picture = dir_.filePath("a.bmp");
        ASSERT_TRUE(QFile::copy(vv::test::fixturePath("compiler/pictures/a.bmp"), picture));
        ASSERT_TRUE(
            vv::test::writeBytes(dir_.filePath("script.rcp"), "BITMAPFAMILYEX ID 1000 BEGIN BITMAP \"" +
                                                                  picture.toUtf8() + "\" BPP 8 END\n"));
    }
    std::string path(const char* name) const { return vv::pdb::utf8Of(dir_.filePath(name)); }
    bool compile(const std::string& output) {
        vv::pdb::CompileRequest request;
        request.scriptPath = path("script.rcp");
        request.outputPath = output;
        request.type = "thme";
        request.creator = "reze";
        vv::pdb::Diagnostics diagnostics;
        const bool ok = vv::pdb::ResourceCompiler::run(request, &diagnostics);
        for (const auto& d : diagnostics)
            ADD_FAILURE() << d.format("script.rcp");
        return ok;
    }
    std::optional<vv::formats::PalmDatabase> database(const std::string& file) const {
        const auto bytes = vv::pdb::InputFile::readAll(file, 1 << 20, nullptr);
        return bytes ? vv::formats::PalmDatabase::fromBytes(*bytes, nullptr) : std::nullopt;
    }
    QStringList entries() const {
        return QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }

    QTemporaryDir dir_;
};

TEST_F(CompilerOutput, AReplacedFileKeepsItsPermissionsAndANewOneGetsTheUsualOnes) {
    const std::string old = path("old.pdb");
    ASSERT_TRUE(vv::test::writeBytes(QString::fromStdString(old), "old"));
    ASSERT_EQ(::chmod(old.c_str(), 0640), 0);
    ASSERT_TRUE(compile(old));
    struct stat info {};
    ASSERT_EQ(::stat(old.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    ASSERT_TRUE(database(old));

    const mode_t mask = ::umask(022);
    const bool made = compile(path("new.pdb"));
    ::umask(mask);
    ASSERT_TRUE(made);
    ASSERT_EQ(::stat(path("new.pdb").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0644u);
    EXPECT_EQ(entries(), QStringList({"a.bmp", "new.pdb", "old.pdb", "script.rcp"}))
        << "no temporary file left";
}

TEST_F(CompilerOutput, ALinkStaysALinkAndItsTargetIsReplaced) {
    ASSERT_TRUE(vv::test::writeBytes(dir_.filePath("target.pdb"), "old"));
    ASSERT_EQ(::symlink("target.pdb", path("link.pdb").c_str()), 0);
    ASSERT_TRUE(compile(path("link.pdb")));
    EXPECT_TRUE(QFileInfo(dir_.filePath("link.pdb")).isSymLink());
    const auto db = database(path("target.pdb"));
    ASSERT_TRUE(db);
    EXPECT_EQ(db->name, "link"); // named as the program was asked to name it
}

TEST_F(CompilerOutput, AFileNameThatIsNoUtf8IsWrittenAsGiven) {
    // The bytes of the name are used as they came; the database name shows '?'
    // for the byte that is no character.
    const std::string output = path("caf") + "\xE9.pdb";
    ASSERT_TRUE(compile(output));
    struct stat info {};
    ASSERT_EQ(::stat(output.c_str(), &info), 0);
    const auto db = database(output);
    ASSERT_TRUE(db);
    EXPECT_EQ(db->name, "caf?");
    ::unlink(output.c_str()); // a name the temporary folder's cleanup cannot spell
}

} // namespace
