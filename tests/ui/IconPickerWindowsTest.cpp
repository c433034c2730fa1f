// The icon pickers of the main window and the OS5 window driven headless:
// controls made from the tables, clicks through mouse events, Show Icons,
// Reset Data, sheet loading, the icon set build against the fake compiler and
// the real one, and Install on PDA.
#include "app/SettingsFile.h"
#include "common/Palette.h"
#include "compiler/BitmapDecoder.h"
#include "formats/PalmDatabase.h"
#include "icons/IconSlots.h"
#include "ui/IconPickerView.h"
#include "ui/SettingsAndLanguage.h"
#include "ui/TForm1.h"
#include "ui/TForm3.h"
#include "ui/TForm7.h"
#include "ui/TPaintBox.h"

#include "support/RecordingDialogs.h"
#include "support/TestFiles.h"

#include "support/StartedWindows.h"
#include "support/TestPictures.h"
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMouseEvent>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Readable failure output for texts.
void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

using namespace vv;

namespace {

using test::coordinateSheet;

// A left click as the user makes it, through the control's own mouse handling.
void click(QWidget* control) {
    ASSERT_NE(control, nullptr);
    const QPointF at = QRectF(control->rect()).center();
    QMouseEvent press(QEvent::MouseButtonPress, at, control->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, control->mapToGlobal(at), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(control, &press);
    QApplication::sendEvent(control, &release);
}

QImage shown(QWidget* window, const char* name) {
    const auto* image = window->findChild<TImage*>(QLatin1String(name));
    EXPECT_NE(image, nullptr) << name;
    return image ? image->picture() : QImage();
}

class IconPickerWindows : public test::StartedWindows {
protected:
    IconPickerWindows() : StartedWindows(QStringLiteral("IconBMP"), QStringLiteral("IconRsrc")) {}

    // Loads `sheet` through the window's load button, answering the dialog.
    void loadSheet(TButton* loadButton, const QImage& sheet, const QString& name = "sheet.bmp") {
        ASSERT_TRUE(sheet.save(path("IconBMP/" + name), "BMP"));
        platform.fileAnswers.enqueue(path("IconBMP/" + name));
        loadButton->click();
    }

    // The icon set build with the fake compiler standing in for vkdm_pdb; it
    // keeps copies of the script and of every piece in fake_seen/. Records
    // whether the busy label was showing while the compiler ran.
    void buildIconSetWithFakeCompiler(const QString& name) {
        platform.onRun = [this](const test::ProcessCall& call) {
            busyWhileCompiling_ = !Form1->Label3->isHidden();
            QProcess process;
            process.setWorkingDirectory(call.workingDirectory);
            process.start(test::binPath("fake_vkdm_pdb"), call.arguments);
            process.waitForFinished(-1);
            ProcessOutcome outcome;
            outcome.status = ProcessOutcome::Status::Finished;
            outcome.exitCode = process.exitCode();
            return outcome;
        };
        Form1->Edit1->setText(name);
        Form1->SpeedButton1->click();
    }

    QStringList filesIn(const QString& folder, const QString& pattern = "*.bmp") const {
        QStringList names = QDir(path(folder)).entryList({pattern}, QDir::Files);
        names.sort();
        return names;
    }

    bool busyWhileCompiling_ = false;
};

TEST_F(IconPickerWindows, ControlsStandWhereTheTablesPutThemWithTheirFactoryPictures) {
    EXPECT_EQ(Form1->height(), 156);
    EXPECT_EQ(Form7->height(), 163);
    struct Placed {
        QWidget* window;
        const char* name;
        QRect geometry;
    };
    const Placed placed[] = {
        {Form1, "Image253", {8, 152, 577, 449}},    {Form1, "PaintBox1", {8, 158, 36, 26}},
        {Form1, "Bevel13", {8, 158, 36, 26}},       {Form1, "PaintBox69", {152, 158, 36, 26}},
        {Form1, "PaintBox272", {548, 574, 36, 26}}, {Form1, "Bevel284", {548, 574, 36, 26}},
        {Form1, "LowSnap", {549, 63, 32, 22}},      {Form7, "Image31", {1, 163, 723, 481}},
        {Form7, "PaintBox1", {4, 176, 70, 52}},     {Form7, "Bevel5", {4, 176, 70, 52}},
        {Form7, "PaintBox90", {652, 592, 70, 52}},  {Form7, "Bevel94", {652, 592, 70, 52}},
        {Form7, "HighSnap", {658, 94, 64, 44}},
    };
    for (const Placed& p : placed) {
        const QWidget* control = p.window->findChild<QWidget*>(QLatin1String(p.name));
        ASSERT_NE(control, nullptr) << p.name;
        EXPECT_EQ(control->geometry(), p.geometry) << p.name;
    }
    EXPECT_EQ(Form1->findChild<TPaintBox*>("PaintBox273"), nullptr);
    EXPECT_EQ(Form7->findChild<TPaintBox*>("PaintBox91"), nullptr);

    for (const IconSlot& slot : iconSlots()) {
        SCOPED_TRACE(slot.mainName);
        const auto* low = Form1->findChild<TImage*>(QLatin1String(slot.mainName));
        const auto* high = Form7->findChild<TImage*>(QLatin1String(slot.os5Name));
        ASSERT_TRUE(low && high);
        EXPECT_EQ(low->geometry(), QRect(slot.mainPos, kLowIconSize));
        EXPECT_EQ(high->geometry(), QRect(slot.os5Pos, kHighIconSize));
        EXPECT_EQ(low->picture(), shown(Form1, slot.mainHolder));
        EXPECT_EQ(high->picture(), shown(Form7, slot.os5Holder));
        EXPECT_EQ(low->picture().size(), kLowIconSize);
        EXPECT_TRUE(Form1->IconPicker->holderImage(slot.mainHolder)->isHidden());
        EXPECT_TRUE(Form7->IconPicker->holderImage(slot.os5Holder)->isHidden());
    }
    EXPECT_EQ(Form1->LowSnap->picture(), shown(Form1, "Image47"));
    EXPECT_EQ(Form7->HighSnap->picture(), shown(Form7, "Image56"));
}

TEST_F(IconPickerWindows, ACellGoesIntoEverySlotClickedAfterIt) {
    const QImage sheet = coordinateSheet({579, 450});
    loadSheet(Form1->SpeedButton2, sheet);
    ASSERT_EQ(platform.fileDialogs.size(), 1);
    EXPECT_EQ(platform.fileDialogs[0].directory, dir_.path() + "/IconBMP");
    EXPECT_EQ(platform.fileDialogs[0].title, Form1->OpenPictureDialog1.Title);
    EXPECT_EQ(Form1->Image253->picture(), sheet);
    const QImage os5Before = shown(Form7, "Image1");

    click(Form1->IconPicker->cellTarget(69));
    EXPECT_EQ(Form1->SelectedCell, 69);
    for (const char* slot : {"Image241", "Image6", "Image43"}) {
        click(Form1->findChild<TImage*>(QLatin1String(slot)));
        EXPECT_EQ(shown(Form1, slot), sheet.copy(147, 8, 32, 22)) << slot;
    }
    EXPECT_EQ(Form1->CellX, 144);
    EXPECT_EQ(Form1->CellY, 0);
    EXPECT_EQ(Form1->SelectedCell, 69);
    // A pick on the main window never reaches the OS5 window.
    EXPECT_EQ(shown(Form7, "Image1"), os5Before);
    EXPECT_EQ(Form1->IconBoard.slotPicture(IconWindow::Os5, 0), os5Before);
}

TEST_F(IconPickerWindows, WithoutACellASlotTakesTheSnapshotPicture) {
    for (TImage* snapshotSource : {Form1->LowSnap, Form1->DeskShot}) {
        SCOPED_TRACE(snapshotSource->objectName().toStdString());
        loadSheet(Form1->SpeedButton2, coordinateSheet({579, 450}));
        click(Form1->IconPicker->cellTarget(5));
        ASSERT_EQ(Form1->SelectedCell, 5);
        // A snapshot taken meanwhile; the control shows it through the guard.
        Form1->IconBoard.writeSnapshot(IconWindow::Main,
                                       [](QImage& picture) { picture.fill(qRgb(200, 10, 30)); });
        Form1->IconPicker->showSnapshot();

        click(snapshotSource);
        EXPECT_EQ(Form1->SelectedCell, 0);
        click(Form1->findChild<TImage*>("Image7"));
        EXPECT_EQ(shown(Form1, "Image7"), Form1->LowSnap->picture());
        EXPECT_EQ(shown(Form1, "Image7").pixel(0, 0), qRgb(200, 10, 30));
        Form1->Button6->click();
    }
}

// What the next slot click copies is on screen: the chosen cell outlined in a
// colour that stands out on it, else the snapshot's frame, on both windows.
TEST_F(IconPickerWindows, TheChosenCellOrSnapshotIsMarked) {
    for (TForm7* os5 : {static_cast<TForm7*>(nullptr), Form7}) {
        ui::IconPickerView* view = os5 ? os5->IconPicker : Form1->IconPicker;
        SCOPED_TRACE(os5 ? "OS5 window" : "main window");
        const QString frameAtStart = view->snapshotFrame()->styleSheet();
        EXPECT_FALSE(view->chosenCellMarker()->isVisibleTo(view->chosenCellMarker()->parentWidget()));

        QImage sheet(view->grid().fullSheetSize(), QImage::Format_RGB32);
        sheet.fill(Qt::white);
        loadSheet(os5 ? os5->SpeedButton2 : Form1->SpeedButton2, sheet);
        click(view->cellTarget(3));
        QFrame* marker = view->chosenCellMarker();
        EXPECT_TRUE(marker->isVisibleTo(marker->parentWidget()));
        EXPECT_EQ(marker->geometry(), view->grid().clickTarget(3));
        EXPECT_TRUE(marker->styleSheet().contains(QColor(160, 0, 0).name())) << "dark red on white art";
        EXPECT_NE(view->snapshotFrame()->styleSheet(), frameAtStart)
            << "the snapshot is no longer the source";

        click(view->snapshotImage());
        EXPECT_FALSE(marker->isVisibleTo(marker->parentWidget()));
        EXPECT_EQ(view->snapshotFrame()->styleSheet(), frameAtStart);
    }
}

TEST_F(IconPickerWindows, ResetDataRestoresPicturesAndEmptiesTheNameButKeepsTheCell) {
    const QImage sheet = coordinateSheet({579, 450});
    loadSheet(Form1->SpeedButton2, sheet);
    click(Form1->IconPicker->cellTarget(5));
    click(Form1->findChild<TImage*>("Image241"));
    click(Form1->findChild<TImage*>("Image44"));
    Form1->IconBoard.writeSnapshot(IconWindow::Main, [](QImage& picture) { picture.fill(Qt::red); });
    Form1->IconPicker->showSnapshot();
    Form1->Edit1->setText(QStringLiteral("Sunset"));

    platform.choiceAnswers.enqueue(0); // Yes
    Form1->Button6->click();
    EXPECT_EQ(platform.questions, QStringList{"Reset 2 picked icons to the built-in ones?"});
    EXPECT_EQ(shown(Form1, "Image241"), shown(Form1, "Image24"));
    EXPECT_EQ(shown(Form1, "Image44"), shown(Form1, "Image45"));
    EXPECT_EQ(Form1->LowSnap->picture(), shown(Form1, "Image47"));
    EXPECT_EQ(Form1->Edit1->text(), QString());
    EXPECT_EQ(Form1->Image253->picture(), sheet);
    EXPECT_EQ(Form1->SelectedCell, 5);
    click(Form1->findChild<TImage*>("Image242"));
    EXPECT_EQ(shown(Form1, "Image242"), sheet.copy(3, 34, 32, 22));
}

TEST_F(IconPickerWindows, ShowIconsOpensAndClosesTheSheetArea) {
    struct Case {
        QWidget* window;
        TButton* button;
        TImage* sheet;
        int shortClient, tallClient;
    };
    // Outer heights 180/630 and 187/670, less the frame the design had.
    for (const Case& c : {Case{Form1, Form1->Button5, Form1->Image253, 156, 606},
                          Case{Form7, Form7->Button5, Form7->Image31, 163, 646}}) {
        SCOPED_TRACE(c.window->objectName().toStdString());
        c.button->click();
        EXPECT_EQ(c.button->Tag, 1);
        EXPECT_EQ(c.button->text(), Form1->HideIconsCaption);
        EXPECT_EQ(c.window->height(), c.tallClient);
        EXPECT_LE(c.sheet->geometry().bottom(), c.window->height()); // the whole sheet shows
        c.button->click();
        EXPECT_EQ(c.button->Tag, 0);
        EXPECT_EQ(c.button->text(), Form1->ShowIconsCaption);
        EXPECT_EQ(c.window->height(), c.shortClient);
    }
}

TEST_F(IconPickerWindows, AnOs5PickAlsoSetsThePartnerOnTheMainWindowAndItsResetLeavesThatAlone) {
    const QImage sheet = coordinateSheet({726, 484});
    loadSheet(Form7->SpeedButton2, sheet, "os5.bmp");
    EXPECT_EQ(platform.fileDialogs.last().directory, dir_.path() + "/IconBMP");
    EXPECT_EQ(Form7->Image31->picture(), sheet);
    const QImage mainBefore = shown(Form1, "Image241");

    click(Form7->IconPicker->cellTarget(11));
    EXPECT_EQ(Form7->SelectedCell, 11);
    click(Form7->findChild<TImage*>("Image1"));
    EXPECT_EQ(shown(Form7, "Image1"), sheet.copy(6, 68, 64, 44));
    EXPECT_EQ(Form7->CellY, 52);
    const QImage half = shown(Form1, "Image241");
    EXPECT_NE(half, mainBefore);
    EXPECT_EQ(half, Form1->IconBoard.slotPicture(IconWindow::Main, 0));
    EXPECT_EQ(half.size(), kLowIconSize);
    EXPECT_EQ(Form1->SelectedCell, 0); // the main window's cell is not touched

    // With no cell: HighSnap into the slot, its half into the partner.
    Form1->IconBoard.writeSnapshot(IconWindow::Os5, [](QImage& picture) { picture.fill(qRgb(0, 0, 200)); });
    click(Form7->HighSnap);
    EXPECT_EQ(Form7->SelectedCell, 0);
    click(Form7->findChild<TImage*>("Image13"));
    EXPECT_EQ(shown(Form7, "Image13").pixel(10, 10), qRgb(0, 0, 200));
    EXPECT_EQ(shown(Form1, "Image6").pixel(5, 5), qRgb(0, 0, 200));

    Form1->Edit1->setText(QStringLiteral("Kept"));
    platform.choiceAnswers.enqueue(0); // Yes
    Form7->Button6->click();
    EXPECT_EQ(platform.questions, QStringList{"Reset 2 picked icons to the built-in ones?"});
    EXPECT_EQ(shown(Form7, "Image1"), shown(Form7, "Image32"));
    EXPECT_EQ(shown(Form7, "Image13"), shown(Form7, "Image33"));
    EXPECT_EQ(Form7->HighSnap->picture(), shown(Form7, "Image56"));
    EXPECT_EQ(shown(Form1, "Image241"), half);
    EXPECT_EQ(shown(Form1, "Image6").pixel(5, 5), qRgb(0, 0, 200));
    EXPECT_EQ(Form1->Edit1->text(), QStringLiteral("Kept"));
}

TEST_F(IconPickerWindows, SheetLoadsKeepThePreviousSheetOnCancelAndOnBadFiles) {
    ASSERT_TRUE(test::writeBytes(path("IconBMP/notes.bmp"), "just some text"));
    struct Loader {
        const char* name;
        QWidget* window;
        std::function<void()> press;
        TImage* sheet;
    };
    const Loader loaders[] = {
        {"Form1 SpeedButton2", Form1, [] { Form1->SpeedButton2->click(); }, Form1->Image253},
        {"Form1 Image4", Form1, [] { click(Form1->Image4); }, Form1->Image253},
        {"Form7 SpeedButton2", Form7, [] { Form7->SpeedButton2->click(); }, Form7->Image31},
        {"Form7 Image52", Form7, [] { click(Form7->Image52); }, Form7->Image31},
    };
    for (const Loader& l : loaders) {
        SCOPED_TRACE(l.name);
        const QImage sheet = coordinateSheet({40, 30 + int(platform.fileDialogs.size())});
        ASSERT_TRUE(sheet.save(path("IconBMP/good.bmp"), "BMP"));
        platform.fileAnswers.enqueue(path("IconBMP/good.bmp"));
        platform.choiceAnswers.enqueue(0); // cut it anyway, though it does not fit the grid
        l.press();
        ASSERT_EQ(l.sheet->picture(), sheet);

        l.press(); // cancelled
        platform.fileAnswers.enqueue(path("IconBMP/notes.bmp"));
        l.press();
        platform.fileAnswers.enqueue(path("IconBMP/gone.bmp"));
        l.press();
        ASSERT_EQ(platform.messages.size(), 2);
        EXPECT_EQ(platform.messages[0],
                  Form1->Messages[vv::Message::IconSheetUnusable] + ": Unsupported image format");
        EXPECT_TRUE(
            platform.messages[1].startsWith(QDir::toNativeSeparators(path("IconBMP/gone.bmp")) + ": "))
            << platform.messages[1].toStdString();
        EXPECT_EQ(l.sheet->picture(), sheet);
        platform.messages.clear();
    }
    EXPECT_FALSE(Form1->Messages[vv::Message::IconSheetUnusable].isEmpty());
}

// Script, pieces and clean-up of one icon set build per option set.
TEST_F(IconPickerWindows, IconSetBuildWritesTheScriptForTheOptionsAndCleansUp) {
    struct Case {
        std::initializer_list<int> depths;
        int screenType;
        QStringList firstFamilyLines;
        const char* dataFile;
    };
    const QString low = QStringLiteral("  BITMAP \"IconRsrc/Icon03E1.bmp\" BPP %1 DENSITY 1 ");
    const QString high = QStringLiteral("  BITMAP \"IconRsrc/Icon04H1.bmp\" BPP %1 DENSITY 2 ");
    const Case cases[] = {
        {{1}, 1, {low.arg(1)}, "InFO03E1.bin"},
        {{16},
         2,
         {low.arg(16) + "TRANSPARENT 0 255 0", high.arg(16) + "TRANSPARENT 0 255 0"},
         "InFO03E6.bin"},
        {{1, 8}, 1, {low.arg(1), low.arg(8) + "TRANSPARENTINDEX 210"}, "InFO03E8.bin"},
        {{8}, 3, {low.arg(8) + "TRANSPARENTINDEX 210"}, "InFO03E8.bin"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dataFile);
        chooseDepths(c.depths);
        Form1->ScreenType = c.screenType;
        Form1->CompressKeyword.clear();
        QDir(path("fake_seen")).removeRecursively();
        buildIconSetWithFakeCompiler(QStringLiteral("My Icons"));
        ASSERT_TRUE(platform.messages.isEmpty()) << platform.messages.join('|').toStdString();
        EXPECT_TRUE(busyWhileCompiling_);
        EXPECT_TRUE(Form1->Label3->isHidden());
        ASSERT_EQ(platform.processes.size(), 1);
        EXPECT_EQ(platform.processes[0].arguments.mid(0, 6),
                  (QStringList{"-ro", "-allowEditID", "-type", "Icns", "-creator", "reze"}));
        platform.processes.clear();

        const QString script = QString::fromLatin1(test::readBytes(path("fake_seen/vkdm_script.rcp")));
        const QString firstBlock =
            script.section("ICONFAMILYEX ID 10000\r\n BEGIN\r\n", 1).section(" END", 0, 0);
        EXPECT_EQ(firstBlock, c.firstFamilyLines.join("\r\n") + "\r\n");
        EXPECT_TRUE(script.contains(QStringLiteral("\"IconRsrc/%1\"").arg(QLatin1String(c.dataFile))));
        EXPECT_TRUE(script.contains("ICONFAMILYEX ID 10090\r\n BEGIN\r\n  BITMAP \"IconRsrc/Icon03E0.bmp\""));
        EXPECT_EQ(script.count("ICONFAMILYEX"), 12);

        // All 24 pieces handed over, none left behind, nor the script.
        QStringList seen = QDir(path("fake_seen/IconRsrc")).entryList({"*.bmp"}, QDir::Files);
        EXPECT_EQ(seen.size(), 24);
        EXPECT_TRUE(seen.contains("Icon03E0.bmp") && seen.contains("Icon04HB.bmp"));
        EXPECT_TRUE(filesIn("IconRsrc").isEmpty());
        EXPECT_FALSE(QFileInfo::exists(path("vkdm_script.rcp")));
        EXPECT_EQ(test::readBytes(path("PDBFiles/My Icons.pdb")).left(32), "My Icons" + QByteArray(24, '\0'));
    }
}

TEST_F(IconPickerWindows, IconSetBuildRefusesAnEmptyOrUnusableNameWritingNothing) {
    for (const QString& name : {QString(), QStringLiteral("a/b"), QStringLiteral("..")}) {
        SCOPED_TRACE(name.toStdString());
        buildIconSetWithFakeCompiler(name);
        ASSERT_EQ(platform.messages.size(), 1);
        EXPECT_TRUE(platform.messages[0].startsWith(Form1->Messages[vv::Message::IconSetNeedsName]));
        EXPECT_EQ(name.isEmpty(), platform.messages[0] == Form1->Messages[vv::Message::IconSetNeedsName]);
        platform.messages.clear();
    }
    Form1->Edit1->clear();
    click(Form1->Image5);
    EXPECT_EQ(platform.messages, QStringList{Form1->Messages[vv::Message::IconSetNeedsName]});
    EXPECT_TRUE(platform.processes.isEmpty());
    EXPECT_TRUE(Form1->Label3->isHidden());
    EXPECT_FALSE(QFileInfo::exists(path("vkdm_script.rcp")));
    EXPECT_TRUE(filesIn("IconRsrc").isEmpty());
    EXPECT_TRUE(filesIn("PDBFiles", "*").isEmpty());
}

// The whole road with the real compiler: both sample sheets through the
// dialogs, picks on both windows, the build, every icon read back.
TEST_F(IconPickerWindows, SampleSheetsBuildAnIconSetWhoseBitmapsAreTheSlotPictures) {
    ASSERT_TRUE(QFileInfo(test::binPath("vkdm_pdb")).isExecutable()) << "vkdm_pdb is built with the tests";
    platform.fileAnswers.enqueue(test::dataPath("IconBMP/SampleIcons.bmp"));
    Form1->SpeedButton2->click();
    platform.fileAnswers.enqueue(test::dataPath("IconBMP/SampleIconsOS5.bmp"));
    Form7->SpeedButton2->click();
    ASSERT_TRUE(platform.messages.isEmpty()) << platform.messages.join('|').toStdString();
    // Main picks first; the OS5 picks then overwrite the first six main slots
    // with their half-size images, as a user working on both windows would.
    for (int i = 0; i < kIconSetSlotCount; ++i) {
        click(Form1->IconPicker->cellTarget(1 + 5 * i));
        click(Form1->IconPicker->slotImage(i));
    }
    for (int i = 0; i < 6; ++i) {
        click(Form7->IconPicker->cellTarget(1 + 7 * i));
        click(Form7->IconPicker->slotImage(i));
    }
    chooseDepths({8});
    Form1->ScreenType = 2;
    Form1->Edit1->setText(QStringLiteral("Sample Icons"));
    // The six main-only picks have built-in OS5 partners: build them as they are.
    platform.choiceAnswers.enqueue(1);
    Form1->SpeedButton1->click();
    ASSERT_EQ(platform.questions.size(), 1);
    ASSERT_TRUE(platform.messages.isEmpty()) << platform.messages.join('|').toStdString();

    std::string error;
    const std::optional<formats::PalmDatabase> database = formats::PalmDatabase::fromBytes(
        pdb::bytesOf(test::readBytes(path("PDBFiles/Sample Icons.pdb"))), &error);
    ASSERT_TRUE(database) << error;
    EXPECT_EQ(database->name, "Sample Icons");
    EXPECT_EQ(database->type, "Icns");
    const auto& palette = palmSystemPalette();
    int icons = 0;
    for (const auto& resource : database->resources)
        icons += resource.type == "tAIB";
    EXPECT_EQ(icons, 12);
    for (int i = 0; i < kIconSetSlotCount; ++i) {
        const IconSlot& slot = iconSlots()[i];
        SCOPED_TRACE(slot.mainName);
        const formats::PalmResource* resource = database->find("tAIB", slot.familyId);
        ASSERT_NE(resource, nullptr);
        QString decodeError;
        const std::optional<pdb::DecodedFamily> decoded =
            pdb::BitmapDecoder::decodeFamily(resource->bytes, &decodeError);
        ASSERT_TRUE(decoded) << decodeError.toStdString();
        ASSERT_EQ(decoded->members.size(), 2);
        const QImage pieces[] = {Form1->IconPicker->slotImage(i)->picture(),
                                 Form7->IconPicker->slotImage(i)->picture()};
        for (int m = 0; m < 2; ++m) {
            const pdb::DecodedBitmap& member = decoded->members[m];
            EXPECT_EQ(member.depth, 8);
            ASSERT_EQ(member.image.size(), pieces[m].size());
            int wrong = 0;
            for (int y = 0; y < pieces[m].height(); ++y)
                for (int x = 0; x < pieces[m].width(); ++x)
                    wrong += member.image.pixel(x, y) !=
                             palette[formats::nearestPaletteIndex(pieces[m].pixel(x, y))];
            EXPECT_EQ(wrong, 0) << "member " << m;
        }
    }
    EXPECT_TRUE(filesIn("IconRsrc").isEmpty());
    EXPECT_FALSE(QFileInfo::exists(path("vkdm_script.rcp")));
}

TEST_F(IconPickerWindows, InstallHandsTheDatabaseToTheToolOrSaysWhyNot) {
    // A tool whose path has a blank and names an existing program.
    const QString blankTool = path("Palm Desktop/instapp");
    ASSERT_TRUE(QDir().mkpath(path("Palm Desktop")));
    ASSERT_TRUE(test::writeBytes(blankTool, "#!/bin/sh\n"));
    ASSERT_TRUE(QFile::setPermissions(blankTool, QFile::ReadOwner | QFile::ExeOwner));
    const QString database = QDir::toNativeSeparators(path("PDBFiles/Sunset.pdb"));
    ASSERT_TRUE(test::writeBytes(path("PDBFiles/Sunset.pdb"), "a built database"));
    struct Case {
        const char* what;
        QString name, tool;
        bool starts;
        QString program;
        QStringList arguments;
        std::optional<vv::Message> message;
    };
    const Case cases[] = {
        {"default tool", "Sunset", "/usr/bin/instapp", true, "/usr/bin/instapp", {database}, std::nullopt},
        {"tool with blanks", "Sunset", blankTool, true, blankTool, {database}, std::nullopt},
        {"tool with options",
         "Sunset",
         "pilot-xfer -p usb: -i",
         true,
         "pilot-xfer",
         {"-p", "usb:", "-i", database},
         std::nullopt},
        {"empty name", "", "/usr/bin/instapp", true, {}, {}, vv::Message::InstallNeedsName},
        {"empty tool", "Sunset", "", true, {}, {}, vv::Message::NoInstallTool},
        {"cannot start",
         "Sunset",
         "/usr/bin/instapp",
         false,
         "/usr/bin/instapp",
         {database},
         vv::Message::InstallToolNotStarted},
        {"name with a slash", "a/b", "/usr/bin/instapp", true, {}, {}, vv::Message::InstallNeedsName},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        platform.processes.clear();
        platform.messages.clear();
        platform.onRun = [starts = c.starts](const test::ProcessCall&) {
            ProcessOutcome outcome;
            outcome.status =
                starts ? ProcessOutcome::Status::Finished : ProcessOutcome::Status::FailedToStart;
            outcome.exitCode = 0;
            return outcome;
        };
        Form1->Edit1->setText(c.name);
        Form3->Edit1->setText(c.tool);
        Form1->Button8->click();
        if (c.program.isEmpty()) {
            EXPECT_TRUE(platform.processes.isEmpty());
        } else {
            ASSERT_EQ(platform.processes.size(), 1);
            EXPECT_EQ(platform.processes[0].program, c.program);
            EXPECT_EQ(platform.processes[0].arguments, c.arguments);
            EXPECT_FALSE(platform.processes[0].detached) << "the window waits to see how the tool ends";
        }
        if (!c.message) {
            EXPECT_TRUE(platform.messages.isEmpty()) << platform.messages.join('|').toStdString();
        } else {
            ASSERT_EQ(platform.messages.size(), 1);
            EXPECT_TRUE(platform.messages[0].startsWith(Form1->Messages[*c.message]));
        }
    }
}

} // namespace
