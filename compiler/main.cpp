// vkdm_pdb: compiles the program's resource script into a Palm OS resource
// database. Errors exit 1 and leave any older output untouched.
#include "compiler/ResourceCompiler.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char usageLine[] =
    "usage: vkdm_pdb [-q] [-ro] [-allowEditID] -type TYPE -creator CREATOR SCRIPT OUTPUT\n";

const char helpText[] =
    "Compiles a resource script (BITMAPFAMILYEX and ICONFAMILYEX blocks, DATA and\n"
    "VERSION lines) into a Palm OS resource database.\n"
    "\n"
    "  -type TYPE        database type, 1 to 4 characters (e.g. thme)\n"
    "  -creator CREATOR  database creator, 1 to 4 characters (e.g. reze)\n"
    "  -ro               write a resource database (always done; accepted for compatibility)\n"
    "  -allowEditID      allow resource IDs of 10000 and up without a warning\n"
    "  -q                print errors only, no warnings\n"
    "  -h, --help        show this help\n"
    "  --version         show the version\n"
    "\n"
    "Paths in the script are relative to the working directory; '/' and '\\' both\n"
    "separate folders. SOURCE_DATE_EPOCH, when set, gives the database dates.\n"
    "Exit status: 0 on success (warnings included), 1 on any error.\n";

int usageError(const std::string& text) {
    std::fprintf(stderr, "vkdm_pdb: error: %s\n%s", text.c_str(), usageLine);
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    using namespace vv::pdb;
    CompileRequest request;
    bool quiet = false, haveType = false, haveCreator = false;
    std::vector<std::string> positional; // as the system gave them
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        auto value = [&](const char* option, std::string* out) {
            if (i + 1 >= argc)
                return false;
            *out = argv[++i];
            (void)option;
            return true;
        };
        if (!std::strcmp(arg, "-h") || !std::strcmp(arg, "--help")) {
            std::fputs(usageLine, stdout);
            std::fputs(helpText, stdout);
            return 0;
        } else if (!std::strcmp(arg, "--version")) {
            std::printf("vkdm_pdb %s\n", VV_VERSION);
            return 0;
        } else if (!std::strcmp(arg, "-q")) {
            quiet = true;
        } else if (!std::strcmp(arg, "-ro")) {
            // Output is always a resource database.
        } else if (!std::strcmp(arg, "-allowEditID")) {
            request.allowEditID = true;
        } else if (!std::strcmp(arg, "-type") || !std::strcmp(arg, "-creator")) {
            const bool isType = arg[1] == 't';
            std::string* target = isType ? &request.type : &request.creator;
            if (!value(arg, target))
                return usageError(std::string(arg) + " needs a value");
            if (target->empty() || target->size() > 4)
                return usageError(std::string(arg) + " must be 1 to 4 characters, not \"" + *target + '"');
            (isType ? haveType : haveCreator) = true;
        } else if (arg[0] == '-' && arg[1] != '\0') {
            return usageError(std::string("unknown option ") + arg);
        } else {
            positional.emplace_back(arg);
        }
    }
    if (!haveType)
        return usageError("-type is missing");
    if (!haveCreator)
        return usageError("-creator is missing");
    if (positional.size() != 2)
        return usageError(positional.size() < 2 ? "SCRIPT and OUTPUT are both needed"
                                                : "more than one SCRIPT and OUTPUT given");
    request.scriptPath = positional[0];
    request.outputPath = positional[1];

    Diagnostics diagnostics;
    bool ok = false;
    std::string dateError;
    if (const std::optional<std::uint32_t> date = ResourceCompiler::buildDate(&dateError)) {
        request.date = *date;
        ok = ResourceCompiler::run(request, &diagnostics);
    } else {
        diagnostics.push_back(programError(dateError));
    }
    for (const Diagnostic& d : diagnostics) {
        if (quiet && !d.isError())
            continue;
        std::fprintf(stderr, "%s\n", d.format(request.scriptPath).c_str());
    }
    return ok ? 0 : 1;
}
