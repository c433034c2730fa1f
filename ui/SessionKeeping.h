// The kept session as the windows live it: restored when the program starts
// in a start directory that has one, kept at most a second after each change
// of the work and again when the program ends.
#pragma once

#include "work/SessionFolder.h"

class QWidget;

namespace vv::ui {

// How long after a change the work is kept at the latest.
inline constexpr int kSessionKeepDelayMs = 1000;
// How long "Restored your last session" and a damaged session's notice show.
inline constexpr int kSessionNoteMs = 5000;

// Gives the main window its session keeper for the start directory.
void installSessionKeeping(QWidget* mainWindow, const QString& startDir);

// Puts the kept session into the windows, says so in the main window's result
// line and starts the history afresh; a damaged or partial one is named there
// instead and left as it is. Returns what was found.
SessionFolder::Restored::Status restoreKeptSession();

// The work has changed: it is kept within kSessionKeepDelayMs.
void noteWorkChanged();

// Keeps the work now when it changed since it was last kept (the program
// ends). The first time keeping fails in a run, the user is told why.
void keepSessionNow();

} // namespace vv::ui
