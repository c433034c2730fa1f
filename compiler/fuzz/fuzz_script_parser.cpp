// Any bytes as a resource script: the parser must return statements or one
// error with a line inside the text, and never crash.
#include "compiler/ScriptParser.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray text(reinterpret_cast<const char*>(data), qsizetype(size));
    vv::pdb::Diagnostics diagnostics;
    const auto script = vv::pdb::ScriptParser::parse(text, &diagnostics);
    if (!script) {
        if (diagnostics.size() != 1 || diagnostics[0].line < 1 ||
            diagnostics[0].line > text.count('\n') + text.count('\r') + 1)
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
