#include "compiler/InputFile.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

namespace vv::pdb {
namespace {

QString systemError(int code) {
    return QString::fromLocal8Bit(std::strerror(code));
}

QString kindOf(mode_t mode) {
    if (S_ISDIR(mode))
        return QStringLiteral("it is a folder");
#ifdef S_ISFIFO
    if (S_ISFIFO(mode))
        return QStringLiteral("it is a FIFO, not a regular file");
#endif
#ifdef S_ISSOCK
    if (S_ISSOCK(mode))
        return QStringLiteral("it is a socket, not a regular file");
#endif
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("it is a device, not a regular file");
    return QStringLiteral("it is not a regular file");
}

} // namespace

InputFile::~InputFile() {
    if (m_fd >= 0)
        ::close(m_fd);
}

bool InputFile::open(const QString& path, QString* error) {
    auto fail = [&](const QString& text) {
        if (error)
            *error = text;
        return false;
    };
    if (path.isEmpty())
        return fail(QStringLiteral("the file name is empty"));
    if (path.contains(QChar(0)))
        return fail(QStringLiteral("the file name holds a zero byte"));
    // Non-blocking, so that opening a FIFO without a writer returns at once; the
    // type is then checked on what was opened, not on the name.
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_BINARY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int code = errno;
        struct stat info {};
        if (::stat(name.constData(), &info) == 0 && !S_ISREG(info.st_mode))
            return fail(kindOf(info.st_mode)); // a socket cannot even be opened
        return fail(systemError(code));
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        const int code = errno;
        ::close(fd);
        return fail(systemError(code));
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        return fail(kindOf(info.st_mode));
    }
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = fd;
    m_size = qint64(info.st_size);
    return true;
}

std::optional<QByteArray> InputFile::read(qint64 count, QString* error) const {
    if (m_fd < 0 || count < 0 || count > m_size) {
        if (error)
            *error = QStringLiteral("the file ends early");
        return std::nullopt;
    }
    QByteArray bytes(qsizetype(count), Qt::Uninitialized);
    qint64 done = 0;
    while (done < count) {
        const auto got = ::pread(m_fd, bytes.data() + done, size_t(count - done), off_t(done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            if (error)
                *error = got < 0 ? systemError(errno) : QStringLiteral("the file ends early");
            return std::nullopt;
        }
        done += got;
    }
    return bytes;
}

std::optional<QByteArray> InputFile::readAll(const QString& path, qint64 maxSize, QString* error) {
    InputFile file;
    if (!file.open(path, error))
        return std::nullopt;
    if (file.size() > maxSize) {
        if (error)
            *error = QStringLiteral("the file has %1 bytes, more than the %2 allowed")
                         .arg(file.size())
                         .arg(maxSize);
        return std::nullopt;
    }
    return file.read(file.size(), error);
}

QString checkOutputPath(const QString& path) {
    if (path.isEmpty())
        return QStringLiteral("the file name is empty");
    if (path.contains(QChar(0)))
        return QStringLiteral("the file name holds a zero byte");
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return {}; // not there yet (or unreachable: the write says why)
    return S_ISREG(info.st_mode) ? QString() : kindOf(info.st_mode);
}

} // namespace vv::pdb
