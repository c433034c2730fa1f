// What differs between the theme build and the icon set build, in one table:
// work folder, database type, closing header line and the message set.
#pragma once

#include "buildrun/BuildOptions.h"

namespace vv {

// Indices into the 36 language-file Messages (language line in the comment).
struct BuildMessageSet {
    int emptyName;             // theme line 34, icon set line 33
    int scriptNotCreatable;    // theme line 41, icon set line 40
    int compilerNotStartable;  // line 54 for both
    int databaseNotOpenable;   // theme line 43, icon set line 44
    int scriptNotReopenable;   // theme line 42, icon set line 39
    int compilerReportedError; // line 70 for both
};

struct BuildKindTraits {
    const char* workFolder;   // below StartDir, also the folder the script names
    const char* databaseType; // the compiler's -type
    const char* headerLine;   // second line of the closing header
    BuildMessageSet messages;
};

inline constexpr BuildKindTraits kThemeTraits{
    "ThmeRsrc", "thme", "Theme Configuration Scheme File", {4, 11, 18, 13, 12, 29}};
inline constexpr BuildKindTraits kIconSetTraits{
    "IconRsrc", "Icns", "Icon Configuration Scheme File", {3, 10, 18, 14, 9, 29}};

constexpr const BuildKindTraits& traitsOf(BuildKind kind) {
    return kind == BuildKind::Theme ? kThemeTraits : kIconSetTraits;
}

// Messages used by the install hand-over.
inline constexpr int kInstallEmptyNameMessage = 15;   // line 46
inline constexpr int kInstallCannotStartMessage = 17; // line 53
inline constexpr int kInstallEmptyToolMessage = 20;   // line 56

// Where the compiler writes and the install tool reads databases.
inline constexpr const char* kDatabaseFolder = "PDBFiles";
inline constexpr const char* kScriptFileName = "vkdm_script.rcp";
// Held in the start directory by a running build.
inline constexpr const char* kBuildLockFileName = "vkdm_build.lock";
// The creator every database is built with.
inline constexpr const char* kCreator = "reze";

} // namespace vv
