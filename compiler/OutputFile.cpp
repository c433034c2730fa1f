#include "compiler/OutputFile.h"

#include "compiler/InputFile.h"
#include "compiler/SystemFiles.h"

#include <cerrno>

namespace vv::pdb {
namespace {

constexpr std::size_t kBufferSize = 64 * 1024;

} // namespace

OutputFile::~OutputFile() {
    if (fd_ >= 0) {
        sys::closeFile(fd_);
        if (!temporaryPath_.empty()) // an unnamed file goes with its descriptor
            sys::removeFile(temporaryPath_);
    }
}

bool OutputFile::fail() {
    error_ = systemErrorText(errno);
    failed_ = true;
    return false;
}

bool OutputFile::open() {
    fd_ = sys::createTemporaryBeside(path_, &temporaryPath_, &finalPath_);
    if (fd_ < 0)
        return fail();
    buffer_.reserve(kBufferSize);
    return true;
}

bool OutputFile::flush() {
    if (buffer_.empty())
        return true;
    if (!sys::writeAt(fd_, buffer_.data(), std::int64_t(buffer_.size()), written_))
        return fail();
    written_ += std::int64_t(buffer_.size());
    buffer_.clear();
    return true;
}

bool OutputFile::write(std::string_view bytes) {
    if (fd_ < 0 || failed_)
        return false;
    if (buffer_.size() + bytes.size() > kBufferSize && !flush())
        return false;
    if (bytes.size() >= kBufferSize) {
        if (!sys::writeAt(fd_, bytes.data(), std::int64_t(bytes.size()), written_))
            return fail();
        written_ += std::int64_t(bytes.size());
        return true;
    }
    buffer_.append(bytes);
    return true;
}

bool OutputFile::writeAt(std::int64_t offset, std::string_view bytes) {
    if (fd_ < 0 || failed_ || !flush())
        return false;
    if (offset < 0 || offset + std::int64_t(bytes.size()) > written_) {
        errno = EINVAL;
        return fail();
    }
    return sys::writeAt(fd_, bytes.data(), std::int64_t(bytes.size()), offset) || fail();
}

bool OutputFile::commit() {
    if (fd_ < 0 || failed_ || !flush())
        return false;
    const int fd = fd_;
    fd_ = -1;
    bool ok = sys::syncFile(fd);
    if (ok && temporaryPath_.empty())
        ok = sys::nameTemporary(fd, finalPath_, &temporaryPath_);
    const int code = errno;
    const bool closed = sys::closeFile(fd);
    if (ok && closed && sys::replaceFile(temporaryPath_, finalPath_))
        return true;
    if (!ok)
        errno = code;
    fail();
    if (!temporaryPath_.empty())
        sys::removeFile(temporaryPath_);
    return false;
}

} // namespace vv::pdb
