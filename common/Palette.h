// The Palm OS 8-bit system palette and the transparency-colour index helpers.
// One table for the whole program: the Options dialog, the theme slicers and
// the resource compiler all map colours through it.
#pragma once

#include "formats/PalmPalette.h"

#include <QRgb>
#include <QString>
#include <QVector>

#include <array>

namespace vv {

// 256 entries: the 215 non-black colour-cube colours by the handheld's index rule,
// 15 greys and extras at 215..229, black at 230..255.
const std::array<QRgb, 256>& palmSystemPalette();
// The same table as a QImage colour table, for 8-bit pieces.
QVector<QRgb> palmColorTable();

// formats::nearestPaletteIndex(QRgb) comes with the table (formats/PalmPalette.h).

// One or two hexadecimal digits, either case, to 0..255; -1 when not hexadecimal.
int HexByteValue(const QString& digits);
// Two hexadecimal digits to the two upper-case digits of the nearest cube level.
QString QuantiseComponent(const QString& digits);
// Six hexadecimal digits (red, green, blue) to the palette index of the quantised colour.
int PaletteIndexOf(const QString& rrggbb);

} // namespace vv
