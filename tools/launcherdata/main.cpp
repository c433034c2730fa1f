// Writes the launcher data files into a data folder:
//   vv_launcherdata_writer <repository>/data
#include "tools/launcherdata/LauncherData.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList arguments = app.arguments();
    if (arguments.size() != 2) {
        err << "usage: vv_launcherdata_writer <data folder>\n";
        return 2;
    }
    QString error;
    if (!vv::launcherdata::writeLauncherDataFiles(arguments.at(1), &error)) {
        err << "vv_launcherdata_writer: " << error << "\n";
        return 1;
    }
    return 0;
}
