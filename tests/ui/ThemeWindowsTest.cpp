// The theme windows and Create Theme driven headless: sheets loaded through
// the picture dialog at both resolutions, the preview, and whole theme builds
// against the fake compiler and the real one.
#include "common/Palette.h"
#include "compiler/BitmapDecoder.h"
#include "formats/PalmDatabase.h"
#include "theme/DefaultTheme.h"
#include "theme/ThemeBuildPlan.h"
#include "theme/ThemePieces.h"
#include "ui/TForm1.h"
#include "ui/TForm2.h"
#include "ui/TForm3.h"
#include "ui/TForm6.h"

#include "support/StartedWindows.h"

#include "platform/ProcessRunner.h"
#include "support/TestPictures.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

using namespace vv;

namespace {

// Counts how often a widget was shown.
class ShowCounter : public QObject {
public:
    int shows = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show)
            ++shows;
        return false;
    }
};

using test::coordinateSheet;

QImage asRgb(const QImage& image) {
    return image.convertToFormat(QImage::Format_RGB32);
}

class ThemeWindows : public test::StartedWindows {
protected:
    ThemeWindows() : StartedWindows(QStringLiteral("ThmeBMP"), QStringLiteral("ThmeRsrc")) {}

    QString saveSheet(const QString& name, const QImage& sheet) {
        const QString file = path("ThmeBMP/" + name);
        EXPECT_TRUE(sheet.save(file, "BMP"));
        return file;
    }

    // Loads `file` through a theme window's Load Bitmap, answering its dialog.
    void loadThrough(ThemeWindow* window, const QString& file) {
        platform.fileAnswers.enqueue(file);
        window->Button1Click();
    }

    // Every piece image of `window` shows the model's piece of its resolution
    // and stands at its preview place.
    static void expectWindowShows(const ThemeWindow* window, const ThemePieces& pieces) {
        const auto& table = themePieceTable();
        for (int i = 0; i < kThemePieceCount; ++i) {
            const TImage* image = window->pieceImage(i);
            EXPECT_EQ(image->objectName(), table[i].imageName());
            EXPECT_EQ(image->geometry(), QRect(table[i].previewPosition(window->resolution()),
                                               table[i].size(window->resolution())))
                << table[i].code.toStdString();
            EXPECT_EQ(image->picture(), pieces.piece(i, window->resolution())) << table[i].code.toStdString();
        }
    }

    static void expectSamePieces(const ThemePieces& actual, const ThemePieces& expected,
                                 PieceResolution resolution) {
        for (int i = 0; i < kThemePieceCount; ++i)
            EXPECT_EQ(actual.piece(i, resolution), expected.piece(i, resolution))
                << themePieceTable()[i].code.toStdString();
    }

    // Create Theme with the fake compiler standing in for vkdm_pdb; notes
    // whether the busy label showed while the compiler ran.
    void createThemeWithFakeCompiler(const QString& name) {
        platform.onRun = [this](const test::ProcessCall& call) {
            busyWhileCompiling_ = !Form1->Label2->isHidden();
            return runFakeCompiler(call);
        };
        // Something for the compiler search to find, wherever the test runs.
        QFile::copy(test::binPath("fake_vkdm_pdb"), path("vkdm_pdb"));
        Form1->Edit1->setText(name);
        Form1->Button2Click();
    }

    QStringList seenPieces() const {
        QStringList names = QDir(dir_.filePath("fake_seen/ThmeRsrc")).entryList({"*.bmp"}, QDir::Files);
        names.sort();
        return names;
    }

    bool busyWhileCompiling_ = false;
};

TEST_F(ThemeWindows, StartWithTheDefaultThemeAtThePreviewPlaces) {
    const ThemePieces defaults;
    expectWindowShows(Form2, defaults);
    expectWindowShows(Form6, defaults);
    EXPECT_EQ(Form2->size(), QSize(233, 213));
    EXPECT_EQ(Form6->size(), QSize(471, 376));
    EXPECT_TRUE(Form2->Image1->isHidden());
    EXPECT_TRUE(Form6->Image1->isHidden());
    // Buttons stay clickable above the pieces.
    EXPECT_EQ(Form2->childAt(Form2->Button1->geometry().center()), Form2->Button1);
    EXPECT_EQ(Form6->childAt(Form6->Button2->geometry().center()), Form6->Button2);
}

TEST_F(ThemeWindows, LowSheetThroughTheDialogReplacesTheLowPieces) {
    Form2->show();
    ShowCounter busy;
    Form2->Label1->installEventFilter(&busy);
    Form2->StartDir = dir_.path();
    const QImage sheet = coordinateSheet(kLowSheetSize);
    loadThrough(Form2, saveSheet("Coordinates.bmp", sheet));

    ASSERT_EQ(platform.fileDialogs.size(), 1);
    EXPECT_EQ(QDir::cleanPath(platform.fileDialogs[0].directory), QDir::cleanPath(path("ThmeBMP")));
    EXPECT_EQ(platform.fileDialogs[0].title, Form2->OpenPictureDialog1.Title);
    EXPECT_FALSE(platform.fileDialogs[0].title.isEmpty());
    EXPECT_TRUE(platform.messages.isEmpty()) << platform.messages.join('|').toStdString();
    EXPECT_EQ(busy.shows, 1);
    EXPECT_TRUE(Form2->Label1->isHidden());

    ThemePieces expected;
    expected.loadLowResolutionSheet(sheet);
    expectSamePieces(Form2->Pieces, expected, PieceResolution::Low);
    expectSamePieces(Form2->Pieces, ThemePieces(), PieceResolution::High);
    EXPECT_NE(Form2->Pieces.lowPiece(0), ThemePieces().lowPiece(0));
    expectWindowShows(Form2, expected);
    expectWindowShows(Form6, expected);
    EXPECT_EQ(Form2->Image1->picture(), sheet);
}

TEST_F(ThemeWindows, HighSheetUpdatesBothWindows) {
    Form2->StartDir = Form6->StartDir = dir_.path();
    loadThrough(Form2, saveSheet("Low.bmp", coordinateSheet(kLowSheetSize)));
    const QImage highSheet = coordinateSheet(kHighSheetSize).mirrored(true, false);
    loadThrough(Form6, saveSheet("High.bmp", highSheet));
    EXPECT_TRUE(platform.messages.isEmpty()) << platform.messages.join('|').toStdString();
    EXPECT_TRUE(Form6->Label1->isHidden());

    ThemePieces expected;
    expected.loadHighResolutionSheet(highSheet);
    expectSamePieces(Form2->Pieces, expected, PieceResolution::Low);
    expectSamePieces(Form2->Pieces, expected, PieceResolution::High);
    expectWindowShows(Form2, expected);
    expectWindowShows(Form6, expected);
}

TEST_F(ThemeWindows, SmallSheetFillsTheMissingPartWithTheTransparencyColour) {
    Form1->TransparentRed = QStringLiteral("255");
    Form1->TransparentGreen = QStringLiteral("0");
    Form1->TransparentBlue = QStringLiteral("255");
    // E0 lies at x 83 to 118: its right part is beyond a 100-pixel-wide sheet.
    platform.choiceAnswers.enqueue(0); // cut it anyway
    loadThrough(Form2, saveSheet("Small.bmp", coordinateSheet({100, 100})));
    ASSERT_TRUE(platform.messages.isEmpty()) << platform.messages.join('|').toStdString();
    const QImage e0 = Form2->Pieces.lowPiece(themePieceIndex(u"E0"));
    EXPECT_NE(e0.pixel(16, 0), qRgb(255, 0, 255));
    EXPECT_EQ(e0.pixel(17, 0), qRgb(255, 0, 255));
    EXPECT_EQ(Form2->pieceImage(themePieceIndex(u"E0"))->picture(), e0);
}

TEST_F(ThemeWindows, SheetThatCannotBeUsedIsReportedAndChangesNothing) {
    const QString line35 = Form1->Messages[vv::Message::SkinSheetUnusable];
    const QString line59 = Form1->Messages[vv::Message::FileNotOpened];
    ASSERT_FALSE(line35.isEmpty());
    ASSERT_FALSE(line59.isEmpty());
    loadThrough(Form2, saveSheet("Good.bmp", coordinateSheet(kLowSheetSize)));
    ThemePieces before;
    before.loadLowResolutionSheet(coordinateSheet(kLowSheetSize));

    ASSERT_TRUE(test::writeBytes(path("ThmeBMP/Notes.bmp"), "this is no picture"));
    QByteArray truncated = test::readBytes(path("ThmeBMP/Good.bmp"));
    truncated.chop(truncated.size() / 2);
    ASSERT_TRUE(test::writeBytes(path("ThmeBMP/Half.bmp"), truncated));

    const struct {
        const char* file;
        ThemeWindow* window;
        QString prefix;
    } cases[] = {
        {"ThmeBMP/Notes.bmp", Form2, line35 + ": "},
        {"ThmeBMP/Half.bmp", Form6, line35 + ": "},
        {"ThmeBMP/Missing.bmp", Form2, line59 + ": "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        platform.messages.clear();
        loadThrough(c.window, path(c.file));
        ASSERT_EQ(platform.messages.size(), 1);
        EXPECT_TRUE(platform.messages[0].startsWith(c.prefix)) << platform.messages[0].toStdString();
        EXPECT_GT(platform.messages[0].size(), c.prefix.size());
        EXPECT_TRUE(c.window->Label1->isHidden());
        expectSamePieces(Form2->Pieces, before, PieceResolution::Low);
        expectSamePieces(Form2->Pieces, before, PieceResolution::High);
        expectWindowShows(Form2, before);
        expectWindowShows(Form6, before);
    }
}

TEST_F(ThemeWindows, CancelledDialogChangesNothing) {
    Form6->show();
    ShowCounter busy;
    Form6->Label1->installEventFilter(&busy);
    Form6->Button1Click(); // no answer queued: cancel
    Form2->Button1Click();
    EXPECT_EQ(platform.fileDialogs.size(), 2);
    EXPECT_TRUE(platform.messages.isEmpty());
    EXPECT_EQ(busy.shows, 0);
    const ThemePieces defaults;
    expectWindowShows(Form2, defaults);
    expectWindowShows(Form6, defaults);
}

TEST_F(ThemeWindows, ViewThemePicksTheWindowForTheScreen) {
    const std::pair<int, QWidget*> cases[] = {{1, Form2}, {2, Form2}, {3, Form6}};
    for (auto [screenType, window] : cases) {
        platform.modalWindows.clear();
        Form1->ScreenType = screenType;
        Form1->Button3Click();
        EXPECT_EQ(platform.modalWindows, QList<QWidget*>{window}) << screenType;
    }
}

TEST_F(ThemeWindows, EmptyNameWritesNothing) {
    createThemeWithFakeCompiler(QString());
    EXPECT_EQ(platform.messages, QStringList{Form1->Messages[vv::Message::ThemeNeedsName]});
    EXPECT_TRUE(platform.processes.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(path("vkdm_script.rcp")));
    EXPECT_TRUE(QDir(path("ThmeRsrc")).entryList({"*.bmp"}, QDir::Files).isEmpty());
    EXPECT_TRUE(Form1->Label2->isHidden());
}

TEST_F(ThemeWindows, CreateThemeSavesAndRemovesEveryPieceOfTheScreen) {
    const QByteArray sentinel = "an older high icon, not this build's";
    Form1->show();
    const std::pair<int, bool> cases[] = {{1, false}, {2, true}};
    for (auto [screenType, highIcons] : cases) {
        SCOPED_TRACE(screenType);
        QDir(path("fake_seen")).removeRecursively();
        ASSERT_TRUE(test::writeBytes(path("ThmeRsrc/Icon04H0.bmp"), sentinel));
        Form1->ScreenType = screenType;
        busyWhileCompiling_ = false;
        platform.messages.clear();

        createThemeWithFakeCompiler(QStringLiteral("Dusk"));

        EXPECT_TRUE(platform.messages.isEmpty()) << platform.messages.join('|').toStdString();
        EXPECT_TRUE(busyWhileCompiling_);
        EXPECT_TRUE(Form1->Label2->isHidden());
        const QStringList seen = seenPieces();
        EXPECT_EQ(seen.filter(QRegularExpression("^Tbmp03..\\.bmp$")).size(), 58);
        EXPECT_EQ(seen.filter(QRegularExpression("^Tbmp04..\\.bmp$")).size(), 58);
        EXPECT_EQ(seen.filter(QRegularExpression("^Icon(03E.|13EH|23EH)\\.bmp$")).size(), 20);
        if (highIcons) {
            EXPECT_EQ(seen.filter(QRegularExpression("^Icon(04H.|14HH|24HH)\\.bmp$")).size(), 20);
            EXPECT_EQ(seen.size(), 156);
        } else {
            EXPECT_EQ(seen.size(), 136);
            EXPECT_EQ(seen.filter("Icon04H").size() + seen.filter("Icon14HH").size() +
                          seen.filter("Icon24HH").size(),
                      0);
        }
        // The build works in a folder of its own: a file in the start
        // directory's ThmeRsrc is neither seen by the compiler, written nor removed.
        EXPECT_EQ(test::readBytes(path("ThmeRsrc/Icon04H0.bmp")), sentinel);
        EXPECT_EQ(QDir(path("ThmeRsrc")).entryList({"*.bmp"}, QDir::Files), QStringList{"Icon04H0.bmp"});
        EXPECT_EQ(QDir(path("ThmeRsrc")).entryList({"*.bin"}, QDir::Files).size(), 11);
        EXPECT_FALSE(QFileInfo::exists(path("vkdm_script.rcp")));
        EXPECT_EQ(test::readBytes(path("PDBFiles/Dusk.pdb")).left(32), "Dusk" + QByteArray(28, '\0'));
        ASSERT_EQ(platform.processes.size(), 1);
        EXPECT_EQ(platform.processes[0].arguments.mid(2, 4),
                  (QStringList{"-type", "thme", "-creator", "reze"}));
        platform.processes.clear();
        QFile::remove(path("ThmeRsrc/Icon04H0.bmp"));
    }
}

TEST_F(ThemeWindows, CreateThemeBeforeAnySheetSavesTheDefaultTheme) {
    Form1->ScreenType = 1; // the fixture's settings choose no screen, which a theme build refuses
    createThemeWithFakeCompiler(QStringLiteral("Plain"));
    ASSERT_TRUE(platform.messages.isEmpty()) << platform.messages.join('|').toStdString();
    const auto& table = themePieceTable();
    for (int i = 0; i < kThemePieceCount; ++i) {
        for (PieceResolution resolution : {PieceResolution::Low, PieceResolution::High}) {
            const QString file = path("fake_seen/ThmeRsrc/" + table[i].fileBaseName(resolution) + ".bmp");
            const QImage saved(file);
            const QImage expected = drawDefaultPiece(i, resolution);
            ASSERT_FALSE(saved.isNull()) << file.toStdString();
            EXPECT_EQ(saved.depth(), expected.depth() == 8 ? 8 : 32) << file.toStdString();
            EXPECT_EQ(asRgb(saved), asRgb(expected)) << file.toStdString();
        }
    }
}

TEST_F(ThemeWindows, ScriptFollowsTheOptionsOfTheWindows) {
    const QByteArray end = " END\r\n\r\n";
    const struct {
        int screenType;
        int depth; // the one depth option on
        QString compress;
        QList<QByteArray> parts; // each must occur in the script
        int bitmapLines;
    } cases[] = {
        {1,
         8,
         "COMPRESS ",
         {"BITMAPFAMILYEX ID 1000\r\n BEGIN\r\n  BITMAP \"ThmeRsrc/Tbmp03EE.bmp\" BPP 8 DENSITY 1 COMPRESS "
          "TRANSPARENTINDEX 210\r\n" +
              end + "BITMAPFAMILYEX ID 1010\r\n",
          "ICONFAMILYEX ID 10180\r\n BEGIN\r\n  BITMAP \"ThmeRsrc/Icon13EH.bmp\" BPP 8 DENSITY 1 COMPRESS "
          "TRANSPARENTINDEX 210\r\n" +
              end,
          "DATA \"InFO\" ID 1000 \"ThmeRsrc/InFO03E8.bin\""},
         78},
        {2,
         8,
         "",
         {"BITMAPFAMILYEX ID 1000\r\n BEGIN\r\n  BITMAP \"ThmeRsrc/Tbmp03EE.bmp\" BPP 8 DENSITY 1 "
          "TRANSPARENTINDEX 210\r\n  BITMAP \"ThmeRsrc/Tbmp04EE.bmp\" BPP 8 DENSITY 2 TRANSPARENTINDEX "
          "210\r\n" +
              end,
          "ICONFAMILYEX ID 10180\r\n BEGIN\r\n  BITMAP \"ThmeRsrc/Icon13EH.bmp\" BPP 8 DENSITY 1 "
          "TRANSPARENTINDEX 210\r\n  BITMAP \"ThmeRsrc/Icon14HH.bmp\" BPP 8 DENSITY 2 TRANSPARENTINDEX "
          "210\r\n" +
              end,
          "DATA \"IdAT\" ID 1000 \"ThmeRsrc/IdATOS5.bin\""},
         156},
        {3,
         16,
         "",
         {"BITMAPFAMILYEX ID 12040\r\n BEGIN\r\n  BITMAP \"ThmeRsrc/Tbmp04F9.bmp\" BPP 16 DENSITY 1 "
          "TRANSPARENT 0 255 0\r\n" +
              end +
              "ICONFAMILYEX ID 10000\r\n BEGIN\r\n  BITMAP \"ThmeRsrc/Icon03E0.bmp\" BPP 16 DENSITY 1 "
              "TRANSPARENT 0 255 0\r\n",
          "DATA \"InFO\" ID 1000 \"ThmeRsrc/InFOSONY.bin\""},
         78},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.screenType);
        QDir(path("fake_seen")).removeRecursively();
        chooseDepths({c.depth});
        Form1->ScreenType = c.screenType;
        Form1->CompressKeyword = c.compress;
        Form1->TransparentIndex = QStringLiteral("210");
        Form1->TransparentRed = QStringLiteral("0");
        Form1->TransparentGreen = QStringLiteral("255");
        Form1->TransparentBlue = QStringLiteral("0");
        createThemeWithFakeCompiler(QStringLiteral("Options"));
        ASSERT_TRUE(platform.messages.isEmpty()) << platform.messages.join('|').toStdString();

        const QByteArray script = test::readBytes(path("fake_seen/vkdm_script.rcp"));
        EXPECT_TRUE(script.startsWith("BITMAPFAMILYEX ID 1"));
        for (const QByteArray& part : c.parts)
            EXPECT_TRUE(script.contains(part)) << part.toStdString();
        EXPECT_EQ(script.count("BITMAPFAMILYEX ID "), 58);
        EXPECT_EQ(script.count("ICONFAMILYEX ID "), 20);
        EXPECT_EQ(script.count("  BITMAP "), c.bitmapLines);
        EXPECT_TRUE(script.endsWith("\r\nVERSION ID 1000 \"1.0\""));
    }
}

// The whole road with the real compiler: the sample sheet through the dialog,
// Create Theme, and every resource of the database read back.
TEST_F(ThemeWindows, SampleSheetBuildsADatabaseWhoseBitmapsAreTheSavedPieces) {
    const QString compiler = test::binPath("vkdm_pdb");
    ASSERT_TRUE(QFileInfo(compiler).isExecutable()) << "vkdm_pdb is built with the tests";
    Form2->StartDir = dir_.path();
    loadThrough(Form2, test::dataPath("ThmeBMP/SkinSheetLow.bmp"));
    ASSERT_TRUE(platform.messages.isEmpty()) << platform.messages.join('|').toStdString();
    chooseDepths({8});
    Form1->ScreenType = 1;
    Form1->Edit1->setText(QStringLiteral("Sample Theme"));
    Form1->Button2Click();
    ASSERT_TRUE(platform.messages.isEmpty()) << platform.messages.join('|').toStdString();
    ASSERT_EQ(platform.processes.size(), 1);
    EXPECT_EQ(QFileInfo(platform.processes[0].program).canonicalFilePath(),
              QFileInfo(compiler).canonicalFilePath());

    std::string error;
    const std::optional<formats::PalmDatabase> database = formats::PalmDatabase::fromBytes(
        pdb::bytesOf(test::readBytes(path("PDBFiles/Sample Theme.pdb"))), &error);
    ASSERT_TRUE(database) << error;
    EXPECT_EQ(database->name, "Sample Theme");
    EXPECT_EQ(database->type, "thme");
    EXPECT_EQ(database->creator, "reze");

    // What Create Theme saved, by base name.
    QHash<QString, QImage> saved;
    for (const PieceFile& piece : themePieceFiles(Form2->Pieces, Form1->IconBoard, 1))
        saved.insert(QFileInfo(piece.relativePath).completeBaseName(), piece.picture);
    const auto& palette = palmSystemPalette();
    int bitmaps = 0, icons = 0;
    for (const ResourceFamily& family : themeFamilies()) {
        const bool bitmap = family.kind == FamilyKind::Bitmap;
        (bitmap ? bitmaps : icons)++;
        SCOPED_TRACE(family.lowPiece.toStdString());
        const formats::PalmResource* resource = database->find(bitmap ? "Tbmp" : "tAIB", family.id);
        ASSERT_NE(resource, nullptr);
        QString decodeError;
        const std::optional<pdb::DecodedFamily> decoded =
            pdb::BitmapDecoder::decodeFamily(resource->bytes, &decodeError);
        ASSERT_TRUE(decoded) << decodeError.toStdString();
        ASSERT_EQ(decoded->members.size(), 1);
        const pdb::DecodedBitmap& member = decoded->members[0];
        EXPECT_EQ(member.depth, 8);
        const QImage piece = saved.value(family.lowPiece);
        ASSERT_EQ(member.image.size(), piece.size());
        int wrong = 0;
        for (int y = 0; y < piece.height(); ++y)
            for (int x = 0; x < piece.width(); ++x)
                wrong += member.image.pixel(x, y) != palette[formats::nearestPaletteIndex(piece.pixel(x, y))];
        EXPECT_EQ(wrong, 0);
    }
    EXPECT_EQ(bitmaps, 58);
    EXPECT_EQ(icons, 20);
    // Besides the families: code 1, data 0, IdAT, InFO, code 0, tAIN and the version.
    EXPECT_EQ(database->resources.size(), 58 + 20 + 7);
}

} // namespace

// A compiler that hangs: the window keeps painting with its busy label shown,
// and Escape, or closing a window, cancels the build, stops the compiler and
// leaves nothing behind.
TEST_F(ThemeWindows, AHangingCompilerCanBeCancelledFromTheWindow) {
    struct Case {
        const char* label;
        std::function<void()> cancel;
    };
    const QList<Case> cases{
        {"Escape",
         [] {
             QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
             QCoreApplication::sendEvent(Form1, &press);
         }},
        {"closing a window",
         [] {
             Form3->show();
             Form3->close();
         }},
    };
    ASSERT_TRUE(test::writeBytes(path("fake_vkdm_pdb.mode"), "hang"));
    Form1->ScreenType = 1;
    platform.onRun = [](const test::ProcessCall& call) {
        return runProgramAndWait(test::binPath("fake_vkdm_pdb"), call.arguments, call.workingDirectory,
                                 call.limits);
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        platform.messages.clear();
        bool busyShown = false;
        bool painted = false;
        QTimer::singleShot(400, [&] {
            busyShown = !Form1->Label2->isHidden();
            painted = !Form1->grab().isNull();
            c.cancel();
        });
        QElapsedTimer clock;
        clock.start();
        Form1->Edit1->setText("Stuck");
        Form1->Button2Click();

        EXPECT_LT(clock.elapsed(), 10000);
        EXPECT_TRUE(busyShown);
        EXPECT_TRUE(painted);
        EXPECT_TRUE(Form1->Label2->isHidden());
        ASSERT_EQ(platform.messages.size(), 1);
        EXPECT_TRUE(platform.messages[0].startsWith("The build was cancelled"))
            << platform.messages[0].toStdString();
        EXPECT_FALSE(QFileInfo::exists(path("PDBFiles/Stuck.pdb")));
        EXPECT_FALSE(QFileInfo::exists(path("vkdm_script.rcp")));
        EXPECT_TRUE(QDir(path("ThmeRsrc")).entryList({"*.bmp"}, QDir::Files).isEmpty());
    }
}
