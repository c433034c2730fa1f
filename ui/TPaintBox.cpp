#include "ui/TPaintBox.h"

#include <QMouseEvent>

// A plain child widget fills no background, so the sheet below shows through.
TPaintBox::TPaintBox(QWidget* parent) : QWidget(parent) {}

void TPaintBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}
