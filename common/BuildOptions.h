// The two builds and the options that shape their resource script. Callers
// fill BuildOptions from the options dialog and the main window's state at the
// moment of the click; nothing here is cached between builds.
#pragma once

#include "common/BitDepths.h"
#include "common/SystemScreens.h"

#include <QString>

namespace vv {

enum class BuildKind { Theme, IconSet };

struct BuildOptions {
    // The five "bpp Icons" check boxes. At least one is on in any saved setting.
    DepthSet depths{kFallbackBitDepth};
    // A ScreenType of the SystemScreen table; other values come from a
    // settings file saved with no screen chosen.
    int screenType = kDefaultScreenType;
    QString compressKeyword; // "COMPRESS " while compression is on, else empty
    QString transparentIndex = QStringLiteral("210");
    QString transparentRed = QStringLiteral("0");
    QString transparentGreen = QStringLiteral("255");
    QString transparentBlue = QStringLiteral("0");
    QString versionNumber = QStringLiteral(VV_VERSION);
};

} // namespace vv
