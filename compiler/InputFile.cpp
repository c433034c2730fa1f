#include "compiler/InputFile.h"

#include "compiler/SystemFiles.h"

#include <cerrno>
#include <cstring>

namespace vv::pdb {
namespace {

std::string kindOf(const sys::FileKind kind) {
    switch (kind) {
    case sys::FileKind::Folder:
        return "it is a folder";
    case sys::FileKind::Fifo:
        return "it is a FIFO, not a regular file";
    case sys::FileKind::Socket:
        return "it is a socket, not a regular file";
    case sys::FileKind::Device:
        return "it is a device, not a regular file";
    default:
        return "it is not a regular file";
    }
}

} // namespace

std::string systemErrorText(int code) {
    return std::strerror(code);
}

InputFile::~InputFile() {
    if (fd_ >= 0)
        sys::closeFile(fd_);
}

bool InputFile::open(const std::string& path, std::string* error) {
    auto fail = [&](std::string text) {
        if (error)
            *error = std::move(text);
        return false;
    };
    if (path.empty())
        return fail("the file name is empty");
    if (path.find('\0') != std::string::npos)
        return fail("the file name holds a zero byte");
    // Non-blocking, so that opening a FIFO without a writer returns at once; the
    // type is then checked on what was opened, not on the name.
    const int fd = sys::openForReading(path);
    if (fd < 0) {
        const int code = errno;
        const sys::FileKind kind = sys::kindOfPath(path);
        if (kind != sys::FileKind::Missing && kind != sys::FileKind::Regular)
            return fail(kindOf(kind)); // a socket cannot even be opened
        return fail(systemErrorText(code));
    }
    std::int64_t size = 0;
    const sys::FileKind kind = sys::kindOfOpenFile(fd, &size);
    if (kind != sys::FileKind::Regular) {
        const int code = errno;
        sys::closeFile(fd);
        return fail(kind == sys::FileKind::Missing ? systemErrorText(code) : kindOf(kind));
    }
    if (fd_ >= 0)
        sys::closeFile(fd_);
    fd_ = fd;
    size_ = size;
    return true;
}

std::optional<std::string> InputFile::read(std::int64_t count, std::string* error) const {
    if (fd_ < 0 || count < 0 || count > size_) {
        if (error)
            *error = "the file ends early";
        return std::nullopt;
    }
    std::string bytes(std::size_t(count), '\0');
    if (!readInto(bytes.data(), count, error))
        return std::nullopt;
    return bytes;
}

bool InputFile::readInto(char* buffer, std::int64_t count, std::string* error) const {
    if (fd_ < 0 || count < 0 || count > size_) {
        if (error)
            *error = "the file ends early";
        return false;
    }
    std::int64_t done = 0;
    while (done < count) {
        const std::int64_t got = sys::readAt(fd_, buffer + done, count - done, done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            if (error)
                *error = got < 0 ? systemErrorText(errno) : std::string("the file ends early");
            return false;
        }
        done += got;
    }
    return true;
}

std::optional<std::string> InputFile::readAll(const std::string& path, std::int64_t maxSize,
                                              std::string* error) {
    InputFile file;
    if (!file.open(path, error))
        return std::nullopt;
    if (file.size() > maxSize) {
        if (error)
            *error = "the file has " + std::to_string(file.size()) + " bytes, more than the " +
                     std::to_string(maxSize) + " allowed";
        return std::nullopt;
    }
    return file.read(file.size(), error);
}

std::string checkOutputPath(const std::string& path) {
    if (path.empty())
        return "the file name is empty";
    if (path.find('\0') != std::string::npos)
        return "the file name holds a zero byte";
    const sys::FileKind kind = sys::kindOfPath(path);
    // Not there yet (or unreachable: the write says why), or a file to replace.
    if (kind == sys::FileKind::Missing || kind == sys::FileKind::Regular)
        return {};
    return kindOf(kind);
}

} // namespace vv::pdb
