// The keyboard in every window and language: each access key leads to one
// control of its window (and one entry of its context menu), a key the
// English caption has is kept by every translation, and Escape and Enter
// answer the Options dialog and the About box.
#include "ui/Controls.h"
#include "ui/SettingsAndLanguage.h"
#include "ui/TAboutBox.h"
#include "ui/TForm1.h"
#include "ui/TForm3.h"
#include "ui/TForm7.h"

#include "ShippedLanguages.h"
#include "support/StartedWindows.h"

#include <QAbstractButton>
#include <QAction>
#include <QFileInfo>
#include <QHash>
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>

using namespace vv;

namespace {

// The letter after a single '&', upper case; null when the text has none.
QChar accessKey(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != QLatin1Char('&'))
            continue;
        if (text[i + 1] == QLatin1Char('&')) {
            ++i;
            continue;
        }
        return text[i + 1].toUpper();
    }
    return {};
}

// Every caption a window can show with an access key, by control: buttons and
// check boxes, labels that lead to a field, and the captions a button takes in
// turn (the sheet area open or shut, the snapshot waiting or finishing).
QHash<QString, QStringList> keyedCaptions(QWidget* window) {
    QHash<QString, QStringList> captions;
    for (auto* button : window->findChildren<QAbstractButton*>())
        captions[button->objectName()] << button->text();
    for (auto* label : window->findChildren<QLabel*>())
        if (label->buddy())
            captions[label->objectName()] << label->text();
    for (TButton* toggle : {Form1->Button5, Form7->Button5})
        if (toggle->window() == window)
            captions[toggle->objectName()] = {Form1->ShowIconsCaption, Form1->HideIconsCaption};
    for (TButton* end : {Form1->Button11, Form7->Button11})
        if (end->window() == window)
            captions[end->objectName()] = {Form1->SnapPromptCaption, Form1->SnapBusyCaption};
    return captions;
}

// Keys used by more than one control (or menu entry) of `window`.
QStringList clashes(QWidget* window) {
    QHash<QChar, QStringList> owners;
    const QHash<QString, QStringList> captions = keyedCaptions(window);
    for (auto it = captions.begin(); it != captions.end(); ++it) {
        QList<QChar> keys;
        for (const QString& caption : it.value())
            if (const QChar key = accessKey(caption); !key.isNull() && !keys.contains(key))
                keys << key;
        for (QChar key : keys)
            owners[key] << it.key();
    }
    QHash<QChar, QStringList> menu;
    for (QAction* action : window->actions())
        if (const QChar key = accessKey(action->text()); !key.isNull())
            menu[key] << QStringLiteral("menu:") + action->text();
    QStringList found;
    for (const auto* keys : {&owners, &menu})
        for (auto it = keys->begin(); it != keys->end(); ++it)
            if (it.value().size() > 1) {
                QStringList names = it.value();
                names.sort();
                found << QStringLiteral("%1.Alt+%2: %3")
                             .arg(window->objectName(), it.key(), names.join(QStringLiteral(", ")));
            }
    return found;
}

class Keyboard : public test::WindowsInStartDir {
protected:
    void SetUp() override {
        ui::setUpApplication();
        createWindowsIn(QDir::currentPath());
    }
};

TEST_F(Keyboard, AccessKeysAreUniquePerWindowAndKeptByEveryLanguage) {
    QHash<QString, bool> keyedInEnglish; // window.control: the English caption has a key
    for (const QString& file : test::shippedLanguageFiles()) {
        SCOPED_TRACE(QFileInfo(file).fileName().toStdString());
        const bool english = file.endsWith(QLatin1String("vkdm_English.lng"));
        ApplyLanguage(file);
        ASSERT_TRUE(platform.messages.isEmpty()) << platform.messages.join('|').toStdString();
        QStringList problems;
        for (QWidget* window : sixWindows()) {
            problems << clashes(window);
            const QHash<QString, QStringList> captions = keyedCaptions(window);
            for (auto it = captions.begin(); it != captions.end(); ++it) {
                const QString name = window->objectName() + QLatin1Char('.') + it.key();
                const bool keyed =
                    std::any_of(it.value().begin(), it.value().end(),
                                [](const QString& caption) { return !accessKey(caption).isNull(); });
                if (english)
                    keyedInEnglish[name] = keyed;
                else if (keyedInEnglish.value(name) && !keyed)
                    problems << name + QStringLiteral(" lost its access key: ") +
                                    it.value().join(QLatin1Char('|'));
            }
        }
        EXPECT_TRUE(problems.isEmpty()) << problems.join(QLatin1Char('\n')).toStdString();
    }
    EXPECT_FALSE(keyedInEnglish.isEmpty());
}

TEST_F(Keyboard, EscapeClosesOptionsAndAboutAndEnterTakesOk) {
    struct Case {
        QWidget* window;
        Qt::Key key;
    };
    for (const Case& c : {Case{Form3, Qt::Key_Escape}, Case{AboutBox, Qt::Key_Escape},
                          Case{AboutBox, Qt::Key_Return}, Case{AboutBox, Qt::Key_Enter}}) {
        SCOPED_TRACE(c.window->objectName().toStdString() + " " + std::to_string(c.key));
        c.window->show();
        ASSERT_TRUE(c.window->isVisible());
        QTest::keyClick(c.window, c.key);
        EXPECT_FALSE(c.window->isVisible());
    }
    // A key that means nothing there leaves the window open.
    Form3->show();
    QTest::keyClick(Form3, Qt::Key_Return);
    EXPECT_TRUE(Form3->isVisible());
    Form3->hide();
}

} // namespace
