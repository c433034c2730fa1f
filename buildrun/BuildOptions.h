// The two builds and the options that shape their resource script. Callers
// fill BuildOptions from the options dialog and the main window's state at the
// moment of the click; nothing here is cached between builds.
#pragma once

#include <QString>

#include <array>

namespace vv {

enum class BuildKind { Theme, IconSet };

// Depths in the order their BITMAP lines are written.
inline constexpr std::array<int, 5> kBitDepths{1, 2, 4, 8, 16};

struct BuildOptions {
    // The five "bpp Icons" check boxes. At least one is on in any saved setting.
    bool depth1 = true;
    bool depth2 = false;
    bool depth4 = false;
    bool depth8 = false;
    bool depth16 = false;
    // 1 "160x160 Low", 2 "320x320 OS5", 3 both Sony screens; other values come
    // from a settings file saved with no screen chosen.
    int screenType = 1;
    QString compressKeyword; // "COMPRESS " while compression is on, else empty
    QString transparentIndex = QStringLiteral("210");
    QString transparentRed = QStringLiteral("0");
    QString transparentGreen = QStringLiteral("255");
    QString transparentBlue = QStringLiteral("0");
    QString versionNumber = QStringLiteral(VV_VERSION);

    // Whether the option for `bpp` (one of kBitDepths) is on; false for any other value.
    bool includesDepth(int bpp) const {
        switch (bpp) {
        case 1:
            return depth1;
        case 2:
            return depth2;
        case 4:
            return depth4;
        case 8:
            return depth8;
        case 16:
            return depth16;
        default:
            return false;
        }
    }
};

} // namespace vv
