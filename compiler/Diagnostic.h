// A message of the resource compiler: an error or a warning, tied to a script
// line when one is to blame, otherwise to a file or to the program.
#pragma once

#include <QList>
#include <QString>

namespace vv::pdb {

struct Diagnostic {
    enum class Severity { Error, Warning };
    Severity severity = Severity::Error;
    int line = 0; // script line, 1-based; 0 when no line is to blame
    QString text;

    bool isError() const { return severity == Severity::Error; }
    // "SCRIPT:LINE: error: TEXT" or "vkdm_pdb: error: TEXT".
    QString format(const QString& scriptName) const;
};

using Diagnostics = QList<Diagnostic>;

inline Diagnostic scriptError(int line, const QString& text) {
    return {Diagnostic::Severity::Error, line, text};
}
inline Diagnostic scriptWarning(int line, const QString& text) {
    return {Diagnostic::Severity::Warning, line, text};
}
inline Diagnostic programError(const QString& text) {
    return {Diagnostic::Severity::Error, 0, text};
}

bool hasErrors(const Diagnostics& diagnostics);

} // namespace vv::pdb
