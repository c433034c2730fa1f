// Starting outside programs without a window: the compiler run a build waits
// for and the install tool it hands a database to. Any Platform may use these;
// the command-line tool's platform is nothing else.
#pragma once

#include "platform/Platform.h"

namespace vv {

// Runs `program` with `arguments` (never through a shell) in `workingDirectory`
// and waits without a time limit. The outcome tells a program that could not be
// started from one that crashed or ended, with its output.
ProcessOutcome runProgramAndWait(const QString& program, const QStringList& arguments,
                                 const QString& workingDirectory);

// Starts `program` on its own; false when it could not be started.
[[nodiscard]] bool startProgramDetached(const QString& program, const QStringList& arguments,
                                        const QString& workingDirectory);

} // namespace vv
