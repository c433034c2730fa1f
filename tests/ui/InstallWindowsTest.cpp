// Install on PDA from the main window: the tool's end is waited for without
// blocking the windows, and a success, a failure, a crash and a tool that
// stays running each say what happened.
#include "ui/BuildInputs.h"

#include "support/StartedWindows.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QLabel>

#include <csignal>

using namespace vv;

namespace {

class InstallWindows : public test::StartedWindows {
protected:
    InstallWindows() : StartedWindows("ThmeBMP", "ThmeRsrc") {}

    void SetUp() override {
        StartedWindows::SetUp();
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(test::writeBytes(path("PDBFiles/Sunset.pdb"), "a built database"));
        Form1->Edit1->setText("Sunset");
    }

    // The result line on the main window, empty when none shows.
    static QString resultLine() {
        for (QLabel* label : Form1->findChildren<QLabel*>(QStringLiteral("BuildResult")))
            if (label->isVisible())
                return label->toolTip().isEmpty() ? label->text() : label->toolTip();
        return {};
    }
};

TEST_F(InstallWindows, EachEndOfTheToolIsReported) {
    const QString shown = QDir::toNativeSeparators("PDBFiles/Sunset.pdb");
    const QString database = QDir::toNativeSeparators(path("PDBFiles/Sunset.pdb"));
    struct Case {
        const char* mode;
        QString resultLine;
        QString message;
    };
    const QList<Case> cases{
        {"ok", shown + " handed to fake_install_tool", ""},
        {"fail", "",
         shown +
             " was not installed: fake_install_tool ended with exit code 3.\n"
             "fake_install_tool: error: cannot copy " +
             database + ": no card"},
        {"crash", "",
         shown + " was not installed: fake_install_tool crashed with signal " + QString::number(SIGABRT) +
             " (SIGABRT)."},
    };
    Form1->show();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        Form3->Edit1->setText(QStringLiteral("\"%1\" %2").arg(test::binPath("fake_install_tool"), c.mode));
        platform.messages.clear();
        Form1->Button8->click();
        EXPECT_EQ(resultLine(), c.resultLine);
        EXPECT_EQ(platform.messages, c.message.isEmpty() ? QStringList() : QStringList{c.message});
        EXPECT_TRUE(Form1->Button8->isEnabled());
    }
    // The wait was the windows' one: limited, leaving the tool running, the
    // event loop kept turning.
    ASSERT_EQ(platform.processes.size(), cases.size());
    const ProcessLimits& limits = platform.processes.last().limits;
    EXPECT_EQ(limits.timeoutMs, ui::kInstallWaitMs);
    EXPECT_EQ(ui::kInstallWaitMs, 5000);
    EXPECT_TRUE(limits.leaveRunning);
    EXPECT_TRUE(limits.keepGoing);
}

TEST_F(InstallWindows, AToolThatStaysOpenIsStillRunningAndTheButtonWaitsMeanwhile) {
    Form1->show();
    Form3->Edit1->setText("instapp");
    bool buttonOffWhileWaiting = false;
    platform.onRun = [&](const test::ProcessCall&) {
        buttonOffWhileWaiting = !Form1->Button8->isEnabled();
        ProcessOutcome outcome;
        outcome.status = ProcessOutcome::Status::StillRunning;
        return outcome;
    };
    Form1->Button8->click();
    EXPECT_TRUE(buttonOffWhileWaiting);
    EXPECT_TRUE(Form1->Button8->isEnabled());
    EXPECT_EQ(resultLine(),
              QDir::toNativeSeparators("PDBFiles/Sunset.pdb") + " handed to instapp; it is still running");
    EXPECT_TRUE(platform.messages.isEmpty());

    // A refusal is still a message, and no result line stays from before it.
    Form1->Edit1->clear();
    Form1->Button8->click();
    EXPECT_EQ(platform.messages, QStringList{Form1->Messages[Message::InstallNeedsName]});
    EXPECT_EQ(platform.processes.size(), 1);
}

} // namespace
