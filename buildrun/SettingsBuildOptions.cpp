#include "buildrun/SettingsBuildOptions.h"

#include "app/OptionRules.h"

namespace vv {

BuildOptions buildOptionsFromSettings(const SettingsRecord& settings) {
    BuildOptions options;
    options.depth1 = settings.depth1;
    options.depth2 = settings.depth2;
    options.depth4 = settings.depth4;
    options.depth8 = settings.depth8;
    options.depth16 = settings.depth16;
    keepOneBitDepth(options.depth1, options.depth2, options.depth4, options.depth8, options.depth16);
    options.screenType = screenTypeFromStoredIndex(settings.screenIndex);
    options.compressKeyword = compressKeywordFor(settings.compress);
    options.transparentRed = QString::number(settings.red);
    options.transparentGreen = QString::number(settings.green);
    options.transparentBlue = QString::number(settings.blue);
    options.transparentIndex = QString::number(settings.paletteIndex);
    return options;
}

} // namespace vv
