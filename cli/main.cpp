// vedivavurir-cli: builds themes and icon sets without windows. On Linux this
// is a library, and the launcher in front of it calls vedivavurir_cli_main.
#include "cli/CommandLine.h"
#include "cli/ConsolePlatform.h"
#include "platform/Interrupts.h"

#include <QCoreApplication>
#include <QFile>

#include <memory>

#include <unistd.h>

#ifdef VV_CLI_AS_LIBRARY
extern "C" __attribute__((visibility("default"))) int vedivavurir_cli_main(int argc, char** argv);

int vedivavurir_cli_main(int argc, char** argv) {
#else
int main(int argc, char** argv) {
#endif
    // --help and --version answer before the application object exists: a
    // script asking for them, and the completion, should not wait for it.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    std::unique_ptr<QCoreApplication> app;
    const auto makeApplication = [&] {
        app = std::make_unique<QCoreApplication>(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("vedivavurir-cli"));
        QCoreApplication::setApplicationVersion(QStringLiteral(VV_VERSION));
    };
    QFile in;
    QFile out;
    QFile err;
    // By descriptor, not through stdio's buffers: a write that fails (a full
    // disk behind a redirection) must fail while the run can still say so.
    in.open(STDIN_FILENO, QIODevice::ReadOnly | QIODevice::Unbuffered);
    out.open(STDOUT_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered);
    err.open(STDERR_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered);
    vv::catchInterrupts();
    ConsolePlatform platform;
    vv::setPlatform(&platform);
    return runCommandLine(arguments, in, out, err, makeApplication);
}
