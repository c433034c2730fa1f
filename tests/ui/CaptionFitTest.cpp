// Every window in every shipped language, measured with the fonts its
// controls are drawn in: no caption is cut, wider or taller than its control,
// and no two visible controls overlap where the layout does not mean them to
// (a text over another, over a picture, or across a frame it is not the title of).
#include "ui/BuildInputs.h"
#include "ui/Controls.h"
#include "ui/SettingsAndLanguage.h"
#include "ui/TAboutBox.h"
#include "ui/TForm1.h"
#include "ui/TForm2.h"
#include "ui/TForm3.h"
#include "ui/TForm6.h"
#include "ui/TForm7.h"

#include "ShippedLanguages.h"
#include "support/StartedWindows.h"
#include "support/TestFiles.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

using namespace vv;

namespace {

QString nameOf(const QWidget* control) {
    return control->window()->objectName() + QLatin1Char('.') + control->objectName();
}

QString rectText(const QRect& r) {
    return QStringLiteral("(%1,%2 %3x%4)").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
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
        if (needed > room)
            return shortfall(control, text, needed, room);
        // A flat button draws its caption over its whole height.
        if (metrics.ascent() + metrics.descent() > button->height())
            return shortfall(control, text, metrics.ascent() + metrics.descent(), button->height()) +
                   QStringLiteral(" (height)");
        return {};
    }
    if (const auto* edit = qobject_cast<const QLineEdit*>(control)) {
        // The hint shown in an empty field, within the field's text room.
        const QString hint = edit->placeholderText();
        const int room = edit->contentsRect().width() - 8;
        const int needed = metrics.horizontalAdvance(hint);
        return needed > room ? shortfall(control, hint, needed, room) : QString();
    }
    if (const auto* list = qobject_cast<const QComboBox*>(control)) {
        QStyleOptionComboBox option;
        option.initFrom(list);
        const int room =
            list->style()
                ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, list)
                .width();
        for (int i = 0; i < list->count(); ++i)
            if (const int needed = metrics.horizontalAdvance(list->itemText(i)); needed > room)
                return shortfall(control, list->itemText(i), needed, room);
        return {};
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
        if (needed > right)
            return shortfall(control, text, needed, right);
        if (!label->property("autoSize").toBool() && metrics.ascent() + metrics.descent() > room.height())
            return shortfall(control, text, metrics.ascent() + metrics.descent(), room.height()) +
                   QStringLiteral(" (height)");
        return {};
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

// Where a control paints, in its window's coordinates: a label its text as
// aligned in its room (all of it when it fills its background), a check box its
// box and caption, any other control its whole rectangle.
QRect paintedRect(const QWidget* control) {
    QRect painted = control->rect();
    if (const auto* label = qobject_cast<const QLabel*>(control); label && !label->autoFillBackground()) {
        const QFontMetrics metrics(label->font());
        const QRect room = label->contentsRect();
        const QSize text =
            label->wordWrap()
                ? metrics.boundingRect(room, Qt::TextWordWrap | int(label->alignment()), label->text()).size()
                : QSize(inkWidth(metrics, Qt::TextShowMnemonic, label->text()), metrics.height());
        painted = QStyle::alignedRect(label->layoutDirection(), label->alignment(), text, room);
    } else if (const auto* box = qobject_cast<const QCheckBox*>(control)) {
        painted.setWidth(qMin(painted.width(), box->sizeHint().width()));
    }
    return QRect(control->mapTo(control->window(), painted.topLeft()), painted.size());
}

enum class Role { Text, Picture, Frame, None };

// Texts are captions and fields, which must stand alone; pictures must not lie
// under a text; frames may be crossed by their own title only.
Role roleOf(const QWidget* control) {
    if (qobject_cast<const QAbstractButton*>(control) || qobject_cast<const QLineEdit*>(control) ||
        qobject_cast<const QComboBox*>(control))
        return Role::Text;
    if (const auto* label = qobject_cast<const QLabel*>(control))
        return label->text().isEmpty() && !label->autoFillBackground() ? Role::None : Role::Text;
    // A picture that takes no clicks is a background others are drawn on.
    if (qobject_cast<const TImage*>(control) && !control->testAttribute(Qt::WA_TransparentForMouseEvents))
        return Role::Picture;
    if (control->metaObject() == &QFrame::staticMetaObject)
        return Role::Frame;
    return Role::None;
}

// What the layout puts over what on purpose: a control and those it may cover.
struct MeantOverlap {
    const char* window;
    const char* control;
    std::initializer_list<const char*> covered;
};
const MeantOverlap kMeantOverlaps[] = {
    // The version and its shadow, on the program picture.
    {"Form1", "Label6", {"Label7", "ProgramIcon"}},
    {"Form1", "Label7", {"ProgramIcon"}},
    // Texts on the handheld's screen.
    {"AboutBox", "Comments", {"Image1"}},
    {"AboutBox", "Version", {"Image1"}},
    // The snapshot's end button stands in for the controls it turns off.
    {"Form1", "Button11", {"Edit1", "Button8"}},
    {"Form7", "Button11", {"Label5", "Label4", "Button2", "Button3"}},
    // The build's result stands in the name row until the next action.
    {"Form1", "BuildResult", {"Edit1", "Button8"}},
};

bool meantToOverlap(const QWidget* a, const QWidget* b) {
    const QString window = a->window()->objectName();
    for (const MeantOverlap& meant : kMeantOverlaps) {
        if (window != QLatin1String(meant.window))
            continue;
        for (const auto& [over, under] : {std::pair(a, b), std::pair(b, a)})
            if (over->objectName() == QLatin1String(meant.control))
                for (const char* covered : meant.covered)
                    if (under->objectName() == QLatin1String(covered))
                        return true;
    }
    return false;
}

// A text that crosses a frame's edge must be that frame's title: on its top
// edge and within its width.
bool crossesFrame(const QRect& text, const QRect& frame) {
    const QRect inside = frame.adjusted(2, 2, -2, -2);
    if (!text.intersects(frame) || inside.contains(text))
        return false;
    const bool title = text.top() <= frame.top() && text.bottom() >= frame.top() &&
                       text.left() >= frame.left() && text.right() <= frame.right();
    return !title;
}

// Every overlap of `window`'s visible controls that the layout does not mean.
QStringList overlapsOf(QWidget* window) {
    QList<QWidget*> controls;
    for (QWidget* control : window->findChildren<QWidget*>())
        if (control->isVisibleTo(window) && roleOf(control) != Role::None)
            controls << control;
    QStringList found;
    for (qsizetype i = 0; i < controls.size(); ++i)
        for (qsizetype j = i + 1; j < controls.size(); ++j) {
            QWidget* a = controls[i];
            QWidget* b = controls[j];
            Role ra = roleOf(a), rb = roleOf(b);
            if (ra != Role::Text && rb != Role::Text)
                continue;
            if (ra != Role::Text) {
                std::swap(a, b);
                std::swap(ra, rb);
            }
            const QRect ta = paintedRect(a), tb = paintedRect(b);
            const bool clash = rb == Role::Frame ? crossesFrame(ta, tb) : ta.intersects(tb);
            if (clash && !meantToOverlap(a, b))
                found << QStringLiteral("%1 \"%2\" %3 over %4 \"%5\" %6")
                             .arg(nameOf(a), ui::captionOf(a), rectText(ta), nameOf(b), ui::captionOf(b),
                                  rectText(tb));
        }
    return found;
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

namespace {

// The states a window is seen in: as it opens, with the sheet area open, while
// a snapshot runs, and with a build's result showing for the longest name.
TEST_F(CaptionFit, NoTwoControlsOverlapInAnyLanguageOrState) {
    for (const QString& file : test::shippedLanguageFiles()) {
        SCOPED_TRACE(QFileInfo(file).fileName().toStdString());
        Form1->ScreenType = 2; // every control of the OS5 screen is shown
        ApplyLanguage(file);
        ASSERT_TRUE(platform.messages.isEmpty()) << platform.messages.join('|').toStdString();
        QStringList found;
        const auto look = [&](const char* state) {
            for (QWidget* window : sixWindows())
                for (const QString& overlap : overlapsOf(window))
                    found << QLatin1String(state) + QStringLiteral(": ") + overlap;
        };
        look("open");
        Form1->Button5Click();
        Form7->Button5Click();
        look("sheet area");
        Form1->Button5Click();
        Form7->Button5Click();
        for (TButton* end : {Form1->Button11, Form7->Button11})
            end->show();
        look("snapshot");
        for (TButton* end : {Form1->Button11, Form7->Button11})
            end->hide();
        ui::showBuildResult(Form1->Messages[Message::BuildResult].arg(
            QStringLiteral("PDBFiles/") + QString(30, QLatin1Char('W')) + QStringLiteral(".pdb"),
            QStringLiteral("9999")));
        look("result");
        ui::hideBuildResult();
        EXPECT_TRUE(found.isEmpty()) << found.join(QLatin1Char('\n')).toStdString();
    }
}

} // namespace
