#include "compiler/Diagnostic.h"

#include <algorithm>

namespace vv::pdb {

std::string Diagnostic::format(const std::string& scriptName) const {
    const char* kind = isError() ? "error" : "warning";
    if (line > 0)
        return scriptName + ':' + std::to_string(line) + ": " + kind + ": " + text;
    return std::string("vkdm_pdb: ") + kind + ": " + text;
}

bool hasErrors(const Diagnostics& diagnostics) {
    return std::any_of(diagnostics.begin(), diagnostics.end(),
                       [](const Diagnostic& d) { return d.isError(); });
}

} // namespace vv::pdb
