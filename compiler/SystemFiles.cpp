#include "compiler/SystemFiles.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>

#ifdef _WIN32
#include <io.h>
#include <share.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

#ifndef O_BINARY
#define O_BINARY 0
#endif
#ifndef O_NOCTTY
#define O_NOCTTY 0
#endif
#ifndef O_NONBLOCK
#define O_NONBLOCK 0
#endif
#ifndef O_CLOEXEC
#define O_CLOEXEC 0
#endif

namespace vv::pdb::sys {
namespace {

#ifdef _WIN32
using StatBuffer = struct _stat64;

std::wstring wide(const std::string& utf8) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring out(size_t(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), out.data(), n);
    return out;
}
int statPath(const std::string& path, StatBuffer* info) {
    return _wstat64(wide(path).c_str(), info);
}
int statOpen(int fd, StatBuffer* info) {
    return _fstat64(fd, info);
}
#else
using StatBuffer = struct stat;

int statPath(const std::string& path, StatBuffer* info) {
    return ::stat(path.c_str(), info);
}
int statOpen(int fd, StatBuffer* info) {
    return ::fstat(fd, info);
}
#endif

FileKind kindOfMode(unsigned mode) {
    if ((mode & S_IFMT) == S_IFREG)
        return FileKind::Regular;
    if ((mode & S_IFMT) == S_IFDIR)
        return FileKind::Folder;
#ifdef S_IFIFO
    if ((mode & S_IFMT) == S_IFIFO)
        return FileKind::Fifo;
#endif
#ifdef S_IFSOCK
    if ((mode & S_IFMT) == S_IFSOCK)
        return FileKind::Socket;
#endif
#ifdef S_IFBLK
    if ((mode & S_IFMT) == S_IFBLK)
        return FileKind::Device;
#endif
    if ((mode & S_IFMT) == S_IFCHR)
        return FileKind::Device;
    return FileKind::Other;
}

} // namespace

int openForReading(const std::string& path) {
#ifdef _WIN32
    int fd = -1;
    return _wsopen_s(&fd, wide(path).c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT, _SH_DENYNO, 0) == 0 ? fd
                                                                                                        : -1;
#else
    return ::open(path.c_str(), O_RDONLY | O_BINARY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
#endif
}

bool closeFile(int fd) {
#ifdef _WIN32
    return _close(fd) == 0;
#else
    return ::close(fd) == 0;
#endif
}

FileKind kindOfPath(const std::string& path) {
    StatBuffer info{};
    if (statPath(path, &info) != 0)
        return FileKind::Missing;
    return kindOfMode(unsigned(info.st_mode));
}

FileKind kindOfOpenFile(int fd, std::int64_t* size) {
    StatBuffer info{};
    if (statOpen(fd, &info) != 0)
        return FileKind::Missing;
    if (size)
        *size = std::int64_t(info.st_size);
    return kindOfMode(unsigned(info.st_mode));
}

std::int64_t readAt(int fd, char* buffer, std::int64_t count, std::int64_t offset) {
#ifdef _WIN32
    if (_lseeki64(fd, offset, SEEK_SET) < 0)
        return -1;
    return _read(fd, buffer, unsigned(count > 0x40000000 ? 0x40000000 : count));
#else
    return ::pread(fd, buffer, size_t(count), off_t(offset));
#endif
}

int createTemporaryBeside(const std::string& path, std::string* temporaryPath, std::string* finalPath) {
    std::string target = path;
#ifndef _WIN32
    // A link keeps pointing where it did: the file it names is the one replaced.
    struct stat link {};
    if (::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        if (char* resolved = ::realpath(path.c_str(), nullptr)) {
            target = resolved;
            std::free(resolved);
        }
    }
#endif
    StatBuffer existing{};
    [[maybe_unused]] const bool exists = statPath(target, &existing) == 0;
#ifndef _WIN32
    // A database is an ordinary file, and one that is replaced keeps its
    // permissions.
    mode_t mode = 0;
    if (exists) {
        mode = existing.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
#endif
#ifdef O_TMPFILE
    const std::size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : target.substr(0, slash);
    if (const int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600); fd >= 0) {
        ::fchmod(fd, mode);
        temporaryPath->clear();
        *finalPath = target;
        return fd;
    }
    // The file system has no unnamed files: a named one it is.
#endif
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = target + ".XXXXXX";
#ifdef _WIN32
        if (_mktemp_s(name.data(), name.size() + 1) != 0)
            return -1;
        int fd = -1;
        if (_wsopen_s(&fd, wide(name).c_str(), _O_WRONLY | _O_BINARY | _O_CREAT | _O_EXCL | _O_NOINHERIT,
                      _SH_DENYRW, _S_IREAD | _S_IWRITE) != 0) {
            if (errno == EEXIST)
                continue;
            return -1;
        }
#else
        const int fd = ::mkostemp(name.data(), O_CLOEXEC);
        if (fd < 0)
            return -1;
        ::fchmod(fd, mode); // mkstemp makes it for its owner alone
#endif
        *temporaryPath = name;
        *finalPath = target;
        return fd;
    }
    errno = EEXIST;
    return -1;
}

bool writeAt(int fd, const char* data, std::int64_t size, std::int64_t offset) {
    std::int64_t done = 0;
    while (done < size) {
#ifdef _WIN32
        if (_lseeki64(fd, offset + done, SEEK_SET) < 0)
            return false;
        const std::int64_t chunk = size - done > 0x40000000 ? 0x40000000 : size - done;
        const std::int64_t wrote = _write(fd, data + done, unsigned(chunk));
#else
        const std::int64_t wrote = ::pwrite(fd, data + done, size_t(size - done), off_t(offset + done));
#endif
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0) {
            if (wrote == 0)
                errno = ENOSPC;
            return false;
        }
        done += wrote;
    }
    return true;
}

bool nameTemporary([[maybe_unused]] int fd, [[maybe_unused]] const std::string& finalPath,
                   [[maybe_unused]] std::string* temporaryPath) {
#ifdef O_TMPFILE
    const std::string source = "/proc/self/fd/" + std::to_string(fd);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = finalPath + '.' + std::to_string(::getpid()) + '-' + std::to_string(attempt);
        if (::linkat(AT_FDCWD, source.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            *temporaryPath = name;
            return true;
        }
        if (errno != EEXIST)
            return false;
    }
#endif
    errno = EEXIST;
    return false;
}

bool syncFile(int fd) {
#ifdef _WIN32
    return _commit(fd) == 0;
#elif defined(__linux__)
    return ::fdatasync(fd) == 0;
#else
    return ::fsync(fd) == 0;
#endif
}

bool replaceFile(const std::string& from, const std::string& to) {
#ifdef _WIN32
    if (MoveFileExW(wide(from).c_str(), wide(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    errno = EACCES;
    return false;
#else
    return ::rename(from.c_str(), to.c_str()) == 0;
#endif
}

void removeFile(const std::string& path) {
#ifdef _WIN32
    _wunlink(wide(path).c_str());
#else
    ::unlink(path.c_str());
#endif
}

} // namespace vv::pdb::sys
