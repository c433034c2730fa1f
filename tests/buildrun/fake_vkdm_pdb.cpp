// A stand-in for vkdm_pdb in the build tests. It records how it was called,
// keeps copies of what the build handed it, and then behaves as the file
// "fake_vkdm_pdb.mode" asks. A build runs it in its own work folder, which is
// gone when the test looks, so the mode, the log and the copies live in the
// start directory above that folder (else in the working directory):
//   ok (or no file)  write a small resource database of the asked -type and
//                    -creator at the last argument, exit 0
//   no-database      write nothing, exit 0
//   garbage          write bytes that are no database, exit 0
//   fail             print an error on stderr, write nothing, exit 1
//   crash            abort
//   hang             sleep far longer than any test waits
//   slow [MS]        sleep MS milliseconds (1500 when not given), then as ok
//   flood            write 8 MB to stderr, then as ok
//   leave-lock       take the start directory's build lock and abort with it held
//   block-script     put a folder where the script was, write the database, exit 0
//   nested-slow [MS] start a child that sleeps MS ms (3000 when not given) and
//                    writes fake_child.pid, then as slow
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QString>

#include <QThread>
#include <QtEndian>

#include <cstdio>
#include <cstdlib>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// Where the test's files are: the start directory when run in a work folder.
QString home() {
    const QDir current = QDir::current();
    if (current.dirName().startsWith(QLatin1String(".vkdm-build-")))
        return QDir::cleanPath(current.absoluteFilePath(QStringLiteral("..")));
    return current.absolutePath();
}

QString homeFile(const QString& name) {
    return home() + QLatin1Char('/') + name;
}

void appendLine(QFile& file, const QString& line) {
    file.write(line.toUtf8() + '\n');
}

void copyAside(const QString& relative) {
    const QString target = homeFile(QStringLiteral("fake_seen/") + relative);
    QDir().mkpath(QFileInfo(target).absolutePath());
    QFile::remove(target);
    QFile::copy(relative, target);
}

QString argumentAfter(int argc, char** argv, const char* flag) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (qstrcmp(argv[i], flag) == 0)
            return QString::fromLocal8Bit(argv[i + 1]);
    }
    return {};
}

// A 78-byte header naming one resource, its list entry and a 4-byte body.
QByteArray smallDatabase(const QString& type, const QString& creator) {
    QByteArray bytes(78, '\0');
    bytes.replace(0, 32, QByteArray(32, 'X'));
    qToBigEndian<quint16>(1, bytes.data() + 0x20);
    bytes.replace(0x3C, 4, type.toLatin1().leftJustified(4, '\0', true));
    bytes.replace(0x40, 4, creator.toLatin1().leftJustified(4, '\0', true));
    qToBigEndian<quint16>(1, bytes.data() + 0x4C);
    QByteArray entry("tver");
    entry.append(QByteArray(6, '\0'));
    qToBigEndian<quint16>(1000, entry.data() + 4);
    qToBigEndian<quint32>(78 + 10 + 2, entry.data() + 6);
    return bytes + entry + QByteArray(2, '\0') + "FAKE";
}

} // namespace

int main(int argc, char** argv) {
    QFile log(homeFile(QStringLiteral("fake_vkdm_pdb.log")));
    if (!log.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 3;
    appendLine(log, QDir::currentPath());
    for (int i = 1; i < argc; ++i)
        appendLine(log, QString::fromLocal8Bit(argv[i]));
    log.close();
    QFile pid(homeFile(QStringLiteral("fake_vkdm_pdb.pid")));
    if (pid.open(QIODevice::WriteOnly | QIODevice::Truncate))
        pid.write(QByteArray::number(QCoreApplication::applicationPid()));
    pid.close();

    copyAside(QStringLiteral("vkdm_script.rcp"));
    for (const QString& folder : {QStringLiteral("ThmeRsrc"), QStringLiteral("IconRsrc")}) {
        QDirIterator pieces(folder, {QStringLiteral("*.bmp"), QStringLiteral("*.bin")}, QDir::Files);
        while (pieces.hasNext())
            copyAside(pieces.next());
    }

    {
        struct stat status {};
        QFile permissions(homeFile(QStringLiteral("fake_seen/permissions")));
        if (::stat(".", &status) == 0 && permissions.open(QIODevice::WriteOnly | QIODevice::Truncate))
            permissions.write(QByteArray::number(status.st_mode & 0777, 8));
    }

    QString mode = QStringLiteral("ok");
    QFile modeFile(homeFile(QStringLiteral("fake_vkdm_pdb.mode")));
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
    if (mode == QLatin1String("leave-lock")) {
        QLockFile lock(homeFile(QStringLiteral("vkdm_build.lock")));
        if (!lock.tryLock(0))
            return 4;
        std::abort();
    }
    if (mode == QLatin1String("hang"))
        QThread::sleep(600);
    if (mode.startsWith(QLatin1String("nested-slow"))) {
        // A grandchild of the build, to see that stopping the compiler takes
        // what it started with it.
        bool given = false;
        const int ms = mode.section(QLatin1Char(' '), 1, 1).toInt(&given);
        const QByteArray seconds = QByteArray::number((given ? ms : 3000) / 1000.0);
        const pid_t childPid = ::fork();
        if (childPid == 0) {
            ::execl("/bin/sleep", "sleep", seconds.constData(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        if (childPid > 0) {
            QFile childFile(homeFile(QStringLiteral("fake_child.pid")));
            if (childFile.open(QIODevice::WriteOnly | QIODevice::Truncate))
                childFile.write(QByteArray::number(childPid));
        }
        mode = QStringLiteral("slow ") + QString::number(given ? ms : 3000);
    }
    if (mode.startsWith(QLatin1String("slow"))) {
        bool given = false;
        const int ms = mode.section(QLatin1Char(' '), 1, 1).toInt(&given);
        QThread::msleep(given ? ms : 1500);
        mode = QStringLiteral("ok");
    }
    if (mode == QLatin1String("flood")) {
        const QByteArray line(1023, 'e');
        for (int i = 0; i < 8 * 1024; ++i) {
            std::fwrite(line.constData(), 1, line.size(), stderr);
            std::fputc('\n', stderr);
        }
    }
    if (mode == QLatin1String("block-script")) {
        QFile::remove(QStringLiteral("vkdm_script.rcp"));
        QDir().mkdir(QStringLiteral("vkdm_script.rcp"));
    }
    if (mode != QLatin1String("no-database") && argc > 1) {
        QFile database(QString::fromLocal8Bit(argv[argc - 1]));
        if (!database.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 2;
        if (mode == QLatin1String("garbage"))
            database.write(QByteArray(32, 'X') + "FAKE-DATABASE-BODY");
        else
            database.write(
                smallDatabase(argumentAfter(argc, argv, "-type"), argumentAfter(argc, argv, "-creator")));
    }
    return 0;
}
