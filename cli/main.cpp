// vedivavurir-cli: builds themes and icon sets without windows.
#include "cli/CommandLine.h"
#include "cli/ConsolePlatform.h"
#include "platform/Interrupts.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vedivavurir-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VV_VERSION));
    QFile out;
    QFile err;
    out.open(stdout, QIODevice::WriteOnly | QIODevice::Unbuffered);
    err.open(stderr, QIODevice::WriteOnly | QIODevice::Unbuffered);
    vv::catchInterrupts();
    ConsolePlatform platform;
    vv::setPlatform(&platform);
    return runCommandLine(QCoreApplication::arguments(), out, err);
}
