// The language files the program ships, for tests that go through every one.
#pragma once

#include "support/TestFiles.h"

#include <QDir>
#include <QStringList>

namespace vv::test {

// Full paths of data/Language/vkdm_*.lng, English first.
inline QStringList shippedLanguageFiles() {
    const QDir folder(dataPath(QStringLiteral("Language")));
    QStringList files;
    for (const QString& file : folder.entryList({QStringLiteral("vkdm_*.lng")}, QDir::Files))
        files << folder.filePath(file);
    std::stable_partition(files.begin(), files.end(), [](const QString& file) {
        return file.endsWith(QLatin1String("vkdm_English.lng"));
    });
    return files;
}

} // namespace vv::test
