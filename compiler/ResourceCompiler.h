// The compiler's whole job: script in, resource database out. Resources are
// made and written one group after another, so memory stays flat however long
// the script is; the output is a temporary file that replaces any older file
// in one rename once every statement compiled, so a failed run leaves the old
// database as it was.
#pragma once

#include "compiler/Diagnostic.h"
#include "compiler/ParsedScript.h"
#include "formats/PalmDatabase.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace vv::pdb {

struct CompileRequest {
    std::string scriptPath; // relative paths inside the script are taken from the working directory
    std::string outputPath;
    std::string type;         // 1 to 4 bytes
    std::string creator;      // 1 to 4 bytes
    bool allowEditID = false; // IDs of 10000 and up without a warning
    std::uint32_t date = 0;   // creation and modification date, seconds since 1904
};

class ResourceCompiler {
public:
    // The database the script describes, or nothing when any error was found;
    // errors and warnings are appended to `diagnostics` in script order.
    static std::optional<formats::PalmDatabase>
    compile(const ParsedScript& script, const CompileRequest& request, Diagnostics* diagnostics);

    // The streaming form: `start` receives the number of resources once the
    // statements are known to be sound, then `add` each resource in script
    // order. Nothing more is handed over after the first error (or after either
    // returns false). True when every resource was handed over without error.
    static bool compileTo(const ParsedScript& script, const CompileRequest& request, Diagnostics* diagnostics,
                          const std::function<bool(std::size_t)>& start,
                          const std::function<bool(const formats::PalmResource&)>& add);

    // The database fields a request gives (name, type, creator, dates).
    static formats::PalmDatabase headerFor(const CompileRequest& request);

    // Reads, compiles and writes; true when the output was written.
    static bool run(const CompileRequest& request, Diagnostics* diagnostics);

    // The database name for an output path (UTF-8): its base name without the
    // last extension, as single-byte text, cut to 31 bytes.
    static std::string databaseNameFor(const std::string& outputPath);

    // SOURCE_DATE_EPOCH when it is set (an error when it is not a number of
    // seconds), else the current local time; as seconds since 1904.
    static std::optional<std::uint32_t> buildDate(std::string* error);

    // Larger resources are refused by HotSync.
    static constexpr int kSafeResourceSize = 65000;
    // A resource's size must fit the handheld's 64 KB chunks; a larger DATA
    // file (or a device that never ends) is refused before it is read.
    static constexpr std::int64_t kMaxDataSize = 64 * 1024;
    // The resource count is a 16-bit field of the database header.
    static constexpr std::size_t kMaxResources = 0xFFFF;
    // Far beyond any script the program writes; keeps a stray huge file out.
    static constexpr std::int64_t kMaxScriptSize = 256 * 1024 * 1024;
};

} // namespace vv::pdb
