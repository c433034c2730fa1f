// The undo stack over the work itself: each kind of step undone and redone,
// name edits in bursts, redo forgotten after a new step, and the bounds.
#include "work/EditHistory.h"

#include "app/LanguageMessages.h"

#include "support/TestPictures.h"

#include <gtest/gtest.h>

namespace vv {
namespace {

// The work as the windows hold it, with its history.
struct Work {
    ThemePieces pieces;
    IconBoard board;
    QString name;
    EditHistory history{[this](WorkParts parts) { return takeWork(parts, pieces, board, name); },
                        [this](const WorkState& state) { putWork(state, pieces, board, name); }};

    WorkState all() const { return takeWork(kAllWorkParts, pieces, board, name); }
};

QImage sheetNumbered(QSize size, int n) {
    QImage sheet = test::coordinateSheet(size);
    sheet.setPixel(n % size.width(), 0, qRgb(n & 0xFF, (n >> 8) & 0xFF, 7));
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); x += 3)
            sheet.setPixel(x, y, qRgb((x * n) & 0xFF, (y + n) & 0xFF, (x ^ y ^ n) & 0xFF));
    return sheet;
}

TEST(EditHistory, EachKindOfStepIsUndoneAndRedone) {
    struct Case {
        const char* label;
        StepKind kind;
        WorkParts parts;
        std::function<void(Work&)> change;
    };
    const QList<Case> cases{
        {"sheet load at high resolution: both resolutions", StepKind::SheetLoad, WorkPart::Pieces,
         [](Work& w) { w.pieces.loadSheet(sheetNumbered(kHighSheetSize, 1), PieceResolution::High); }},
        {"cell into a main slot", StepKind::IconPick, WorkPart::MainSlots,
         [](Work& w) {
             w.board.selectCell(IconWindow::Main, 5);
             w.board.clickSlot(IconWindow::Main, 3);
         }},
        {"cell into an OS5 slot and its main partner", StepKind::IconPick,
         WorkPart::MainSlots | WorkPart::Os5Slots,
         [](Work& w) {
             w.board.selectCell(IconWindow::Os5, 9);
             w.board.clickSlot(IconWindow::Os5, 7);
         }},
        {"snapshot into a main slot", StepKind::IconPick, WorkPart::MainSlots,
         [](Work& w) {
             w.board.selectSnapshot(IconWindow::Main);
             w.board.clickSlot(IconWindow::Main, 20);
         }},
        {"Reset Data of the main window", StepKind::ResetData,
         WorkPart::MainSlots | WorkPart::LowSnap | WorkPart::Name,
         [](Work& w) {
             w.board.reset(IconWindow::Main);
             w.name.clear();
         }},
        {"a database opened", StepKind::OpenDatabase, kAllWorkParts,
         [](Work& w) {
             w.pieces.setPiece(2, PieceResolution::Low, test::filled({4, 4}, qRgb(9, 9, 9)));
             w.board.setSlotPicture(IconWindow::Os5, 30, test::filled({64, 44}, qRgb(1, 2, 3)));
             w.name = "Opened";
         }},
        {"start afresh", StepKind::StartAfresh, kAllWorkParts,
         [](Work& w) { putWork(builtInWork(), w.pieces, w.board, w.name); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        Work work;
        // Something picked and named before the step, so a reset has work to undo.
        work.board.setSheet(IconWindow::Main, sheetNumbered({579, 450}, 2));
        work.board.setSheet(IconWindow::Os5, sheetNumbered({726, 484}, 3));
        work.board.selectCell(IconWindow::Main, 40);
        work.board.clickSlot(IconWindow::Main, 0);
        work.board.setSnapshotPicture(IconWindow::Main, test::filled(kLowIconSize, qRgb(200, 0, 0)));
        work.name = "Sunset";
        const WorkState before = work.all();

        ASSERT_TRUE(work.history.record(c.kind, c.parts, [&] { c.change(work); }));
        const WorkState after = work.all();
        ASSERT_FALSE(after == before);
        EXPECT_EQ(work.history.undoKind(), c.kind);
        EXPECT_EQ(work.history.redoKind(), std::nullopt);

        work.history.undo();
        EXPECT_TRUE(work.all() == before);
        EXPECT_EQ(work.history.redoKind(), c.kind);
        EXPECT_FALSE(work.history.canUndo());
        work.history.redo();
        EXPECT_TRUE(work.all() == after);
    }
}

TEST(EditHistory, AChangeThatChangesNothingIsNoStep) {
    Work work;
    EXPECT_FALSE(work.history.record(StepKind::ResetData, WorkPart::MainSlots,
                                     [&] { work.board.reset(IconWindow::Main); }));
    EXPECT_EQ(work.history.stepCount(), 0);
}

TEST(EditHistory, ANewStepForgetsWhatCouldBeRedone) {
    Work work;
    const WorkState start = work.all();
    work.history.record(StepKind::IconPick, WorkPart::MainSlots,
                        [&] { work.board.clickSlot(IconWindow::Main, 1); }); // the snapshot picture
    work.history.undo();
    ASSERT_TRUE(work.history.canRedo());
    work.history.record(StepKind::SheetLoad, WorkPart::Pieces, [&] {
        work.pieces.loadSheet(sheetNumbered(kLowSheetSize, 4), PieceResolution::Low);
    });
    EXPECT_FALSE(work.history.canRedo());
    EXPECT_EQ(work.history.stepCount(), 1);
    work.history.undo();
    EXPECT_TRUE(work.all() == start);
}

TEST(EditHistory, TypingIsOneStepPerBurst) {
    Work work;
    work.history.setNameBurstPause(-1);
    const auto type = [&](const QString& text) {
        work.history.recordNameEdit(work.name, text);
        work.name = text;
    };
    for (const char* text : {"S", "Su", "Sun"})
        type(text);
    EXPECT_EQ(work.history.stepCount(), 1);
    work.history.endNameBurst();
    type("Sunset");
    EXPECT_EQ(work.history.stepCount(), 2);
    // Another step ends a burst as well.
    work.history.record(StepKind::IconPick, WorkPart::MainSlots,
                        [&] { work.board.clickSlot(IconWindow::Main, 4); });
    type("Sunset2");
    EXPECT_EQ(work.history.stepCount(), 4);
    EXPECT_EQ(work.history.undoKind(), StepKind::NameEdit);

    work.history.undo();
    EXPECT_EQ(work.name, "Sunset");
    work.history.undo();
    work.history.undo();
    EXPECT_EQ(work.name, "Sun");
    work.history.undo();
    EXPECT_EQ(work.name, "");

    // Typed back to where the burst began: the step goes again.
    Work other;
    other.history.setNameBurstPause(-1);
    other.history.recordNameEdit("", "x");
    other.history.recordNameEdit("x", "");
    EXPECT_EQ(other.history.stepCount(), 0);
}

TEST(EditHistory, AtMostAHundredStepsAreKept) {
    Work work;
    for (int i = 1; i <= EditHistory::kStepLimit + 5; ++i) {
        work.history.endNameBurst();
        work.history.recordNameEdit(work.name, QString::number(i));
        work.name = QString::number(i);
    }
    EXPECT_EQ(work.history.stepCount(), 100);
    while (work.history.canUndo())
        work.history.undo();
    EXPECT_EQ(work.name, "5") << "the five oldest steps were dropped";
}

TEST(EditHistory, AtMost64MegabytesOfPicturesAreKept) {
    // Every cut makes new pictures, so two sheets taken in turn are new steps
    // and new pixels each time.
    const QImage sheets[2] = {sheetNumbered(kHighSheetSize, 1), sheetNumbered(kHighSheetSize, 2)};
    Work work;
    int loads = 0;
    while (loads < 1000 && work.history.stepCount() == loads) {
        ++loads;
        ASSERT_TRUE(work.history.record(StepKind::SheetLoad, WorkPart::Pieces, [&] {
            work.pieces.loadSheet(sheets[loads % 2], PieceResolution::High);
        }));
        ASSERT_LE(work.history.pictureBytes(), EditHistory::kPictureByteLimit) << loads;
    }
    ASSERT_LT(work.history.stepCount(), loads) << "the pictures never reached the limit";
    EXPECT_GT(work.history.pictureBytes(), EditHistory::kPictureByteLimit * 3 / 4) << "only the oldest went";

    // Dropping the oldest steps left the work and the newest steps as they were.
    const WorkState now = work.all();
    ThemePieces expected;
    expected.loadSheet(sheets[loads % 2], PieceResolution::High);
    EXPECT_EQ(work.pieces.highPiece(10), expected.highPiece(10));
    int undone = 0;
    while (work.history.canUndo()) {
        work.history.undo();
        ++undone;
    }
    EXPECT_EQ(undone, work.history.stepCount());
    EXPECT_FALSE(work.pieces.highPiece(10) == ThemePieces().highPiece(10)) << "the oldest steps were dropped";
    while (work.history.canRedo())
        work.history.redo();
    EXPECT_TRUE(work.all() == now);
}

TEST(EditHistory, EveryStepHasALanguageLine) {
    for (StepKind kind : {StepKind::SheetLoad, StepKind::IconPick, StepKind::ResetData,
                          StepKind::OpenDatabase, StepKind::NameEdit, StepKind::StartAfresh})
        EXPECT_GT(languageLineOf(stepNameMessage(kind)), 129);
    EXPECT_EQ(builtInMessage(stepNameMessage(StepKind::IconPick)), "pick icon");
}

} // namespace
} // namespace vv
