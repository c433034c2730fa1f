// What differs between the theme build and the icon set build, in one table:
// work folder, database type, closing header line and the message set.
#pragma once

#include "app/LanguageFile.h"
#include "common/BuildOptions.h"
#include "formats/PalmDatabase.h"

namespace vv {

// The language-file messages a build shows.
struct BuildMessageSet {
    Message emptyName;
    Message scriptNotCreatable;
    Message compilerNotStartable;
    Message databaseNotOpenable;
    Message scriptNotReopenable;
};

struct BuildKindTraits {
    const char* workFolder;   // below StartDir, also the folder the script names
    const char* databaseType; // the compiler's -type
    const char* headerLine;   // second line of the closing header
    BuildMessageSet messages;
};

inline constexpr BuildKindTraits kThemeTraits{"ThmeRsrc",
                                              formats::kThemeDatabaseType,
                                              "Theme Configuration Scheme File",
                                              {Message::ThemeNeedsName, Message::ThemeScriptNotCreatable,
                                               Message::CompilerNotStarted, Message::ThemeDatabaseNotFound,
                                               Message::ThemeScriptNotReopenable}};
inline constexpr BuildKindTraits kIconSetTraits{"IconRsrc",
                                                formats::kIconSetDatabaseType,
                                                "Icon Configuration Scheme File",
                                                {Message::IconSetNeedsName, Message::IconScriptNotCreatable,
                                                 Message::CompilerNotStarted, Message::IconDatabaseNotFound,
                                                 Message::IconScriptNotReopenable}};

// No default: a new kind must be given its own folder and messages here.
constexpr const BuildKindTraits& traitsOf(BuildKind kind) {
    switch (kind) {
    case BuildKind::Theme:
        return kThemeTraits;
    case BuildKind::IconSet:
        return kIconSetTraits;
    }
    return kThemeTraits; // not reached: every kind is a case above
}

// The folder below StartDir that a build's pieces are saved in and its script
// names; the one place that decides it for pieces, slots and the run.
inline QString workFolderOf(BuildKind kind) {
    return QLatin1String(traitsOf(kind).workFolder);
}

// Messages used by the install hand-over.
inline constexpr Message kInstallEmptyNameMessage = Message::InstallNeedsName;
inline constexpr Message kInstallCannotStartMessage = Message::InstallToolNotStarted;
inline constexpr Message kInstallEmptyToolMessage = Message::NoInstallTool;

// Where the compiler writes and the install tool reads databases.
inline constexpr const char* kDatabaseFolder = "PDBFiles";
inline constexpr const char* kScriptFileName = "vkdm_script.rcp";
// Held in the start directory by a running build.
inline constexpr const char* kBuildLockFileName = "vkdm_build.lock";
// A build's private work folder in the start directory: this, then six
// random characters.
inline constexpr const char* kWorkFolderPrefix = ".vkdm-build-";
// Where a build whose compiler has ended leaves its work folder, whose files
// the next build reuses.
inline constexpr const char* kSpareWorkFolderName = ".vkdm-build-spare";
// The creator every database is built with.
inline constexpr const char* kCreator = "reze";

} // namespace vv
