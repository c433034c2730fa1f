// A stand-in for vkdm_pdb in the build tests. It records how it was called,
// keeps copies of what the build handed it, and then behaves as the file
// "fake_vkdm_pdb.mode" in its working directory asks:
//   ok (or no file)  write a small database at the last argument, exit 0
//   no-database      write nothing, exit 0
//   fail             print an error on stderr, write nothing, exit 1
//   crash            abort
//   block-script     put a folder where the script was, write the database, exit 0
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QString>

#include <cstdio>
#include <cstdlib>

namespace {

void appendLine(QFile& file, const QString& line) {
    file.write(line.toUtf8() + '\n');
}

void copyAside(const QString& relative) {
    const QString target = QStringLiteral("fake_seen/") + relative;
    QDir().mkpath(QFileInfo(target).absolutePath());
    QFile::remove(target);
    QFile::copy(relative, target);
}

} // namespace

int main(int argc, char** argv) {
    QFile log(QStringLiteral("fake_vkdm_pdb.log"));
    if (!log.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 3;
    appendLine(log, QDir::currentPath());
    for (int i = 1; i < argc; ++i)
        appendLine(log, QString::fromLocal8Bit(argv[i]));
    log.close();

    copyAside(QStringLiteral("vkdm_script.rcp"));
    for (const QString& folder : {QStringLiteral("ThmeRsrc"), QStringLiteral("IconRsrc")}) {
        QDirIterator pieces(folder, {QStringLiteral("*.bmp")}, QDir::Files);
        while (pieces.hasNext())
            copyAside(pieces.next());
    }

    QString mode = QStringLiteral("ok");
    QFile modeFile(QStringLiteral("fake_vkdm_pdb.mode"));
    if (modeFile.open(QIODevice::ReadOnly))
        mode = QString::fromUtf8(modeFile.readAll()).trimmed();

    if (mode == QLatin1String("fail")) {
        std::fputs(
            "\nvkdm_script.rcp:1: warning: no BITMAP lines\n  vkdm_script.rcp:3: error: unknown keyword\n"
            "second line\n",
            stderr);
        return 1;
    }
    if (mode == QLatin1String("crash"))
        std::abort();
    if (mode == QLatin1String("block-script")) {
        QFile::remove(QStringLiteral("vkdm_script.rcp"));
        QDir().mkdir(QStringLiteral("vkdm_script.rcp"));
    }
    if (mode != QLatin1String("no-database") && argc > 1) {
        QFile database(QString::fromLocal8Bit(argv[argc - 1]));
        if (!database.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 2;
        database.write(QByteArray(32, 'X') + "FAKE-DATABASE-BODY");
    }
    return 0;
}
