// The rows of the command table, one file each.
#pragma once

#include "cli/Command.h"

namespace cli {

Command themeCommand();
Command iconSetCommand();
Command installCommand();
Command scriptCommand();
Command unpackCommand();
Command templateCommand();

// The sheet and pick options of each build, which script takes as well.
QList<CliOption> themeInputRows();
QList<CliOption> iconSetInputRows();

} // namespace cli
