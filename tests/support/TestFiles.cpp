#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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

} // namespace vv::test
