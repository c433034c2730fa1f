// The compiler's whole job: script in, resource database out. Nothing is
// written unless every statement compiled; the output then replaces any older
// file in one rename, so a failed run leaves the old database as it was.
#pragma once

#include "compiler/Diagnostic.h"
#include "compiler/PalmDatabase.h"
#include "compiler/ParsedScript.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace vv::pdb {

struct CompileRequest {
    QString scriptPath; // relative paths inside the script are taken from the working directory
    QString outputPath;
    QByteArray type;          // 1 to 4 bytes
    QByteArray creator;       // 1 to 4 bytes
    bool allowEditID = false; // IDs of 10000 and up without a warning
    quint32 date = 0;         // creation and modification date, seconds since 1904
};

class ResourceCompiler {
public:
    // The database the script describes, or nothing when any error was found;
    // errors and warnings are appended to `diagnostics` in script order.
    static std::optional<PalmDatabase> compile(const ParsedScript& script, const CompileRequest& request,
                                               Diagnostics* diagnostics);

    // Reads, compiles and writes; true when the output was written.
    static bool run(const CompileRequest& request, Diagnostics* diagnostics);

    // The database name for an output path: its base name without the last
    // extension, as single-byte text, cut to 31 bytes.
    static QByteArray databaseNameFor(const QString& outputPath);

    // SOURCE_DATE_EPOCH when it is set (an error when it is not a number of
    // seconds), else the current local time; as seconds since 1904.
    static std::optional<quint32> buildDate(QString* error);

    // Larger resources are refused by HotSync.
    static constexpr int safeResourceSize = 65000;
};

} // namespace vv::pdb
