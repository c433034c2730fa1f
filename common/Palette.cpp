#include "common/Palette.h"

#include <type_traits>

namespace vv {
namespace {

static_assert(std::is_same_v<QRgb, formats::PaletteColour>, "the shared table is handed out as QRgb");

using formats::palette::cubeIndex;
using formats::palette::cubeLevels;

int levelNumber(int value) {
    if (value <= 24)
        return 5;
    if (value <= 76)
        return 4;
    if (value <= 127)
        return 3;
    if (value <= 178)
        return 2;
    if (value <= 229)
        return 1;
    return 0;
}

} // namespace

const std::array<QRgb, 256>& palmSystemPalette() {
    return formats::kPalmPaletteColours;
}

QVector<QRgb> palmColorTable() {
    const auto& table = palmSystemPalette();
    return QVector<QRgb>(table.begin(), table.end());
}

int HexByteValue(const QString& digits) {
    QString text = digits.trimmed();
    if (text.size() == 2 && text.startsWith(QLatin1Char('0')))
        text = text.mid(1);
    if (text.isEmpty() || text.size() > 2)
        return -1;
    bool ok = false;
    const int value = text.toInt(&ok, 16);
    return ok ? value : -1;
}

QString QuantiseComponent(const QString& digits) {
    const int value = HexByteValue(digits);
    const int level = cubeLevels[levelNumber(value < 0 ? 0 : value)];
    return QStringLiteral("%1").arg(level, 2, 16, QLatin1Char('0')).toUpper();
}

int PaletteIndexOf(const QString& rrggbb) {
    if (rrggbb.size() != 6)
        return -1;
    int levels[3];
    for (int c = 0; c < 3; ++c) {
        const int value = HexByteValue(rrggbb.mid(2 * c, 2));
        if (value < 0)
            return -1;
        levels[c] = levelNumber(HexByteValue(QuantiseComponent(rrggbb.mid(2 * c, 2))));
    }
    return cubeIndex(levels[0], levels[1], levels[2]);
}

} // namespace vv
