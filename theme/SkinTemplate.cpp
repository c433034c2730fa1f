#include "theme/SkinTemplate.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

namespace vv {
namespace {

// Light enough for dark labels, none of them the green the options mark
// transparent, and in an order that gives pieces side by side other colours.
constexpr QRgb kFills[] = {0xFFFFF4C8u, 0xFFD2E6FFu, 0xFFFFDCE6u, 0xFFE6DCFFu, 0xFFDCF5EBu};

// The labels that fit the rectangle, largest first: code and size on two
// lines, the code alone, nothing.
void label(QPainter& painter, const QRect& inside, const QString& code, QSize size, int pixelSize) {
    QFont font = painter.font();
    font.setPixelSize(pixelSize);
    painter.setFont(font);
    const QFontMetrics metrics(font);
    const QString sizeText = QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
    const int lineHeight = metrics.height();
    if (inside.height() >= 2 * lineHeight &&
        inside.width() >= qMax(metrics.horizontalAdvance(code), metrics.horizontalAdvance(sizeText))) {
        painter.drawText(inside, Qt::AlignCenter, code + QLatin1Char('\n') + sizeText);
    } else if (inside.height() >= lineHeight && inside.width() >= metrics.horizontalAdvance(code)) {
        painter.drawText(inside, Qt::AlignCenter, code);
    }
}

} // namespace

QImage skinSheetTemplate(PieceResolution resolution) {
    QImage sheet(skinSheetSize(resolution), QImage::Format_RGB32);
    sheet.fill(kTemplateGapColour);
    QPainter painter(&sheet);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    const int pixelSize = resolution == PieceResolution::Low ? 8 : 14;
    const auto& table = themePieceTable();
    for (int i = 0; i < kThemePieceCount; ++i) {
        const QRect rect = table[i].sheetRect(resolution);
        painter.fillRect(rect, QColor::fromRgb(kFills[i % std::size(kFills)]));
        painter.setPen(QColor::fromRgb(kTemplateOutlineColour));
        painter.drawRect(rect.adjusted(0, 0, -1, -1));
        label(painter, rect.adjusted(1, 1, -1, -1), table[i].code, rect.size(), pixelSize);
    }
    painter.end();
    return sheet;
}

} // namespace vv
