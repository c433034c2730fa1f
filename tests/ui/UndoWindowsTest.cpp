// Undo and redo through the windows: each kind of step from the window that
// makes it, the menu entries naming the step, the keys in every window, Reset
// Data's question, and a build leaving the history alone.
#include "ui/WorkHistory.h"

#include "support/StartedWindows.h"
#include "support/TestFiles.h"
#include "support/TestPictures.h"

#include <QAction>
#include <QApplication>
#include <QTest>

using namespace vv;

namespace {

class UndoWindows : public test::StartedWindows {
protected:
    UndoWindows() : StartedWindows("ThmeBMP", "ThmeRsrc") {}

    void SetUp() override {
        StartedWindows::SetUp();
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(QDir(dir_.path()).mkpath("IconBMP"));
        // Bursts end by the field's focus or by other steps here, never by the clock.
        Form1->History.setNameBurstPause(-1);
    }

    static WorkState all() { return ui::takeWorkFromWindows(kAllWorkParts); }

    static QAction* action(QWidget* window, const char* name) {
        return window->findChild<QAction*>(QLatin1String(name), Qt::FindDirectChildrenOnly);
    }

    // Loads `sheet` as a file through `load`, answering the file dialog.
    void loadSheet(const std::function<void()>& load, const QImage& sheet, const QString& file) {
        ASSERT_TRUE(sheet.save(path(file), "BMP"));
        platform.fileAnswers.enqueue(path(file));
        load();
    }

    // What every window shows is what the work holds.
    static void expectShown() {
        for (int i = 0; i < kThemePieceCount; ++i) {
            ASSERT_EQ(Form2->pieceImage(i)->picture(), Form2->Pieces.lowPiece(i)) << i;
            ASSERT_EQ(Form6->pieceImage(i)->picture(), Form2->Pieces.highPiece(i)) << i;
        }
        for (int s = 0; s < kIconSlotCount; ++s) {
            ASSERT_EQ(Form1->IconPicker->slotImage(s)->picture(),
                      Form1->IconBoard.slotPicture(IconWindow::Main, s));
            ASSERT_EQ(Form7->IconPicker->slotImage(s)->picture(),
                      Form1->IconBoard.slotPicture(IconWindow::Os5, s));
        }
    }
};

TEST_F(UndoWindows, EachKindOfStepIsUndoneAndRedoneFromItsWindow) {
    struct Case {
        const char* label;
        const char* undoText;
        std::function<void()> act;
    };
    const QList<Case> cases{
        {"low sheet on the theme window", "Undo load skin sheet",
         [this] {
             loadSheet([] { Form2->Button1->click(); }, test::coordinateSheet(kLowSheetSize),
                       "ThmeBMP/low.bmp");
         }},
        {"high sheet on the high theme window: both resolutions", "Undo load skin sheet",
         [this] {
             loadSheet([] { Form6->Button1->click(); }, test::coordinateSheet(kHighSheetSize),
                       "ThmeBMP/high.bmp");
         }},
        {"cell into a main slot", "Undo pick icon",
         [this] {
             loadSheet([] { Form1->SpeedButton2->click(); }, test::coordinateSheet({579, 450}),
                       "IconBMP/main.bmp");
             Form1->PaintBoxClick(7);
             Form1->IconSlotClick(3);
         }},
        {"cell into an OS5 slot and its partner", "Undo pick icon",
         [this] {
             loadSheet([] { Form7->SpeedButton2->click(); }, test::coordinateSheet({726, 484}),
                       "IconBMP/os5.bmp");
             Form7->PaintBoxClick(12);
             Form7->IconSlotClick(14);
         }},
        {"snapshot into a main slot", "Undo pick icon",
         [] {
             Form1->IconBoard.setSnapshotPicture(IconWindow::Main,
                                                 test::filled(kLowIconSize, qRgb(1, 200, 3)));
             Form1->LowSnapClick();
             Form1->IconSlotClick(25);
         }},
        {"Reset Data on the main window", "Undo reset data",
         [this] {
             Form1->IconBoard.setSlotPicture(IconWindow::Main, 4, test::filled(kLowIconSize, qRgb(9, 9, 9)));
             Form1->Edit1->setText("Sunset");
             platform.choiceAnswers.enqueue(0);
             Form1->Button6->click();
         }},
        {"Reset Data on the OS5 window", "Undo reset data",
         [this] {
             Form1->IconBoard.setSlotPicture(IconWindow::Os5, 4, test::filled(kHighIconSize, qRgb(9, 9, 9)));
             platform.choiceAnswers.enqueue(0);
             Form7->Button6->click();
         }},
        {"name typed", "Undo type pdb name",
         [] {
             Form1->Edit1->setFocus();
             QTest::keyClicks(Form1->Edit1, "Sunset");
         }},
        {"start afresh", "Undo start afresh",
         [] {
             Form1->IconBoard.setSlotPicture(IconWindow::Main, 0, test::filled(kLowIconSize, qRgb(9, 9, 9)));
             Form1->Edit1->setText("Dusk");
             action(Form1, "StartAfreshAction")->trigger();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        Form1->History.clear();
        const int stepsBefore = Form1->History.stepCount();
        c.act();
        // What the action itself did before its step is not part of the step.
        ASSERT_EQ(Form1->History.stepCount(), stepsBefore + 1);
        const WorkState after = all();
        for (QWidget* window : {static_cast<QWidget*>(Form1), static_cast<QWidget*>(Form2),
                                static_cast<QWidget*>(Form6), static_cast<QWidget*>(Form7)})
            EXPECT_EQ(action(window, "UndoAction")->text(), c.undoText);
        action(Form7, "UndoAction")->trigger();
        EXPECT_FALSE(all() == after);
        expectShown();
        EXPECT_EQ(action(Form2, "RedoAction")->text(), QString(c.undoText).replace("Undo", "Redo"));
        EXPECT_FALSE(action(Form2, "UndoAction")->isEnabled());
        EXPECT_EQ(action(Form2, "UndoAction")->text(), "Undo");
        action(Form1, "RedoAction")->trigger();
        EXPECT_TRUE(all() == after);
        expectShown();
    }
}

TEST_F(UndoWindows, TheKeysWorkInEveryWindowAndInTheNameField) {
    Form1->IconBoard.setSnapshotPicture(IconWindow::Main, test::filled(kLowIconSize, qRgb(1, 200, 3)));
    const WorkState start = all();
    Form1->IconSlotClick(25);
    const WorkState picked = all();
    for (QWidget* window : sixWindows()) {
        SCOPED_TRACE(window->objectName().toStdString());
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        QTest::keyClick(window, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_TRUE(all() == start);
        QTest::keyClick(window, Qt::Key_Y, Qt::ControlModifier);
        EXPECT_TRUE(all() == picked);
        QTest::keyClick(window, Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(window, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_TRUE(all() == picked);
        window->hide();
    }

    // In the name field the keys are the program's, not the field's own undo.
    Form1->show();
    Form1->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form1));
    Form1->Edit1->setFocus();
    QTest::keyClicks(Form1->Edit1, "Dawn");
    QTest::keyClick(Form1->Edit1, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Form1->Edit1->text(), "");
    EXPECT_TRUE(all() == picked);
    QTest::keyClick(Form1->Edit1, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(all() == start);
    QTest::keyClick(Form1->Edit1, Qt::Key_Y, Qt::ControlModifier);
    QTest::keyClick(Form1->Edit1, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Form1->Edit1->text(), "Dawn");
    EXPECT_EQ(Form1->History.stepCount(), 2);
}

TEST_F(UndoWindows, NameStepsFollowTheEditBursts) {
    Form1->show();
    Form1->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form1));
    Form1->Edit1->setFocus();
    QTest::keyClicks(Form1->Edit1, "Sun");
    Form1->Edit1->clearFocus(); // the burst ends with the field's focus
    Form1->Edit1->setFocus();
    QTest::keyClicks(Form1->Edit1, "set");
    EXPECT_EQ(Form1->History.stepCount(), 2);
    Form1->History.undo();
    EXPECT_EQ(Form1->Edit1->text(), "Sun");
    Form1->History.undo();
    EXPECT_EQ(Form1->Edit1->text(), "");
}

TEST_F(UndoWindows, ResetDataAsksHowManyPicksGoAndIsUndoableAnyway) {
    // Nothing picked: no question, and nothing to undo either.
    Form1->Button6->click();
    EXPECT_TRUE(platform.questions.isEmpty());
    EXPECT_EQ(Form1->History.stepCount(), 0);

    for (int slot : {0, 5, 31})
        Form1->IconBoard.setSlotPicture(IconWindow::Main, slot, test::filled(kLowIconSize, qRgb(slot, 9, 9)));
    Form1->IconBoard.setSlotPicture(IconWindow::Os5, 2, test::filled(kHighIconSize, qRgb(2, 9, 9)));
    const WorkState picked = all();
    platform.choiceAnswers.enqueue(1); // No
    Form1->Button6->click();
    EXPECT_EQ(platform.questions, QStringList{"Reset 3 picked icons to the built-in ones?"});
    EXPECT_EQ(platform.questionAnswers[0], (QStringList{"Yes", "No"}));
    EXPECT_TRUE(all() == picked);

    platform.choiceAnswers.enqueue(0);
    Form7->Button6->click();
    EXPECT_EQ(platform.questions.last(), "Reset 1 picked icons to the built-in ones?");
    EXPECT_EQ(Form1->IconBoard.pickedSlotCount(IconWindow::Os5), 0);
    EXPECT_EQ(Form1->IconBoard.pickedSlotCount(IconWindow::Main), 3);
    Form1->History.undo();
    EXPECT_TRUE(all() == picked);
}

TEST_F(UndoWindows, ABuildLeavesTheHistoryAlone) {
    Form1->IconBoard.setSnapshotPicture(IconWindow::Main, test::filled(kLowIconSize, qRgb(1, 200, 3)));
    Form1->IconSlotClick(25);
    Form1->Edit1->setText("Built");
    Form1->ScreenType = 1; // the fixture's settings choose no screen, which a theme build refuses
    platform.onRun = runFakeCompiler;
    QFile::copy(test::binPath("fake_vkdm_pdb"), path("vkdm_pdb"));
    Form1->Button2Click();
    ASSERT_TRUE(QFileInfo::exists(path("PDBFiles/Built.pdb"))) << platform.messages.join('|').toStdString();
    EXPECT_TRUE(Form1->History.canUndo());
    EXPECT_EQ(Form1->History.undoKind(), StepKind::IconPick);
}

} // namespace
