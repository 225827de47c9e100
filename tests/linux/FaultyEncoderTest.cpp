#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "tests/RunDemo.h"

namespace {

namespace fs = std::filesystem;

// A folder with a stand-in `ffmpeg` (or `ffprobe`) running `script`, put
// first on PATH for the demo; the other stays the real one.  The folder is
// also the demo's temporary folder, so that its scratch folders can be seen.
class FaultyEncoder : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = fs::temp_directory_path() / ("quittenhain-" + std::to_string(getpid()) + "-encoder");
        fs::remove_all(folder);
        fs::create_directories(folder / "bin");
        fs::create_directories(folder / "tmp");
        video = folder / "o.mp4";
    }
    void TearDown() override { fs::remove_all(folder); }

    void standInRuns(const char* name, const std::string& script)
    {
        const fs::path program = folder / "bin" / name;
        std::ofstream(program) << "#!/bin/sh\n" << script << "\n";
        fs::permissions(program, fs::perms::owner_all);
    }
    void encoderRuns(const std::string& script) { standInRuns("ffmpeg", script); }

    std::string capture(const std::string& arguments, const std::string& path = "$PATH") const
    {
        return "PATH=" + (folder / "bin").string() + ":" + path + " TMPDIR=" + (folder / "tmp").string() + " " +
               QUITTENHAIN_BINARY + " --capture " + video.string() + " " + arguments;
    }

    void expectNothingLeft() const
    {
        EXPECT_FALSE(fs::exists(video));
        EXPECT_FALSE(fs::exists(video.string() + ".part"));
        EXPECT_TRUE(fs::is_empty(folder / "tmp"));   // no scratch folder
    }

    fs::path folder;
    fs::path video;
};

bool haveFfprobe()
{
    return std::system("command -v ffprobe >/dev/null") == 0;
}

bool haveFfmpeg()
{
    return std::system("command -v ffmpeg >/dev/null") == 0;
}

// The stand-in notes its process id and then reads nothing, ever.  The
// signal comes a second after the first part began drawing: by then the
// frames fill the queue and the demo waits on the pipe.
TEST_F(FaultyEncoder, StuckEncoderGivesWayToCtrlCAndTerminationAndIsEnded)
{
    encoderRuns("echo $$ > " + (folder / "pid").string() + "; exec sleep 1000");
    const std::string log = (folder / "log").string();
    for (const auto& [signal, status] : {std::pair<const char*, int>{"INT", 130}, {"TERM", 143}}) {
        fs::remove(folder / "pid");
        const RunResult run = runShell("bash -c '" + capture("--until 1") + " 2>" + log + " & demo=$!; " +
                                       "for i in $(seq 600); do grep -q \"part 1 begins\" " + log +
                                       " && break; sleep 0.1; done; sleep 1; kill -" + signal + " $demo; SECONDS=0; " +
                                       "wait $demo; echo status $? after $SECONDS s; " +
                                       "kill -0 $(cat " + (folder / "pid").string() + ") 2>/dev/null && echo encoder-left'");
        EXPECT_NE(run.output.find("status " + std::to_string(status) + " "), std::string::npos)
            << signal << ": " << run.output;
        // Far less than the half minute after which a stuck encoder is given up anyway.
        int seconds = 99;
        std::sscanf(run.output.c_str() + std::min(run.output.size(), run.output.find(" after ")), " after %d s", &seconds);
        EXPECT_LT(seconds, 10) << signal << ": " << run.output;
        EXPECT_EQ(run.output.find("encoder-left"), std::string::npos) << signal;
        expectNothingLeft();
    }
}

// Without any signal the capture ends on its own once the encoder has taken
// nothing for half a minute.
TEST_F(FaultyEncoder, StuckEncoderIsEndedAfterHalfAMinuteWithoutProgress)
{
    encoderRuns("echo $$ > " + (folder / "pid").string() + "; exec sleep 1000");
    const RunResult run = runShell("bash -c '" + capture("--until 1") +
                                   " 2>&1; echo status $?; kill -0 $(cat " + (folder / "pid").string() +
                                   ") 2>/dev/null && echo encoder-left'");
    EXPECT_NE(run.output.find("FFmpeg took no frame for 30 s and was stopped"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("status 3\n"), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("encoder-left"), std::string::npos);
    expectNothingLeft();
}

TEST_F(FaultyEncoder, EncoderEndingWithAFailureFailsTheCapture)
{
    encoderRuns("cat >/dev/null; echo broken >&2; exit 1");
    const RunResult run = runShell(capture("--until 0.2 2>&1"));
    EXPECT_EQ(run.status, 3) << run.output;
    EXPECT_NE(run.output.find("FFmpeg failed (it ended with status 1)"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("broken"), std::string::npos) << run.output;
    expectNothingLeft();
}

// An encoder that says it succeeded is believed only when the file holds a
// picture and a sound stream.
TEST_F(FaultyEncoder, EncoderClaimingSuccessWithoutAVideoFailsTheCapture)
{
    if (!haveFfprobe())
        GTEST_SKIP() << "no FFprobe";
    encoderRuns("cat >/dev/null; exit 0");
    RunResult run = runShell(capture("--until 0.2 2>&1"));
    EXPECT_EQ(run.status, 3) << run.output;
    EXPECT_NE(run.output.find("is no video"), std::string::npos) << run.output;
    expectNothingLeft();

    // Random bytes in the file FFmpeg was told to write.
    encoderRuns("cat >/dev/null; for last; do :; done; head -c 20000 /dev/urandom > \"$last\"");
    run = runShell(capture("--until 0.2 2>&1"));
    EXPECT_EQ(run.status, 3) << run.output;
    expectNothingLeft();

    // A real video of the wrong kind: a picture without sound.
    encoderRuns("cat >/dev/null; for last; do :; done; exec " + std::string("$(command -v ffprobe | sed s/ffprobe$/ffmpeg/)") +
                " -v error -f lavfi -i testsrc=d=0.2 -c:v libx264 -f mp4 -y \"$last\"");
    run = runShell(capture("--until 0.2 2>&1"));
    EXPECT_EQ(run.status, 3) << run.output;
    EXPECT_NE(run.output.find("lacks aac sound"), std::string::npos) << run.output;
    expectNothingLeft();
}

// Without FFprobe the capture asks FFmpeg to read the video back; a
// stand-in that takes every frame, writes nothing and says 0 to both is
// still found out: an empty file is no video.
TEST_F(FaultyEncoder, EmptyVideoFailsTheCaptureEvenWithoutFfprobe)
{
    encoderRuns("/bin/cat >/dev/null; exit 0");
    const RunResult run = runShell(capture("--until 0.2 2>&1", "/nonexistent"));
    EXPECT_EQ(run.status, 3) << run.output;
    EXPECT_NE(run.output.find("it is empty"), std::string::npos) << run.output;
    expectNothingLeft();
}

// An FFprobe that never ends (here: one that notes its process id and
// sleeps) gives way to Ctrl-C and a termination request at once, and is
// ended with the capture.
TEST_F(FaultyEncoder, HungVideoCheckGivesWayToCtrlCAndTermination)
{
    if (!haveFfmpeg())
        GTEST_SKIP() << "no FFmpeg";
    const std::string pid = (folder / "pid").string();
    standInRuns("ffprobe", "echo $$ > " + pid + "; exec sleep 1000");
    for (const auto& [signal, status] : {std::pair<const char*, int>{"INT", 130}, {"TERM", 143}}) {
        fs::remove(pid);
        const RunResult run = runShell("bash -c '" + capture("--until 0.2") + " 2>/dev/null & demo=$!; " +
                                       "for i in $(seq 1200); do test -s " + pid + " && break; sleep 0.1; done; " +
                                       "kill -" + signal + " $demo; SECONDS=0; wait $demo; echo status $? after " +
                                       "$SECONDS s; kill -0 $(cat " + pid + ") 2>/dev/null && echo check-left'");
        EXPECT_NE(run.output.find("status " + std::to_string(status) + " "), std::string::npos)
            << signal << ": " << run.output;
        int seconds = 99;
        std::sscanf(run.output.c_str() + std::min(run.output.size(), run.output.find(" after ")), " after %d s", &seconds);
        EXPECT_LT(seconds, 10) << signal << ": " << run.output;   // not the half minute after which it is given up
        EXPECT_EQ(run.output.find("check-left"), std::string::npos) << signal;
        expectNothingLeft();
    }
}

// Without a signal, the hung check is given up after half a minute.
TEST_F(FaultyEncoder, HungVideoCheckIsEndedAfterHalfAMinute)
{
    if (!haveFfmpeg())
        GTEST_SKIP() << "no FFmpeg";
    standInRuns("ffprobe", "exec sleep 1000");
    const RunResult run = runShell(capture("--until 0.2 2>&1"));
    EXPECT_EQ(run.status, 3) << run.output;
    EXPECT_NE(run.output.find("FFprobe cannot read it (it had not ended after 30 s"), std::string::npos)
        << run.output;
    expectNothingLeft();
}

}  // namespace
