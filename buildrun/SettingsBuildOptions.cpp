#include "buildrun/SettingsBuildOptions.h"

#include "app/OptionRules.h"

namespace vv {

BuildOptions buildOptionsFromSettings(const SettingsRecord& settings) {
    BuildOptions options;
    options.depths = settings.depths;
    keepOneBitDepth(options.depths);
    options.screenType = screenTypeFromStoredIndex(settings.screenIndex);
    options.compressKeyword = compressKeywordFor(settings.compress);
    options.transparentRed = QString::number(settings.red);
    options.transparentGreen = QString::number(settings.green);
    options.transparentBlue = QString::number(settings.blue);
    options.transparentIndex = QString::number(settings.paletteIndex);
    return options;
}

} // namespace vv
