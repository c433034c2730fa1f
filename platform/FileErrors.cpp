#include "platform/FileErrors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#endif

namespace vv {
namespace {

#ifdef Q_OS_UNIX
QByteArray nativePath(const QString& path) {
    return QFile::encodeName(path);
}

QString kindOfSpecialFile(mode_t mode) {
    if (S_ISDIR(mode))
        return QStringLiteral("it is a folder, not a regular file");
    if (S_ISFIFO(mode))
        return QStringLiteral("it is a FIFO, not a regular file");
    if (S_ISSOCK(mode))
        return QStringLiteral("it is a socket, not a regular file");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("it is a device, not a regular file");
    return QStringLiteral("it is not a regular file");
}

bool writeAll(int fd, const QByteArray& bytes) {
    const char* at = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, at, size_t(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (written == 0) {
            errno = ENOSPC;
            return false;
        }
        at += written;
        left -= written;
    }
    return true;
}

// The mode a plain open(O_CREAT, 0666) would give, since mkstemp makes 0600.
mode_t defaultFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

bool fail(QString* error, int cause, const QString& fallback = {}) {
    if (error)
        *error = fileErrorText(cause, fallback);
    return false;
}
#endif

} // namespace

QString fileErrorText(int errorNumber, const QString& fallback) {
    switch (errorNumber) {
    case ENOSPC:
        return QStringLiteral("no space left on the device");
#ifdef EDQUOT
    case EDQUOT:
        return QStringLiteral("the disk quota is used up");
#endif
    case EFBIG:
        return QStringLiteral("the file is too large for the device");
    case EROFS:
        return QStringLiteral("the device is read-only");
    case EACCES:
    case EPERM:
        return QStringLiteral("permission denied");
    case EIO:
        return QStringLiteral("the device reported an input/output error");
    case ENOENT:
        return QStringLiteral("no such file or folder");
    case EEXIST:
        return QStringLiteral("it already exists");
    case EISDIR:
        return QStringLiteral("it is a folder");
#ifdef ELOOP
    case ELOOP:
        return QStringLiteral("it is a symbolic link");
#endif
    case 0:
        break;
    default:
        if (fallback.isEmpty() || fallback == QLatin1String("Unknown error"))
            return QString::fromLocal8Bit(std::strerror(errorNumber));
        break;
    }
    return fallback.isEmpty() ? QStringLiteral("unknown error") : fallback;
}

QString byteSizeText(qint64 bytes) {
    if (bytes >= 1024 * 1024 && bytes % (1024 * 1024) == 0)
        return QStringLiteral("%1 MB").arg(bytes / (1024 * 1024));
    if (bytes >= 1024 && bytes % 1024 == 0)
        return QStringLiteral("%1 KB").arg(bytes / 1024);
    return QStringLiteral("%1 bytes").arg(bytes);
}

#ifdef Q_OS_UNIX

// Closes a file just written; where the write or the close failed, the file
// goes and `error` gets the cause.
bool closeWritten(int fd, bool written, const QByteArray& name, QString* error) {
    int cause = errno;
    if (::close(fd) != 0 && written) {
        written = false;
        cause = errno;
    }
    if (written)
        return true;
    ::unlink(name.constData());
    return fail(error, cause);
}

// Writes `bytes` to a fresh file beside `path` and returns its name, or an
// empty name with `error` set.
QByteArray writeBeside(const QString& path, const QByteArray& bytes, QString* error) {
    const QFileInfo target(path);
    if (target.isDir() && !target.isSymLink()) {
        fail(error, EISDIR);
        return {};
    }
    // Beside the target, so the rename stays on one file system.
    QByteArray temporary =
        nativePath(QDir(target.absolutePath())
                       .filePath(QLatin1Char('.') + target.fileName() + QStringLiteral(".XXXXXX")));
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        fail(error, errno);
        return {};
    }
    ::fchmod(fd, defaultFileMode());
    if (closeWritten(fd, writeAll(fd, bytes) && ::fsync(fd) == 0, temporary, error))
        return temporary;
    return {};
}

bool writeWholeFile(const QString& path, const QByteArray& bytes, QString* error) {
    const QByteArray temporary = writeBeside(path, bytes, error);
    if (temporary.isEmpty())
        return false;
    if (::rename(temporary.constData(), nativePath(QFileInfo(path).absoluteFilePath()).constData()) == 0)
        return true;
    const int cause = errno;
    ::unlink(temporary.constData());
    return fail(error, cause);
}

bool writeFilesTogether(const QList<FileToWrite>& files, QString* failedPath, QString* error) {
    QList<QByteArray> temporaries;
    const auto removeTemporaries = [&] {
        for (const QByteArray& temporary : temporaries)
            ::unlink(temporary.constData());
    };
    for (const FileToWrite& file : files) {
        const QByteArray temporary = writeBeside(file.path, file.bytes, error);
        if (temporary.isEmpty()) {
            removeTemporaries();
            if (failedPath)
                *failedPath = file.path;
            return false;
        }
        temporaries << temporary;
    }
    for (qsizetype i = 0; i < files.size(); ++i) {
        if (::rename(temporaries[i].constData(),
                     nativePath(QFileInfo(files[i].path).absoluteFilePath()).constData()) != 0) {
            const int cause = errno;
            temporaries = temporaries.mid(i);
            removeTemporaries();
            if (failedPath)
                *failedPath = files[i].path;
            return fail(error, cause);
        }
    }
    return true;
}

bool createNewFile(const QString& path, const QByteArray& bytes, QString* error) {
    const QByteArray name = nativePath(path);
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0)
        return fail(error, errno);
    return closeWritten(fd, writeAll(fd, bytes), name, error);
}

bool rewriteOwnFile(const QString& path, const QByteArray& bytes, QString* error) {
    const QByteArray name = nativePath(path);
    const int fd = ::open(name.constData(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (errno != ENOENT)
            ::unlink(name.constData()); // a link, a FIFO: its name goes, never its target
        return createNewFile(path, bytes, error);
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_nlink != 1 ||
        status.st_uid != ::geteuid()) {
        ::close(fd);
        ::unlink(name.constData());
        return createNewFile(path, bytes, error);
    }
    // In place, then cut to length: a file of the same size keeps its blocks.
    return closeWritten(fd, writeAll(fd, bytes) && ::ftruncate(fd, off_t(bytes.size())) == 0, name, error);
}

bool isOwnPrivateFolder(const QString& path) {
    struct stat status {};
    return ::lstat(nativePath(path).constData(), &status) == 0 && S_ISDIR(status.st_mode) &&
           status.st_uid == ::geteuid() && (status.st_mode & 077) == 0;
}

bool addFileName(const QString& existing, const QString& path, QString* error) {
    // linkat without AT_SYMLINK_FOLLOW names a link itself, never its target.
    if (::linkat(AT_FDCWD, nativePath(existing).constData(), AT_FDCWD, nativePath(path).constData(), 0) == 0)
        return true;
    return fail(error, errno);
}

bool readWholeFile(const QString& path, qint64 cap, QByteArray* bytes, QString* error) {
    // Without O_NONBLOCK, opening a FIFO waits for a writer that never comes.
    const int fd = ::open(nativePath(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return fail(error, errno);
    struct stat status {};
    if (::fstat(fd, &status) != 0) {
        const int cause = errno;
        ::close(fd);
        return fail(error, cause);
    }
    if (!S_ISREG(status.st_mode)) {
        ::close(fd);
        if (error)
            *error = kindOfSpecialFile(status.st_mode);
        return false;
    }
    const auto tooLarge = [&] {
        ::close(fd);
        if (error)
            *error = QStringLiteral("it is larger than the %1 this program reads").arg(byteSizeText(cap));
        return false;
    };
    if (status.st_size > cap)
        return tooLarge();
    // Read to the end rather than to the size seen, so a file that grows
    // meanwhile is still caught by the cap.
    QByteArray content(qsizetype(status.st_size) + 1, Qt::Uninitialized);
    qint64 filled = 0;
    for (;;) {
        if (filled == content.size()) {
            if (filled > cap)
                return tooLarge();
            content.resize(qsizetype(qMin<qint64>(cap + 1, filled * 2 + 4096)));
        }
        const ssize_t got = ::read(fd, content.data() + filled, size_t(content.size() - filled));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            const int cause = errno;
            ::close(fd);
            return fail(error, cause);
        }
        if (got == 0)
            break;
        filled += got;
    }
    ::close(fd);
    if (filled > cap)
        return tooLarge();
    content.truncate(qsizetype(filled));
    *bytes = std::move(content);
    return true;
}

bool renameOver(const QString& from, const QString& to, QString* error) {
    if (::rename(nativePath(from).constData(), nativePath(to).constData()) == 0)
        return true;
    return fail(error, errno);
}

bool syncFile(const QString& path, QString* error) {
    const int fd = ::open(nativePath(path).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return fail(error, errno);
    const bool synced = ::fsync(fd) == 0;
    const int cause = errno;
    ::close(fd);
    return synced || fail(error, cause);
}

#else

// Elsewhere Qt's own save file (a temporary file and a rename) comes closest.
bool writeWholeFile(const QString& path, const QByteArray& bytes, QString* error) {
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || file.write(bytes) != bytes.size() ||
        !file.commit()) {
        const int cause = errno;
        if (error)
            *error = fileErrorText(cause, file.errorString());
        file.cancelWriting();
        return false;
    }
    return true;
}

bool writeFilesTogether(const QList<FileToWrite>& files, QString* failedPath, QString* error) {
    for (const FileToWrite& file : files) {
        if (!writeWholeFile(file.path, file.bytes, error)) {
            if (failedPath)
                *failedPath = file.path;
            return false;
        }
    }
    return true;
}

bool createNewFile(const QString& path, const QByteArray& bytes, QString* error) {
    if (QFileInfo::exists(path) || QFileInfo(path).isSymLink()) {
        if (error)
            *error = fileErrorText(EEXIST);
        return false;
    }
    return writeWholeFile(path, bytes, error);
}

bool rewriteOwnFile(const QString& path, const QByteArray& bytes, QString* error) {
    QFile::remove(path);
    return createNewFile(path, bytes, error);
}

bool isOwnPrivateFolder(const QString& path) {
    const QFileInfo info(path);
    return info.isDir() && !info.isSymLink();
}

bool addFileName(const QString&, const QString&, QString* error) {
    if (error)
        *error = QStringLiteral("this system gives a file no second name");
    return false;
}

bool readWholeFile(const QString& path, qint64 cap, QByteArray* bytes, QString* error) {
    const QFileInfo info(path);
    QFile file(path);
    if (info.exists() && !info.isFile()) {
        if (error)
            *error = QStringLiteral("it is not a regular file");
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    const QByteArray content = file.read(cap + 1);
    if (content.size() > cap) {
        if (error)
            *error = QStringLiteral("it is larger than the %1 this program reads").arg(byteSizeText(cap));
        return false;
    }
    *bytes = content;
    return true;
}

bool renameOver(const QString& from, const QString& to, QString* error) {
    QFile::remove(to);
    if (QFile::rename(from, to))
        return true;
    if (error)
        *error = QStringLiteral("it cannot be renamed to %1").arg(to);
    return false;
}

bool syncFile(const QString&, QString*) {
    return true;
}

#endif

} // namespace vv
