#include "buildrun/BuildRun.h"

#include "app/CheckTexts.h"
#include "app/LanguageMessages.h"
#include "buildrun/BuildKindTraits.h"
#include "buildrun/DatabaseName.h"
#include "buildrun/ResourceScript.h"
#include "common/PictureCopy.h"
#include "common/SystemScreens.h"
#include "formats/PalmDatabase.h"
#include "platform/FileErrors.h"
#include "platform/Platform.h"
#include "platform/ProcessRunner.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLockFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cerrno>

namespace vv {
namespace {

// A resource database of the build's type and our creator with at least one
// resource whose list fits in the file; anything else is not what the compiler
// was asked for.
bool isExpectedDatabase(const QString& path, const char* type, const char* creator) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.read(formats::PalmDatabase::kHeaderSize);
    const std::optional<formats::PalmDatabaseHead> head = formats::PalmDatabase::headerFromBytes(
        std::string_view(bytes.constData(), size_t(bytes.size())), nullptr);
    return head && (head->header.attributes & formats::kResourceDatabaseAttribute) != 0 &&
           head->header.hasTypeAndCreator(type, creator) && head->resourceCount >= 1 &&
           quint64(file.size()) >= head->listEnd();
}

// A link is removed, never its target; a folder with all it holds, never
// following a link inside.
void removeEntry(const QFileInfo& entry) {
    if (entry.isDir() && !entry.isSymLink())
        QDir(entry.absoluteFilePath()).removeRecursively();
    else
        QFile::remove(entry.absoluteFilePath());
}

// The build's own folder inside the start directory: the pieces, the data
// files, the script and the compiler's database live here until the build
// ends, so nothing the build writes can land on a link someone put at a
// piece's name, and a compiler that outlives its build (its parent killed)
// can only ever write into a folder no later build reads.
//
// A build whose compiler has ended leaves the folder as the spare, and the
// next build takes it over and writes into its files: on file systems that
// give out new files slowly after many were removed (ext4 without a journal
// searches past every file removed in the last half minute), creating and
// removing a build's 156 pieces cost more than everything else in a batch of
// builds. What it takes over is checked first: a folder of this user's that
// no one else may enter, holding real folders and regular files only; the
// files are written into only where they have no other name (rewriteOwnFile).
class WorkFolder {
public:
    explicit WorkFolder(const QDir& start)
        : start_(start),
          folder_(start.filePath(QLatin1String(kWorkFolderPrefix) + QStringLiteral("XXXXXX"))) {
        if (folder_.isValid())
            takeOverSpare();
    }
    ~WorkFolder() {
        if (folder_.isValid() && keep_ && leaveAsSpare())
            folder_.setAutoRemove(false);
    }
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;

    bool isValid() const { return folder_.isValid(); }
    QString errorText() const { return folder_.errorString(); }
    QString path() const { return folder_.path(); }
    QString filePath(const QString& relative) const { return folder_.filePath(relative); }

    // A folder a compiler may still write into is removed, never kept.
    void keepForNextBuild(bool keep) { keep_ = keep; }
    // A second name given to a file; taken away before the folder is kept, so
    // that every file the next build finds has one name and is reused.
    void noteSecondName(const QString& path) { secondNames_ << path; }

private:
    void takeOverSpare() {
        const QString spare = start_.filePath(QLatin1String(kSpareWorkFolderName));
        const QFileInfo found(spare);
        if (!found.exists() && !found.isSymLink())
            return;
        // Over the fresh empty folder, in one step.
        if (!isOwnPrivateFolder(spare) || !renameOver(spare, folder_.path())) {
            removeEntry(found);
            return;
        }
        const QDir work(folder_.path());
        for (const QFileInfo& entry : entriesOf(work)) {
            if (entry.isSymLink() || !(entry.isDir() || entry.isFile()))
                removeEntry(entry);
            else if (entry.isDir())
                for (const QFileInfo& inner : entriesOf(QDir(entry.absoluteFilePath())))
                    if (inner.isSymLink() || !inner.isFile())
                        removeEntry(inner);
        }
        // "Whatever database is there, this compiler wrote": so none is.
        QDir(work.filePath(QLatin1String(kDatabaseFolder))).removeRecursively();
    }
    bool leaveAsSpare() {
        for (const QString& name : secondNames_)
            QFile::remove(name);
        QDir(filePath(QLatin1String(kDatabaseFolder))).removeRecursively();
        return renameOver(folder_.path(), start_.filePath(QLatin1String(kSpareWorkFolderName)));
    }
    static QFileInfoList entriesOf(const QDir& folder) {
        return folder.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }

    const QDir start_;
    QTemporaryDir folder_; // mkdtemp: a fresh name, mode 0700
    bool keep_ = true;
    QStringList secondNames_;
};

// Work folders whose build is over: a build that was killed leaves its folder
// behind. Called with the lock held, when no other build can own one. The
// spare is the next build's to check.
void removeLeftWorkFolders(const QDir& start) {
    const QFileInfoList left =
        start.entryInfoList({QLatin1String(kWorkFolderPrefix) + QLatin1Char('*')},
                            QDir::Dirs | QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo& entry : left)
        if (entry.fileName() != QLatin1String(kSpareWorkFolderName))
            removeEntry(entry);
}

// The lock file reports a full disk only as "unknown error"; a small write
// beside it names the cause.
QString whyNothingCanBeWritten(const QDir& start) {
    const QString probe = start.filePath(QLatin1String(kWorkFolderPrefix) + QStringLiteral("probe"));
    QString problem;
    if (writeWholeFile(probe, QByteArray(512, '\0'), &problem)) {
        QFile::remove(probe);
        return QStringLiteral("unknown error");
    }
    return problem;
}

// The launcher's data files a trailer names are read as regular files and
// copied, so the compiler never reads anything outside its folder.
constexpr qint64 kLargestDataFile = 4 * 1024 * 1024;

class Run {
public:
    explicit Run(const BuildRequest& request)
        : request_(request), messages_(traitsOf(request.kind).messages), start_(request.startDir) {}

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
        // Two builds in one folder would race for one database name; the lock
        // is held until the database is in place or the build has given up.
        const QString lockPath = start_.filePath(QLatin1String(kBuildLockFileName));
        // The lock never is a link; one planted there would read as a lock
        // held for ever. The link goes, its target is left alone.
        if (QFileInfo(lockPath).isSymLink())
            QFile::remove(lockPath);
        QLockFile lock(lockPath);
        lock.setStaleLockTime(0); // only a lock whose owner has died is taken over
        if (!lock.tryLock(request_.lockWaitMs)) {
            if (lock.error() == QLockFile::LockFailedError)
                report(Message::AnotherBuildRunning);
            else
                outcome_.messages << text(Message::BuildLockNotTaken)
                                         .arg(QDir::toNativeSeparators(lock.fileName()),
                                              lock.error() == QLockFile::PermissionError
                                                  ? QStringLiteral("permission denied")
                                                  : whyNothingCanBeWritten(start_));
            return outcome_;
        }
        removeLeftWorkFolders(start_);
        WorkFolder work(start_);
        if (!work.isValid()) {
            report(messages_.scriptNotCreatable, QStringLiteral(" (") + work.errorText() + QLatin1Char(')'));
            return outcome_;
        }
        const QString scriptPath = work.filePath(QLatin1String(kScriptFileName));
        QString problem;
        QDir::setCurrent(request_.startDir);
        if (!rewriteOwnFile(scriptPath, resourceScript(request_.kind, request_.families, request_.options),
                            &problem)) {
            report(messages_.scriptNotCreatable, QStringLiteral(" (") + problem + QLatin1Char(')'));
            return outcome_;
        }
        if (saveWorkFiles(work))
            compileAndStamp(work);
        closeScript(scriptPath);
        return outcome_;
    }

private:
    QString text(Message message) const { return messageAt(request_.messages, message); }
    void report(Message message, const QString& tail = {}) { outcome_.messages << text(message) + tail; }
    void reportUnsaved(const QString& relativePath, const QString& problem) {
        outcome_.messages << messageOrBuiltIn(request_.messages, Message::PieceNotSaved)
                                 .arg(QDir::toNativeSeparators(relativePath), problem);
    }
    bool stopped() const { return request_.keepGoing && !request_.keepGoing(); }

    // The pieces, then copies of the data files the trailer names.
    bool saveWorkFiles(WorkFolder& work) {
        const QString folder = workFolderOf(request_.kind);
        QDir(work.path()).mkpath(folder);
        QDir(work.path()).mkpath(QLatin1String(kDatabaseFolder));
        // Pieces with the same bytes (blank and built-in pieces repeat) share
        // one file under several names: a new file costs far more than a name.
        QHash<QByteArray, QString> firstWithBytes;
        for (const PieceFile& piece : request_.pieces) {
            // Encoded in memory first: the picture writer reports a failed disk
            // write as "Unknown error", the file write names the cause.
            QString problem;
            const QByteArray bytes = encodedPiece(piece.picture, &problem);
            const QString path = work.filePath(piece.relativePath);
            if (!bytes.isEmpty()) {
                const auto same = firstWithBytes.constFind(bytes);
                if (same != firstWithBytes.constEnd() && addFileName(*same, path)) {
                    work.noteSecondName(path);
                    continue;
                }
                if (rewriteOwnFile(path, bytes, &problem)) {
                    firstWithBytes.insert(bytes, path);
                    continue;
                }
            }
            reportUnsaved(piece.relativePath, problem);
            return false;
        }
        for (const TrailerResource& resource : trailerResources(request_.kind, request_.options)) {
            const QString relative = folder + QLatin1Char('/') + QString::fromLatin1(resource.file);
            const QString source = start_.filePath(relative);
            // A missing file is the compiler's to report, in its own words,
            // rather than to find the copy an earlier build left.
            if (!QFileInfo::exists(source) && !QFileInfo(source).isSymLink()) {
                QFile::remove(work.filePath(relative));
                continue;
            }
            QByteArray bytes;
            QString problem;
            if (!readWholeFile(source, kLargestDataFile, &bytes, &problem) ||
                !rewriteOwnFile(work.filePath(relative), bytes, &problem)) {
                reportUnsaved(relative, problem);
                return false;
            }
        }
        return true;
    }

    // Whether the compiler ran to its end and reported no error; otherwise the
    // reason is reported.
    bool compilerSucceeded(const ProcessOutcome& run) {
        switch (run.status) {
        case ProcessOutcome::Status::FailedToStart:
            report(messages_.compilerNotStartable);
            return false;
        case ProcessOutcome::Status::Crashed:
            outcome_.messages << text(Message::CompilerCrashed)
                                     .arg(QString::number(run.crashSignal), signalName(run.crashSignal),
                                          run.commandLine);
            return false;
        case ProcessOutcome::Status::TimedOut:
            outcome_.messages << text(Message::CompilerTimedOut).arg(request_.compilerTimeoutSeconds);
            return false;
        case ProcessOutcome::Status::Cancelled:
        case ProcessOutcome::Status::StillRunning: // never asked for: a build's compiler is not left running
            report(Message::BuildCancelled);
            return false;
        case ProcessOutcome::Status::Finished:
            break;
        }
        if (run.exitCode != 0) {
            const QString errorLine = firstErrorLine(run);
            report(Message::CompilerReportedError,
                   QStringLiteral(" ") +
                       (errorLine.isEmpty() ? QStringLiteral("exit code %1").arg(run.exitCode) : errorLine));
            return false;
        }
        return true;
    }

    void compileAndStamp(WorkFolder& work) {
        const QStringList directories = request_.compilerDirectories.isEmpty()
                                            ? compilerSearchDirectories(request_.startDir)
                                            : request_.compilerDirectories;
        const QString program =
            request_.compilerProgram.isEmpty() ? locateCompiler(directories) : request_.compilerProgram;
        if (program.isEmpty()) {
            report(messages_.compilerNotStartable);
            return;
        }
        if (stopped()) {
            report(Message::BuildCancelled);
            return;
        }
        const QString relativeDatabase = databasePathOf(request_.databaseName);
        const QString built = work.filePath(relativeDatabase);
        ProcessLimits limits;
        limits.timeoutMs = request_.compilerTimeoutSeconds > 0 ? request_.compilerTimeoutSeconds * 1000 : -1;
        limits.keepGoing = request_.keepGoing;
        const ProcessOutcome run = platform().runAndWait(
            program, compilerArguments(request_.kind, request_.databaseName), work.path(), limits);
        // A compiler stopped for time or by the user may not have ended yet.
        work.keepForNextBuild(run.status == ProcessOutcome::Status::Finished ||
                              run.status == ProcessOutcome::Status::Crashed ||
                              run.status == ProcessOutcome::Status::FailedToStart);
        if (!compilerSucceeded(run))
            return;
        // The folder was fresh: whatever database is there, this compiler wrote.
        if (!QFileInfo(built).isFile() || QFileInfo(built).isSymLink()) {
            report(messages_.databaseNotOpenable, QStringLiteral(" ") + text(Message::NoNewDatabase));
            return;
        }
        const BuildKindTraits& traits = traitsOf(request_.kind);
        if (!isExpectedDatabase(built, traits.databaseType, kCreator)) {
            report(Message::CompilerReportedError,
                   QStringLiteral(" ") + text(Message::NotADatabase)
                                             .arg(QDir::toNativeSeparators(relativeDatabase),
                                                  QLatin1String(traits.databaseType),
                                                  QLatin1String(kCreator)));
            return;
        }
        QString problem;
        if (!stampDatabaseName(built, request_.databaseName, &problem) || !syncFile(built, &problem)) {
            report(messages_.databaseNotOpenable, QStringLiteral(" (") + problem + QLatin1Char(')'));
            return;
        }
        if (stopped()) {
            report(Message::BuildCancelled);
            return;
        }
        // The one step that replaces an older database: until here it was
        // untouched, from here on the new one is complete. A link at its name
        // is replaced, never followed.
        const bool named = !request_.outputPath.isEmpty();
        const QString database = named ? request_.outputPath : start_.filePath(relativeDatabase);
        if ((!named && !start_.mkpath(QLatin1String(kDatabaseFolder))) ||
            !renameOver(built, database, &problem)) {
            report(messages_.databaseNotOpenable,
                   QStringLiteral(" (%1: %2)")
                       .arg(QDir::toNativeSeparators(named ? database : relativeDatabase), problem));
            return;
        }
        outcome_.databaseStamped = true;
    }

    // The script's text is replaced once the build is over, as the compiler's
    // peers expect of a finished build, whether the folder then goes or is
    // kept for the next build.
    void closeScript(const QString& scriptPath) {
        if (!rewriteOwnFile(scriptPath, closingHeader(request_.kind, request_.options.versionNumber)))
            report(messages_.scriptNotReopenable);
    }

    const BuildRequest& request_;
    const BuildMessageSet messages_;
    const QDir start_;
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
    return {QStringLiteral("-ro"),          QStringLiteral("-allowEditID"),
            QStringLiteral("-type"),        QLatin1String(traitsOf(kind).databaseType),
            QStringLiteral("-creator"),     QLatin1String(kCreator),
            QLatin1String(kScriptFileName), databasePathOf(databaseName)};
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
    const QString relative = databasePathOf(databaseName);
    const qint64 bytes = QFileInfo(QDir(startDir).filePath(relative)).size();
    // One arg() call: a name holding "%1" must not be filled in by the next one.
    return messageOrBuiltIn(messages, Message::BuildResult)
        .arg(QDir::toNativeSeparators(relative), QString::number((bytes + 1023) / 1024));
}

QString databasePathOf(const QString& databaseName) {
    return QLatin1String(kDatabaseFolder) + QLatin1Char('/') + databaseName + QStringLiteral(".pdb");
}

QString messageAt(const QStringList& messages, Message message) {
    return messages.value(indexOf(message));
}

} // namespace vv
