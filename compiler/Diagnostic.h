// A message of the resource compiler: an error or a warning, tied to a script
// line when one is to blame, otherwise to a file or to the program. Texts are
// UTF-8.
#pragma once

#include <string>
#include <vector>

namespace vv::pdb {

struct Diagnostic {
    enum class Severity { Error, Warning };
    Severity severity = Severity::Error;
    int line = 0; // script line, 1-based; 0 when no line is to blame
    std::string text;

    bool isError() const { return severity == Severity::Error; }
    // "SCRIPT:LINE: error: TEXT" or "vkdm_pdb: error: TEXT".
    std::string format(const std::string& scriptName) const;
};

using Diagnostics = std::vector<Diagnostic>;

inline Diagnostic scriptError(int line, std::string text) {
    return {Diagnostic::Severity::Error, line, std::move(text)};
}
inline Diagnostic scriptWarning(int line, std::string text) {
    return {Diagnostic::Severity::Warning, line, std::move(text)};
}
inline Diagnostic programError(std::string text) {
    return {Diagnostic::Severity::Error, 0, std::move(text)};
}

bool hasErrors(const Diagnostics& diagnostics);

} // namespace vv::pdb
