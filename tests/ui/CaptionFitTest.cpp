// Every caption of every shipped language, measured with the font its control
// is drawn in, fits that control: no caption is cut.
#include "ui/Controls.h"
#include "ui/SettingsAndLanguage.h"
#include "ui/TAboutBox.h"
#include "ui/TForm1.h"
#include "ui/TForm2.h"
#include "ui/TForm3.h"
#include "ui/TForm6.h"
#include "ui/TForm7.h"

#include "support/StartedWindows.h"
#include "support/TestFiles.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <gtest/gtest.h>

using namespace vv;

namespace {

QString nameOf(const QWidget* control) {
    return control->window()->objectName() + QLatin1Char('.') + control->objectName();
}

QString shortfall(const QWidget* control, const QString& text, int needed, int available) {
    return QStringLiteral("%1 \"%2\" needs %3 px, has %4")
        .arg(nameOf(control), text)
        .arg(needed)
        .arg(available);
}

// The room a button's or check box's caption is drawn in, as its style lays it out.
int buttonTextRoom(const QAbstractButton* button, const QString& text) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = text;
    QStyle::SubElement element = QStyle::SE_PushButtonContents;
    if (qobject_cast<const QCheckBox*>(button))
        element = QStyle::SE_CheckBoxContents;
    else if (qobject_cast<const QRadioButton*>(button))
        element = QStyle::SE_RadioButtonContents;
    else if (const auto* push = qobject_cast<const QPushButton*>(button); push && push->isFlat())
        option.features |= QStyleOptionButton::Flat;
    return button->style()->subElementRect(element, &option, button).width();
}

// The width the ink of a one-line caption covers: blanks at its end draw
// nothing, nor does the empty side room of its first and last letters.
int inkWidth(const QFontMetrics& metrics, int flags, const QString& caption) {
    QString text = caption;
    while (text.endsWith(QLatin1Char(' ')))
        text.chop(1);
    if (text.isEmpty())
        return 0;
    return metrics.size(flags, text).width() - qMax(0, metrics.leftBearing(text.front())) -
           qMax(0, metrics.rightBearing(text.back()));
}

// Empty when `text` fits `control`; otherwise what is cut and by how much.
QString cutCaption(const QWidget* control, const QString& text) {
    if (text.isEmpty())
        return {};
    const QFontMetrics metrics(control->font());
    if (const auto* button = qobject_cast<const QAbstractButton*>(control)) {
        const int needed = inkWidth(metrics, Qt::TextShowMnemonic, text);
        const int room = buttonTextRoom(button, text);
        return needed > room ? shortfall(control, text, needed, room) : QString();
    }
    if (const auto* label = qobject_cast<const QLabel*>(control)) {
        const QRect room = label->contentsRect();
        const int flags = label->buddy() ? Qt::TextShowMnemonic : 0;
        if (label->wordWrap()) {
            const QRect needed = metrics.boundingRect(room, Qt::TextWordWrap | int(label->alignment()), text);
            if (needed.height() > room.height() || needed.width() > room.width())
                return shortfall(control, text, needed.height(), room.height()) + QStringLiteral(" (height)");
            return {};
        }
        // A label that sizes itself must still end inside its window.
        const int right =
            label->property("autoSize").toBool() ? label->parentWidget()->width() - label->x() : room.width();
        const int needed = inkWidth(metrics, flags, text);
        return needed > right ? shortfall(control, text, needed, right) : QString();
    }
    if (const auto* group = qobject_cast<const QGroupBox*>(control)) {
        const int needed = metrics.size(Qt::TextShowMnemonic, text).width() + 16;
        return needed > group->width() ? shortfall(control, text, needed, group->width()) : QString();
    }
    return {};
}

QString captionShown(const QWidget* control) {
    if (const auto* group = qobject_cast<const QGroupBox*>(control))
        return group->title();
    return ui::captionOf(control);
}

class CaptionFit : public test::WindowsInStartDir {
protected:
    void SetUp() override {
        ui::setUpApplication(); // the program's font, before any window exists
        createWindowsIn(QDir::currentPath());
    }
};

TEST_F(CaptionFit, EveryCaptionOfEveryShippedLanguageFitsItsControl) {
    const QDir languages(test::dataPath(QStringLiteral("Language")));
    const QStringList files = languages.entryList({QStringLiteral("vkdm_*.lng")}, QDir::Files);
    ASSERT_GE(files.size(), 2);
    for (const QString& file : files) {
        SCOPED_TRACE(file.toStdString());
        Form1->ScreenType = 2;
        ApplyLanguage(languages.filePath(file));
        ASSERT_TRUE(platform.messages.isEmpty()) << platform.messages.join('|').toStdString();

        QStringList cut;
        for (QWidget* window : sixWindows()) {
            window->ensurePolished();
            for (QWidget* control : window->findChildren<QWidget*>()) {
                control->ensurePolished();
                const QString problem = cutCaption(control, captionShown(control));
                if (!problem.isEmpty())
                    cut << problem;
            }
        }
        // Captions a button takes in turn: the sheet area open or shut, the
        // snapshot waiting for its key or finishing.
        const std::pair<QWidget*, QStringList> alternating[] = {
            {Form1->Button5, {Form1->ShowIconsCaption, Form1->HideIconsCaption}},
            {Form7->Button5, {Form1->ShowIconsCaption, Form1->HideIconsCaption}},
            {Form1->Button11, {Form1->SnapPromptCaption, Form1->SnapBusyCaption}},
            {Form7->Button11, {Form1->SnapPromptCaption, Form1->SnapBusyCaption}},
        };
        for (const auto& [control, captions] : alternating)
            for (const QString& caption : captions) {
                const QString problem = cutCaption(control, caption);
                if (!problem.isEmpty())
                    cut << problem;
            }
        EXPECT_TRUE(cut.isEmpty()) << cut.join(QStringLiteral("\n")).toStdString();
    }
}

} // namespace
