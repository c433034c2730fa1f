#include "icons/IconArt.h"

#include "common/PictureCopy.h"
#include "icons/IconSlots.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

#include <cmath>
#include <iterator>

namespace vv {
namespace {

// The three colours of a scheme as the painter takes them.
struct GlyphInks {
    QColor ink;
    QColor accent;
    QColor tile;
};

// Everything below is drawn in 32 x 22 design units; the painter's scale makes
// the double-size version. No antialiasing: icons end up in palette bitmaps.
// Each glyph starts with a one-unit ink pen and the accent brush.
void drawAllGlyph(QPainter& p, const GlyphInks&) {
    p.drawRect(9, 4, 6, 6);
    p.drawRect(17, 4, 6, 6);
    p.drawRect(9, 12, 6, 6);
    p.drawRect(17, 12, 6, 6);
}

void drawGamesGlyph(QPainter& p, const GlyphInks& inks) {
    p.drawRect(9, 3, 14, 15);
    p.setBrush(inks.ink);
    p.drawRect(11, 5, 2, 2);
    p.drawRect(19, 5, 2, 2);
    p.drawRect(15, 10, 2, 2);
    p.drawRect(11, 14, 2, 2);
    p.drawRect(19, 14, 2, 2);
}

void drawMainGlyph(QPainter& p, const GlyphInks& inks) {
    p.drawPolygon(QPolygon({QPoint(16, 3), QPoint(25, 10), QPoint(7, 10)}));
    p.drawRect(9, 10, 14, 9);
    p.setBrush(inks.tile);
    p.drawRect(14, 13, 4, 6);
}

void drawSystemGlyph(QPainter& p, const GlyphInks& inks) {
    QPolygon teeth;
    for (int i = 0; i < 16; ++i) {
        const double a = i * M_PI / 8;
        const double r = (i % 2) ? 6.0 : 8.5;
        teeth << QPoint(int(std::lround(16 + r * std::cos(a))), int(std::lround(11 + r * std::sin(a))));
    }
    p.drawPolygon(teeth);
    p.setBrush(inks.tile);
    p.drawEllipse(QPoint(16, 11), 2, 2);
}

void drawUtilitiesGlyph(QPainter& p, const GlyphInks&) {
    p.drawPolygon(QPolygon({QPoint(17, 9), QPoint(19, 11), QPoint(11, 19), QPoint(9, 17)}));
    p.drawPolygon(QPolygon({QPoint(14, 6), QPoint(19, 2), QPoint(25, 8), QPoint(21, 12)}));
}

void drawUnfiledGlyph(QPainter& p, const GlyphInks&) {
    p.drawPolygon(
        QPolygon({QPoint(7, 5), QPoint(13, 5), QPoint(15, 7), QPoint(25, 7), QPoint(25, 18), QPoint(7, 18)}));
    p.drawLine(7, 9, 25, 9);
}

void drawFavouritesGlyph(QPainter& p, const GlyphInks&) {
    QPolygon star;
    for (int i = 0; i < 10; ++i) {
        const double a = -M_PI / 2 + i * M_PI / 5;
        const double r = (i % 2) ? 3.5 : 8.5;
        star << QPoint(int(std::lround(16 + r * std::cos(a))), int(std::lround(11.5 + r * std::sin(a))));
    }
    p.drawPolygon(star);
}

void drawMusicGlyph(QPainter& p, const GlyphInks& inks) {
    p.setBrush(inks.ink);
    p.drawEllipse(QRect(9, 14, 5, 4));
    p.drawEllipse(QRect(18, 12, 5, 4));
    p.drawRect(13, 4, 1, 12);
    p.drawRect(22, 3, 1, 11);
    p.drawPolygon(QPolygon({QPoint(13, 4), QPoint(23, 2), QPoint(23, 5), QPoint(13, 7)}));
}

void drawPhotosGlyph(QPainter& p, const GlyphInks& inks) {
    p.setBrush(Qt::white);
    p.drawRect(7, 4, 18, 14);
    p.setBrush(inks.accent);
    p.drawPolygon(QPolygon({QPoint(8, 17), QPoint(13, 10), QPoint(17, 14), QPoint(20, 11), QPoint(24, 17)}));
    p.setBrush(QColor(255, 200, 0));
    p.drawEllipse(QRect(19, 5, 3, 3));
}

void drawMailGlyph(QPainter& p, const GlyphInks&) {
    p.setBrush(Qt::white);
    p.drawRect(7, 5, 18, 12);
    p.drawPolyline(QPolygon({QPoint(7, 5), QPoint(16, 12), QPoint(25, 5)}));
}

void drawWebGlyph(QPainter& p, const GlyphInks&) {
    p.drawEllipse(QRect(8, 3, 16, 16));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRect(12, 3, 8, 16));
    p.drawLine(8, 11, 24, 11);
    p.drawLine(16, 3, 16, 19);
}

void drawCalendarGlyph(QPainter& p, const GlyphInks& inks) {
    p.setBrush(Qt::white);
    p.drawRect(8, 4, 16, 15);
    p.setBrush(inks.accent);
    p.drawRect(8, 4, 16, 4);
    p.setBrush(inks.ink);
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 4; ++col)
            p.drawRect(10 + 4 * col, 10 + 3 * row, 1, 1);
}

void drawContactsGlyph(QPainter& p, const GlyphInks&) {
    p.drawEllipse(QRect(12, 3, 8, 8));
    p.drawChord(QRect(8, 12, 16, 14), 0, 180 * 16);
}

void drawMemoGlyph(QPainter& p, const GlyphInks&) {
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygon({QPoint(9, 3), QPoint(20, 3), QPoint(24, 7), QPoint(24, 19), QPoint(9, 19)}));
    for (int y = 8; y <= 16; y += 3)
        p.drawLine(12, y, 21, y);
}

void drawCalculatorGlyph(QPainter& p, const GlyphInks& inks) {
    p.drawRect(10, 2, 12, 18);
    p.setBrush(Qt::white);
    p.drawRect(12, 4, 8, 3);
    p.setBrush(inks.ink);
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            p.drawRect(12 + 3 * col, 9 + 3 * row, 1, 1);
}

void drawClockGlyph(QPainter& p, const GlyphInks&) {
    p.setBrush(Qt::white);
    p.drawEllipse(QRect(8, 3, 16, 16));
    p.drawLine(16, 11, 16, 5);
    p.drawLine(16, 11, 20, 13);
}

void drawSettingsGlyph(QPainter& p, const GlyphInks&) {
    for (int i = 0; i < 3; ++i) {
        p.drawLine(8, 6 + 5 * i, 24, 6 + 5 * i);
        p.drawRect(10 + 5 * ((i * 2) % 3) + i, 4 + 5 * i, 3, 4);
    }
}

void drawCardGlyph(QPainter& p, const GlyphInks&) {
    p.drawPolygon(QPolygon({QPoint(10, 3), QPoint(19, 3), QPoint(23, 7), QPoint(23, 19), QPoint(10, 19)}));
    p.setBrush(QColor(230, 190, 40));
    for (int i = 0; i < 4; ++i)
        p.drawRect(12 + 3 * i, 4, 1, 3);
}

void drawSearchGlyph(QPainter& p, const GlyphInks& inks) {
    p.setBrush(Qt::white);
    p.drawEllipse(QRect(8, 3, 11, 11));
    p.setBrush(inks.accent);
    p.drawPolygon(QPolygon({QPoint(17, 14), QPoint(19, 12), QPoint(25, 18), QPoint(23, 20)}));
}

void drawBatteryGlyph(QPainter& p, const GlyphInks& inks) {
    p.setBrush(Qt::white);
    p.drawRect(6, 6, 18, 10);
    p.setBrush(inks.ink);
    p.drawRect(24, 9, 2, 4);
    p.setBrush(inks.accent);
    p.drawRect(8, 8, 10, 6);
}

void drawCameraGlyph(QPainter& p, const GlyphInks& inks) {
    p.drawRect(7, 6, 18, 12);
    p.drawRect(11, 4, 5, 2);
    p.setBrush(Qt::white);
    p.drawEllipse(QRect(12, 8, 8, 8));
    p.setBrush(inks.ink);
    p.drawEllipse(QRect(15, 11, 2, 2));
}

void drawBlankGlyph(QPainter& p, const GlyphInks& inks) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(inks.ink, 1, Qt::DashLine));
    p.drawRect(9, 4, 14, 14);
    p.setPen(QPen(inks.ink, 1));
    p.drawLine(16, 8, 16, 14);
    p.drawLine(13, 11, 19, 11);
}

// Indexed by IconGlyph, so a glyph added to the enum without a painter fails to compile.
using GlyphPainter = void (*)(QPainter&, const GlyphInks&);
constexpr GlyphPainter kGlyphPainters[] = {
    drawAllGlyph,        // IconGlyph::All
    drawGamesGlyph,      // IconGlyph::Games
    drawMainGlyph,       // IconGlyph::Main
    drawSystemGlyph,     // IconGlyph::System
    drawUtilitiesGlyph,  // IconGlyph::Utilities
    drawUnfiledGlyph,    // IconGlyph::Unfiled
    drawFavouritesGlyph, // IconGlyph::Favourites
    drawMusicGlyph,      // IconGlyph::Music
    drawPhotosGlyph,     // IconGlyph::Photos
    drawMailGlyph,       // IconGlyph::Mail
    drawWebGlyph,        // IconGlyph::Web
    drawCalendarGlyph,   // IconGlyph::Calendar
    drawContactsGlyph,   // IconGlyph::Contacts
    drawMemoGlyph,       // IconGlyph::Memo
    drawCalculatorGlyph, // IconGlyph::Calculator
    drawClockGlyph,      // IconGlyph::Clock
    drawSettingsGlyph,   // IconGlyph::Settings
    drawCardGlyph,       // IconGlyph::Card
    drawSearchGlyph,     // IconGlyph::Search
    drawBatteryGlyph,    // IconGlyph::Battery
    drawCameraGlyph,     // IconGlyph::Camera
    drawBlankGlyph,      // IconGlyph::Blank
};
static_assert(std::size(kGlyphPainters) == kIconGlyphCount);

void drawGlyph(QPainter& p, IconGlyph glyph, const IconColours& c) {
    const GlyphInks inks{QColor::fromRgb(c.ink), QColor::fromRgb(c.accent), QColor::fromRgb(c.tile)};
    p.setPen(QPen(inks.ink, 1));
    p.setBrush(inks.accent);
    kGlyphPainters[int(glyph)](p, inks);
}

// Colour schemes of the factory pictures, one per theme slot.
constexpr IconColours kThemeColours[] = {
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
constexpr IconColours kExtraColours[] = {{0xFFFFEBD2, 0xFF503214, 0xFFDC8C32},
                                         {0xFFDCF0DC, 0xFF143C14, 0xFF32A032}};
constexpr IconColours kBlankColours{0xFFF0F0F0, 0xFF606060, 0xFF909090};
constexpr IconColours kCameraColours{0xFFDCDCF0, 0xFF1E1E3C, 0xFF5A5A8C};

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
    QImage picture = makeRgbPicture(QSize(32 * scale, 22 * scale), kIconBackground);
    drawIcon(picture, QPoint(0, 0), scale, glyph, colours);
    return picture;
}

IconGlyph factoryGlyph(int slot) {
    if (slot < kIconSetSlotCount)
        return IconGlyph::Blank;
    const int theme = slot - kIconSetSlotCount;
    if (theme < 18)
        return IconGlyph(theme);
    return theme == 18 ? IconGlyph::Search : IconGlyph::Battery;
}

IconColours factoryColours(int slot) {
    if (slot < kIconSetSlotCount)
        return kBlankColours;
    const int theme = slot - kIconSetSlotCount;
    return theme < 18 ? kThemeColours[theme] : kExtraColours[theme - 18];
}

QImage factorySlotPicture(int slot, int scale) {
    // Every blank slot (the icon-set slots) starts with the same picture, in
    // the blank colours: drawn once for each density, shared until a slot is
    // drawn on.
    if (factoryGlyph(slot) == IconGlyph::Blank && (scale == 1 || scale == 2)) {
        static const QImage blanks[] = {iconPicture(IconGlyph::Blank, factoryColours(slot), 1),
                                        iconPicture(IconGlyph::Blank, factoryColours(slot), 2)};
        return blanks[scale - 1];
    }
    return iconPicture(factoryGlyph(slot), factoryColours(slot), scale);
}

QImage factorySnapshotPicture(int scale) {
    return iconPicture(IconGlyph::Camera, kCameraColours, scale);
}

} // namespace vv
