// Writes the word list of the bash completion, made from the command table
// when the tool is built, so a Tab reads a file instead of running the tool.
#include "cli/CommandLine.h"

#include <QFile>
#include <QSaveFile>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: vv_completion_words OUTPUT\n", stderr);
        return 2;
    }
    QSaveFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::WriteOnly) || file.write(completionWords().toUtf8()) < 0 || !file.commit()) {
        std::fprintf(stderr, "vv_completion_words: %s: %s\n", argv[1], qPrintable(file.errorString()));
        return 1;
    }
    return 0;
}
