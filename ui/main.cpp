// Placeholder entry point until the windows exist.
#include "ui/QtPlatform.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    vv::QtPlatform platform;
    vv::setPlatform(&platform);
    return 0;
}
