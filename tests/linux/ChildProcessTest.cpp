#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <chrono>
#include <thread>
#include <vector>

#include "platform/ChildProcess.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// A shell running `script`, its error output thrown away.
void startShell(ChildProcess& child, const std::string& script)
{
    std::string error;
    ASSERT_TRUE(child.start(findProgram("sh"), {"sh", "-c", script}, "/dev/null", error)) << error;
}

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Sets `stop` from another thread a moment later.
std::thread requestStopSoon(std::atomic<bool>& stop)
{
    return std::thread([&stop] {
        std::this_thread::sleep_for(milliseconds(300));
        stop = true;
    });
}

// A write to a reader that has gone fails instead of ending the tests, as
// in the program, which ignores SIGPIPE before it starts a reader.
class ChildProcessPipe : public ::testing::Test {
protected:
    void SetUp() override { std::signal(SIGPIPE, SIG_IGN); }
};

// Four megabytes: far more than a pipe holds, so a reader that reads
// nothing leaves the writer waiting.
const std::vector<unsigned char> kLotsOfBytes(4 << 20, 7);

// The reader sleeps 20 s: a writer that blocks until then fails by the
// reader's end instead of stalling or being stopped, which the outcome shows.
TEST_F(ChildProcessPipe, ReaderThatTakesNothingIsStoppedAfterTheStallLimit)
{
    ChildProcess child;
    startShell(child, "exec sleep 20");
    const auto start = Clock::now();
    EXPECT_EQ(child.write(kLotsOfBytes.data(), kLotsOfBytes.size(), nullptr, milliseconds(300)),
              ChildProcess::Outcome::Stalled);
    EXPECT_LT(secondsSince(start), 10.0);
    EXPECT_FALSE(child.running());
}

// The request to stop comes from another thread, as a signal noted by the
// main thread does while a writer thread waits on the pipe.
TEST_F(ChildProcessPipe, StopRequestedDuringAStuckWriteStopsTheReader)
{
    ChildProcess child;
    startShell(child, "exec sleep 20");
    std::atomic<bool> stop{false};
    std::thread requester = requestStopSoon(stop);
    const auto start = Clock::now();
    const auto outcome = child.write(kLotsOfBytes.data(), kLotsOfBytes.size(), [&stop] { return stop.load(); },
                                     milliseconds(60000));
    requester.join();
    EXPECT_EQ(outcome, ChildProcess::Outcome::Interrupted);
    EXPECT_LT(secondsSince(start), 10.0);
    EXPECT_FALSE(child.running());
}

TEST_F(ChildProcessPipe, SlowButSteadyReaderGetsEverything)
{
    ChildProcess child;
    // Reads in small bites with pauses, each far shorter than the limit.
    startShell(child, "while dd bs=65536 count=4 status=none >/dev/null; do sleep 0.05; done");
    EXPECT_EQ(child.write(kLotsOfBytes.data(), kLotsOfBytes.size(), nullptr, milliseconds(2000)),
              ChildProcess::Outcome::Done);
}

// A signal's end carries no exit status: a reader that crashes after
// reading everything has failed, whatever bits of its status read as 0.
TEST_F(ChildProcessPipe, ReaderEndingWithAStatusOtherThanZeroOrBySignalFailsAndSaysHow)
{
    for (const auto& [script, expected] : {std::pair{"cat >/dev/null; exit 3", "it ended with status 3"},
                                           {"cat >/dev/null; kill -SEGV $$", "it was ended by signal Segmentation fault"}}) {
        ChildProcess child;
        startShell(child, script);
        ASSERT_EQ(child.write(kLotsOfBytes.data(), 1000, nullptr, milliseconds(5000)), ChildProcess::Outcome::Done);
        std::string how;
        EXPECT_EQ(child.finish(nullptr, how), ChildProcess::Outcome::Failed) << script;
        EXPECT_EQ(how, expected);
    }

    ChildProcess fine;
    startShell(fine, "cat >/dev/null");
    ASSERT_EQ(fine.write(kLotsOfBytes.data(), 1000, nullptr, milliseconds(5000)), ChildProcess::Outcome::Done);
    std::string how;
    EXPECT_EQ(fine.finish(nullptr, how), ChildProcess::Outcome::Done);
}

// A program that never ends (a hung FFprobe) neither holds finish() past
// its time limit nor past a request to stop that comes from another thread,
// as a signal noted elsewhere does: no signal breaks this wait.
TEST_F(ChildProcessPipe, FinishingAProgramThatNeverEndsGivesWayToTheLimitAndToAStop)
{
    ChildProcess hung;
    startShell(hung, "exec sleep 20");
    std::string how;
    auto start = Clock::now();
    EXPECT_EQ(hung.finish(nullptr, how, milliseconds(300)), ChildProcess::Outcome::Stalled);
    EXPECT_LT(secondsSince(start), 10.0);
    EXPECT_NE(how.find("had not ended"), std::string::npos) << how;
    EXPECT_FALSE(hung.running());

    ChildProcess stopped;
    startShell(stopped, "exec sleep 20");
    std::atomic<bool> stop{false};
    std::thread requester = requestStopSoon(stop);
    start = Clock::now();
    const auto outcome = stopped.finish([&stop] { return stop.load(); }, how);
    requester.join();
    EXPECT_EQ(outcome, ChildProcess::Outcome::Interrupted);
    EXPECT_LT(secondsSince(start), 10.0);
}

TEST_F(ChildProcessPipe, ReaderThatEndsEarlyMakesTheWriteFail)
{
    ChildProcess child;
    startShell(child, "exit 0");
    EXPECT_EQ(child.write(kLotsOfBytes.data(), kLotsOfBytes.size(), nullptr, milliseconds(5000)),
              ChildProcess::Outcome::Failed);
}

}  // namespace
