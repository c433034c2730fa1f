#include "buildrun/BuildRun.h"

#include "app/LanguageMessages.h"
#include "buildrun/BuildKindTraits.h"
#include "buildrun/DatabaseName.h"
#include "buildrun/ResourceScript.h"
#include "platform/Platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QStandardPaths>

namespace vv {
namespace {

bool writeWholeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const bool written = file.write(bytes) == bytes.size() && file.flush();
    file.close();
    return written;
}

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
    QImageWriter writer(path, "bmp");
    if (!writer.write(image))
        return writer.errorString();
    return {};
}

// The line of the compiler's output that says what went wrong: the first line
// that names an error (warnings may come before it), else the first non-empty
// line, error output before normal output.
QString firstErrorLine(const ProcessOutcome& outcome) {
    QStringList lines;
    for (const QByteArray& stream : {outcome.standardError, outcome.standardOutput}) {
        for (const QByteArray& line : stream.split('\n')) {
            const QString text = QString::fromLocal8Bit(line).trimmed();
            if (!text.isEmpty())
                lines << text;
        }
    }
    for (const QString& line : lines) {
        if (line.contains(QLatin1String("error"), Qt::CaseInsensitive))
            return line;
    }
    return lines.isEmpty() ? QStringLiteral("exit code %1").arg(outcome.exitCode) : lines.first();
}

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
        if (writeWholeFile(scriptPath_, resourceScript(request_.kind, request_.families, request_.options))) {
            QDir::setCurrent(request_.startDir);
            if (savePieces())
                compileAndStamp();
            removePieces();
        } else {
            report(messages_.scriptNotCreatable);
        }
        closeScript();
        return outcome_;
    }

private:
    void report(Message index, const QString& tail = {}) {
        outcome_.messages << messageAt(request_.messages, index) + tail;
    }

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
        const ProcessOutcome run = platform().runAndWait(
            program, compilerArguments(request_.kind, request_.databaseName), request_.startDir);
        if (run.status != ProcessOutcome::Status::Finished) {
            report(messages_.compilerNotStartable);
            return;
        }
        // A failed compile may leave an older database of that name; stamping it
        // would pass the failure off as a fresh build.
        if (run.exitCode != 0) {
            report(messages_.databaseNotOpenable, QStringLiteral(": ") + firstErrorLine(run));
            return;
        }
        const QString database = start_.filePath(
            QStringLiteral("%1/%2.pdb").arg(QLatin1String(kDatabaseFolder), request_.databaseName));
        if (!stampDatabaseName(database, request_.databaseName)) {
            report(messages_.databaseNotOpenable);
            return;
        }
        outcome_.databaseStamped = true;
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

QStringList compilerArguments(BuildKind kind, const QString& databaseName) {
    return {QStringLiteral("-ro"),
            QStringLiteral("-allowEditID"),
            QStringLiteral("-type"),
            QLatin1String(traitsOf(kind).databaseType),
            QStringLiteral("-creator"),
            QStringLiteral("reze"),
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

QString messageAt(const QStringList& messages, Message message) {
    return messages.value(indexOf(message));
}

} // namespace vv
