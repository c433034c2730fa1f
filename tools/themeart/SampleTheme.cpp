#include "tools/themeart/SampleTheme.h"

#include "common/PictureCopy.h"
#include "theme/DefaultTheme.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>

namespace vv::sample {
namespace {

// Colours of the system palette: the 8-bit pieces keep their flat areas
// exactly and reduce their gradients to bands of these.
constexpr QRgb kSoot = 0xFF111111u;
constexpr QRgb kCoal = 0xFF222222u;
constexpr QRgb kDeep = 0xFF330000u;
constexpr QRgb kMaroon = 0xFF660000u;
constexpr QRgb kBrick = 0xFF993300u;
constexpr QRgb kEmber = 0xFFCC3300u;
constexpr QRgb kFlame = 0xFFFF6600u;
constexpr QRgb kAmber = 0xFFFF9900u;
constexpr QRgb kGold = 0xFFFFCC33u;
constexpr QRgb kCream = 0xFFFFFFCCu;
// The same transparency colour as the default theme, so a build with the
// program's default options lets the launcher show through the same places.
constexpr QRgb kClear = kDefaultThemeTransparent;

QColor colour(QRgb rgb) {
    return QColor::fromRgb(rgb);
}

QBrush vertical(qreal top, qreal bottom, QRgb from, QRgb to) {
    QLinearGradient gradient(0, top, 0, bottom);
    gradient.setColorAt(0, colour(from));
    gradient.setColorAt(1, colour(to));
    return gradient;
}

QBrush acrossThree(qreal left, qreal right, QRgb edge, QRgb middle) {
    QLinearGradient gradient(left, 0, right, 0);
    gradient.setColorAt(0, colour(edge));
    gradient.setColorAt(0.5, colour(middle));
    gradient.setColorAt(1, colour(edge));
    return gradient;
}

QBrush glow(QPointF centre, qreal radius, QRgb inner, QRgb middle, QRgb outer) {
    QRadialGradient gradient(centre, radius);
    gradient.setColorAt(0, colour(inner));
    gradient.setColorAt(0.5, colour(middle));
    gradient.setColorAt(1, colour(outer));
    return gradient;
}

// Drawing is in low-resolution units, antialiased on a transparent picture;
// the high pieces get the same shapes at twice the pixels, with outlines and
// highlights of one device pixel (`hair`), so they are finer than an
// enlargement. At the end every pixel less than half covered becomes the
// transparency colour and every other one is opaque at its own colour, so no
// edge is blended with the transparency colour into a fringe the launcher
// would show.
class Art {
public:
    Art(QSize lowSize, int scale) : scale_(scale), image_(lowSize * scale, QImage::Format_ARGB32) {
        image_.fill(Qt::transparent);
        painter_.begin(&image_);
        painter_.setRenderHint(QPainter::Antialiasing, true);
        painter_.scale(scale, scale);
        painter_.setPen(Qt::NoPen);
    }

    qreal hair() const { return 1.0 / scale_; }
    QPainter& painter() { return painter_; }

    void fill(const QRectF& rect, const QBrush& brush) { painter_.fillRect(rect, brush); }
    void fill(const QRectF& rect, QRgb rgb) { fill(rect, QBrush(colour(rgb))); }
    void fill(const QPainterPath& path, const QBrush& brush) { painter_.fillPath(path, brush); }
    void fill(const QPainterPath& path, QRgb rgb) { fill(path, QBrush(colour(rgb))); }
    void polygon(const QPolygonF& points, QRgb rgb) {
        QPainterPath path;
        path.addPolygon(points);
        path.closeSubpath();
        fill(path, rgb);
    }
    void ellipse(const QRectF& rect, const QBrush& brush) {
        QPainterPath path;
        path.addEllipse(rect);
        fill(path, brush);
    }
    void ellipse(const QRectF& rect, QRgb rgb) { ellipse(rect, QBrush(colour(rgb))); }
    void rounded(const QRectF& rect, qreal radius, const QBrush& brush) {
        QPainterPath path;
        path.addRoundedRect(rect, radius, radius);
        fill(path, brush);
    }
    void rounded(const QRectF& rect, qreal radius, QRgb rgb) { rounded(rect, radius, QBrush(colour(rgb))); }
    void stroke(const QPainterPath& path, qreal width, QRgb rgb) {
        painter_.strokePath(path, QPen(colour(rgb), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    }
    void polyline(std::initializer_list<QPointF> points, qreal width, QRgb rgb) {
        QPainterPath path;
        path.addPolygon(QPolygonF(QList<QPointF>(points)));
        stroke(path, width, rgb);
    }

    QImage finish() {
        painter_.end();
        QImage result = makeRgbPicture(image_.size(), kClear);
        for (int y = 0; y < image_.height(); ++y) {
            const auto* from = reinterpret_cast<const QRgb*>(image_.constScanLine(y));
            auto* to = reinterpret_cast<QRgb*>(result.scanLine(y));
            for (int x = 0; x < image_.width(); ++x)
                to[x] = qAlpha(from[x]) < 128 ? kClear : (from[x] | 0xFF000000u);
        }
        return result;
    }

private:
    int scale_;
    QImage image_;
    QPainter painter_;
};

// A shape with a border: the outer shape in the border colour, then the same
// shape one unit smaller inside it.
void bordered(Art& art, const QRectF& box, qreal radius, QRgb border, const QBrush& inside) {
    art.rounded(box, radius, border);
    art.rounded(box.adjusted(1, 1, -1, -1), qMax<qreal>(0, radius - 1), inside);
}

// A folder tab with slanted sides, standing on the bar: plain tabs glow dark
// red, the last one, the current tab, burns gold.
void drawTab(Art& art, QSize size, int variant) {
    const bool current = variant == 14;
    const qreal w = size.width();
    const qreal h = size.height();
    const qreal slant = 3;
    const qreal inset = 1.03; // one unit across the slanted side
    art.polygon(QPolygonF({QPointF(0, h), QPointF(slant, 0), QPointF(w - slant, 0), QPointF(w, h)}), kCoal);
    QPainterPath inside;
    const qreal topInset = slant - slant / h + inset;
    inside.addPolygon(QPolygonF(
        {QPointF(inset, h), QPointF(topInset, 1), QPointF(w - topInset, 1), QPointF(w - inset, h)}));
    inside.closeSubpath();
    art.fill(inside, current ? vertical(1, h, kGold, kFlame) : vertical(1, h, kBrick, kDeep));
    art.fill(QRectF(topInset, 1, w - 2 * topInset, art.hair()), current ? kCream : kAmber);
}

// The title plate: a pill with a dark rim and a fire-lit middle.
void drawTitle(Art& art, QSize size) {
    const QRectF box(QPointF(0, 0), size);
    const qreal radius = size.height() / 2.0;
    bordered(art, box, radius, kCoal, vertical(1, size.height() - 1, kEmber, kMaroon));
    art.fill(QRectF(radius, 2, size.width() - 2 * radius, art.hair()), kAmber);
}

// The top bar (variant 0) and its mirror, the bottom bar (variant 1): dark
// coal fading to red toward the icons, a glowing rim along the inner edge, a
// row of studs and a live coal at the end. Wholly opaque.
void drawBar(Art& art, QSize size, int variant) {
    const qreal w = size.width();
    QPainter& p = art.painter();
    if (variant == 1) {
        p.translate(0, size.height());
        p.scale(1, -1);
    }
    QLinearGradient body(0, 0, 0, 32);
    body.setColorAt(0, colour(kSoot));
    body.setColorAt(0.7, colour(kDeep));
    body.setColorAt(1, colour(kMaroon));
    art.fill(QRectF(0, 0, w, 32), body);
    art.fill(QRectF(0, 0, w, art.hair()), kMaroon);
    art.fill(QRectF(0, 32, w, 2), acrossThree(0, w, kEmber, kGold));
    art.fill(QRectF(0, 32, w, art.hair()), kCream);
    art.fill(QRectF(0, 34, w, 2), kCoal);
    for (int i = 0; i < 3; ++i) {
        const qreal x = 8 + 9 * i;
        art.polygon(
            QPolygonF({QPointF(x, 11), QPointF(x + 3.5, 14.5), QPointF(x, 18), QPointF(x - 3.5, 14.5)}),
            kBrick);
        art.polygon(
            QPolygonF({QPointF(x, 12.5), QPointF(x + 2, 14.5), QPointF(x, 16.5), QPointF(x - 2, 14.5)}),
            kAmber);
    }
    art.ellipse(QRectF(w - 24, 7, 16, 16), kCoal);
    art.ellipse(QRectF(w - 23, 8, 14, 14), glow(QPointF(w - 17.5, 13.5), 8, kCream, kGold, kEmber));
}

// Small round scroll buttons beside the icon grid: up on even variants, down
// on odd, a dark arrow on a hot coal.
void drawSmallArrowButton(Art& art, QSize size, int variant) {
    const QRectF box(QPointF(0, 0), size);
    art.ellipse(box, kDeep);
    art.ellipse(box.adjusted(1, 1, -1, -1), glow(QPointF(4.5, 4), 7, kGold, kFlame, kBrick));
    if (variant % 2 == 0)
        art.polygon(QPolygonF({QPointF(6, 3), QPointF(9, 7.5), QPointF(3, 7.5)}), kDeep);
    else
        art.polygon(QPolygonF({QPointF(3, 4.5), QPointF(9, 4.5), QPointF(6, 9)}), kDeep);
}

// Round buttons at the bars' ends: a dark coin with an amber rim and a gold glyph.
void drawBarButton(Art& art, QSize size, int variant) {
    const QRectF box(QPointF(0, 0), size);
    art.ellipse(box, kAmber);
    art.ellipse(box.adjusted(1, 1, -1, -1), glow(QPointF(6, 5), 10, kBrick, kMaroon, kDeep));
    const qreal pen = 1.6;
    switch (variant % 8) {
    case 0: // home
        art.polyline({QPointF(4, 8), QPointF(8, 4.5), QPointF(12, 8)}, pen, kGold);
        art.fill(QRectF(5.5, 8, 5, 4), kGold);
        art.fill(QRectF(7.3, 9.5, 1.4, 2.5), kMaroon);
        break;
    case 1: // menu
        for (qreal y : {5.0, 8.0, 11.0})
            art.polyline({QPointF(5, y), QPointF(11, y)}, pen, kGold);
        break;
    case 2: // find
        art.ellipse(QRectF(4, 4, 6.5, 6.5), kGold);
        art.ellipse(QRectF(5.5, 5.5, 3.5, 3.5), kMaroon);
        art.polyline({QPointF(9.8, 9.8), QPointF(12, 12)}, 2, kGold);
        break;
    case 3: // info
        art.ellipse(QRectF(7, 3.5, 2, 2), kGold);
        art.polyline({QPointF(8, 7.5), QPointF(8, 12)}, 2, kGold);
        break;
    case 4: // back
        art.polyline({QPointF(7, 4.5), QPointF(4, 8), QPointF(7, 11.5)}, pen, kGold);
        art.polyline({QPointF(4.5, 8), QPointF(12, 8)}, pen, kGold);
        break;
    case 5: // favourite
        art.polygon(QPolygonF({QPointF(8, 2.5), QPointF(9.6, 6.2), QPointF(13.5, 6.5), QPointF(10.5, 9.1),
                               QPointF(11.4, 13), QPointF(8, 11), QPointF(4.6, 13), QPointF(5.5, 9.1),
                               QPointF(2.5, 6.5), QPointF(6.4, 6.2)}),
                    kGold);
        art.ellipse(QRectF(7, 7, 2, 2), kCream);
        break;
    case 6: // add
        art.polyline({QPointF(8, 4.5), QPointF(8, 11.5)}, 2, kGold);
        art.polyline({QPointF(4.5, 8), QPointF(11.5, 8)}, 2, kGold);
        break;
    default: // close
        art.polyline({QPointF(5, 5), QPointF(11, 11)}, 2, kGold);
        art.polyline({QPointF(11, 5), QPointF(5, 11)}, 2, kGold);
        break;
    }
}

// Icon cells: the upper row is the plain cell, only amber corner marks with the
// wallpaper showing through; the lower row the selected cell, a rounded pad
// lit from below.
void drawCell(Art& art, QSize size, int variant) {
    const qreal w = size.width();
    const qreal h = size.height();
    if (variant % 2 == 0) {
        const qreal arm = 7;
        for (const QPointF corner : {QPointF(0, 0), QPointF(w, 0), QPointF(0, h), QPointF(w, h)}) {
            const qreal dx = corner.x() == 0 ? 1 : -1;
            const qreal dy = corner.y() == 0 ? 1 : -1;
            art.fill(QRectF(corner, corner + QPointF(dx * arm, dy * 1)).normalized(), kAmber);
            art.fill(QRectF(corner, corner + QPointF(dx * 1, dy * arm)).normalized(), kAmber);
            art.fill(QRectF(corner + QPointF(dx, dy), corner + QPointF(dx * (arm - 1), dy * (1 + art.hair())))
                         .normalized(),
                     kGold);
        }
        return;
    }
    bordered(art, QRectF(0, 0, w, h), 5, kAmber, vertical(1, h - 1, kDeep, kBrick));
    art.fill(QRectF(5, 1, w - 10, art.hair()), kGold);
}

// Check box, empty (variant 0) and ticked (variant 1): a dark well with an
// amber border and a gold tick. Wholly opaque, as the default's.
void drawCheckBox(Art& art, QSize size, int variant) {
    const QRectF box(QPointF(0, 0), size);
    art.fill(box, kAmber);
    art.fill(box.adjusted(1, 1, -1, -1), vertical(1, size.height() - 1, kDeep, kMaroon));
    art.fill(QRectF(1, 1, size.width() - 2, art.hair()), kSoot);
    art.fill(QRectF(1, 1, art.hair(), size.height() - 2), kSoot);
    if (variant % 2 == 1)
        art.polyline({QPointF(3.2, 6.6), QPointF(5.6, 9.2), QPointF(10, 3.6)}, 1.8, kGold);
}

// A chevron of two strokes, pointing up or down.
void chevron(Art& art, const QRectF& box, bool pointsUp, qreal width, QRgb rgb) {
    const qreal tip = pointsUp ? box.top() : box.bottom();
    const qreal base = pointsUp ? box.bottom() : box.top();
    art.polyline({QPointF(box.left(), base), QPointF(box.center().x(), tip), QPointF(box.right(), base)},
                 width, rgb);
}

// The 8-pixel-wide glyphs: a slim scroll groove with round caps, a pill thumb,
// chevron arrows and pill arrow buttons.
void drawGlyph(Art& art, QSize size, int variant) {
    const qreal h = size.height();
    switch (size.height()) {
    case 4: // top cap of the scroll track
        art.ellipse(QRectF(2, 0, 4, 8), kMaroon);
        art.fill(QRectF(4 - art.hair(), 2, art.hair(), 2), kEmber);
        break;
    case 5: // bottom cap
        art.ellipse(QRectF(2, -4, 4, 9), kMaroon);
        art.fill(QRectF(4 - art.hair(), 0, art.hair(), 2), kEmber);
        break;
    case 8:
        if (variant == 2) { // bullet: a glowing diamond
            art.polygon(QPolygonF({QPointF(4, 0.5), QPointF(7.5, 4), QPointF(4, 7.5), QPointF(0.5, 4)}),
                        kEmber);
            art.polygon(QPolygonF({QPointF(4, 2), QPointF(6, 4), QPointF(4, 6), QPointF(2, 4)}), kGold);
        } else { // scroll arrows
            chevron(art, QRectF(1.5, 2.5, 5, 3), variant == 0, 1.7, kFlame);
        }
        break;
    case 11: // a piece of the scroll track
        art.fill(QRectF(2, 0, 4, h), kMaroon);
        art.fill(QRectF(4 - art.hair(), 0, art.hair(), h), kEmber);
        break;
    case 12:
        if (variant == 0) { // scroll thumb
            art.rounded(QRectF(1, 0, 6, h), 3, kDeep);
            QLinearGradient fire(2, 0, 6, 0);
            fire.setColorAt(0, colour(kGold));
            fire.setColorAt(1, colour(kFlame));
            art.rounded(QRectF(2, 1, 4, h - 2), 2, fire);
            for (qreal y : {4.5, 6.0, 7.5})
                art.fill(QRectF(2.5, y - art.hair() / 2, 3, art.hair()), kBrick);
        } else { // page left and right
            const bool left = variant == 1;
            const qreal near = left ? 2.5 : 5.5;
            const qreal far = left ? 5.5 : 2.5;
            art.polyline({QPointF(far, 2.5), QPointF(near, 6), QPointF(far, 9.5)}, 1.7, kFlame);
        }
        break;
    case 9: // small up and down marks
        // Rows of 2, 4 and 6 pixels at low resolution, where slanted edges
        // blur into a blob; a true triangle at high resolution.
        if (art.hair() == 1) {
            for (int row = 0; row < 3; ++row)
                art.fill(QRectF(3 - row, variant == 0 ? 3 + row : 5 - row, 2 + 2 * row, 1), kAmber);
        } else if (variant == 0) {
            art.polygon(QPolygonF({QPointF(4, 2.75), QPointF(7, 6), QPointF(1, 6)}), kAmber);
        } else {
            art.polygon(QPolygonF({QPointF(1, 3), QPointF(7, 3), QPointF(4, 6.25)}), kAmber);
        }
        break;
    default: { // arrow buttons, plain and pressed
        const bool pressed = variant >= 2;
        bordered(art, QRectF(0, 0, 8, h), 4, kDeep,
                 pressed ? vertical(1, h - 1, kFlame, kGold) : vertical(1, h - 1, kBrick, kMaroon));
        chevron(art, QRectF(2, h / 2 - 1.5, 4, 3), variant % 2 == 0, 1.5, pressed ? kDeep : kGold);
        break;
    }
    }
}

// The launcher's own mark: a flame over a bed of coals.
void drawFlame(Art& art) {
    art.ellipse(QRectF(5, 36, 38, 11), kCoal);
    art.ellipse(QRectF(7, 37, 34, 8), glow(QPointF(24, 41), 17, kEmber, kMaroon, kDeep));

    QPainterPath outer;
    outer.moveTo(24, 1);
    outer.cubicTo(27, 10, 38, 17, 38, 30);
    outer.cubicTo(38, 38, 32, 44, 24, 44);
    outer.cubicTo(16, 44, 10, 38, 10, 30);
    outer.cubicTo(10, 23, 14, 18, 17, 13);
    outer.cubicTo(18, 18, 20, 20, 22, 21);
    outer.cubicTo(20, 13, 22, 6, 24, 1);
    outer.closeSubpath();
    art.fill(outer, vertical(1, 44, kFlame, kEmber));
    art.stroke(outer, 1.2, kDeep);

    QPainterPath middle;
    middle.moveTo(24, 12);
    middle.cubicTo(27, 19, 33, 24, 33, 32);
    middle.cubicTo(33, 38, 29, 42, 24, 42);
    middle.cubicTo(19, 42, 15, 38, 15, 32);
    middle.cubicTo(15, 26, 20, 20, 24, 12);
    middle.closeSubpath();
    art.fill(middle, vertical(12, 42, kAmber, kGold));

    QPainterPath core;
    core.moveTo(24, 24);
    core.cubicTo(26, 28, 29, 31, 29, 35);
    core.cubicTo(29, 39, 27, 41, 24, 41);
    core.cubicTo(21, 41, 19, 39, 19, 35);
    core.cubicTo(19, 31, 22, 28, 24, 24);
    core.closeSubpath();
    art.fill(core, kCream);

    for (const QRectF lump : {QRectF(8, 39, 11, 7), QRectF(29, 39, 11, 7), QRectF(18, 41, 12, 6)}) {
        art.ellipse(lump, kSoot);
        art.fill(QRectF(lump.left() + 3, lump.top() + 1, lump.width() - 6, art.hair()), kEmber);
    }
}

void drawPiece(Art& art, QSize size, int variant) {
    switch (pieceShapeOf(size)) {
    case PieceShape::Tab:
        return drawTab(art, size, variant);
    case PieceShape::Title:
        return drawTitle(art, size);
    case PieceShape::Bar:
        return drawBar(art, size, variant);
    case PieceShape::SmallArrowButton:
        return drawSmallArrowButton(art, size, variant);
    case PieceShape::BarButton:
        return drawBarButton(art, size, variant);
    case PieceShape::Cell:
        return drawCell(art, size, variant);
    case PieceShape::CheckBox:
        return drawCheckBox(art, size, variant);
    case PieceShape::Glyph:
        return drawGlyph(art, size, variant);
    case PieceShape::Mark:
        return drawFlame(art);
    }
}

} // namespace

QImage drawSamplePiece(int index, PieceResolution resolution) {
    const ThemePiece& piece = themePieceTable()[index];
    Art art(piece.lowSize(), resolution == PieceResolution::Low ? 1 : 2);
    drawPiece(art, piece.lowSize(), pieceVariantOf(index));
    const QImage rgb = art.finish();
    if (piece.depth(resolution) == PieceDepth::Rgb24)
        return rgb;
    QImage indexed = makePalettePicture(rgb.size(), kClear);
    copyPixels(rgb, rgb.rect(), indexed, {0, 0}, kClear);
    return indexed;
}

ThemePieces samplePieces() {
    ThemePieces pieces;
    for (int i = 0; i < kThemePieceCount; ++i)
        for (PieceResolution resolution : {PieceResolution::Low, PieceResolution::High})
            pieces.setPiece(i, resolution, drawSamplePiece(i, resolution));
    return pieces;
}

QImage sampleSheet(PieceResolution resolution) {
    return composeSkinSheet(samplePieces(), resolution, kSampleSheetBackground);
}

} // namespace vv::sample
