// The real message boxes, questions and help window, driven by keys sent to
// them while they run: Escape answers with the answer that changes nothing,
// Enter with the default one; every box carries the program's name.
#include "ui/QtDialogs.h"
#include "app/LanguageMessages.h"
#include "ui/Controls.h"

#include "support/TestFiles.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

using namespace vv;

namespace {

// Once a modal window is up, hands it to `act`; until then looks again.
void whenModalShows(std::function<void(QWidget*)> act) {
    QTimer::singleShot(0, [act = std::move(act)]() mutable {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            act(modal);
            return;
        }
        whenModalShows(std::move(act));
    });
}

TEST(QtDialogs, QuestionsTakeTheFirstAnswerOnEnterAndTheLastOnEscape) {
    QtDialogs dialogs;
    struct Case {
        Qt::Key key;
        QStringList answers;
        int expected;
    };
    const Case cases[] = {
        {Qt::Key_Escape, {"Yes", "No"}, 1},
        {Qt::Key_Return, {"Yes", "No"}, 0},
        {Qt::Key_Enter, {"Yes", "No"}, 0},
        {Qt::Key_Escape, {"Both sets", "Cut it anyway", "No"}, 2},
        {Qt::Key_Return, {"Double", "Build as it is", "Cancel"}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answers.join('|').toStdString() + " key " + std::to_string(c.key));
        QString title;
        whenModalShows([&](QWidget* box) {
            title = box->windowTitle();
            QTest::keyClick(box, c.key);
        });
        EXPECT_EQ(dialogs.askChoice(QStringLiteral("Cut it?"), c.answers), c.expected);
        EXPECT_EQ(title, ui::programTitle());
    }
}

TEST(QtDialogs, MessagesCarryTheProgramNameAndCloseOnEscape) {
    QtDialogs dialogs;
    QString title;
    whenModalShows([&](QWidget* box) {
        title = box->windowTitle();
        QTest::keyClick(box, Qt::Key_Escape);
    });
    dialogs.showMessage(QStringLiteral("Something happened"));
    EXPECT_EQ(title, ui::programTitle());
}

TEST(QtDialogs, HelpWindowIsTitledInTheLanguageAndClosesByItsButtonOrEscape) {
    QTemporaryDir dir;
    const QString help = dir.filePath(QStringLiteral("vkdm_hen.hlp"));
    ASSERT_TRUE(test::writeBytes(help, "<p>help</p>"));
    QtDialogs dialogs;
    for (const bool byButton : {true, false}) {
        QString title, closeCaption;
        whenModalShows([&](QWidget* viewer) {
            title = viewer->windowTitle();
            auto* close = viewer->findChild<QPushButton*>(QStringLiteral("CloseButton"));
            closeCaption = close ? close->text() : QString();
            if (byButton && close)
                close->click();
            else
                QTest::keyClick(viewer, Qt::Key_Escape);
        });
        dialogs.showHelp(help);
        EXPECT_EQ(title, builtInMessage(Message::HelpTitle));
        EXPECT_EQ(closeCaption, builtInMessage(Message::HelpClose));
    }
}

} // namespace
