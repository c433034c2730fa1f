#include "app/Palette.h"

#include <climits>

namespace vv {
namespace {

constexpr int cubeLevels[6] = {0xFF, 0xCC, 0x99, 0x66, 0x33, 0x00};

constexpr int cubeIndex(int lr, int lg, int lb) {
    if (lr == 5 && lg == 5 && lb == 5)
        return 230;
    return 108 * (lb / 3) + 18 * lr + 6 * (lb % 3) + lg;
}

std::array<QRgb, 256> buildPalette() {
    std::array<QRgb, 256> table{};
    table.fill(qRgb(0, 0, 0));
    for (int lr = 0; lr < 6; ++lr)
        for (int lg = 0; lg < 6; ++lg)
            for (int lb = 0; lb < 6; ++lb)
                table[cubeIndex(lr, lg, lb)] = qRgb(cubeLevels[lr], cubeLevels[lg], cubeLevels[lb]);
    const int greys[] = {0x11, 0x22, 0x44, 0x55, 0x77, 0x88, 0xAA, 0xBB, 0xDD, 0xEE};
    for (int i = 0; i < 10; ++i)
        table[215 + i] = qRgb(greys[i], greys[i], greys[i]);
    table[225] = qRgb(0xC0, 0xC0, 0xC0);
    table[226] = qRgb(0x80, 0x00, 0x00);
    table[227] = qRgb(0x80, 0x00, 0x80);
    table[228] = qRgb(0x00, 0x80, 0x00);
    table[229] = qRgb(0x00, 0x80, 0x80);
    return table;
}

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
    static const std::array<QRgb, 256> table = buildPalette();
    return table;
}

QVector<QRgb> palmColorTable() {
    const auto& table = palmSystemPalette();
    return QVector<QRgb>(table.begin(), table.end());
}

int nearestPaletteIndex(QRgb colour) {
    const auto& table = palmSystemPalette();
    const int r = qRed(colour), g = qGreen(colour), b = qBlue(colour);
    int best = 255;
    int bestDistance = INT_MAX;
    for (int i = 255; i >= 0; --i) {
        const int dr = r - qRed(table[i]), dg = g - qGreen(table[i]), db = b - qBlue(table[i]);
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
            if (distance == 0)
                break;
        }
    }
    return best;
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
