#include "ui/TImage.h"

#include <QMouseEvent>
#include <QPainter>

TImage::TImage(QWidget* parent) : QWidget(parent) {}

void TImage::setPicture(const QImage& image) {
    picture_ = image.copy();
    // A grab of a scaled screen has more pixels than it covers.
    if (autoSize_ && !picture_.isNull())
        resize(picture_.deviceIndependentSize().toSize());
    update();
}

void TImage::setAutoSize(bool on) {
    autoSize_ = on;
    if (autoSize_ && !picture_.isNull())
        resize(picture_.deviceIndependentSize().toSize());
}

void TImage::paintEvent(QPaintEvent*) {
    if (picture_.isNull())
        return;
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), picture_);
}

void TImage::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}
