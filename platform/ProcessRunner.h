// Starting outside programs without a window: the compiler run a build waits
// for and the install tool it hands a database to. Any Platform may use these;
// the command-line tool's platform is nothing else.
#pragma once

#include "platform/Platform.h"

namespace vv {

// Runs `program` with `arguments` (never through a shell) in `workingDirectory`
// and waits within `limits`. The outcome tells a program that could not be
// started from one that crashed (with its signal), ran out of time, was
// cancelled or ended, with the first part of its output. With
// `limits.leaveRunning` a program still running when the wait ends is left to
// go on (StillRunning); that needs an event loop to tidy up after it.
ProcessOutcome runProgramAndWait(const QString& program, const QStringList& arguments,
                                 const QString& workingDirectory, const ProcessLimits& limits = {});

// Starts `program` on its own; false when it could not be started.
[[nodiscard]] bool startProgramDetached(const QString& program, const QStringList& arguments,
                                        const QString& workingDirectory);

// The line of a program's output that says what went wrong: the first line
// that names an error (warnings may come before it), else the first non-empty
// line, error output before normal output; empty when it printed nothing.
QString firstErrorLine(const ProcessOutcome& outcome);

// `program` and `arguments` as one line, arguments with blanks or quotes in
// double quotes.
QString commandLineText(const QString& program, const QStringList& arguments);

// A short English name of a signal, e.g. "SIGABRT"; a number when unknown.
QString signalName(int signalNumber);

} // namespace vv
