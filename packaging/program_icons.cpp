// Writes the menu entry's icons: the program picture at each icon theme size,
// as DIR/hicolor/<size>x<size>/apps/vedivavurir.png, so the desktop shows the
// same picture as the program's windows.
#include "ui/Artwork.h"

#include <QDir>
#include <QImage>
#include <QString>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: vv_program_icons DIR\n", stderr);
        return 1;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    for (const int size : vv::ui::kProgramIconSizes) {
        const QString folder = root.filePath(QStringLiteral("hicolor/%1x%1/apps").arg(size));
        const QString file = folder + QStringLiteral("/vedivavurir.png");
        if (!QDir().mkpath(folder) || !vv::ui::programPicture(size).save(file, "PNG")) {
            std::fprintf(stderr, "vv_program_icons: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
