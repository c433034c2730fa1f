// The SystemScreen table: the handheld screens a theme can be built for, in the
// order the Options dialog lists them and the settings file stores their index,
// with everything that differs between them. ScreenType, the number the rest of
// the program passes round, is the profile's `screenType`; two screens may share
// one when they build alike.
#pragma once

#include <QStringList>

#include <span>

namespace vv {

// Which piece a theme bitmap names on its single-density lines.
enum class SingleDensityPiece { Low, High };

struct ScreenProfile {
    const char* name; // list text, settings text and the command line's --screen value
    int screenType;
    // Resource script
    const char* bitmapIdPrefix;             // written before a theme bitmap family's ID
    SingleDensityPiece bitmapSingleDensity; // 8 and 16 bpp theme bitmap lines
    bool doubleDensityLines;                // 8 and 16 bpp lines add the high piece at density 2
    const char* themeInfoFile;              // nullptr: by the deepest of 8, 4 and 2 bpp
    const char* themeIdatFile;
    // Theme build
    bool savesHighIcons; // the theme carries the OS5 window's icons
    // Windows
    bool opensHighThemeWindow; // View Theme opens the high-resolution theme window
    const char* captionSuffix; // after the main window's caption
    bool showsHighIconsButton; // Hi-Res Icons on the main window
};

// The ScreenType of a program that has read no settings: the first screen's.
inline constexpr int kDefaultScreenType = 1;

// Position = stored SystemScreen index.
std::span<const ScreenProfile> screenProfiles();

// The profile of a ScreenType (the first listed for a shared one), or nullptr
// for a ScreenType no screen has (a settings file saved with no screen chosen).
const ScreenProfile* screenProfileOf(int screenType);

// The ID a theme bitmap family has in a database built for `screen`: the
// family's ID with the screen's prefix written before it.
int themeBitmapId(const ScreenProfile& screen, int familyId);

// "160x160 Low", "320x320 OS5", "320x320 Sony", "320x480 Sony".
const QStringList& systemScreenNames();

// The list position of a SystemScreen text, or -1 when it is none of them.
int systemScreenIndexOf(const QString& name);

} // namespace vv
