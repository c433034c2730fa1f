// vedivavurir-cli as installed: a program that needs nothing but the C library,
// in front of the real one, a library beside it. Loading Qt's libraries costs
// a process far more than anything a script asks for with --version, so that
// answer is given here; everything else is the library's, in this process, so
// the program's own path, its signals and its exit code stay what they were.
//
// Only the C library is used, so that the standard C++ library is not loaded
// either.
#include "cli/VersionLine.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>

namespace {

bool writeAll(int fd, const char* text, size_t length) {
    while (length > 0) {
        const ssize_t written = ::write(fd, text, length);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        text += written;
        length -= size_t(written);
    }
    return true;
}

bool writeText(int fd, const char* text) {
    return writeAll(fd, text, std::strlen(text));
}

bool asksForVersionOnly(int argc, char** argv) {
    return argc == 2 && (std::strcmp(argv[1], "--version") == 0 || std::strcmp(argv[1], "-v") == 0);
}

// The library's path: VV_CLI_LIBRARY relative to the folder this program lies
// in, once links to it are resolved (a link in a PATH folder is common).
bool libraryPath(char (&path)[PATH_MAX]) {
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0)
        return false;
    path[length] = '\0';
    char* slash = std::strrchr(path, '/');
    if (!slash)
        return false;
    const size_t folder = size_t(slash - path) + 1;
    const size_t tail = std::strlen(VV_CLI_LIBRARY);
    if (folder + tail >= sizeof path)
        return false;
    std::memcpy(path + folder, VV_CLI_LIBRARY, tail + 1);
    return true;
}

int cannotStart(const char* path, const char* why) {
    writeText(STDERR_FILENO, "vedivavurir-cli: error: the program's library ");
    writeText(STDERR_FILENO, path);
    writeText(STDERR_FILENO, " cannot be loaded: ");
    writeText(STDERR_FILENO, why);
    writeText(STDERR_FILENO, "\n");
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    // A version line that cannot be written is left to the library, which
    // reports the failure in the user's language.
    if (asksForVersionOnly(argc, argv) && writeText(STDOUT_FILENO, kCliVersionLine))
        return 0;
    char path[PATH_MAX];
    if (!libraryPath(path))
        return cannotStart(VV_CLI_LIBRARY, "this program's own path is unknown");
    // Bound as the library was linked to be: lazily, or at once where it was
    // linked with -z now (as the package's is).
    void* library = ::dlopen(path, RTLD_LAZY | RTLD_LOCAL);
    if (!library)
        return cannotStart(path, ::dlerror());
    using Entry = int (*)(int, char**);
    const auto entry = reinterpret_cast<Entry>(::dlsym(library, "vedivavurir_cli_main"));
    if (!entry)
        return cannotStart(path, "it has no vedivavurir_cli_main");
    return entry(argc, argv);
}
