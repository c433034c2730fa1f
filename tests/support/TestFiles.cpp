#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <csignal>
#include <sys/resource.h>

namespace vv::test {

QByteArray readBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

bool writeBytes(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(bytes) == bytes.size();
}

QString fixturePath(const QString& relative) {
    return QStringLiteral(VV_TEST_FIXTURES) + QLatin1Char('/') + relative;
}

QString dataPath(const QString& relative) {
    return QStringLiteral(VV_TEST_DATA) + QLatin1Char('/') + relative;
}

QString binPath(const QString& program) {
    return QStringLiteral(VV_TEST_BIN) + QLatin1Char('/') + program;
}

FileSizeLimit::FileSizeLimit(long long bytes) {
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    previousSoft_ = static_cast<long long>(limit.rlim_cur);
    limit.rlim_cur = static_cast<rlim_t>(bytes);
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit() {
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = static_cast<rlim_t>(previousSoft_);
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, previousHandler_);
}

QStringList pathsOf(const QList<PieceFile>& pieces) {
    QStringList paths;
    for (const PieceFile& piece : pieces)
        paths.append(piece.relativePath);
    return paths;
}

} // namespace vv::test
