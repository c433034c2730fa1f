// Texts of the build checks, sheet size checks and build results, in English,
// until they become rows of the language line table.
#pragma once

#include <QString>

namespace vv::checktexts {

// %1: how many pictures.
inline const QString LowArtOnlyQuestion = QStringLiteral(
    "%1 pictures carry your own art only at low resolution; their high-resolution partners are still the "
    "built-in ones. Double the low-resolution pictures for this build?");
inline const QString DoubleAnswer = QStringLiteral("Double");
inline const QString AsItIsAnswer = QStringLiteral("Build as it is");
inline const QString CancelAnswer = QStringLiteral("Cancel");
// %1: how many pictures.
inline const QString LowArtOnlyRefusal = QStringLiteral(
    "%1 pictures carry your own art only at low resolution while their high-resolution partners are still "
    "the built-in ones; give --double-low to enlarge them for this build or --as-is to build as it is");

// %1 x %2: the sheet; %3 x %4: what the window expects.
inline const QString SheetSizeQuestion =
    QStringLiteral("This sheet is %1 x %2; this window expects %3 x %4. Cut it anyway?");
inline const QString YesAnswer = QStringLiteral("Yes");
inline const QString NoAnswer = QStringLiteral("No");
// %1 x %2: the sheet; %3 x %4: what the window expects.
inline const QString HighSheetQuestion = QStringLiteral(
    "This sheet is %1 x %2, the size of a high-resolution sheet; this window expects %3 x %4. Cut it as a "
    "high-resolution sheet (both sets)?");
inline const QString BothSetsAnswer = QStringLiteral("Both sets");
inline const QString CutAnywayAnswer = QStringLiteral("Cut it anyway");
// %1: the file; %2 x %3: its size; %4: the option; %5 x %6: the size it expects.
inline const QString SheetSizeRefusal =
    QStringLiteral("%1 is %2 x %3; %4 expects %5 x %6. Give --any-size to cut it anyway");

// %1: the database's path; %2: its size in KB.
inline const QString BuildResult = QStringLiteral("%1, %2 KB");
// %1: the database's path.
inline const QString InstallDatabaseMissing = QStringLiteral("%1 does not exist; build it first");
inline const QString InstallToolHint = QStringLiteral(
    "Any command that takes the database path as its last argument, e.g. cp -t /media/card/PALM/Launcher "
    "or a HotSync tool");

} // namespace vv::checktexts
