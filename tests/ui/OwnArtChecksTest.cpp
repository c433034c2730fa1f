// What the windows ask before they act on something that would not give the
// user what they meant: an OS5 build whose own art is only at low resolution,
// a sheet of another size than the window's; and what they report after: the
// built database with its size, a database that is not there to install.
#include "app/CheckTexts.h"
#include "compiler/BitmapFamilyEncoder.h"
#include "compiler/QtBytes.h"
#include "formats/PalmDatabase.h"
#include "theme/ThemeBuildPlan.h"
#include "theme/ThemeFamilies.h"
#include "theme/ThemePieces.h"
#include "ui/BuildInputs.h"
#include "ui/DatabaseOpening.h"
#include "ui/TForm2.h"
#include "ui/TForm6.h"
#include "ui/TForm7.h"
#include "ui/WorkHistory.h"

#include "ShippedLanguages.h"
#include "support/StartedWindows.h"
#include "support/TestFiles.h"
#include "support/TestPictures.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QMouseEvent>

using namespace vv;

namespace {

QImage gradientSheet(QSize size) {
    return test::coordinateSheet(size, [](int x, int y) { return qRgb(x & 0xFF, y & 0xFF, (x + y) & 0x7F); });
}

// A theme whose every family holds one plain 16 bpp picture, at both
// densities or at density 1 only.
QByteArray plainTheme(bool withHigh) {
    vv::formats::PalmDatabase db;
    db.name = "Opened";
    db.type = "thme";
    db.creator = "reze";
    const pdb::BitmapFamilyEncoder encoder;
    auto family = [&](QSize low, QSize high) {
        std::vector<pdb::FamilyMember> members{
            {test::filled(low, qRgb(40, 80, 120)), 16, false, false, {}, {}}};
        if (withHigh)
            members.push_back({test::filled(high, qRgb(120, 80, 40)), 16, true, false, {}, {}});
        std::string error;
        return encoder.encode(members, &error).value_or(std::string());
    };
    for (const ThemeBitmapFamily& f : themeBitmapFamilies())
        db.resources.push_back({"Tbmp", quint16(f.id), family(f.piece().lowSize(), f.piece().highSize())});
    for (const IconSlot& slot : iconSlots())
        if (slot.use == BuildKind::Theme)
            db.resources.push_back({"tAIB", quint16(slot.familyId), family(kLowIconSize, kHighIconSize)});
    return pdb::qtBytes(db.toBytes());
}

class OwnArtChecks : public test::StartedWindows {
protected:
    OwnArtChecks() : StartedWindows(QStringLiteral("ThmeBMP"), QStringLiteral("ThmeRsrc")) {}

    void SetUp() override {
        StartedWindows::SetUp();
        QDir(path(".")).mkpath("IconRsrc");
        QDir(path(".")).mkpath("IconBMP");
        QFile::copy(test::binPath("fake_vkdm_pdb"), path("vkdm_pdb"));
        platform.onRun = [](const test::ProcessCall& call) { return runFakeCompiler(call); };
        Form1->ScreenType = 2;
        chooseDepths({8, 16});
        Form2->StartDir = Form6->StartDir = dir_.path();
    }

    QString saveSheet(const QString& name, const QImage& sheet) {
        const QString file = path(name);
        EXPECT_TRUE(sheet.save(file, "BMP"));
        return file;
    }

    void loadSkin(ThemeWindow* window, const QImage& sheet) {
        platform.fileAnswers.enqueue(saveSheet("ThmeBMP/Sheet.bmp", sheet));
        window->Button1Click();
    }

    void loadIcons(QWidget* window, const QImage& sheet) {
        platform.fileAnswers.enqueue(saveSheet("IconBMP/Sheet.bmp", sheet));
        if (window == Form1)
            Form1->SpeedButton2Click();
        else
            Form7->SpeedButton2Click();
    }

    QImage seenPiece(const QString& relative) const { return QImage(path("fake_seen/" + relative)); }

    // The result shown in a busy label's place, if one is showing.
    QLabel* resultLabel() const {
        for (QLabel* label : Form1->findChildren<QLabel*>(QStringLiteral("BuildResult")))
            if (!label->isHidden())
                return label;
        return nullptr;
    }
};

TEST_F(OwnArtChecks, Os5ThemeWithALowSheetAsksOnceAndFollowsTheAnswer) {
    loadSkin(Form2, gradientSheet(kLowSheetSize));
    ASSERT_TRUE(platform.questions.isEmpty());
    const ThemePieces defaults;
    const int e0 = themePieceIndex(u"E0");
    const QImage ownLow = Form2->Pieces.lowPiece(e0).convertToFormat(QImage::Format_RGB32);

    const struct {
        const char* what;
        std::optional<int> answer;
        bool built;
        bool doubled;
    } cases[] = {
        {"double", 0, true, true},
        {"as it is", 1, true, false},
        {"cancel", 2, false, false},
        {"closed", std::nullopt, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QDir(path("fake_seen")).removeRecursively();
        QFile::remove(path("PDBFiles/Dusk.pdb"));
        platform.questions.clear();
        platform.questionAnswers.clear();
        platform.processes.clear();
        if (c.answer)
            platform.choiceAnswers.enqueue(*c.answer);
        Form1->Edit1->setText("Dusk");
        Form1->Button2Click();

        ASSERT_EQ(platform.questions.size(), 1);
        EXPECT_EQ(platform.questions[0],
                  checktexts::builtIn(Message::LowArtOnlyQuestion).arg(kThemePieceCount));
        EXPECT_EQ(platform.questionAnswers[0], (QStringList{checktexts::builtIn(Message::DoubleAnswer),
                                                            checktexts::builtIn(Message::AsItIsAnswer),
                                                            checktexts::builtIn(Message::CancelAnswer)}));
        EXPECT_TRUE(platform.messages.isEmpty()) << platform.messages.join('|').toStdString();
        EXPECT_EQ(platform.processes.size(), c.built ? 1 : 0);
        EXPECT_EQ(QFileInfo::exists(path("PDBFiles/Dusk.pdb")), c.built);
        EXPECT_FALSE(QFileInfo::exists(path("vkdm_script.rcp")));
        EXPECT_TRUE(QDir(path("ThmeRsrc")).entryList({"*.bmp"}, QDir::Files).isEmpty());
        if (c.built) {
            const QImage high = seenPiece("ThmeRsrc/Tbmp04E0.bmp").convertToFormat(QImage::Format_RGB32);
            ASSERT_EQ(high.size(), defaults.highPiece(e0).size());
            if (c.doubled) {
                EXPECT_EQ(high.pixel(7, 5), ownLow.pixel(3, 2));
                EXPECT_EQ(high.pixel(6, 4), ownLow.pixel(3, 2));
            } else {
                EXPECT_EQ(high, defaults.highPiece(e0).convertToFormat(QImage::Format_RGB32));
            }
        }
        // The windows keep what they had.
        EXPECT_EQ(Form2->Pieces.highPiece(e0), defaults.highPiece(e0));
        EXPECT_EQ(Form6->pieceImage(e0)->picture(), defaults.highPiece(e0));
    }
}

TEST_F(OwnArtChecks, NoQuestionWithoutMixedPairsOrOffTheOs5Screen) {
    const struct {
        const char* what;
        int screenType;
        bool lowSheet;
        bool highSheet;
    } cases[] = {
        {"defaults on OS5", 2, false, false},
        {"high sheet on OS5", 2, false, true},
        {"low sheet on the low screen", 1, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Form2->Pieces = ThemePieces();
        if (c.highSheet)
            loadSkin(Form6, gradientSheet(kHighSheetSize));
        if (c.lowSheet)
            loadSkin(Form2, gradientSheet(kLowSheetSize));
        Form1->ScreenType = c.screenType;
        platform.processes.clear();
        Form1->Edit1->setText("Plain");
        Form1->Button2Click();
        EXPECT_TRUE(platform.questions.isEmpty());
        EXPECT_EQ(platform.processes.size(), 1);
    }
}

// A database's pictures are its own art whatever they look like: a cell
// picked over one of them is asked about, one undone is not, and a database
// without high pictures leaves every pair asked about.
TEST_F(OwnArtChecks, AfterOpeningADatabaseTheQuestionFollowsWhereThePicturesCameFrom) {
    const int thirdThemeIcon = kIconSetSlotCount + 2;
    const struct {
        const char* what;
        bool withHigh;
        bool pick;
        bool undoPick;
        bool redoPick;
        int asked; // pairs asked about; 0: no question
    } cases[] = {
        {"a database with both pictures", true, false, false, false, 0},
        {"a cell picked over it", true, true, false, false, 1},
        {"the pick undone", true, true, true, false, 0},
        {"the pick undone and done again", true, true, true, true, 1},
        {"a database without high pictures", false, false, false, false,
         kThemePieceCount + kThemeIconSlotCount},
    };
    loadIcons(Form1, gradientSheet(mainIconGrid().fullSheetSize()));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ui::startAfresh();
        const QString file = path(c.withHigh ? "PDBFiles/Both.pdb" : "PDBFiles/LowOnly.pdb");
        ASSERT_TRUE(test::writeBytes(file, plainTheme(c.withHigh)));
        ASSERT_TRUE(ui::openDatabaseFile(file));
        if (c.pick) {
            Form1->PaintBoxClick(3);
            Form1->IconSlotClick(thirdThemeIcon);
        }
        if (c.undoPick)
            ui::editHistory().undo();
        if (c.redoPick)
            ui::editHistory().redo();
        platform.questions.clear();
        platform.processes.clear();
        platform.choiceAnswers.enqueue(2); // Cancel, where asked
        Form1->Button2Click();
        if (c.asked == 0) {
            EXPECT_TRUE(platform.questions.isEmpty()) << platform.questions.join('|').toStdString();
            EXPECT_EQ(platform.processes.size(), 1);
            platform.choiceAnswers.clear();
            continue;
        }
        ASSERT_EQ(platform.questions.size(), 1);
        EXPECT_EQ(platform.questions[0], c.asked == 1
                                             ? checktexts::builtIn(Message::LowArtOnlyQuestionOne)
                                             : checktexts::builtIn(Message::LowArtOnlyQuestion).arg(c.asked));
        EXPECT_TRUE(platform.processes.isEmpty());
    }
}

TEST_F(OwnArtChecks, IconSetPicksOnTheMainWindowAreCountedOnOs5) {
    loadIcons(Form1, gradientSheet(mainIconGrid().fullSheetSize()));
    Form1->PaintBoxClick(3);
    for (int slot : {0, 1, 2})
        Form1->IconSlotClick(slot);
    // A pick on the OS5 window fills both pictures of its pair.
    loadIcons(Form7, gradientSheet(os5IconGrid().fullSheetSize()));
    Form7->PaintBoxClick(4);
    Form7->IconSlotClick(2);
    ASSERT_TRUE(platform.questions.isEmpty());
    platform.choiceAnswers.enqueue(0);
    Form1->Edit1->setText("Tiles");
    Form1->SpeedButton1Click();
    ASSERT_EQ(platform.questions.size(), 1);
    EXPECT_EQ(platform.questions[0], checktexts::builtIn(Message::LowArtOnlyQuestion).arg(2));
    ASSERT_EQ(platform.processes.size(), 1);
    const QImage low =
        Form1->IconBoard.slotPicture(IconWindow::Main, 1).convertToFormat(QImage::Format_RGB32);
    const QImage high = seenPiece("IconRsrc/Icon04H2.bmp").convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(high.size(), kHighIconSize);
    for (QPoint p : {QPoint(0, 0), QPoint(9, 13), QPoint(63, 43)})
        EXPECT_EQ(high.pixel(p), low.pixel(p.x() / 2, p.y() / 2)) << p.x() << "," << p.y();
    EXPECT_EQ(Form1->IconBoard.slotPicture(IconWindow::Os5, 1),
              Form1->IconBoard.holderPicture(IconWindow::Os5, QLatin1String(iconSlots()[1].os5Holder)));
}

// One picture is asked about in the singular, more in the plural, in every
// shipped language; a closed question builds nothing.
TEST_F(OwnArtChecks, TheQuestionCountsThePicturesInEveryLanguage) {
    for (const QString& file : test::shippedLanguageFiles()) {
        SCOPED_TRACE(QFileInfo(file).fileName().toStdString());
        ApplyLanguage(file);
        const std::optional<LanguageTexts> lines = readLanguageFile(file);
        ASSERT_TRUE(lines);
        const QString one = (*lines)[languageLineOf(Message::LowArtOnlyQuestionOne) - 1];
        const QString many = (*lines)[languageLineOf(Message::LowArtOnlyQuestion) - 1];
        EXPECT_NE(one, many);
        for (const int count : {1, 2, 12}) {
            platform.questions.clear();
            QList<PieceFile> pieces;
            const QList<DensityPair> pairs(count);
            EXPECT_FALSE(ui::settleLowArtOnly(pieces, pairs));
            ASSERT_EQ(platform.questions.size(), 1);
            EXPECT_EQ(platform.questions[0], count == 1 ? one : many.arg(count));
        }
    }
}

TEST_F(OwnArtChecks, SheetsOfAnotherSizeAreCutOnlyWhenTheUserSaysSo) {
    const QString yesNo =
        QStringList{checktexts::builtIn(Message::YesAnswer), checktexts::builtIn(Message::NoAnswer)}.join(
            '|');
    const struct {
        const char* what;
        QWidget* window;
        QSize sheet;
        QSize expected;
    } cases[] = {
        {"low theme window", Form2, {100, 100}, kLowSheetSize},
        {"high theme window", Form6, kLowSheetSize, kHighSheetSize},
        {"main icon window", Form1, {577, 449}, mainIconGrid().fullSheetSize()},
        {"OS5 icon window", Form7, mainIconGrid().fullSheetSize(), os5IconGrid().fullSheetSize()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (int answer : {1, 0}) {
            platform.questions.clear();
            platform.questionAnswers.clear();
            platform.choiceAnswers.enqueue(answer);
            Form2->Pieces = ThemePieces();
            const QImage sheet = gradientSheet(c.sheet);
            auto* theme = qobject_cast<ThemeWindow*>(c.window);
            const QImage iconSheetBefore =
                Form1->IconBoard.sheet(c.window == Form7 ? IconWindow::Os5 : IconWindow::Main);
            if (theme)
                loadSkin(theme, sheet);
            else
                loadIcons(c.window, sheet);
            ASSERT_EQ(platform.questions.size(), 1);
            EXPECT_EQ(platform.questions[0], checktexts::builtIn(Message::SheetSizeQuestion)
                                                 .arg(c.sheet.width())
                                                 .arg(c.sheet.height())
                                                 .arg(c.expected.width())
                                                 .arg(c.expected.height()));
            EXPECT_EQ(platform.questionAnswers[0].join('|'), yesNo);
            const bool cut = answer == 0;
            if (theme) {
                ThemePieces expected;
                if (cut)
                    expected.loadSheet(sheet, theme->resolution(), ui::outsideSheetColour());
                for (int i = 0; i < kThemePieceCount; ++i) {
                    ASSERT_EQ(Form2->Pieces.lowPiece(i), expected.lowPiece(i)) << i;
                    ASSERT_EQ(Form2->Pieces.highPiece(i), expected.highPiece(i)) << i;
                }
            } else {
                const QImage now =
                    Form1->IconBoard.sheet(c.window == Form7 ? IconWindow::Os5 : IconWindow::Main);
                EXPECT_EQ(now, cut ? sheet : iconSheetBefore);
            }
        }
    }
    // Sheets of the expected size are taken without a question.
    platform.questions.clear();
    loadSkin(Form2, gradientSheet(kLowSheetSize));
    loadSkin(Form6, gradientSheet(kHighSheetSize));
    loadIcons(Form1, gradientSheet(mainIconGrid().fullSheetSize()));
    loadIcons(Form7, gradientSheet(os5IconGrid().fullSheetSize()));
    EXPECT_TRUE(platform.questions.isEmpty());
}

TEST_F(OwnArtChecks, AHighSheetOnTheLowWindowMayBeCutAsOne) {
    const QImage sheet = gradientSheet(kHighSheetSize);
    const struct {
        const char* what;
        std::optional<int> answer;
        std::optional<PieceResolution> cutAs;
    } cases[] = {
        {"both sets", 0, PieceResolution::High},
        {"cut anyway", 1, PieceResolution::Low},
        {"no", 2, std::nullopt},
        {"closed", std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        platform.questions.clear();
        platform.questionAnswers.clear();
        if (c.answer)
            platform.choiceAnswers.enqueue(*c.answer);
        Form2->Pieces = ThemePieces();
        loadSkin(Form2, sheet);
        ASSERT_EQ(platform.questions.size(), 1);
        EXPECT_EQ(platform.questions[0],
                  checktexts::builtIn(Message::HighSheetQuestion).arg(460).arg(670).arg(230).arg(335));
        EXPECT_EQ(platform.questionAnswers[0], (QStringList{checktexts::builtIn(Message::BothSetsAnswer),
                                                            checktexts::builtIn(Message::CutAnywayAnswer),
                                                            checktexts::builtIn(Message::NoAnswer)}));
        ThemePieces expected;
        if (c.cutAs)
            expected.loadSheet(sheet, *c.cutAs, ui::outsideSheetColour());
        for (int i = 0; i < kThemePieceCount; ++i) {
            ASSERT_EQ(Form2->Pieces.lowPiece(i), expected.lowPiece(i)) << i;
            ASSERT_EQ(Form2->Pieces.highPiece(i), expected.highPiece(i)) << i;
            ASSERT_EQ(Form6->pieceImage(i)->picture(), expected.highPiece(i)) << i;
        }
    }
}

TEST_F(OwnArtChecks, ACleanBuildShowsTheDatabaseAndItsSizeUntilTheNextAction) {
    Form1->ScreenType = 1;
    Form1->show();
    Form1->Edit1->setText("Sunset");
    Form1->Button2Click();
    ASSERT_TRUE(platform.messages.isEmpty()) << platform.messages.join('|').toStdString();
    QLabel* result = resultLabel();
    ASSERT_NE(result, nullptr);
    const qint64 bytes = QFileInfo(path("PDBFiles/Sunset.pdb")).size();
    ASSERT_GT(bytes, 0);
    EXPECT_EQ(result->text(), QStringLiteral("PDBFiles/Sunset.pdb, %1 KB").arg((bytes + 1023) / 1024));
    EXPECT_TRUE(result->isVisible());
    // In the name row, not over the theme icons the build just used.
    EXPECT_EQ(result->geometry(), Form1->Edit1->geometry().united(Form1->Button8->geometry()));
    EXPECT_TRUE(Form1->Label2->isHidden());

    QMouseEvent press(QEvent::MouseButtonPress, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(Form1->Edit1, &press);
    EXPECT_EQ(resultLabel(), nullptr);

    // A failed build reports its failure and no result.
    ASSERT_TRUE(test::writeBytes(path("fake_vkdm_pdb.mode"), "fail"));
    Form1->Button2Click();
    EXPECT_EQ(platform.messages.size(), 1);
    EXPECT_EQ(resultLabel(), nullptr);

    // The icon set's result stands there too.
    QFile::remove(path("fake_vkdm_pdb.mode"));
    loadIcons(Form1, gradientSheet(mainIconGrid().fullSheetSize()));
    Form1->Edit1->setText("Tiles");
    Form1->SpeedButton1Click();
    ASSERT_NE(resultLabel(), nullptr);
    EXPECT_TRUE(resultLabel()->text().startsWith("PDBFiles/Tiles.pdb, "));
    EXPECT_EQ(resultLabel()->geometry(), Form1->Edit1->geometry().united(Form1->Button8->geometry()));
}

TEST_F(OwnArtChecks, InstallRefusesADatabaseThatIsNotThere) {
    Form1->Edit1->setText("Nowhere");
    Form3->Edit1->setText("/usr/bin/true");
    Form1->Button8->click();
    EXPECT_TRUE(platform.processes.isEmpty());
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_EQ(platform.messages[0], checktexts::builtIn(Message::InstallDatabaseMissing)
                                        .arg(QDir::toNativeSeparators(path("PDBFiles/Nowhere.pdb"))));
}

} // namespace
