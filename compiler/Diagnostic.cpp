#include "compiler/Diagnostic.h"

#include <algorithm>

namespace vv::pdb {

QString Diagnostic::format(const QString& scriptName) const {
    const QString kind = isError() ? QStringLiteral("error") : QStringLiteral("warning");
    if (line > 0)
        return QStringLiteral("%1:%2: %3: %4").arg(scriptName).arg(line).arg(kind, text);
    return QStringLiteral("vkdm_pdb: %1: %2").arg(kind, text);
}

bool hasErrors(const Diagnostics& diagnostics) {
    return std::any_of(diagnostics.begin(), diagnostics.end(),
                       [](const Diagnostic& d) { return d.isError(); });
}

} // namespace vv::pdb
