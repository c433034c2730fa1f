// Proof that what we ship decodes: themes for every SystemScreen and an icon set
// are built from the shipped sample sheets by vedivavurir-cli and the real
// vkdm_pdb, then every Tbmp and tAIB is read back, by our reader and by netpbm's
// palmtopnm, and compared with the pieces converted by the pixel rules.
#include "app/SettingsFile.h"
#include "cli/StagedStartDir.h"
#include "common/Palette.h"
#include "common/SystemScreens.h"
#include "compiler/BitmapDecoder.h"
#include "compiler/PixelConverter.h"
#include "formats/PalmDatabase.h"
#include "icons/IconPieces.h"
#include "support/IconPicks.h"
#include "support/TestFiles.h"
#include "theme/ThemeBuildPlan.h"

#include <QFile>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <gtest/gtest.h>

namespace vv::test {
namespace {

constexpr qint64 kSourceDate = 1704067200; // 2024-01-01

struct ScriptLine {
    QString piece; // "ThmeRsrc/Tbmp03EE.bmp"
    int depth = 0;
    int density = 0;
};

struct ScriptResource {
    QByteArray type;
    int id = 0;
    QList<ScriptLine> lines; // for families
};

// The resources a script asks for, in script order, read from its text.
QList<ScriptResource> readScript(const QByteArray& script) {
    static const QRegularExpression family(R"re(^(BITMAPFAMILYEX|ICONFAMILYEX) ID (\d+)$)re");
    static const QRegularExpression bitmap(R"re(^  BITMAP "([^"]+)" BPP (\d+) DENSITY (\d) )re");
    static const QRegularExpression data(R"re(^DATA "(\w{4})" ID (\d+) )re");
    static const QRegularExpression version(R"re(^VERSION ID (\d+) )re");
    QList<ScriptResource> resources;
    for (const QByteArray& raw : script.split('\n')) {
        const QString line = QString::fromLatin1(raw).remove(QLatin1Char('\r'));
        if (auto m = family.match(line); m.hasMatch())
            resources << ScriptResource{
                m.captured(1) == "ICONFAMILYEX" ? "tAIB" : "Tbmp", m.captured(2).toInt(), {}};
        else if (auto b = bitmap.match(line); b.hasMatch())
            resources.last().lines << ScriptLine{b.captured(1), b.captured(2).toInt(), b.captured(3).toInt()};
        else if (auto d = data.match(line); d.hasMatch())
            resources << ScriptResource{d.captured(1).toLatin1(), d.captured(2).toInt(), {}};
        else if (auto v = version.match(line); v.hasMatch())
            resources << ScriptResource{"tver", v.captured(1).toInt(), {}};
    }
    return resources;
}

// The colour palmtopnm shows for a stored value: greys white to black over
// its maxval, palette colours, 565 components widened by value * 255 / max.
QRgb netpbmColour(int depth, int stored) {
    if (depth <= 4) {
        const int levels = (1 << depth) - 1;
        const int v = (levels - stored) * 255 / levels;
        return qRgb(v, v, v);
    }
    if (depth == 8)
        return palmSystemPalette()[stored];
    const int r = stored >> 11, g = (stored >> 5) & 0x3F, b = stored & 0x1F;
    return qRgb(r * 255 / 31, g * 255 / 63, b * 255 / 31);
}

bool havePalmtopnm() {
    return !QStandardPaths::findExecutable(QStringLiteral("palmtopnm")).isEmpty();
}

class EndToEnd : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(start.isValid()); }

    // Builds with the real program and returns the database it reports.
    formats::PalmDatabase build(const QStringList& arguments, const QString& name) {
        const CliResult run =
            start.runProgram(arguments, {QStringLiteral("SOURCE_DATE_EPOCH=%1").arg(kSourceDate)});
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        std::string error;
        const auto db = formats::PalmDatabase::fromBytes(
            pdb::bytesOf(readBytes(start.filePath("PDBFiles/" + name + ".pdb"))), &error);
        EXPECT_TRUE(db) << error;
        return db.value_or(formats::PalmDatabase{});
    }

    QByteArray script(const QStringList& buildArguments) {
        const CliResult run = start.runProgram(QStringList{"script"} + buildArguments);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        return run.out;
    }

    void expectHeader(const formats::PalmDatabase& db, const QString& name, const QByteArray& type) {
        EXPECT_EQ(pdb::qtBytes(db.name), name.toLatin1());
        EXPECT_EQ(pdb::qtBytes(db.type), type);
        EXPECT_EQ(db.creator, "reze");
        EXPECT_EQ(db.attributes & 0x0001, 0x0001) << "a resource database";
        EXPECT_EQ(db.creationDate, quint32(kSourceDate + formats::PalmDatabase::kEpochOffset));
    }

    // Resources in script order, and every family member equal to its piece
    // converted by the pixel rules, read by our decoder and by palmtopnm.
    void expectResourcesMatch(const formats::PalmDatabase& db, const QList<ScriptResource>& expected,
                              const QHash<QString, QImage>& pieces, int transparentIndex) {
        ASSERT_EQ(qsizetype(db.resources.size()), expected.size());
        const pdb::PixelConverter converter;
        const QString familyFile = start.filePath("family.bin");
        for (int r = 0; r < expected.size(); ++r) {
            const formats::PalmResource& resource = db.resources[r];
            const ScriptResource& want = expected[r];
            ASSERT_EQ(pdb::qtBytes(resource.type), want.type) << "resource " << r;
            ASSERT_EQ(resource.id, want.id) << "resource " << r;
            if (want.lines.isEmpty())
                continue;
            SCOPED_TRACE(
                QStringLiteral("%1 %2").arg(QString::fromLatin1(want.type)).arg(want.id).toStdString());
            QString error;
            const auto family = pdb::BitmapDecoder::decodeFamily(resource.bytes, &error);
            ASSERT_TRUE(family) << error.toStdString();
            ASSERT_EQ(family->members.size(), want.lines.size());
            ASSERT_TRUE(writeBytes(familyFile, pdb::qtBytes(resource.bytes)));
            for (int k = 0; k < family->members.size(); ++k) {
                const pdb::DecodedBitmap& member = family->members[k];
                const auto line =
                    std::find_if(want.lines.cbegin(), want.lines.cend(), [&](const ScriptLine& l) {
                        return l.depth == member.depth && l.density * 72 == member.density;
                    });
                ASSERT_NE(line, want.lines.cend()) << "member " << k << " depth " << member.depth;
                ASSERT_TRUE(pieces.contains(line->piece)) << line->piece.toStdString();
                const QImage picture = pieces[line->piece].convertToFormat(QImage::Format_RGB32);
                ASSERT_EQ(QSize(member.width, member.height), picture.size()) << line->piece.toStdString();
                pdb::DecodedBitmap expectedBitmap = member;
                expectedBitmap.rows = pdb::qtBytes(converter.convert(
                    picture, member.depth,
                    member.depth == 8 ? std::optional<int>(transparentIndex) : std::nullopt));
                ASSERT_EQ(member.rows, expectedBitmap.rows)
                    << line->piece.toStdString() << " at " << member.depth;
                if (!havePalmtopnm())
                    continue;
                QProcess palmtopnm;
                palmtopnm.start(QStringLiteral("palmtopnm"),
                                {"-rendition", QString::number(k + 1), familyFile});
                ASSERT_TRUE(palmtopnm.waitForFinished(30000));
                ASSERT_EQ(palmtopnm.exitCode(), 0) << palmtopnm.readAllStandardError().toStdString();
                const QImage shown = QImage::fromData(palmtopnm.readAllStandardOutput());
                ASSERT_EQ(shown.size(), picture.size());
                for (int y = 0; y < shown.height(); ++y)
                    for (int x = 0; x < shown.width(); ++x)
                        ASSERT_EQ(shown.pixel(x, y) | 0xFF000000u,
                                  netpbmColour(member.depth, expectedBitmap.storedValue(x, y)))
                            << line->piece.toStdString() << " depth " << member.depth << " at " << x << ","
                            << y;
                ++membersChecked;
            }
        }
    }

    StagedStartDir start;
    int membersChecked = 0;
};

TEST_F(EndToEnd, ThemesForEveryScreenDecodeToTheirPieces) {
    for (const QString& screen : systemScreenNames()) {
        SCOPED_TRACE(screen.toStdString());
        const bool low = screen == QLatin1String("160x160 Low");
        const QString name = QStringLiteral("Sample ") + screen;
        const QStringList arguments{"theme",
                                    "--name",
                                    name,
                                    low ? "--sheet" : "--hires-sheet",
                                    low ? "ThmeBMP/SkinSheetLow.bmp" : "ThmeBMP/SkinSheetHigh.bmp",
                                    "--screen",
                                    screen,
                                    "--depths",
                                    "1,2,4,8,16",
                                    screen == QLatin1String("320x320 OS5") ? "--no-compress" : "--compress"};
        const formats::PalmDatabase db = build(arguments, name);
        expectHeader(db, name, "thme");

        // The pieces as the build cut them from the same sheet.
        ThemePieces cut;
        ASSERT_TRUE(cut.loadSheetFile(start.filePath(arguments[4]),
                                      low ? PieceResolution::Low : PieceResolution::High)
                        .loaded());
        IconBoard icons;
        const int screenType = screenTypeFromStoredIndex(systemScreenIndexOf(screen));
        QHash<QString, QImage> pieces;
        for (const PieceFile& piece : themePieceFiles(cut, icons, screenType))
            pieces.insert(piece.relativePath, piece.picture);

        const QList<ScriptResource> expected = readScript(script(arguments.mid(0)));
        ASSERT_EQ(expected.size(), 58 + 20 + 7);
        const bool sony = screenType == 3;
        EXPECT_EQ(expected.first().id, sony ? 11000 : 1000);
        EXPECT_EQ(expected[58].type, "tAIB");
        expectResourcesMatch(db, expected, pieces, 210);
    }
    if (havePalmtopnm()) {
        EXPECT_GT(membersChecked, 4 * 78 * 5);
    }
}

TEST_F(EndToEnd, IconSetDecodesToThePickedCells) {
    const QStringList arguments{"iconset", "--name", "Sample Icons", "--sheet", "IconBMP/SampleIcons.bmp",
                                "--icon", "1=1", "--icon", "5=40", "--icon", "12=272", "--hires-sheet",
                                "IconBMP/SampleIconsOS5.bmp", "--hires-icon", "2=2", "--hires-icon", "11=90",
                                "--screen", "320x320 OS5", "--depths", "1,2,4,8,16",
                                // Slots 1, 5 and 12 are picked only on the main window.
                                "--as-is"};
    const formats::PalmDatabase db = build(arguments, "Sample Icons");
    expectHeader(db, "Sample Icons", "Icns");

    IconBoard board;
    ASSERT_TRUE(
        pickIcons(board, IconWindow::Os5, start.filePath("IconBMP/SampleIconsOS5.bmp"), {{1, 2}, {10, 90}}));
    ASSERT_TRUE(pickIcons(board, IconWindow::Main, start.filePath("IconBMP/SampleIcons.bmp"),
                          {{0, 1}, {4, 40}, {11, 272}}));
    QHash<QString, QImage> pieces;
    for (const PieceFile& piece : iconSetPieces(board))
        pieces.insert(piece.relativePath, piece.picture);

    const QList<ScriptResource> expected = readScript(script(arguments));
    ASSERT_EQ(expected.size(), 12 + 7);
    expectResourcesMatch(db, expected, pieces, 210);
    if (havePalmtopnm()) {
        EXPECT_EQ(membersChecked, 12 * 7);
    }
}

} // namespace
} // namespace vv::test
