#include "buildrun/BuildRun.h"

#include "app/CheckTexts.h"
#include "app/LanguageMessages.h"
#include "app/SystemScreens.h"
#include "buildrun/BuildKindTraits.h"
#include "buildrun/DatabaseName.h"
#include "buildrun/ResourceScript.h"
#include "platform/FileErrors.h"
#include "platform/Platform.h"
#include "platform/ProcessRunner.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QLockFile>
#include <QStandardPaths>
#include <QtEndian>

namespace vv {
namespace {

// Saves at the picture's own size and format. A short colour table would make
// the writer choose a 4-bit BMP, so 8-bit pieces get their table padded to 256.
QString savePiece(const QString& path, const QImage& picture) {
    QImage image = picture;
    if (image.format() == QImage::Format_Indexed8 && image.colorCount() < 256) {
        QList<QRgb> table = image.colorTable();
        table.resize(256, qRgb(0, 0, 0));
        image.setColorTable(table);
    }
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return QStringLiteral("its folder cannot be created");
    // Encoded in memory first: the picture writer reports a failed disk write
    // as "Unknown error", the file write names the cause.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "bmp");
    if (!writer.write(image))
        return writer.errorString();
    QString problem;
    if (!writeWholeFile(path, bytes, &problem))
        return problem;
    return {};
}

// What is known of a file before the compiler runs, to tell a database it
// wrote from one it left alone.
struct FileIdentity {
    bool exists = false;
    qint64 size = 0;
    QDateTime modified;
    QDateTime changed;

    static FileIdentity of(const QString& path) {
        const QFileInfo info(path);
        if (!info.exists())
            return {};
        return {true, info.size(), info.lastModified(), info.metadataChangeTime()};
    }
    bool operator==(const FileIdentity&) const = default;
};

// A resource database of the build's type and our creator with at least one
// resource whose list fits in the file; anything else is not what the compiler
// was asked for.
bool isExpectedDatabase(const QString& path, const char* type, const char* creator) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray header = file.read(78);
    if (header.size() < 78)
        return false;
    const auto field = [&](int offset) { return QByteArray(header.constData() + offset, 4); };
    const quint16 attributes = qFromBigEndian<quint16>(header.constData() + 0x20);
    const quint16 resources = qFromBigEndian<quint16>(header.constData() + 0x4C);
    return (attributes & 0x0001) != 0 && field(0x3C) == QByteArray(type).leftJustified(4, '\0') &&
           field(0x40) == QByteArray(creator).leftJustified(4, '\0') && resources >= 1 &&
           file.size() >= 78 + 10 * qint64(resources);
}

// Keeps an existing database out of the compiler's way and, when the build
// does not end with a new one, removes what the compiler left and puts the
// older one back.
class OlderDatabase {
public:
    explicit OlderDatabase(const QString& path)
        : path_(path), aside_(path + QStringLiteral(".previous")), existed_(QFileInfo::exists(path)) {
        if (!QFileInfo(path_).isFile())
            return;
        QFile::remove(aside_);
        moved_ = QFile::rename(path_, aside_);
    }
    ~OlderDatabase() {
        if (moved_) {
            QFile::remove(path_);
            QFile::rename(aside_, path_);
        } else if (!existed_ && !kept_) {
            QFile::remove(path_);
        }
    }
    OlderDatabase(const OlderDatabase&) = delete;
    OlderDatabase& operator=(const OlderDatabase&) = delete;

    // The build succeeded: the older database is gone for good.
    void discard() {
        if (moved_)
            QFile::remove(aside_);
        moved_ = false;
        kept_ = true;
    }

private:
    QString path_;
    QString aside_;
    bool existed_ = false;
    bool moved_ = false;
    bool kept_ = false;
};

class Run {
public:
    explicit Run(const BuildRequest& request)
        : request_(request), messages_(traitsOf(request.kind).messages), start_(request.startDir),
          scriptPath_(start_.filePath(QLatin1String(kScriptFileName))) {}

    BuildOutcome perform() {
        if (const std::optional<QString> refusal =
                refusalOfBuildName(request_.kind, request_.databaseName, request_.messages)) {
            outcome_.messages << *refusal;
            return outcome_;
        }
        if (const std::optional<QString> refusal =
                refusalOfScreenType(request_.kind, request_.options, request_.messages)) {
            outcome_.messages << *refusal;
            return outcome_;
        }
        // Two builds in one folder would share the script and the pieces; the
        // lock is held until both are gone.
        QLockFile lock(start_.filePath(QLatin1String(kBuildLockFileName)));
        lock.setStaleLockTime(0); // only a lock whose owner has died is taken over
        if (!lock.tryLock(request_.lockWaitMs)) {
            if (lock.error() == QLockFile::LockFailedError)
                report(Message::AnotherBuildRunning);
            else
                outcome_.messages << text(Message::BuildLockNotTaken)
                                         .arg(QDir::toNativeSeparators(lock.fileName()),
                                              lock.error() == QLockFile::PermissionError
                                                  ? QStringLiteral("permission denied")
                                                  : QStringLiteral("unknown error"));
            return outcome_;
        }
        QString problem;
        if (writeWholeFile(scriptPath_, resourceScript(request_.kind, request_.families, request_.options),
                           &problem)) {
            QDir::setCurrent(request_.startDir);
            if (savePieces())
                compileAndStamp();
            removePieces();
        } else {
            report(messages_.scriptNotCreatable, QStringLiteral(" (") + problem + QLatin1Char(')'));
        }
        closeScript();
        return outcome_;
    }

private:
    QString text(Message message) const { return messageAt(request_.messages, message); }
    void report(Message message, const QString& tail = {}) { outcome_.messages << text(message) + tail; }

    bool savePieces() {
        start_.mkpath(QLatin1String(traitsOf(request_.kind).workFolder));
        start_.mkpath(QLatin1String(kDatabaseFolder));
        for (const PieceFile& piece : request_.pieces) {
            saved_ << piece.relativePath;
            const QString problem = savePiece(start_.filePath(piece.relativePath), piece.picture);
            if (!problem.isEmpty()) {
                outcome_.messages << messageOrBuiltIn(request_.messages, Message::PieceNotSaved)
                                         .arg(QDir::toNativeSeparators(piece.relativePath), problem);
                return false;
            }
        }
        return true;
    }

    void compileAndStamp() {
        const QStringList directories = request_.compilerDirectories.isEmpty()
                                            ? compilerSearchDirectories(request_.startDir)
                                            : request_.compilerDirectories;
        const QString program =
            request_.compilerProgram.isEmpty() ? locateCompiler(directories) : request_.compilerProgram;
        if (program.isEmpty()) {
            report(messages_.compilerNotStartable);
            return;
        }
        const QString relativeDatabase =
            QStringLiteral("%1/%2.pdb").arg(QLatin1String(kDatabaseFolder), request_.databaseName);
        const QString database = start_.filePath(relativeDatabase);
        // An older database of that name must not pass for this build's: it is
        // moved aside while the compiler runs and put back unless the build
        // succeeds. Where it cannot be moved, its identity tells it apart.
        OlderDatabase older(database);
        const FileIdentity before = FileIdentity::of(database);
        ProcessLimits limits;
        limits.timeoutMs = request_.compilerTimeoutSeconds > 0 ? request_.compilerTimeoutSeconds * 1000 : -1;
        limits.keepGoing = request_.keepGoing;
        const ProcessOutcome run = platform().runAndWait(
            program, compilerArguments(request_.kind, request_.databaseName), request_.startDir, limits);
        switch (run.status) {
        case ProcessOutcome::Status::FailedToStart:
            report(messages_.compilerNotStartable);
            return;
        case ProcessOutcome::Status::Crashed:
            outcome_.messages << text(Message::CompilerCrashed)
                                     .arg(QString::number(run.crashSignal), signalName(run.crashSignal),
                                          run.commandLine);
            return;
        case ProcessOutcome::Status::TimedOut:
            outcome_.messages << text(Message::CompilerTimedOut).arg(request_.compilerTimeoutSeconds);
            return;
        case ProcessOutcome::Status::Cancelled:
        case ProcessOutcome::Status::StillRunning: // never asked for: a build's compiler is not left running
            report(Message::BuildCancelled);
            return;
        case ProcessOutcome::Status::Finished:
            break;
        }
        // A failed compile may leave an older database of that name; stamping it
        // would pass the failure off as a fresh build.
        if (run.exitCode != 0) {
            const QString errorLine = firstErrorLine(run);
            report(Message::CompilerReportedError,
                   QStringLiteral(" ") +
                       (errorLine.isEmpty() ? QStringLiteral("exit code %1").arg(run.exitCode) : errorLine));
            return;
        }
        const FileIdentity after = FileIdentity::of(database);
        if (!after.exists) {
            report(messages_.databaseNotOpenable);
            return;
        }
        if (after == before) {
            report(messages_.databaseNotOpenable, QStringLiteral(" ") + text(Message::NoNewDatabase));
            return;
        }
        const BuildKindTraits& traits = traitsOf(request_.kind);
        if (!isExpectedDatabase(database, traits.databaseType, kCreator)) {
            report(Message::CompilerReportedError,
                   QStringLiteral(" ") + text(Message::NotADatabase)
                                             .arg(QDir::toNativeSeparators(relativeDatabase),
                                                  QLatin1String(traits.databaseType),
                                                  QLatin1String(kCreator)));
            return;
        }
        QString stampProblem;
        if (!stampDatabaseName(database, request_.databaseName, &stampProblem)) {
            report(messages_.databaseNotOpenable, QStringLiteral(" (") + stampProblem + QLatin1Char(')'));
            return;
        }
        outcome_.databaseStamped = true;
        older.discard();
    }

    // Failures are ignored: a piece left behind is overwritten by the next build.
    void removePieces() {
        for (const QString& relative : saved_)
            QFile::remove(start_.filePath(relative));
    }

    // The script's text is replaced before deletion so that a file that cannot
    // be deleted holds only the short header.
    void closeScript() {
        if (writeWholeFile(scriptPath_, closingHeader(request_.kind, request_.options.versionNumber))) {
            QFile::remove(scriptPath_);
        } else {
            QFile::remove(scriptPath_);
            report(messages_.scriptNotReopenable);
        }
    }

    const BuildRequest& request_;
    const BuildMessageSet messages_;
    const QDir start_;
    const QString scriptPath_;
    QStringList saved_;
    BuildOutcome outcome_;
};

} // namespace

BuildOutcome runBuild(const BuildRequest& request) {
    return Run(request).perform();
}

std::optional<QString> refusalOfBuildName(BuildKind kind, const QString& name, const QStringList& messages) {
    return refusalOfDatabaseName(name, messageAt(messages, traitsOf(kind).messages.emptyName));
}

std::optional<QString> refusalOfScreenType(BuildKind kind, const BuildOptions& options,
                                           const QStringList& messages) {
    if (kind != BuildKind::Theme || screenProfileOf(options.screenType))
        return std::nullopt;
    return messageAt(messages, Message::ChooseSystemScreen).arg(options.screenType);
}

QStringList compilerArguments(BuildKind kind, const QString& databaseName) {
    return {QStringLiteral("-ro"),
            QStringLiteral("-allowEditID"),
            QStringLiteral("-type"),
            QLatin1String(traitsOf(kind).databaseType),
            QStringLiteral("-creator"),
            QLatin1String(kCreator),
            QLatin1String(kScriptFileName),
            QStringLiteral("%1/%2.pdb").arg(QLatin1String(kDatabaseFolder), databaseName)};
}

QStringList compilerSearchDirectories(const QString& startDir) {
    QStringList directories;
    if (QCoreApplication::instance())
        directories << QCoreApplication::applicationDirPath();
    directories << startDir;
    return directories;
}

QString locateCompiler(const QStringList& directories) {
    for (const QString& directory : directories) {
        if (directory.isEmpty())
            continue;
        const QString found = QStandardPaths::findExecutable(QStringLiteral("vkdm_pdb"), {directory});
        if (!found.isEmpty())
            return found;
    }
    return {};
}

QString databaseResultLine(const QString& startDir, const QString& databaseName,
                           const QStringList& messages) {
    const QString relative = QStringLiteral("%1/%2.pdb").arg(QLatin1String(kDatabaseFolder), databaseName);
    const qint64 bytes = QFileInfo(QDir(startDir).filePath(relative)).size();
    return messageOrBuiltIn(messages, Message::BuildResult)
        .arg(QDir::toNativeSeparators(relative))
        .arg((bytes + 1023) / 1024);
}

QString messageAt(const QStringList& messages, Message message) {
    return messages.value(indexOf(message));
}

} // namespace vv
