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

QRgb transparencyColour(const QString& red, const QString& green, const QString& blue, QRgb fallback) {
    const QString texts[3] = {red, green, blue};
    int rgb[3] = {};
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        rgb[i] = texts[i].trimmed().toInt(&ok);
        if (!ok || rgb[i] < 0 || rgb[i] > 255)
            return fallback;
    }
    return qRgb(rgb[0], rgb[1], rgb[2]);
}

QRgb transparencyColour(const BuildOptions& options, QRgb fallback) {
    return transparencyColour(options.transparentRed, options.transparentGreen, options.transparentBlue,
                              fallback);
}

} // namespace vv
