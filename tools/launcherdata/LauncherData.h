// The small resources every theme and icon set database carries beside its
// bitmaps: a do-nothing 68k code pair with an empty data resource, the launcher's
// identification and information records and the icon name. data/README.md
// describes the layouts.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace vv::launcherdata {

struct DataFile {
    QString folder; // "ThmeRsrc" or "IconRsrc"
    QString name;   // e.g. "code0001.bin"
    QByteArray bytes;
};

// Every data file of both work folders, in a stable order.
QList<DataFile> launcherDataFiles();

// Writes every data file below `dataDir` (the repository's data folder), each
// through a temporary file. Returns false and sets `error` on the first failure.
bool writeLauncherDataFiles(const QString& dataDir, QString* error);

} // namespace vv::launcherdata
