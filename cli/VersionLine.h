// The program's name and the line --version prints: the launcher, which links
// no Qt, and the program itself print the same line.
#pragma once

inline constexpr char kCliProgram[] = "vedivavurir-cli";
inline constexpr char kCliVersionLine[] = "vedivavurir-cli " VV_VERSION "\n";
