#include "theme/DefaultTheme.h"

#include "common/PictureCopy.h"

#include <QPainter>
#include <QPolygonF>

#include <array>

namespace vv {
namespace {

// All palette colours, so an 8-bit piece holds exactly what was drawn.
constexpr QRgb kNavy = 0xFF003366u;
constexpr QRgb kBlue = 0xFF336699u;
constexpr QRgb kSky = 0xFF6699CCu;
constexpr QRgb kPale = 0xFF99CCFFu;
constexpr QRgb kWhite = 0xFFFFFFFFu;
constexpr QRgb kLight = 0xFFDDDDDDu;
constexpr QRgb kOrange = 0xFFFF9900u;
constexpr QRgb kYellow = 0xFFFFCC00u;
constexpr QRgb kClear = kDefaultThemeTransparent;

// Drawing happens in low-resolution units; the painter's scale doubles them for
// the high-resolution pieces, which keeps both sets the same design.
class Canvas {
public:
    Canvas(QImage& image, int scale) : image_(image), scale_(scale), painter_(&image) {
        painter_.setRenderHint(QPainter::Antialiasing, false);
        painter_.scale(scale, scale);
        painter_.setPen(Qt::NoPen);
    }

    void fill(const QRect& rect, QRgb colour) { painter_.fillRect(rect, QColor::fromRgb(colour)); }
    void frame(const QRect& rect, QRgb border, QRgb inside) {
        fill(rect, border);
        fill(rect.adjusted(1, 1, -1, -1), inside);
    }
    void polygon(const QPolygonF& points, QRgb colour) {
        painter_.setBrush(QColor::fromRgb(colour));
        painter_.drawPolygon(points);
    }
    void ellipse(const QRectF& rect, QRgb colour) {
        painter_.setBrush(QColor::fromRgb(colour));
        painter_.drawEllipse(rect);
    }
    void line(QPointF from, QPointF to, qreal width, QRgb colour) {
        painter_.setPen(QPen(QColor::fromRgb(colour), width, Qt::SolidLine, Qt::SquareCap));
        painter_.drawLine(from, to);
        painter_.setPen(Qt::NoPen);
    }
    // Rounds the corners of a box (in low units) by making them transparent:
    // one pixel at low resolution, an L of three at high resolution.
    void roundCorners(const QRect& box) {
        painter_.end();
        const QRect r(box.topLeft() * scale_, box.size() * scale_);
        const int corners[4][2] = {
            {r.left(), r.top()}, {r.right(), r.top()}, {r.left(), r.bottom()}, {r.right(), r.bottom()}};
        for (const auto& corner : corners) {
            const int x = corner[0];
            const int y = corner[1];
            image_.setPixel(x, y, kClear);
            if (scale_ > 1) {
                image_.setPixel(x == r.left() ? x + 1 : x - 1, y, kClear);
                image_.setPixel(x, y == r.top() ? y + 1 : y - 1, kClear);
            }
        }
        painter_.begin(&image_);
        painter_.setRenderHint(QPainter::Antialiasing, false);
        painter_.scale(scale_, scale_);
        painter_.setPen(Qt::NoPen);
    }

private:
    QImage& image_;
    int scale_;
    QPainter painter_;
};

QPolygonF triangle(QRectF box, bool pointsUp) {
    if (pointsUp)
        return QPolygonF({QPointF(box.center().x(), box.top()), box.bottomRight(), box.bottomLeft()});
    return QPolygonF({box.topLeft(), box.topRight(), QPointF(box.center().x(), box.bottom())});
}

QPolygonF sideTriangle(QRectF box, bool pointsLeft) {
    if (pointsLeft)
        return QPolygonF({QPointF(box.left(), box.center().y()), box.topRight(), box.bottomRight()});
    return QPolygonF({box.topLeft(), QPointF(box.right(), box.center().y()), box.bottomLeft()});
}

// A launcher tab: raised blue button, the last one lit as the current tab.
void drawTab(Canvas& c, QSize size, int variant) {
    const QRect box(QPoint(0, 0), size);
    const bool current = variant == 14;
    c.fill(box, kNavy);
    c.fill(QRect(1, 1, size.width() - 2, 5), current ? kYellow : kSky);
    c.fill(QRect(1, 6, size.width() - 2, size.height() - 7), current ? kOrange : kBlue);
    c.fill(QRect(2, 1, size.width() - 4, 1), kWhite);
    c.roundCorners(box);
}

void drawTitle(Canvas& c, QSize size) {
    const QRect box(QPoint(0, 0), size);
    c.frame(box, kNavy, kPale);
    c.fill(QRect(1, 1, size.width() - 2, 1), kWhite);
    c.fill(QRect(1, size.height() - 2, size.width() - 2, 1), kSky);
    c.roundCorners(box);
}

// The top bar (variant 0) and its mirror, the bottom bar (variant 1).
void drawBar(Canvas& c, QSize size, int variant) {
    const int w = size.width();
    const int h = size.height();
    auto row = [&](int y, int height, QRgb colour) {
        c.fill(QRect(0, variant == 0 ? y : h - y - height, w, height), colour);
    };
    row(0, 1, kSky);
    row(1, 16, kBlue);
    row(17, 17, kNavy);
    row(34, 1, kPale);
    row(35, 1, kWhite);
    // A small orange lamp at the bar's end: the one warm colour of the theme.
    const int lampY = variant == 0 ? 12 : h - 12 - 8;
    c.ellipse(QRectF(w - 14, lampY, 8, 8), kOrange);
    c.ellipse(QRectF(w - 12, lampY + 2, 4, 4), kYellow);
}

// Small scroll buttons beside the icon grid: up on even variants, down on odd.
void drawSmallArrowButton(Canvas& c, QSize size, int variant) {
    const QRect box(QPoint(0, 0), size);
    c.frame(box, kNavy, kSky);
    c.fill(QRect(1, 1, size.width() - 2, 1), kPale);
    c.polygon(triangle(QRectF(3, 4, 6, 3), variant % 2 == 0), kWhite);
    c.roundCorners(box);
}

// Round buttons at the bars' ends, each with its own white glyph.
void drawBarButton(Canvas& c, QSize size, int variant) {
    const QRect box(QPoint(0, 0), size);
    c.frame(box, kNavy, kBlue);
    c.fill(QRect(1, 1, size.width() - 2, 1), kSky);
    c.roundCorners(box);
    switch (variant % 8) {
    case 0: // home
        c.polygon(QPolygonF({QPointF(8, 3), QPointF(13, 8), QPointF(3, 8)}), kWhite);
        c.fill(QRect(5, 8, 6, 5), kWhite);
        c.fill(QRect(7, 10, 2, 3), kBlue);
        break;
    case 1: // menu
        for (int y : {4, 7, 10})
            c.fill(QRect(4, y, 8, 2), kWhite);
        break;
    case 2: // find
        c.ellipse(QRectF(3, 3, 7, 7), kWhite);
        c.ellipse(QRectF(5, 5, 3, 3), kBlue);
        c.line(QPointF(9.5, 9.5), QPointF(12, 12), 2, kWhite);
        break;
    case 3: // info
        c.fill(QRect(7, 3, 2, 2), kWhite);
        c.fill(QRect(7, 6, 2, 6), kWhite);
        c.fill(QRect(6, 11, 4, 1), kWhite);
        break;
    case 4: // back
        c.polygon(sideTriangle(QRectF(3, 3, 6, 10), true), kWhite);
        c.fill(QRect(8, 6, 5, 4), kWhite);
        break;
    case 5: // favourite
        c.polygon(
            QPolygonF({QPointF(8, 2), QPointF(10, 6), QPointF(14, 6.5), QPointF(11, 9.5), QPointF(12, 14),
                       QPointF(8, 11.5), QPointF(4, 14), QPointF(5, 9.5), QPointF(2, 6.5), QPointF(6, 6)}),
            kYellow);
        break;
    case 6: // add
        c.fill(QRect(7, 3, 2, 10), kWhite);
        c.fill(QRect(3, 7, 10, 2), kWhite);
        break;
    default: // close
        c.line(QPointF(4.5, 4.5), QPointF(11.5, 11.5), 2, kWhite);
        c.line(QPointF(11.5, 4.5), QPointF(4.5, 11.5), 2, kWhite);
        break;
    }
}

// Icon cells: the upper row is the plain cell (the wallpaper shows inside a thin
// frame), the lower row the selected cell (a lit pad under the icon).
void drawCell(Canvas& c, QSize size, int variant) {
    const QRect box(QPoint(0, 0), size);
    if (variant % 2 == 0) {
        c.frame(box, kSky, kClear);
    } else {
        c.frame(box, kBlue, kPale);
        c.fill(QRect(1, 1, size.width() - 2, 1), kWhite);
    }
    c.roundCorners(box);
}

// Check box, empty (variant 0) and ticked (variant 1).
void drawCheckBox(Canvas& c, QSize size, int variant) {
    const QRect box(QPoint(0, 0), size);
    c.frame(box, kNavy, kWhite);
    c.fill(QRect(1, 1, size.width() - 2, 1), kLight);
    if (variant % 2 == 1)
        c.polygon(QPolygonF({QPointF(2, 6), QPointF(5, 9), QPointF(11, 2), QPointF(11, 5), QPointF(5, 11),
                             QPointF(2, 8.5)}),
                  kNavy);
}

// The 8-pixel-wide glyphs: scroll bar caps, track, thumb and arrows.
void drawGlyph(Canvas& c, QSize size, int variant) {
    const int h = size.height();
    const QRectF arrowBox(1, h / 2.0 - 2, 6, 4);
    switch (h) {
    case 4: // top cap of the scroll track
        c.fill(QRect(1, 1, 6, 3), kSky);
        c.fill(QRect(2, 0, 4, 1), kSky);
        break;
    case 5: // bottom cap
        c.fill(QRect(1, 0, 6, 3), kSky);
        c.fill(QRect(2, 3, 4, 1), kSky);
        break;
    case 8:
        if (variant == 2) { // bullet
            c.ellipse(QRectF(1, 1, 6, 6), kNavy);
            c.ellipse(QRectF(2, 2, 3, 3), kSky);
        } else { // scroll arrows
            c.polygon(triangle(QRectF(0, 2, 8, 4), variant == 0), kNavy);
        }
        break;
    case 11: // a piece of the scroll track
        c.fill(QRect(1, 0, 6, h), kSky);
        c.fill(QRect(3, 0, 2, h), kPale);
        break;
    case 12:
        if (variant == 0) { // scroll thumb
            c.frame(QRect(0, 0, 8, h), kNavy, kBlue);
            for (int y : {4, 6, 8})
                c.fill(QRect(2, y, 4, 1), kPale);
            c.roundCorners(QRect(0, 0, 8, h));
        } else { // page left and right
            c.polygon(sideTriangle(QRectF(1, 2, 6, 8), variant == 1), kNavy);
        }
        break;
    case 9: // small up and down marks
        c.polygon(triangle(arrowBox, variant == 0), kBlue);
        break;
    default: // arrow buttons, plain and pressed
        c.frame(QRect(0, 0, 8, h), kNavy, variant < 2 ? kSky : kOrange);
        c.polygon(triangle(QRectF(1.5, 4, 5, 4), variant % 2 == 0), kWhite);
        c.roundCorners(QRect(0, 0, 8, h));
        break;
    }
}

// The launcher's own mark: a lantern with a warm light.
void drawLantern(Canvas& c) {
    c.ellipse(QRectF(18, 1, 12, 10), kNavy);
    c.ellipse(QRectF(20, 3, 8, 6), kClear);
    c.fill(QRect(12, 9, 24, 4), kNavy);
    c.polygon(QPolygonF({QPointF(12, 13), QPointF(36, 13), QPointF(40, 40), QPointF(8, 40)}), kBlue);
    c.ellipse(QRectF(14, 17, 20, 20), kOrange);
    c.ellipse(QRectF(19, 21, 10, 12), kYellow);
    c.ellipse(QRectF(22, 24, 4, 6), kWhite);
    c.fill(QRect(6, 40, 36, 5), kNavy);
    c.fill(QRect(7, 41, 34, 1), kSky);
}

void drawPiece(Canvas& c, const ThemePiece& piece, int variant) {
    const QSize size = piece.lowSize();
    switch (pieceShapeOf(size)) {
    case PieceShape::Tab:
        return drawTab(c, size, variant);
    case PieceShape::Title:
        return drawTitle(c, size);
    case PieceShape::Bar:
        return drawBar(c, size, variant);
    case PieceShape::SmallArrowButton:
        return drawSmallArrowButton(c, size, variant);
    case PieceShape::BarButton:
        return drawBarButton(c, size, variant);
    case PieceShape::Cell:
        return drawCell(c, size, variant);
    case PieceShape::CheckBox:
        return drawCheckBox(c, size, variant);
    case PieceShape::Glyph:
        return drawGlyph(c, size, variant);
    case PieceShape::Mark:
        return drawLantern(c);
    }
}

} // namespace

QImage drawDefaultPiece(int index, PieceResolution resolution) {
    const ThemePiece& piece = themePieceTable()[index];
    const int scale = resolution == PieceResolution::Low ? 1 : 2;
    QImage rgb = makeRgbPicture(piece.size(resolution), kClear);
    {
        Canvas canvas(rgb, scale);
        drawPiece(canvas, piece, pieceVariantOf(index));
    }
    if (piece.depth(resolution) == PieceDepth::Rgb24)
        return rgb;
    QImage indexed = makePalettePicture(rgb.size(), kClear);
    copyPixels(rgb, rgb.rect(), indexed, {0, 0}, kClear);
    return indexed;
}

const QImage& defaultPiece(int index, PieceResolution resolution) {
    static const auto draw = [](PieceResolution r) {
        std::array<QImage, kThemePieceCount> pictures;
        for (int i = 0; i < kThemePieceCount; ++i)
            pictures[i] = drawDefaultPiece(i, r);
        return pictures;
    };
    static const std::array<QImage, kThemePieceCount> low = draw(PieceResolution::Low);
    static const std::array<QImage, kThemePieceCount> high = draw(PieceResolution::High);
    return (resolution == PieceResolution::Low ? low : high)[std::size_t(index)];
}

} // namespace vv
