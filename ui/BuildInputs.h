// What a build button hands the build run, read off the windows at the moment
// of the click: the Options dialog's depth boxes (live even while it is
// closed), the main window's state and name field, and the run itself with its
// busy label. Both build buttons go through here.
#pragma once

#include "buildrun/BuildRun.h"

#include <QStringList>

#include <functional>
#include <optional>

class QWidget;

namespace vv::ui {

// The depth boxes of Form3 and ScreenType, CompressKeyword, the transparency
// texts and VersionNumber of Form1.
BuildOptions currentBuildOptions();

// Form1's Messages as a list; empty before the windows exist.
QStringList currentMessages();

// A request of `kind` with the options, the messages, the database name from
// Form1's name field (unchanged, blanks included) and Form1's StartDir. The
// families and pieces are the caller's.
BuildRequest buildRequestFromWindows(BuildKind kind);

// Runs one build the way the build buttons do: a name the build refuses is
// reported and nothing is written; otherwise `busyLabel` is shown and painted
// at once, the build runs while the windows keep repainting (Escape or closing
// a window cancels it; other clicks and keys wait), every message it returns
// is shown in order, and the label is hidden again. `gatherPieces`
// fills in the families and pieces only once the name has been accepted.
// Returns the build's outcome, or nothing when the name was refused.
std::optional<BuildOutcome> runBuildFromWindows(BuildKind kind, QWidget* busyLabel,
                                                const std::function<void(BuildRequest&)>& gatherPieces);

} // namespace vv::ui
