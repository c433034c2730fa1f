// vedivavurir-cli as a batch user meets it: exit codes and streams, standard
// input and output as files, --quiet and --json, the start directory named
// from elsewhere, --output and --dry-run.
#include "cli/StagedStartDir.h"
#include "support/RecordingPlatform.h"
#include "support/TestFiles.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vv::test {
namespace {

std::string text(const QByteArray& bytes) {
    return bytes.toStdString();
}

class CliConventions : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(start.isValid());
        ASSERT_TRUE(elsewhere.isValid());
    }

    // The real program; "%START%" in an argument or variable is the start
    // directory. Standard input and output may be files.
    CliResult run(QStringList arguments, const QString& workingDirectory, const QString& input = {},
                  const QString& output = {}, const QString& variable = {}) const {
        for (QString& argument : arguments)
            argument.replace("%START%", start.path());
        QProcess process;
        process.setWorkingDirectory(workingDirectory);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("VEDIVAVURIR_START_DIR");
        if (!variable.isEmpty())
            environment.insert("VEDIVAVURIR_START_DIR", QString(variable).replace("%START%", start.path()));
        process.setProcessEnvironment(environment);
        if (!input.isEmpty())
            process.setStandardInputFile(start.filePath(input));
        if (!output.isEmpty())
            process.setStandardOutputFile(output);
        process.start(binPath("vedivavurir-cli"), arguments);
        return finishedRun(process, 120000);
    }

    // Every file below the start directory with its size and time: what a
    // run that writes nothing leaves as it was.
    QStringList snapshot() const {
        QStringList files;
        QDirIterator it(start.path(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QFileInfo entry(it.next());
            files << QDir(start.path()).relativeFilePath(entry.filePath()) + ' ' +
                         QString::number(entry.size()) + ' ' +
                         QString::number(entry.lastModified().toMSecsSinceEpoch());
        }
        files.sort();
        return files;
    }

    StagedStartDir start;
    QTemporaryDir elsewhere;
};

TEST_F(CliConventions, EachLineEndsWithItsExitCodeOnItsStream) {
    const QString here = start.path();
    const QString there = elsewhere.path();
    const struct {
        QStringList arguments;
        QString workingDirectory;
        int exitCode;
        const char* stream; // "out", "err" or "none": where the text starting with `prefix` goes
        const char* prefix;
        QString input = {};
        QString output = {};
        QString variable = {};
    } cases[] = {
        {{"--version"}, here, 0, "out", "vedivavurir-cli "},
        {{"--help"}, here, 0, "out", "Usage: vedivavurir-cli [options] COMMAND"},
        {{"unpack", "--help"}, here, 0, "out", "Usage: vedivavurir-cli unpack [options]\n"},
        {{"script", "--help"}, here, 0, "out", "Usage: vedivavurir-cli script [options] KIND\n"},
        // A result that cannot be written is a failure.
        {{"--version"},
         here,
         1,
         "err",
         "vedivavurir-cli: error: standard output cannot be written",
         {},
         "/dev/full"},
        {{"script", "theme"},
         here,
         1,
         "err",
         "vedivavurir-cli: error: standard output cannot be written",
         {},
         "/dev/full"},
        {{"theme", "--name", "Full"},
         here,
         1,
         "err",
         "vedivavurir-cli: error: standard output",
         {},
         "/dev/full"},
        // Usage errors.
        {{}, here, 2, "err", "vedivavurir-cli: error: no command given"},
        {{"--bogus"}, here, 2, "err", "vedivavurir-cli: error: Unknown option 'bogus'"},
        {{"theme", "--bogus"}, here, 2, "err", "vedivavurir-cli: error: Unknown option 'bogus'"},
        {{"theme", "--name"}, here, 2, "err", "vedivavurir-cli: error: Missing value after '--name'"},
        {{"theme"}, here, 2, "err", "vedivavurir-cli: error: theme needs --name NAME"},
        {{"install"}, here, 2, "err", "vedivavurir-cli: error: install needs --name NAME"},
        {{"unpack"}, here, 2, "err", "vedivavurir-cli: error: unpack needs --from FILE.pdb"},
        {{"script"}, here, 2, "err", "vedivavurir-cli: error: script needs theme or iconset"},
        {{"script", "theme", "more"}, here, 2, "err", "vedivavurir-cli: error: unexpected argument \"more\""},
        {{"theme", "--name", "T", "--sheet", "-", "--hires-sheet", "-"},
         here,
         2,
         "err",
         "vedivavurir-cli: error: --sheet, --hires-sheet: only one picture can come from standard input"},
        // - reads a picture from standard input, - writes one to standard output.
        {{"theme", "--name", "Piped", "--sheet", "-"}, here, 0, "out", "/", "ThmeBMP/SkinSheetLow.bmp"},
        {{"theme", "--name", "Piped", "--sheet", "-"},
         here,
         1,
         "err",
         "vedivavurir-cli: error: This skin sheet cannot be used.",
         "vkdm_settings.cfg"},
        {{"unpack", "--from", "PDBFiles/Piped.pdb", "--sheet", "-"}, here, 0, "out", "BM"},
        {{"unpack", "--from", "PDBFiles/Piped.pdb", "--sheet", "-", "--json"},
         here,
         2,
         "err",
         "vedivavurir-cli: error: --sheet -: the picture takes standard output"},
        {{"unpack", "--from", "PDBFiles/Piped.pdb", "--sheet", there + "/out.bmp"},
         here,
         1,
         "err",
         "vedivavurir-cli: error: --sheet: "},
        // --quiet: nothing on success, errors still.
        {{"--quiet", "theme", "--name", "Quiet"}, here, 0, "none", ""},
        {{"theme", "-q", "--name", "Quiet"}, here, 0, "none", ""},
        {{"theme", "-q", "--name", "Quiet", "--sheet", "missing.bmp"},
         here,
         1,
         "err",
         "vedivavurir-cli: error: "},
        // The start directory named from elsewhere, or not.
        {{"-C", "%START%", "theme", "--name", "Named"}, there, 0, "out", "/"},
        {{"theme", "--start-dir", "%START%", "--name", "Named"}, there, 0, "out", "/"},
        {{"theme", "--name", "FromVariable"}, there, 0, "out", "/", {}, {}, "%START%"},
        {{"-C", "%START%", "theme", "--name", "Both"}, there, 0, "out", "/", {}, {}, there},
        {{"-C", "nowhere", "theme", "--name", "A"},
         there,
         1,
         "err",
         "vedivavurir-cli: error: --start-dir: nowhere is not a folder"},
        {{"theme", "--name", "A"}, there, 1, "err", "vedivavurir-cli: error: "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(
            (c.arguments.join(' ') + " in " + c.workingDirectory + " < " + c.input + " > " + c.output)
                .toStdString());
        const CliResult result = run(c.arguments, c.workingDirectory, c.input, c.output, c.variable);
        EXPECT_EQ(result.exitCode, c.exitCode) << text(result.err);
        const QByteArray stream = QByteArray(c.stream);
        if (stream == "none") {
            EXPECT_TRUE(result.out.isEmpty()) << text(result.out);
            EXPECT_TRUE(result.err.isEmpty()) << text(result.err);
            continue;
        }
        const QByteArray& shown = stream == "out" ? result.out : result.err;
        EXPECT_TRUE(shown.startsWith(c.prefix)) << text(shown.left(300));
        if (stream == "out" || c.exitCode == 0)
            EXPECT_TRUE(result.err.isEmpty()) << text(result.err);
        else
            EXPECT_EQ(result.err.count('\n'), 1) << "one message, one language: " << text(result.err);
    }
    // A picture is not written to a terminal (script(1) gives the run one).
    QProcess terminal;
    terminal.setWorkingDirectory(here);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("VEDIVAVURIR_START_DIR");
    terminal.setProcessEnvironment(environment);
    terminal.start(
        "script",
        {"-qec",
         QStringLiteral("'%1' unpack --from PDBFiles/Piped.pdb --sheet -").arg(binPath("vedivavurir-cli")),
         "/dev/null"});
    const CliResult onTerminal = finishedRun(terminal, 60000);
    EXPECT_EQ(onTerminal.exitCode, 2);
    EXPECT_TRUE(onTerminal.out.contains("vedivavurir-cli: error: --sheet -: standard output is a terminal"))
        << text(onTerminal.out);
    EXPECT_TRUE(QFileInfo::exists(start.filePath("PDBFiles/Named.pdb")));
    EXPECT_TRUE(QFileInfo::exists(start.filePath("PDBFiles/FromVariable.pdb")));
    EXPECT_TRUE(QFileInfo::exists(start.filePath("PDBFiles/Both.pdb")));
    EXPECT_FALSE(QFileInfo::exists(elsewhere.filePath("out.bmp")));
    EXPECT_TRUE(QDir(elsewhere.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
}

TEST_F(CliConventions, JsonResultsParseBack) {
    RecordingPlatform platform; // runs the compiler for real
    const auto parsed = [](const QByteArray& out) {
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(out, &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << text(out);
        EXPECT_EQ(out.count('\n'), 1) << "one object on one line";
        return document.object();
    };
    const CliResult built = start.runInProcess({"--json", "theme", "--name", "Json"});
    ASSERT_EQ(built.exitCode, 0) << text(built.err);
    const QJsonObject build = parsed(built.out);
    const QString database = start.filePath("PDBFiles/Json.pdb");
    EXPECT_EQ(build["command"].toString(), "theme");
    EXPECT_EQ(build["database"].toString(), QDir::toNativeSeparators(database));
    EXPECT_EQ(build["bytes"].toInteger(), QFileInfo(database).size());
    EXPECT_EQ(build["families"].toInt(), 58 + 20);
    EXPECT_EQ(build["warnings"].toArray(), QJsonArray());

    const CliResult unpacked =
        start.runInProcess({"unpack", "--json", "--from", "PDBFiles/Json.pdb", "--icons", "JsonIcons"});
    ASSERT_EQ(unpacked.exitCode, 0) << text(unpacked.err);
    const QJsonObject unpack = parsed(unpacked.out);
    EXPECT_EQ(unpack["kind"].toString(), "theme");
    EXPECT_EQ(unpack["name"].toString(), "Json");
    const QJsonArray written = unpack["written"].toArray();
    EXPECT_EQ(written.size(), start.filesIn("JsonIcons", "*.bmp").size());
    for (const QJsonValue& file : written)
        EXPECT_TRUE(QFileInfo::exists(file.toString())) << file.toString().toStdString();
    EXPECT_TRUE(unpack["missingFamilies"].isArray());

    const QString tool = QStringLiteral("\"%1\" ok").arg(binPath("fake_install_tool"));
    const CliResult handed = start.runProgram({"install", "--json", "--name", "Json", "--tool", tool});
    ASSERT_EQ(handed.exitCode, 0) << text(handed.err);
    const QJsonObject install = parsed(handed.out);
    EXPECT_EQ(install["tool"].toString(), tool);
    EXPECT_EQ(install["exitCode"].toInt(-1), 0);
    EXPECT_EQ(install["database"].toString(), QDir::toNativeSeparators(database));
}

TEST_F(CliConventions, OutputPutsTheDatabaseElsewhereBelowTheStartDirectory) {
    RecordingPlatform platform;
    ASSERT_TRUE(QDir(start.path()).mkpath("Release"));
    ASSERT_TRUE(writeBytes(start.filePath("PDBFiles/Sunset.pdb"), "an older database"));
    const CliResult run =
        start.runInProcess({"theme", "--name", "Sunset", "--output", "Release/sunset-1.pdb"});
    ASSERT_EQ(run.exitCode, 0) << text(run.err);
    const QString output = start.filePath("Release/sunset-1.pdb");
    EXPECT_EQ(QString::fromLocal8Bit(run.out).trimmed(), QDir::toNativeSeparators(output));
    EXPECT_EQ(readBytes(output).left(8), QByteArray("Sunset\0\0", 8)) << "the name stamp stays --name";
    EXPECT_EQ(readBytes(output).mid(0x3C, 8), "thmereze");
    EXPECT_EQ(readBytes(start.filePath("PDBFiles/Sunset.pdb")), "an older database");
    platform.processes.clear();

    const struct {
        const char* output;
        const char* error;
    } refused[] = {
        {"Missing/sunset.pdb", "vedivavurir-cli: error: --output: the folder "},
        {"../sunset.pdb", "vedivavurir-cli: error: --output: ../sunset.pdb is outside the start directory"},
        {"/tmp/sunset.pdb",
         "vedivavurir-cli: error: --output: /tmp/sunset.pdb is outside the start directory"},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.output);
        const CliResult refusal = start.runInProcess({"theme", "--name", "Sunset", "--output", c.output});
        EXPECT_EQ(refusal.exitCode, 1);
        EXPECT_TRUE(refusal.err.startsWith(c.error)) << text(refusal.err);
        EXPECT_TRUE(platform.processes.isEmpty());
    }
}

// The template to paint on, PNG or BMP by its name, builds as a sheet as it is.
TEST_F(CliConventions, TemplateSheetsAreWrittenAndBuildAsSheets) {
    RecordingPlatform platform;
    const CliResult written = start.runInProcess(
        {"template", "--sheet", "ThmeBMP/paint-low.png", "--hires-sheet", "paint-high.bmp"});
    ASSERT_EQ(written.exitCode, 0) << text(written.err);
    EXPECT_TRUE(readBytes(start.filePath("ThmeBMP/paint-low.png")).startsWith("\x89PNG"));
    EXPECT_TRUE(readBytes(start.filePath("paint-high.bmp")).startsWith("BM"));
    EXPECT_EQ(QImage(start.filePath("ThmeBMP/paint-low.png")).size(), QSize(230, 335));
    EXPECT_EQ(QImage(start.filePath("paint-high.bmp")).size(), QSize(460, 670));
    const CliResult built = start.runInProcess(
        {"script", "theme", "--sheet", "ThmeBMP/paint-low.png", "--hires-sheet", "paint-high.bmp"});
    EXPECT_EQ(built.exitCode, 0) << text(built.err);

    const CliResult nothing = start.runInProcess({"template"});
    EXPECT_EQ(nothing.exitCode, 2);
    EXPECT_TRUE(nothing.err.startsWith("vedivavurir-cli: error: template needs")) << text(nothing.err);
}

TEST_F(CliConventions, DryRunChecksEveryInputAndWritesNothing) {
    RecordingPlatform platform;
    // A low sheet of one's own: on the OS5 screen its pieces' partners are built-in.
    QImage own(start.filePath("ThmeBMP/SkinSheetLow.bmp"));
    own.invertPixels();
    ASSERT_TRUE(own.save(start.filePath("ThmeBMP/Own.bmp"), "BMP"));
    const QStringList build{"theme",    "--name",     "Dry", "--hires-sheet", "ThmeBMP/SkinSheetHigh.bmp",
                            "--screen", "320x320 OS5"};
    const QStringList before = snapshot();
    const CliResult dry = start.runInProcess(build + QStringList{"--dry-run"});
    ASSERT_EQ(dry.exitCode, 0) << text(dry.err);
    EXPECT_EQ(dry.out, start.runInProcess(QStringList{"script"} + build).out);
    EXPECT_TRUE(dry.out.startsWith("BITMAPFAMILYEX ID ")) << text(dry.out.left(100));
    EXPECT_TRUE(platform.processes.isEmpty());
    EXPECT_EQ(snapshot(), before);

    const struct {
        QStringList arguments;
        int exitCode;
        const char* error;
    } refused[] = {
        {{"theme", "--dry-run", "--name", "Dry", "--sheet", "does-not-exist.bmp"},
         1,
         "vedivavurir-cli: error: This skin sheet cannot be used."},
        {{"script", "theme", "--sheet", "does-not-exist.bmp", "--icons-sheet", "IconBMP/SampleIcons.bmp",
          "--icon", "99=1"},
         2,
         "vedivavurir-cli: error: --icon 99=1: no such slot"},
        {{"script", "theme", "--sheet", "does-not-exist.bmp"}, 1, "vedivavurir-cli: error: This skin sheet"},
        {{"iconset", "--dry-run", "--name", "Dry", "--sheet", "IconBMP/SampleIcons.bmp", "--icon", "99=1"},
         2,
         "vedivavurir-cli: error: --icon 99=1: no such slot"},
        {{"theme", "--dry-run", "--name", "A/B"}, 1, "vedivavurir-cli: error: "},
        {{"theme", "--dry-run", "--name", "Dry", "--output", "../x.pdb"},
         1,
         "vedivavurir-cli: error: --output"},
        {{"theme", "--dry-run", "--name", "Dry", "--screen", "320x320 OS5", "--sheet", "ThmeBMP/Own.bmp"},
         1,
         "vedivavurir-cli: error: 58 pictures carry"},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const CliResult run = start.runInProcess(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << text(run.err);
        EXPECT_TRUE(run.err.startsWith(c.error)) << text(run.err);
        EXPECT_TRUE(run.out.isEmpty()) << text(run.out.left(100));
    }
    EXPECT_TRUE(platform.processes.isEmpty());
    EXPECT_EQ(snapshot(), before);
}

} // namespace
} // namespace vv::test
