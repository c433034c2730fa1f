#include "ui/Controls.h"

#include "ui/Artwork.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

void TLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QLabel::mouseReleaseEvent(event);
}

namespace vv::ui {

QString programTitle() {
    return QStringLiteral("Vedi Vavurir");
}

void setUpApplication() {
    QApplication::setApplicationName(QStringLiteral("vedivavurir"));
    QApplication::setApplicationVersion(QStringLiteral(VV_VERSION));
    // Ties the windows to the menu entry (and its icon) on Wayland.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.vedivavurir"));
    QApplication::setWindowIcon(programIcon());
    // The main window's closing ends the program, not the last visible window:
    // the main window hides itself while another window is shown modally.
    QApplication::setQuitOnLastWindowClosed(false);
    // The window layouts are laid out for a small dialog font.
    QFont font = QApplication::font();
    font.setPixelSize(11);
    QApplication::setFont(font);
}

void setupFixedWindow(QWidget* window, int clientWidth, int clientHeight) {
    window->setFixedSize(clientWidth, clientHeight);
    window->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint);
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, Qt::white);
    window->setPalette(palette);
    window->setAutoFillBackground(true);
    centreOnScreen(window);
}

void centreOnScreen(QWidget* window) {
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

TButton* makeButton(QWidget* parent, const char* name, const QString& caption, int x, int y, int w, int h) {
    auto* button = new TButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(x, y, w, h);
    button->setAutoDefault(false);
    return button;
}

TButton* makeSpeedButton(QWidget* parent, const char* name, const QString& caption, int x, int y, int w,
                         int h) {
    TButton* button = makeButton(parent, name, caption, x, y, w, h);
    button->setFlat(true);
    button->setFocusPolicy(Qt::NoFocus);
    // No border: a flat button's caption then has the whole width, and the
    // caption turns green under the pointer instead of a raised frame.
    button->setStyleSheet(QStringLiteral("QPushButton { padding: 0px; border: none; text-align: left; }"
                                         " QPushButton:hover { color: rgb(46, 139, 87); }"));
    return button;
}

TLabel* makeLabel(QWidget* parent, const char* name, const QString& caption, int x, int y, int w, int h) {
    auto* label = new TLabel(caption, parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    if (w > 0 && h > 0) {
        label->setGeometry(x, y, w, h);
    } else {
        label->move(x, y);
        label->setProperty("autoSize", true);
        label->adjustSize();
    }
    return label;
}

QFrame* makeBevel(QWidget* parent, const char* name, int x, int y, int w, int h) {
    auto* bevel = new QFrame(parent);
    bevel->setObjectName(QLatin1String(name));
    bevel->setFrameShape(QFrame::Box);
    bevel->setFrameShadow(QFrame::Sunken);
    bevel->setGeometry(x, y, w, h);
    bevel->lower();
    bevel->setAttribute(Qt::WA_TransparentForMouseEvents);
    return bevel;
}

void setCaption(QWidget* control, const QString& caption) {
    if (auto* label = qobject_cast<QLabel*>(control)) {
        label->setText(caption);
        if (label->property("autoSize").toBool())
            label->adjustSize();
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        button->setText(caption);
    }
}

namespace {

const char* const kToolTipText = "vvToolTipText";

// The letter after a single '&' of `caption`; null when there is none.
QChar accessKeyOf(const QString& caption) {
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != QLatin1Char('&'))
            continue;
        if (caption[i + 1] != QLatin1Char('&'))
            return caption[i + 1].toUpper();
        ++i;
    }
    return {};
}

QChar accessKeyFor(const QWidget* control) {
    if (const QChar own = accessKeyOf(captionOf(control));
        !own.isNull() && !qobject_cast<const QLabel*>(control))
        return own;
    if (control->isWindow())
        return {};
    for (const QLabel* label : control->window()->findChildren<QLabel*>())
        if (label->buddy() == control)
            return accessKeyOf(label->text());
    return {};
}

} // namespace

void setToolTipText(QWidget* control, const QString& text) {
    control->setProperty(kToolTipText, text);
    refreshToolTip(control);
}

void refreshToolTip(QWidget* control) {
    const QString text = control->property(kToolTipText).toString();
    if (text.isEmpty())
        return;
    const QChar key = accessKeyFor(control);
    control->setToolTip(key.isNull() ? text : QStringLiteral("%1 (Alt+%2)").arg(text, key));
}

void refreshToolTips(QWidget* window) {
    refreshToolTip(window);
    for (QWidget* control : window->findChildren<QWidget*>())
        refreshToolTip(control);
}

void placeFrameTitle(QLabel* title, const QFrame* frame) {
    constexpr int Indent = 8;
    const int x = title->width() <= frame->width() - 2 * Indent
                      ? frame->x() + Indent
                      : frame->x() + (frame->width() - title->width()) / 2;
    title->move(x, title->y());
}

QString captionOf(const QWidget* control) {
    if (auto* label = qobject_cast<const QLabel*>(control))
        return label->text();
    if (auto* button = qobject_cast<const QAbstractButton*>(control))
        return button->text();
    return {};
}

} // namespace vv::ui
