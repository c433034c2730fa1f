// Small controls and helpers the windows are built from: buttons with a tag,
// clickable labels and panels, bevels, and the fixed-size window setup.
#pragma once

#include <QFrame>
#include <QLabel>
#include <QPushButton>

class QWidget;

// A push button (or, flat, a speed button) with the integer tag some handlers keep state in.
class TButton : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;
    int Tag = 0;
};

// A label that reports clicks (version labels, the colour swatch).
class TLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

namespace vv::ui {

// The program's name as the desktop entry gives it, for the title of message
// boxes that belong to no window.
QString programTitle();

// Application-wide set-up shared by the program and the window tests: names,
// version, window icon, font, and the main window (not the last visible one)
// ending the program. No display name is set: on X11 Qt appends it to every
// window title, and the titles are the captions the language file sets.
void setUpApplication();

// Fixed client size, white background, no maximise or resize, centred on the screen.
void setupFixedWindow(QWidget* window, int clientWidth, int clientHeight);
// Centres `window` on the screen it is on.
void centreOnScreen(QWidget* window);

TButton* makeButton(QWidget* parent, const char* name, const QString& caption, int x, int y, int w, int h);
TButton* makeSpeedButton(QWidget* parent, const char* name, const QString& caption, int x, int y, int w,
                         int h);
// A label at (x, y); with w and h 0 it sizes itself to its text.
TLabel* makeLabel(QWidget* parent, const char* name, const QString& caption, int x, int y, int w = 0,
                  int h = 0);
QFrame* makeBevel(QWidget* parent, const char* name, int x, int y, int w, int h);
// Sets a label's or button's caption; a label that sizes itself follows its text.
void setCaption(QWidget* control, const QString& caption);
QString captionOf(const QWidget* control);
// Gives `control` the tooltip `text`, followed by its access key where its
// caption (or the label that leads to it) has one.
void setToolTipText(QWidget* control, const QString& text);
// Adds the access keys afresh to the tooltips of `window` and its controls,
// after their captions changed.
void refreshToolTips(QWidget* window);
void refreshToolTip(QWidget* control);

// Puts a frame's title on the frame's top edge: near its left end where it
// fits there, else centred over it.
void placeFrameTitle(QLabel* title, const QFrame* frame);

} // namespace vv::ui
