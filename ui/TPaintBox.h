// An invisible click target: paints nothing, reports left clicks. The icon
// grids lay one over every cell of a sheet picture.
#pragma once

#include <QWidget>

class TPaintBox : public QWidget {
    Q_OBJECT
public:
    explicit TPaintBox(QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};
