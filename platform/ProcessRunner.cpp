#include "platform/ProcessRunner.h"

#include <QDeadlineTimer>
#include <QProcess>

#include <csignal>
#include <memory>
#include <optional>

#ifdef Q_OS_LINUX
#include <sys/prctl.h>
#endif
#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace vv {
namespace {

// Keeps the first `cap` bytes of a stream and drops the rest, so a program
// that floods its output cannot make the run grow without bound.
void keepFirst(QByteArray& kept, const QByteArray& incoming, qsizetype cap) {
    const qsizetype room = cap - kept.size();
    if (room > 0)
        kept.append(incoming.left(room));
}

#ifdef Q_OS_UNIX
// Runs in the child between fork and exec. Its own process group lets a stop
// take whatever the program started with it; the death signal ends it when
// the program that waits for it is killed (SIGKILL leaves no chance to clean
// up), so an orphan cannot go on writing after its build is gone.
void detachIntoOwnGroup(pid_t parent) {
    ::setpgid(0, 0);
#ifdef Q_OS_LINUX
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
#endif
    // The parent may have died before the death signal was set.
    if (::getppid() != parent)
        ::_exit(127);
}

void killGroup(const QProcess& process) {
    const qint64 pid = process.processId();
    if (pid > 0)
        ::kill(-pid_t(pid), SIGKILL);
}
#else
void killGroup(const QProcess&) {}
#endif

// A program whose wait ended while it still runs, left to go on: its output is
// still read and dropped, so a full pipe never holds it up, and the QProcess
// goes once the program ends. One still running when this program ends is not
// killed either: destroying its QProcess would, so it is deliberately left.
void leaveRunningInBackground(std::unique_ptr<QProcess> owned) {
    QProcess* process = owned.release();
    QObject::connect(process, &QProcess::readyReadStandardOutput, process,
                     [process] { process->readAllStandardOutput(); });
    QObject::connect(process, &QProcess::readyReadStandardError, process,
                     [process] { process->readAllStandardError(); });
    QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
}

} // namespace

ProcessOutcome runProgramAndWait(const QString& program, const QStringList& arguments,
                                 const QString& workingDirectory, const ProcessLimits& limits) {
    ProcessOutcome outcome;
    outcome.commandLine = commandLineText(program, arguments);
    auto owned = std::make_unique<QProcess>();
    QProcess& process = *owned;
    process.setWorkingDirectory(workingDirectory);
#ifdef Q_OS_UNIX
    // A program that may be left running (an install tool that queues the
    // file) is not tied to this one; everything else is.
    if (!limits.leaveRunning) {
        const pid_t parent = ::getpid();
        process.setChildProcessModifier([parent] { detachIntoOwnGroup(parent); });
    }
#endif
    process.start(program, arguments);
    if (!process.waitForStarted(-1)) {
        outcome.status = ProcessOutcome::Status::FailedToStart;
        outcome.errorText = process.errorString();
        return outcome;
    }
    const QDeadlineTimer deadline =
        limits.timeoutMs < 0 ? QDeadlineTimer(QDeadlineTimer::Forever) : QDeadlineTimer(limits.timeoutMs);
    const auto drain = [&] {
        keepFirst(outcome.standardOutput, process.readAllStandardOutput(), limits.outputCap);
        keepFirst(outcome.standardError, process.readAllStandardError(), limits.outputCap);
    };
    std::optional<ProcessOutcome::Status> stopped;
    while (process.state() != QProcess::NotRunning) {
        process.waitForFinished(20);
        drain();
        if (process.state() == QProcess::NotRunning)
            break;
        if (deadline.hasExpired())
            stopped = ProcessOutcome::Status::TimedOut;
        else if (limits.keepGoing && !limits.keepGoing())
            stopped = ProcessOutcome::Status::Cancelled;
        if (stopped && limits.leaveRunning) {
            leaveRunningInBackground(std::move(owned));
            outcome.status = ProcessOutcome::Status::StillRunning;
            return outcome;
        }
        if (stopped) {
            killGroup(process);
            process.kill();
            process.waitForFinished(-1);
            drain();
            break;
        }
    }
    drain();
    if (stopped) {
        outcome.status = *stopped;
        return outcome;
    }
    if (process.exitStatus() == QProcess::CrashExit) {
        outcome.status = ProcessOutcome::Status::Crashed;
#ifdef Q_OS_UNIX
        // On Unix a program ended by a signal reports the signal as its exit code.
        outcome.crashSignal = process.exitCode();
#endif
        outcome.errorText = process.errorString();
        return outcome;
    }
    outcome.status = ProcessOutcome::Status::Finished;
    outcome.exitCode = process.exitCode();
    return outcome;
}

bool startProgramDetached(const QString& program, const QStringList& arguments,
                          const QString& workingDirectory) {
    return QProcess::startDetached(program, arguments, workingDirectory);
}

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
    return lines.value(0);
}

QString commandLineText(const QString& program, const QStringList& arguments) {
    QStringList parts;
    for (const QString& part : QStringList(program) + arguments) {
        if (part.isEmpty() || part.contains(QLatin1Char(' ')) || part.contains(QLatin1Char('"')))
            parts << QLatin1Char('"') + QString(part).replace(QLatin1Char('"'), QLatin1String("\\\"")) +
                         QLatin1Char('"');
        else
            parts << part;
    }
    return parts.join(QLatin1Char(' '));
}

QString signalName(int signalNumber) {
    struct Named {
        int number;
        const char* name;
    };
    static const Named names[] = {
#ifdef SIGSEGV
        {SIGSEGV, "SIGSEGV"},
#endif
#ifdef SIGABRT
        {SIGABRT, "SIGABRT"},
#endif
#ifdef SIGKILL
        {SIGKILL, "SIGKILL"},
#endif
#ifdef SIGBUS
        {SIGBUS, "SIGBUS"},
#endif
#ifdef SIGFPE
        {SIGFPE, "SIGFPE"},
#endif
#ifdef SIGILL
        {SIGILL, "SIGILL"},
#endif
#ifdef SIGTERM
        {SIGTERM, "SIGTERM"},
#endif
#ifdef SIGINT
        {SIGINT, "SIGINT"},
#endif
#ifdef SIGHUP
        {SIGHUP, "SIGHUP"},
#endif
    };
    for (const Named& named : names) {
        if (named.number == signalNumber)
            return QString::fromLatin1(named.name);
    }
    return QString::number(signalNumber);
}

} // namespace vv
