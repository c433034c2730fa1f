// Any bytes as a resource script: the parser must return statements or one
// error with a line inside the text, and never crash.
#include "compiler/ScriptParser.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    vv::pdb::Diagnostics diagnostics;
    const auto script = vv::pdb::ScriptParser::parse(text, &diagnostics);
    if (!script) {
        if (diagnostics.size() != 1 || diagnostics[0].line < 1 ||
            diagnostics[0].line >
                std::count(text.begin(), text.end(), '\n') + std::count(text.begin(), text.end(), '\r') + 1)
            std::abort();
    } else {
        for (const auto& statement : script->statements)
            for (const auto& member : statement.family.members)
                if (member.depth != 1 && member.depth != 2 && member.depth != 4 && member.depth != 8 &&
                    member.depth != 16)
                    std::abort();
    }
    return 0;
}
