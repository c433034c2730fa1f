// A run in one language shows that language only: every text the windows
// show (captions, window and dialog titles, tooltips, field hints, menu
// entries, file filters) is a line of the language file in use, or a value the
// program fills in (a number, the version, a path), never text of its own.
#include "app/LanguageFile.h"
#include "ui/Controls.h"
#include "ui/SettingsAndLanguage.h"
#include "ui/TImage.h"
#include "ui/TPaintBox.h"

#include "ShippedLanguages.h"
#include "support/StartedWindows.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace vv;

namespace {

class LanguageCoverage : public test::StartedWindows {
protected:
    LanguageCoverage() : StartedWindows(QStringLiteral("ThmeBMP"), QStringLiteral("ThmeRsrc")) {}

    // Makes `file` the language of the settings and activates the main window.
    void startIn(const QString& file) {
        const QString name = QFileInfo(file).completeBaseName().mid(5);
        ASSERT_TRUE(test::writeBytes(path("Language/" + QFileInfo(file).fileName()), test::readBytes(file)));
        SettingsRecord record;
        record.languageName = name;
        record.screenIndex = 1; // 320x320 OS5: every control is offered
        ASSERT_TRUE(writeSettingsFile(path("vkdm_settings.cfg"), record));
        Form1->FormActivate();
        ASSERT_TRUE(platform.messages.isEmpty()) << platform.messages.join('|').toStdString();
    }
};

// True when `text` is made of the language's `lines`: a line, a line with its
// placeholders filled, lines one per row, two lines with a space between them,
// or a tooltip's line followed by its access key.
bool madeOfLines(const QString& text, const QStringList& lines) {
    static const QRegularExpression accessKeyHint(QStringLiteral(" \\(Alt\\+.\\)$"));
    static const QRegularExpression value(QStringLiteral("^(ver\\. )?[0-9A-Fa-f .,:x/-]*$"));
    if (text.contains(QLatin1Char('\n'))) {
        const QStringList rows = text.split(QLatin1Char('\n'));
        return std::all_of(rows.begin(), rows.end(),
                           [&](const QString& row) { return madeOfLines(row, lines); });
    }
    if (value.match(text).hasMatch() || lines.contains(text))
        return true;
    if (const QRegularExpressionMatch hint = accessKeyHint.match(text); hint.hasMatch())
        return madeOfLines(text.left(hint.capturedStart()), lines);
    for (const QString& line : lines)
        if (!line.isEmpty() && text.endsWith(QLatin1Char(' ') + line) &&
            lines.contains(text.chopped(int(line.size()) + 1)))
            return true;
    for (const QString& line : lines) {
        if (!line.contains(QLatin1Char('%')))
            continue;
        QStringList parts = line.split(QRegularExpression(QStringLiteral("%[1-9]")));
        for (QString& part : parts)
            part = QRegularExpression::escape(part);
        const QString pattern = QLatin1Char('^') + parts.join(QStringLiteral(".+")) + QLatin1Char('$');
        if (QRegularExpression(pattern).match(text).hasMatch())
            return true;
    }
    return false;
}

// What a file dialog shows of its own: the title and the filters' names.
QStringList textsOf(const FileDialogRequest& request) {
    QStringList texts{request.title};
    for (const QString& filter : request.filter.split(QStringLiteral(";;"), Qt::SkipEmptyParts))
        texts << filter.section(QStringLiteral(" ("), 0, 0);
    return texts;
}

TEST_F(LanguageCoverage, EveryShownTextComesFromTheLanguageInUse) {
    for (const QString& file : test::shippedLanguageFiles()) {
        SCOPED_TRACE(QFileInfo(file).fileName().toStdString());
        startIn(file);
        if (HasFatalFailure())
            return;
        const std::optional<LanguageTexts> lines = readLanguageFile(file);
        ASSERT_TRUE(lines);

        QList<std::pair<QString, QString>> shown; // where, text
        for (QWidget* window : sixWindows()) {
            const QString name = window->objectName();
            shown.append({name + QStringLiteral(" title"), window->windowTitle()});
            for (QWidget* control : window->findChildren<QWidget*>()) {
                const QString where = name + QLatin1Char('.') + control->objectName();
                shown.append({where, ui::captionOf(control)});
                shown.append({where + QStringLiteral(" tooltip"), control->toolTip()});
                if (auto* edit = qobject_cast<QLineEdit*>(control))
                    shown.append({where + QStringLiteral(" hint"), edit->placeholderText()});
            }
            for (QAction* action : window->actions())
                shown.append({name + QStringLiteral(" menu"), action->text()});
        }
        for (const QString& caption : {Form1->ShowIconsCaption, Form1->HideIconsCaption,
                                       Form1->SnapPromptCaption, Form1->SnapBusyCaption})
            shown.append({QStringLiteral("Form1 member"), caption});

        // The dialogs each kind of file opens with, all cancelled.
        platform.fileDialogs.clear();
        Form1->SpeedButton2Click();
        Form2->Button1Click();
        Form3->Button3Click();
        for (const char* entry : {"OpenDatabaseAction", "SaveSkinSheetAction"})
            Form2->findChild<QAction*>(QLatin1String(entry))->trigger();
        EXPECT_EQ(platform.fileDialogs.size(), 5);
        for (const FileDialogRequest& request : std::as_const(platform.fileDialogs))
            for (const QString& text : textsOf(request))
                shown.append({QStringLiteral("file dialog"), text});

        QStringList foreign;
        for (const auto& [where, text] : shown)
            if (!text.isEmpty() && !madeOfLines(text, *lines))
                foreign << where + QStringLiteral(": ") + text;
        EXPECT_TRUE(foreign.isEmpty()) << foreign.join(QLatin1Char('\n')).toStdString();
    }
}

// Every button, field, list, option, icon slot, sheet cell and snapshot
// picture says what it does (itself or through its window, for the theme
// pictures), and with its access key where its caption has one.
TEST_F(LanguageCoverage, EveryControlHasATooltipWithItsAccessKey) {
    const QStringList decorations{QStringLiteral("Form1.Image254"), QStringLiteral("AboutBox.Image1"),
                                  QStringLiteral("AboutBox.ProgramIcon")};
    for (const QString& file : test::shippedLanguageFiles()) {
        SCOPED_TRACE(QFileInfo(file).fileName().toStdString());
        startIn(file);
        if (HasFatalFailure())
            return;
        QStringList unexplained;
        for (QWidget* window : sixWindows())
            for (QWidget* control : window->findChildren<QWidget*>()) {
                const QString name = window->objectName() + QLatin1Char('.') + control->objectName();
                const bool explains = qobject_cast<QAbstractButton*>(control) ||
                                      qobject_cast<QLineEdit*>(control) ||
                                      qobject_cast<QComboBox*>(control) ||
                                      qobject_cast<TPaintBox*>(control) || qobject_cast<TImage*>(control);
                const bool shown =
                    control->isVisibleTo(window) || control->objectName() == QLatin1String("Button11");
                if (!explains || !shown || decorations.contains(name) ||
                    qobject_cast<QLineEdit*>(control->parentWidget()) ||
                    qobject_cast<QComboBox*>(control->parentWidget()))
                    continue;
                QString tip;
                for (QWidget* w = control; w && tip.isEmpty();
                     w = w->isWindow() ? nullptr : w->parentWidget())
                    tip = w->toolTip();
                if (tip.isEmpty()) {
                    unexplained << name;
                    continue;
                }
                const QString caption = ui::captionOf(control);
                const qsizetype amp = caption.indexOf(QLatin1Char('&'));
                if (qobject_cast<QAbstractButton*>(control) && amp >= 0 && amp + 1 < caption.size() &&
                    !tip.endsWith(QStringLiteral("(Alt+%1)").arg(caption[amp + 1].toUpper())))
                    unexplained << name + QStringLiteral(" without its key: ") + tip;
            }
        EXPECT_TRUE(unexplained.isEmpty()) << unexplained.join(QLatin1Char('\n')).toStdString();
    }
}

// Each language's help describes what nothing on screen shows by itself: the
// right-click menus (by their entries in that language), dropped files,
// PNG sheets, Escape to cancel a build and the command line.
TEST(HelpFiles, EachLanguageDescribesMenusDropsPngEscapeAndTheCommandLine) {
    for (const QString& file : test::shippedLanguageFiles()) {
        SCOPED_TRACE(QFileInfo(file).fileName().toStdString());
        const std::optional<LanguageTexts> lines = readLanguageFile(file);
        ASSERT_TRUE(lines);
        const QString help = QString::fromUtf8(test::readBytes(QFileInfo(file).dir().filePath(
            QStringLiteral("vkdm_h") + (*lines)[57] + QStringLiteral(".hlp"))));
        ASSERT_FALSE(help.isEmpty());
        for (const Message entry : {Message::OpenDatabaseAction, Message::SaveSkinSheetAction}) {
            QString shown = (*lines)[languageLineOf(entry) - 1];
            shown.remove(QLatin1Char('&')).remove(QChar(0x2026));
            EXPECT_TRUE(help.contains(shown)) << shown.toStdString();
        }
        for (const char* topic : {"PNG", "Esc", ".prc", "vedivavurir-cli", "--init"})
            EXPECT_TRUE(help.contains(QLatin1String(topic))) << topic;
    }
}

} // namespace
