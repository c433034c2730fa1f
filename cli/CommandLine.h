// vedivavurir-cli: the theme and icon set builds, the install hand-over and the
// resource script, without windows. Every command runs the same core functions
// the windows call, with the options of vkdm_settings.cfg in the working
// directory, each of which a command-line option can override.
#pragma once

#include <QIODevice>
#include <QStringList>

// Runs one command line (arguments[0] is the program name) in the current
// directory as the start directory. Results go to `out`, diagnostics to `err`.
// Returns the exit code: 0 on success, 1 on any failure.
int runCommandLine(const QStringList& arguments, QIODevice& out, QIODevice& err);
