// The Options dialog says what became of its edits: Save confirms, and
// closing with unsaved edits asks Save / Discard / Cancel.
#include "app/LanguageFile.h"
#include "app/SettingsFile.h"
#include "ui/QtDialogs.h"

#include "support/StartedWindows.h"
#include "support/TestFiles.h"

#include <QQueue>
#include <QTimer>

using namespace vv;

namespace {

class OptionsWindow : public test::StartedWindows {
protected:
    OptionsWindow() : StartedWindows("ThmeBMP", "ThmeRsrc") {}

    void SetUp() override {
        StartedWindows::SetUp();
        if (HasFatalFailure())
            return;
        writeSavedOptions();
    }

    // Settings naming English at its place in the language list, read into
    // the dialog as the main window does on its activation.
    void writeSavedOptions() {
        SettingsRecord record;
        record.languageName = "English";
        record.languageIndex = 0;
        ASSERT_TRUE(writeSettingsFile(path("vkdm_settings.cfg"), record));
        Form1->FormActivate();
    }

    // Opens Options from the main window and runs `whileOpen` in it; tells
    // whether the dialog was still shown when `whileOpen` returned.
    bool withOptionsOpen(const std::function<void()>& whileOpen) {
        bool stillShown = false;
        platform.onModal = [&](QWidget* window) {
            if (window != Form3)
                return;
            whileOpen();
            stillShown = Form3->isVisible();
        };
        Form1->Button4Click();
        platform.onModal = nullptr;
        return stillShown;
    }

    bool savedCompress() const { return readSettingsFile(path("vkdm_settings.cfg"), {})->compress; }
};

TEST_F(OptionsWindow, SaveSaysTheOptionsWereSaved) {
    ASSERT_TRUE(savedCompress());
    const bool shown = withOptionsOpen([] {
        Form3->CheckBox5->setChecked(false);
        Form3->Button1->click();
        Form3->Button4->click(); // saved: nothing to ask
    });
    EXPECT_FALSE(shown);
    EXPECT_FALSE(savedCompress());
    EXPECT_EQ(platform.messages, QStringList{Form1->Messages[Message::OptionsSaved]});
    EXPECT_EQ(platform.messages[0].left(22), "The options were saved");
    EXPECT_TRUE(platform.questions.isEmpty());
}

TEST_F(OptionsWindow, ClosingWithUnsavedEditsAsks) {
    struct Case {
        const char* label;
        std::optional<int> answer; // nothing: the question is closed
        bool stillShown;
        bool saved;
    };
    const Case cases[] = {
        {"Save", 0, false, true},
        {"Discard", 1, false, false},
        {"Cancel", 2, true, false},
        {"question closed", std::nullopt, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        writeSavedOptions();
        platform.questions.clear();
        platform.questionAnswers.clear();
        platform.messages.clear();
        if (c.answer)
            platform.choiceAnswers.enqueue(*c.answer);
        const bool shown = withOptionsOpen([] {
            Form3->CheckBox5->setChecked(false);
            Form3->Button4->click();
        });
        EXPECT_EQ(shown, c.stillShown);
        EXPECT_EQ(savedCompress(), !c.saved);
        ASSERT_EQ(platform.questions.size(), 1);
        EXPECT_EQ(platform.questions[0], "The options have changed. Save them before closing?");
        EXPECT_EQ(platform.questionAnswers[0], (QStringList{"Save", "Discard", "Cancel"}));
        EXPECT_EQ(platform.messages,
                  c.saved ? QStringList{Form1->Messages[Message::OptionsSaved]} : QStringList());
        // Whatever was answered, the main window reads the saved file back.
        EXPECT_EQ(Form3->CheckBox5->isChecked(), !c.saved);
    }
}

TEST_F(OptionsWindow, NoEditsNoQuestionAndEditsBeforeAboutStayUnsaved) {
    EXPECT_FALSE(withOptionsOpen([] { Form3->Button4->click(); }));
    EXPECT_TRUE(platform.questions.isEmpty());

    platform.choiceAnswers.enqueue(2);
    const bool shown = withOptionsOpen([] {
        Form3->CheckBox5->setChecked(false);
        Form3->ProgramIconClick(); // About, and back
        Form3->Button4->click();
    });
    EXPECT_TRUE(shown);
    EXPECT_EQ(platform.questions.size(), 1);
}

// The real modal run, with only the question answered: a close the dialog
// refuses leaves it open and the run going; the next close ends it.
TEST_F(OptionsWindow, ARefusedCloseKeepsTheRealModalRunGoing) {
    class AnsweringDialogs : public QtDialogs {
    public:
        AnsweringDialogs() : previous_(setDialogs(this)) {}
        ~AnsweringDialogs() override { setDialogs(previous_); }
        QQueue<int> answers;
        int asked = 0;
        int askChoice(const QString&, const QStringList&) override {
            ++asked;
            return answers.isEmpty() ? 1 : answers.dequeue();
        }
        void showMessage(const QString&) override {}

    private:
        Dialogs* previous_;
    } dialogs;
    dialogs.answers << 2 << 1; // Cancel, then Discard
    bool openAfterCancel = false;
    QTimer::singleShot(0, [&] {
        Form3->CheckBox5->toggle();
        Form3->close();
        QTimer::singleShot(0, [&] {
            openAfterCancel = Form3->isVisible();
            Form3->close();
        });
    });
    // Should the run not end, this ends it, and the test fails on the count.
    QTimer::singleShot(30000, [] { Form3->close(); });
    dialogs.showModal(Form3);
    EXPECT_TRUE(openAfterCancel);
    EXPECT_EQ(dialogs.asked, 2);
    EXPECT_FALSE(Form3->isVisible());
}

} // namespace
