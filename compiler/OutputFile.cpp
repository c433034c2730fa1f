#include "compiler/OutputFile.h"

#include "compiler/InputFile.h"
#include "compiler/SystemFiles.h"

#include <cerrno>

namespace vv::pdb {
namespace {

constexpr std::size_t bufferSize = 64 * 1024;

} // namespace

OutputFile::~OutputFile() {
    if (m_fd >= 0) {
        sys::closeFile(m_fd);
        if (!m_temporaryPath.empty()) // an unnamed file goes with its descriptor
            sys::removeFile(m_temporaryPath);
    }
}

bool OutputFile::fail() {
    m_error = systemErrorText(errno);
    m_failed = true;
    return false;
}

bool OutputFile::open() {
    m_fd = sys::createTemporaryBeside(m_path, &m_temporaryPath, &m_finalPath);
    if (m_fd < 0)
        return fail();
    m_buffer.reserve(bufferSize);
    return true;
}

bool OutputFile::flush() {
    if (m_buffer.empty())
        return true;
    if (!sys::writeAt(m_fd, m_buffer.data(), std::int64_t(m_buffer.size()), m_written))
        return fail();
    m_written += std::int64_t(m_buffer.size());
    m_buffer.clear();
    return true;
}

bool OutputFile::write(std::string_view bytes) {
    if (m_fd < 0 || m_failed)
        return false;
    if (m_buffer.size() + bytes.size() > bufferSize && !flush())
        return false;
    if (bytes.size() >= bufferSize) {
        if (!sys::writeAt(m_fd, bytes.data(), std::int64_t(bytes.size()), m_written))
            return fail();
        m_written += std::int64_t(bytes.size());
        return true;
    }
    m_buffer.append(bytes);
    return true;
}

bool OutputFile::writeAt(std::int64_t offset, std::string_view bytes) {
    if (m_fd < 0 || m_failed || !flush())
        return false;
    if (offset < 0 || offset + std::int64_t(bytes.size()) > m_written) {
        errno = EINVAL;
        return fail();
    }
    return sys::writeAt(m_fd, bytes.data(), std::int64_t(bytes.size()), offset) || fail();
}

bool OutputFile::commit() {
    if (m_fd < 0 || m_failed || !flush())
        return false;
    const int fd = m_fd;
    m_fd = -1;
    bool ok = sys::syncFile(fd);
    if (ok && m_temporaryPath.empty())
        ok = sys::nameTemporary(fd, m_finalPath, &m_temporaryPath);
    const int code = errno;
    const bool closed = sys::closeFile(fd);
    if (ok && closed && sys::replaceFile(m_temporaryPath, m_finalPath))
        return true;
    if (!ok)
        errno = code;
    fail();
    if (!m_temporaryPath.empty())
        sys::removeFile(m_temporaryPath);
    return false;
}

} // namespace vv::pdb
