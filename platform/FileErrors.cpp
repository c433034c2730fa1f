#include "platform/FileErrors.h"

#include <QFile>

#include <cerrno>
#include <cstring>

namespace vv {

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
    case 0:
        break;
    default:
        if (fallback.isEmpty() || fallback == QLatin1String("Unknown error"))
            return QString::fromLocal8Bit(std::strerror(errorNumber));
        break;
    }
    return fallback.isEmpty() ? QStringLiteral("unknown error") : fallback;
}

bool writeWholeFile(const QString& path, const QByteArray& bytes, QString* error) {
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        const int cause = errno;
        if (error)
            *error = fileErrorText(cause, file.errorString());
        return false;
    }
    errno = 0;
    const bool written = file.write(bytes) == bytes.size() && file.flush();
    const int cause = errno;
    file.close();
    if (!written && error)
        *error = fileErrorText(cause, file.errorString());
    return written;
}

} // namespace vv
