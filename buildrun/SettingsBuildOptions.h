// The build options a saved settings record stands for: what the Options
// dialog's controls and the main window's members hold after the record has
// been read, so a build without windows uses the very same values.
#pragma once

#include "app/SettingsFile.h"
#include "common/BuildOptions.h"

#include <QRgb>
#include <QString>

namespace vv {

// Depths with the at-least-one rule applied (none on gives 1 bpp), the screen
// type mapped from the stored SystemScreen index, the compression keyword, the
// colour components and palette index as decimal texts.
BuildOptions buildOptionsFromSettings(const SettingsRecord& settings);

// The transparency colour three decimal texts name (the options' components,
// spaces around them allowed); `fallback` when any is no whole number in
// 0..255. The one reading of these texts for sheets, builds and unpacking.
QRgb transparencyColour(const QString& red, const QString& green, const QString& blue, QRgb fallback);
QRgb transparencyColour(const BuildOptions& options, QRgb fallback);

} // namespace vv
