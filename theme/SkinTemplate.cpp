#include "theme/SkinTemplate.h"

#include <iterator>

namespace vv {
namespace {

// Light enough for dark labels, none of them the green the options mark
// transparent, and in an order that gives pieces side by side other colours.
constexpr QRgb kFills[] = {0xFFFFF4C8u, 0xFFD2E6FFu, 0xFFFFDCE6u, 0xFFE6DCFFu, 0xFFDCF5EBu};

// A 3 x 5 pixel font of what labels hold (piece codes and sizes such as
// "62x60"): drawn without a font database, so a command line without a
// display writes the same template as the windows, pixel for pixel.
struct Glyph {
    char character;
    unsigned char rows[5]; // bit 2 is the left column
};
constexpr Glyph kGlyphs[] = {
    {'0', {7, 5, 5, 5, 7}}, {'1', {2, 6, 2, 2, 7}}, {'2', {7, 1, 7, 4, 7}}, {'3', {7, 1, 7, 1, 7}},
    {'4', {5, 5, 7, 1, 1}}, {'5', {7, 4, 7, 1, 7}}, {'6', {7, 4, 7, 5, 7}}, {'7', {7, 1, 1, 1, 1}},
    {'8', {7, 5, 7, 5, 7}}, {'9', {7, 5, 7, 1, 7}}, {'A', {2, 5, 7, 5, 5}}, {'B', {6, 5, 6, 5, 6}},
    {'C', {3, 4, 4, 4, 3}}, {'D', {6, 5, 5, 5, 6}}, {'E', {7, 4, 6, 4, 7}}, {'F', {7, 4, 6, 4, 4}},
    {'G', {3, 4, 5, 5, 3}}, {'H', {5, 5, 7, 5, 5}}, {'I', {7, 2, 2, 2, 7}}, {'J', {1, 1, 1, 5, 2}},
    {'K', {5, 5, 6, 5, 5}}, {'L', {4, 4, 4, 4, 7}}, {'M', {5, 7, 7, 5, 5}}, {'N', {6, 5, 5, 5, 5}},
    {'O', {2, 5, 5, 5, 2}}, {'P', {6, 5, 6, 4, 4}}, {'Q', {2, 5, 5, 6, 3}}, {'R', {6, 5, 6, 5, 5}},
    {'S', {3, 4, 2, 1, 6}}, {'T', {7, 2, 2, 2, 2}}, {'U', {5, 5, 5, 5, 7}}, {'V', {5, 5, 5, 5, 2}},
    {'W', {5, 5, 7, 7, 5}}, {'X', {5, 5, 2, 5, 5}}, {'Y', {5, 5, 2, 2, 2}}, {'Z', {7, 1, 2, 4, 7}},
    {'x', {0, 5, 2, 5, 0}},
};

const Glyph* glyphOf(QChar c) {
    for (const Glyph& glyph : kGlyphs)
        if (QChar(QLatin1Char(glyph.character)) == c)
            return &glyph;
    return nullptr;
}

QSize textSize(const QString& text, int scale) {
    return {(4 * int(text.size()) - 1) * scale, 5 * scale};
}

void drawText(QImage& sheet, QPoint topLeft, const QString& text, int scale, QRgb colour) {
    for (int i = 0; i < text.size(); ++i) {
        const Glyph* glyph = glyphOf(text[i]);
        if (!glyph)
            continue;
        for (int row = 0; row < 5; ++row)
            for (int column = 0; column < 3; ++column)
                if (glyph->rows[row] & (4 >> column))
                    for (int dy = 0; dy < scale; ++dy)
                        for (int dx = 0; dx < scale; ++dx)
                            sheet.setPixel(topLeft.x() + (4 * i + column) * scale + dx,
                                           topLeft.y() + row * scale + dy, colour);
    }
}

void fill(QImage& sheet, const QRect& rect, QRgb colour) {
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            sheet.setPixel(x, y, colour);
}

// The labels that fit inside the outline, largest first: code and size on two
// lines, the code alone, nothing.
void label(QImage& sheet, const QRect& inside, const QString& code, QSize size, int scale) {
    const QString sizeText = QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
    const QSize codeSize = textSize(code, scale);
    const QSize sizeSize = textSize(sizeText, scale);
    const int gap = 2 * scale;
    const auto centredX = [&](QSize text) { return inside.left() + (inside.width() - text.width()) / 2; };
    if (inside.height() >= codeSize.height() + gap + sizeSize.height() + 2 &&
        inside.width() >= sizeSize.width() + 2) {
        const int top = inside.top() + (inside.height() - codeSize.height() - gap - sizeSize.height()) / 2;
        drawText(sheet, {centredX(codeSize), top}, code, scale, kTemplateOutlineColour);
        drawText(sheet, {centredX(sizeSize), top + codeSize.height() + gap}, sizeText, scale,
                 kTemplateOutlineColour);
    } else if (inside.height() >= codeSize.height() + 2 && inside.width() >= codeSize.width() + 2) {
        drawText(sheet, {centredX(codeSize), inside.top() + (inside.height() - codeSize.height()) / 2}, code,
                 scale, kTemplateOutlineColour);
    }
}

} // namespace

QImage skinSheetTemplate(PieceResolution resolution) {
    QImage sheet(skinSheetSize(resolution), QImage::Format_RGB32);
    sheet.fill(kTemplateGapColour);
    const int scale = resolution == PieceResolution::Low ? 1 : 2;
    const auto& table = themePieceTable();
    for (int i = 0; i < kThemePieceCount; ++i) {
        const QRect rect = table[i].sheetRect(resolution);
        fill(sheet, rect, kTemplateOutlineColour);
        const QRect inside = rect.adjusted(1, 1, -1, -1);
        if (inside.isValid())
            fill(sheet, inside, kFills[std::size_t(i) % std::size(kFills)]);
        label(sheet, inside, table[i].code, rect.size(), scale);
    }
    return sheet;
}

} // namespace vv
