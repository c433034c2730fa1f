// The build options a saved settings record stands for: what the Options
// dialog's controls and the main window's members hold after the record has
// been read, so a build without windows uses the very same values.
#pragma once

#include "app/SettingsFile.h"
#include "buildrun/BuildOptions.h"

namespace vv {

// Depths with the at-least-one rule applied (none on gives 1 bpp), the screen
// type mapped from the stored SystemScreen index, the compression keyword, the
// colour components and palette index as decimal texts.
BuildOptions buildOptionsFromSettings(const SettingsRecord& settings);

} // namespace vv
