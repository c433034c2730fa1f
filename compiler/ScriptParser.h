// Reads the resource script language the program writes: BITMAPFAMILYEX and
// ICONFAMILYEX blocks of BITMAP lines, DATA and VERSION statements, with
// case-insensitive keywords, C and C++ comments and any kind of line end.
#pragma once

#include "compiler/Diagnostic.h"
#include "compiler/ParsedScript.h"

#include <optional>
#include <string_view>

namespace vv::pdb {

class ScriptParser {
public:
    // The statements of the script, or nothing with the first error (naming the
    // line that is wrong) in `diagnostics`. Never throws; any byte string is safe.
    static std::optional<ParsedScript> parse(std::string_view text, Diagnostics* diagnostics);
};

} // namespace vv::pdb
