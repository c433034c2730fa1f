// Small file helpers for tests: a scratch start directory and whole-file reads.
#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace vv::test {

QByteArray readBytes(const QString& path);
bool writeBytes(const QString& path, const QByteArray& bytes);
QString fixturePath(const QString& relative);
QString dataPath(const QString& relative);
QString binPath(const QString& program);

} // namespace vv::test
