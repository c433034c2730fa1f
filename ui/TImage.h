// A picture control: shows its picture at natural size from its top-left
// corner, clipped to the control, and reports clicks. The picture is owned by
// the control and copied in and out, never shared.
#pragma once

#include <QImage>
#include <QWidget>

class TImage : public QWidget {
    Q_OBJECT
public:
    explicit TImage(QWidget* parent = nullptr);

    const QImage& picture() const { return picture_; }
    // Takes a copy of `image`; with AutoSize the control takes the picture's size.
    void setPicture(const QImage& image);
    // The picture for in-place drawing; call update() afterwards.
    QImage& editablePicture() { return picture_; }

    bool autoSize() const { return autoSize_; }
    void setAutoSize(bool on);

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage picture_;
    bool autoSize_ = false;
};
