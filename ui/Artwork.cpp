#include "ui/Artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace vv::ui {
namespace {

// A lantern: the program's mark.
void drawLantern(QPainter& p, const QRectF& box) {
    const qreal w = box.width();
    const qreal h = box.height();
    const QPointF c = box.center();
    p.setPen(QPen(QColor(40, 40, 40), w * 0.04));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(c.x() - w * 0.14, box.top(), w * 0.28, h * 0.24), 0, 180 * 16);
    QRectF glass(c.x() - w * 0.25, box.top() + h * 0.2, w * 0.5, h * 0.58);
    QLinearGradient glow(glass.topLeft(), glass.bottomLeft());
    glow.setColorAt(0, QColor(255, 236, 140));
    glow.setColorAt(1, QColor(255, 160, 40));
    p.setBrush(glow);
    p.drawRoundedRect(glass, w * 0.06, w * 0.06);
    p.setBrush(QColor(60, 60, 60));
    p.drawRect(QRectF(c.x() - w * 0.3, box.top() + h * 0.16, w * 0.6, h * 0.07));
    p.drawRect(QRectF(c.x() - w * 0.3, box.top() + h * 0.78, w * 0.6, h * 0.08));
    p.setBrush(QColor(255, 255, 255, 200));
    p.setPen(Qt::NoPen);
    QPainterPath flame;
    flame.moveTo(c.x(), box.top() + h * 0.32);
    flame.cubicTo(c.x() + w * 0.12, box.top() + h * 0.5, c.x() + w * 0.08, box.top() + h * 0.66, c.x(),
                  box.top() + h * 0.68);
    flame.cubicTo(c.x() - w * 0.08, box.top() + h * 0.66, c.x() - w * 0.12, box.top() + h * 0.5, c.x(),
                  box.top() + h * 0.32);
    p.drawPath(flame);
}

} // namespace

QImage programPicture(int size) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Drawn on a 100 x 100 grid; the desktop's icon sizes scale it.
    p.scale(size / 100.0, size / 100.0);
    QLinearGradient back(0, 0, 100, 100);
    back.setColorAt(0, QColor(46, 139, 87));
    back.setColorAt(1, QColor(20, 70, 45));
    p.setPen(Qt::NoPen);
    p.setBrush(back);
    p.drawRoundedRect(QRectF(4, 4, 92, 92), 18, 18);
    drawLantern(p, QRectF(22, 12, 56, 76));
    return image;
}

QIcon programIcon() {
    QIcon icon;
    for (const int size : kProgramIconSizes)
        icon.addPixmap(QPixmap::fromImage(programPicture(size)));
    return icon;
}

QImage handheldScreenPicture() {
    QImage image(160, 160, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 160);
    sky.setColorAt(0, QColor(24, 40, 96));
    sky.setColorAt(1, QColor(8, 12, 32));
    p.fillRect(image.rect(), sky);
    // A launcher screen: a title bar and a grid of icons.
    p.fillRect(QRect(0, 0, 160, 14), QColor(46, 139, 87));
    p.setPen(Qt::white);
    QFont font = p.font();
    font.setPixelSize(10);
    font.setBold(true);
    p.setFont(font);
    p.drawText(QRect(4, 0, 152, 14), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Lanternshade"));
    const QColor tiles[] = {QColor(230, 90, 70),   QColor(250, 190, 60),  QColor(90, 180, 240),
                            QColor(140, 210, 110), QColor(200, 120, 220), QColor(240, 240, 240)};
    for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 4; ++col) {
            const QRectF tile(12 + col * 36, 24 + row * 36, 28, 22);
            p.setPen(Qt::NoPen);
            p.setBrush(tiles[(row * 4 + col) % 6]);
            p.drawRoundedRect(tile, 4, 4);
        }
    // Between the icons and the About box's texts on this picture, clear of both.
    drawLantern(p, QRectF(69, 84, 22, 29));
    return image;
}

QImage iconSetFramePicture(QSize size, const QRect& slotBlock) {
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF frame = QRectF(image.rect()).adjusted(0.5, 0.5, -0.5, -0.5);

    // The case: a dark green-grey shell lit from the top, with a light rim.
    QLinearGradient shell(frame.topLeft(), frame.bottomLeft());
    shell.setColorAt(0, QColor(86, 104, 94));
    shell.setColorAt(0.5, QColor(56, 70, 62));
    shell.setColorAt(1, QColor(34, 42, 38));
    p.setPen(QPen(QColor(20, 26, 23), 1));
    p.setBrush(shell);
    p.drawRoundedRect(frame, 9, 9);
    p.setPen(QPen(QColor(150, 176, 160, 160), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(frame.adjusted(1.5, 1.5, -1.5, -1.5), 7.5, 7.5);

    // The band above the screen: a small lantern and a speaker grille, under
    // the "Hi-Res I&cons" button when that is shown.
    const qreal bandTop = 4;
    const qreal bandBottom = slotBlock.top() - 4;
    if (bandBottom - bandTop >= 8) {
        const qreal bandHeight = bandBottom - bandTop;
        drawLantern(p, QRectF(10, bandTop, bandHeight * 0.7, bandHeight));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(24, 30, 27));
        for (int i = 0; i < 5; ++i)
            p.drawEllipse(QPointF(size.width() - 16 - i * 7, (bandTop + bandBottom) / 2), 1.6, 1.6);
    }

    // The screen the slots sit on: a pale, even well with a sunken edge, so
    // the icons show as they will on the handheld.
    p.setRenderHint(QPainter::Antialiasing, false);
    const QRect well = slotBlock.adjusted(-1, -1, 0, 0);
    p.fillRect(slotBlock, QColor(226, 236, 222));
    p.setPen(QColor(18, 22, 20));
    p.drawLine(well.topLeft(), well.topRight());
    p.drawLine(well.topLeft(), well.bottomLeft());
    p.setPen(QColor(120, 150, 130));
    p.drawLine(well.bottomLeft() + QPoint(1, 0), well.bottomRight());
    p.drawLine(well.topRight() + QPoint(0, 1), well.bottomRight());
    return image;
}

} // namespace vv::ui
