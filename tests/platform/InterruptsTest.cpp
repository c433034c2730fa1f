// A signal asks a run to stop instead of ending the program, and a stopped
// program takes what it started with it.
#include "platform/Interrupts.h"
#include "platform/ProcessRunner.h"

#include "support/TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

namespace vv {
namespace {

TEST(Interrupts, ASignalIsRecordedAsARequestToStop) {
    catchInterrupts();
    clearInterrupt();
    EXPECT_EQ(interruptSignal(), 0);
    for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signalNumber);
        std::raise(signalNumber);
        EXPECT_EQ(interruptSignal(), signalNumber);
        clearInterrupt();
    }
    EXPECT_EQ(exitCodeForSignal(SIGINT), 130);
    EXPECT_EQ(exitCodeForSignal(SIGTERM), 143);
    EXPECT_EQ(exitCodeForSignal(SIGHUP), 129);
}

bool running(qint64 pid) {
    // A zombie still has its /proc entry; its state letter tells.
    const QByteArray stat = test::readBytes(QStringLiteral("/proc/%1/stat").arg(pid));
    const qsizetype close = stat.lastIndexOf(')');
    return close > 0 && stat.mid(close + 2, 1) != "Z";
}

// The fake compiler starts a child of its own; cancelling the run ends both,
// so nothing the build started can go on writing after it.
TEST(Interrupts, StoppingAProgramEndsItsWholeProcessGroup) {
    QTemporaryDir dir;
    ASSERT_TRUE(test::writeBytes(dir.filePath("fake_vkdm_pdb.mode"), "nested-slow 20000"));
    ProcessLimits limits;
    int asked = 0;
    limits.keepGoing = [&] { return ++asked < 25 || !QFileInfo::exists(dir.filePath("fake_child.pid")); };
    const ProcessOutcome outcome =
        runProgramAndWait(test::binPath("fake_vkdm_pdb"), {"x.pdb"}, dir.path(), limits);
    EXPECT_EQ(outcome.status, ProcessOutcome::Status::Cancelled);
    bool ok = false;
    const qint64 child = test::readBytes(dir.filePath("fake_child.pid")).toLongLong(&ok);
    ASSERT_TRUE(ok);
    for (int i = 0; i < 100 && running(child); ++i)
        QThread::msleep(20);
    EXPECT_FALSE(running(child));
}

} // namespace
} // namespace vv
