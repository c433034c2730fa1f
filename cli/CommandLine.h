// vedivavurir-cli: the theme and icon set builds, the install hand-over, the
// resource script and the unpacking of databases, without windows. Every
// command runs the same core functions the windows call, with the options of
// vkdm_settings.cfg in the start directory, each of which a command-line
// option can override.
#pragma once

#include <QIODevice>
#include <QStringList>

#include <functional>

// Runs one command line (arguments[0] is the program name). Results go to
// `out`, diagnostics to `err`, a picture given as - is read from `in`. Returns
// the exit code: 0 success, 1 failure, 2 usage error, 128 + N after signal N.
// `beforeCommand` runs once the line is known to run a command, not only to
// print help or the version (main makes the application object there).
int runCommandLine(const QStringList& arguments, QIODevice& in, QIODevice& out, QIODevice& err,
                   const std::function<void()>& beforeCommand = {});
// The same with nothing on standard input.
int runCommandLine(const QStringList& arguments, QIODevice& out, QIODevice& err);

// The words the bash completion offers, one record a line of tab-separated
// fields: "command NAME", "option COMMAND SPELLING KIND" (COMMAND "-" before
// a command), "choice COMMAND SPELLING TEXT", "argument COMMAND WORD".
QString completionWords();
