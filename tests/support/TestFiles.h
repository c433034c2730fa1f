// Small file helpers for tests: a scratch start directory and whole-file reads.
#pragma once

#include "common/PieceFile.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace vv::test {

QByteArray readBytes(const QString& path);
bool writeBytes(const QString& path, const QByteArray& bytes);
QString fixturePath(const QString& relative);
QString dataPath(const QString& relative);
QString binPath(const QString& program);

// The names a list of pieces would be saved under, in its order.
QStringList pathsOf(const QList<PieceFile>& pieces);

// While it lives, no file of this process may grow past `bytes`: writes past it
// fail (EFBIG) instead of ending the process. Unlike a read-only folder, this
// stops root as well.
class FileSizeLimit {
public:
    explicit FileSizeLimit(long long bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    long long previousSoft_;
    void (*previousHandler_)(int);
};

} // namespace vv::test
