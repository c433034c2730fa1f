#include "icons/IconArt.h"

#include "common/PictureCopy.h"
#include "icons/IconSlots.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

#include <cmath>

namespace vv {
namespace {

// Everything below is drawn in 32 x 22 design units; the painter's scale makes
// the double-size version. No antialiasing: icons end up in palette bitmaps.
void drawGlyph(QPainter& p, IconGlyph glyph, const IconColours& c) {
    const QColor ink = QColor::fromRgb(c.ink);
    const QColor accent = QColor::fromRgb(c.accent);
    const QColor tile = QColor::fromRgb(c.tile);
    p.setPen(QPen(ink, 1));
    p.setBrush(accent);
    switch (glyph) {
    case IconGlyph::All:
        p.drawRect(9, 4, 6, 6);
        p.drawRect(17, 4, 6, 6);
        p.drawRect(9, 12, 6, 6);
        p.drawRect(17, 12, 6, 6);
        break;
    case IconGlyph::Games:
        p.drawRect(9, 3, 14, 15);
        p.setBrush(ink);
        p.drawRect(11, 5, 2, 2);
        p.drawRect(19, 5, 2, 2);
        p.drawRect(15, 10, 2, 2);
        p.drawRect(11, 14, 2, 2);
        p.drawRect(19, 14, 2, 2);
        break;
    case IconGlyph::Main:
        p.drawPolygon(QPolygon({QPoint(16, 3), QPoint(25, 10), QPoint(7, 10)}));
        p.drawRect(9, 10, 14, 9);
        p.setBrush(tile);
        p.drawRect(14, 13, 4, 6);
        break;
    case IconGlyph::System: {
        QPolygon teeth;
        for (int i = 0; i < 16; ++i) {
            const double a = i * M_PI / 8;
            const double r = (i % 2) ? 6.0 : 8.5;
            teeth << QPoint(int(std::lround(16 + r * std::cos(a))), int(std::lround(11 + r * std::sin(a))));
        }
        p.drawPolygon(teeth);
        p.setBrush(tile);
        p.drawEllipse(QPoint(16, 11), 2, 2);
        break;
    }
    case IconGlyph::Utilities:
        p.drawPolygon(QPolygon({QPoint(17, 9), QPoint(19, 11), QPoint(11, 19), QPoint(9, 17)}));
        p.drawPolygon(QPolygon({QPoint(14, 6), QPoint(19, 2), QPoint(25, 8), QPoint(21, 12)}));
        break;
    case IconGlyph::Unfiled:
        p.drawPolygon(QPolygon(
            {QPoint(7, 5), QPoint(13, 5), QPoint(15, 7), QPoint(25, 7), QPoint(25, 18), QPoint(7, 18)}));
        p.drawLine(7, 9, 25, 9);
        break;
    case IconGlyph::Favourites: {
        QPolygon star;
        for (int i = 0; i < 10; ++i) {
            const double a = -M_PI / 2 + i * M_PI / 5;
            const double r = (i % 2) ? 3.5 : 8.5;
            star << QPoint(int(std::lround(16 + r * std::cos(a))), int(std::lround(11.5 + r * std::sin(a))));
        }
        p.drawPolygon(star);
        break;
    }
    case IconGlyph::Music:
        p.setBrush(ink);
        p.drawEllipse(QRect(9, 14, 5, 4));
        p.drawEllipse(QRect(18, 12, 5, 4));
        p.drawRect(13, 4, 1, 12);
        p.drawRect(22, 3, 1, 11);
        p.drawPolygon(QPolygon({QPoint(13, 4), QPoint(23, 2), QPoint(23, 5), QPoint(13, 7)}));
        break;
    case IconGlyph::Photos:
        p.setBrush(Qt::white);
        p.drawRect(7, 4, 18, 14);
        p.setBrush(accent);
        p.drawPolygon(
            QPolygon({QPoint(8, 17), QPoint(13, 10), QPoint(17, 14), QPoint(20, 11), QPoint(24, 17)}));
        p.setBrush(QColor(255, 200, 0));
        p.drawEllipse(QRect(19, 5, 3, 3));
        break;
    case IconGlyph::Mail:
        p.setBrush(Qt::white);
        p.drawRect(7, 5, 18, 12);
        p.drawPolyline(QPolygon({QPoint(7, 5), QPoint(16, 12), QPoint(25, 5)}));
        break;
    case IconGlyph::Web:
        p.drawEllipse(QRect(8, 3, 16, 16));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRect(12, 3, 8, 16));
        p.drawLine(8, 11, 24, 11);
        p.drawLine(16, 3, 16, 19);
        break;
    case IconGlyph::Calendar:
        p.setBrush(Qt::white);
        p.drawRect(8, 4, 16, 15);
        p.setBrush(accent);
        p.drawRect(8, 4, 16, 4);
        p.setBrush(ink);
        for (int row = 0; row < 3; ++row)
            for (int col = 0; col < 4; ++col)
                p.drawRect(10 + 4 * col, 10 + 3 * row, 1, 1);
        break;
    case IconGlyph::Contacts:
        p.drawEllipse(QRect(12, 3, 8, 8));
        p.drawChord(QRect(8, 12, 16, 14), 0, 180 * 16);
        break;
    case IconGlyph::Memo:
        p.setBrush(Qt::white);
        p.drawPolygon(QPolygon({QPoint(9, 3), QPoint(20, 3), QPoint(24, 7), QPoint(24, 19), QPoint(9, 19)}));
        for (int y = 8; y <= 16; y += 3)
            p.drawLine(12, y, 21, y);
        break;
    case IconGlyph::Calculator:
        p.drawRect(10, 2, 12, 18);
        p.setBrush(Qt::white);
        p.drawRect(12, 4, 8, 3);
        p.setBrush(ink);
        for (int row = 0; row < 3; ++row)
            for (int col = 0; col < 3; ++col)
                p.drawRect(12 + 3 * col, 9 + 3 * row, 1, 1);
        break;
    case IconGlyph::Clock:
        p.setBrush(Qt::white);
        p.drawEllipse(QRect(8, 3, 16, 16));
        p.drawLine(16, 11, 16, 5);
        p.drawLine(16, 11, 20, 13);
        break;
    case IconGlyph::Settings:
        for (int i = 0; i < 3; ++i) {
            p.drawLine(8, 6 + 5 * i, 24, 6 + 5 * i);
            p.drawRect(10 + 5 * ((i * 2) % 3) + i, 4 + 5 * i, 3, 4);
        }
        break;
    case IconGlyph::Card:
        p.drawPolygon(
            QPolygon({QPoint(10, 3), QPoint(19, 3), QPoint(23, 7), QPoint(23, 19), QPoint(10, 19)}));
        p.setBrush(QColor(230, 190, 40));
        for (int i = 0; i < 4; ++i)
            p.drawRect(12 + 3 * i, 4, 1, 3);
        break;
    case IconGlyph::Search:
        p.setBrush(Qt::white);
        p.drawEllipse(QRect(8, 3, 11, 11));
        p.setBrush(accent);
        p.drawPolygon(QPolygon({QPoint(17, 14), QPoint(19, 12), QPoint(25, 18), QPoint(23, 20)}));
        break;
    case IconGlyph::Battery:
        p.setBrush(Qt::white);
        p.drawRect(6, 6, 18, 10);
        p.setBrush(ink);
        p.drawRect(24, 9, 2, 4);
        p.setBrush(accent);
        p.drawRect(8, 8, 10, 6);
        break;
    case IconGlyph::Camera:
        p.drawRect(7, 6, 18, 12);
        p.drawRect(11, 4, 5, 2);
        p.setBrush(Qt::white);
        p.drawEllipse(QRect(12, 8, 8, 8));
        p.setBrush(ink);
        p.drawEllipse(QRect(15, 11, 2, 2));
        break;
    case IconGlyph::Blank:
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(ink, 1, Qt::DashLine));
        p.drawRect(9, 4, 14, 14);
        p.setPen(QPen(ink, 1));
        p.drawLine(16, 8, 16, 14);
        p.drawLine(13, 11, 19, 11);
        break;
    }
}

// Colour schemes of the factory pictures, one per theme slot.
constexpr IconColours ThemeColours[] = {
    {0xFFDCE8FF, 0xFF10305A, 0xFF3C78D8}, {0xFFFFE4D6, 0xFF5A1E10, 0xFFE8643C},
    {0xFFE2F5DA, 0xFF1E4614, 0xFF5AAA3C}, {0xFFE8E8E8, 0xFF303030, 0xFF8C8C8C},
    {0xFFF5EBD2, 0xFF503C14, 0xFFB48232}, {0xFFFFF5C8, 0xFF5A4A10, 0xFFF0C83C},
    {0xFFFFF0D2, 0xFF644610, 0xFFFFC814}, {0xFFF0DCFF, 0xFF3C145A, 0xFF8C50C8},
    {0xFFD8F0F8, 0xFF143C50, 0xFF50A0C8}, {0xFFFFE6E6, 0xFF5A1414, 0xFFD23C3C},
    {0xFFDCF5F0, 0xFF14463C, 0xFF3CAA8C}, {0xFFFFE0EC, 0xFF5A1432, 0xFFDC5082},
    {0xFFE6E6FF, 0xFF202060, 0xFF6464C8}, {0xFFFFFAD2, 0xFF504614, 0xFFDCC850},
    {0xFFE0E0E0, 0xFF202020, 0xFF606060}, {0xFFE0F0FF, 0xFF143250, 0xFF4682C8},
    {0xFFEAF5DC, 0xFF2D4614, 0xFF78B43C}, {0xFFD2E6F0, 0xFF142D3C, 0xFF285A78},
};
constexpr IconColours ExtraColours[] = {{0xFFFFEBD2, 0xFF503214, 0xFFDC8C32},
                                        {0xFFDCF0DC, 0xFF143C14, 0xFF32A032}};
constexpr IconColours BlankColours{0xFFF0F0F0, 0xFF606060, 0xFF909090};
constexpr IconColours CameraColours{0xFFDCDCF0, 0xFF1E1E3C, 0xFF5A5A8C};

} // namespace

void drawIcon(QImage& target, QPoint topLeft, int scale, IconGlyph glyph, const IconColours& colours) {
    QPainter p(&target);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.translate(topLeft);
    p.scale(scale, scale);
    p.setClipRect(QRect(0, 0, 32, 22));
    p.setPen(QPen(QColor::fromRgb(colours.ink), 1));
    p.setBrush(QColor::fromRgb(colours.tile));
    p.drawRoundedRect(QRect(4, 0, 24, 21), 4, 4);
    drawGlyph(p, glyph, colours);
}

QImage iconPicture(IconGlyph glyph, const IconColours& colours, int scale) {
    QImage picture = makeRgbPicture(QSize(32 * scale, 22 * scale), IconBackground);
    drawIcon(picture, QPoint(0, 0), scale, glyph, colours);
    return picture;
}

IconGlyph factoryGlyph(int slot) {
    if (slot < IconSetSlotCount)
        return IconGlyph::Blank;
    const int theme = slot - IconSetSlotCount;
    if (theme < 18)
        return IconGlyph(theme);
    return theme == 18 ? IconGlyph::Search : IconGlyph::Battery;
}

IconColours factoryColours(int slot) {
    if (slot < IconSetSlotCount)
        return BlankColours;
    const int theme = slot - IconSetSlotCount;
    return theme < 18 ? ThemeColours[theme] : ExtraColours[theme - 18];
}

QImage factorySlotPicture(int slot, int scale) {
    return iconPicture(factoryGlyph(slot), factoryColours(slot), scale);
}

QImage factorySnapshotPicture(int scale) {
    return iconPicture(IconGlyph::Camera, CameraColours, scale);
}

} // namespace vv
