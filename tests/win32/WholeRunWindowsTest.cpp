// Whole runs of the Windows executable, started through the command
// interpreter as a user would: every part begins, the self-check passes,
// and help and errors print where the program was started.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

#include "tests/WholeShows.h"
#include "tests/win32/ProgramRun.h"

namespace {

std::string tail(const std::string& text)
{
    return text.substr(text.size() > 2000 ? text.size() - 2000 : 0);
}

// The whole demo to its end with the self-check, at 15 fps: every step of
// the effects still runs, a quarter of the frames are drawn.  The frames on
// which the parts begin at 60 fps are checked on the 60 fps capture the
// golden frames come from (WholeRun.EachPartBegins...).
TEST(WindowsWholeRun, EveryPartBeginsAndTheSelfCheckPassesToTheDemosEnd)
{
    const ProgramRun run = runProgram("--headless --fps 15 --self-check --until 300");
    EXPECT_EQ(run.status, 1) << tail(run.output);
    EXPECT_NE(run.output.find("self-check: passed"), std::string::npos) << tail(run.output);
    const std::map<int, long> starts = partStarts(run.output);
    ASSERT_EQ(starts.size(), 11u) << tail(run.output);
    EXPECT_EQ(starts.at(1), 0);
    EXPECT_EQ(run.output.find("part 12"), std::string::npos);
}

// A folder that is there already, even with a claim file a killed capture
// left in it, takes the frames; the claim is gone afterwards.
TEST(WindowsWholeRun, CaptureIntoAFolderThatExistsWritesItsFramesAndLeavesNoClaim)
{
    namespace fs = std::filesystem;
    const fs::path folder = "existing-frames";
    fs::remove_all(folder);
    fs::create_directories(folder);
    ProgramRun run = runProgram("--capture existing-frames --frames 3");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_TRUE(fs::exists(folder / "frame00003.png"));
    EXPECT_FALSE(fs::exists(folder / ".quittenhain-capture"));

    std::FILE* stale = std::fopen("existing-frames/.quittenhain-capture", "wb");
    ASSERT_NE(stale, nullptr);
    std::fclose(stale);
    run = runProgram("--capture existing-frames --frames 5");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("was left by a capture that no longer runs"), std::string::npos) << run.output;
    EXPECT_TRUE(fs::exists(folder / "frame00005.png"));
    EXPECT_FALSE(fs::exists(folder / ".quittenhain-capture"));
    fs::remove_all(folder);
}

TEST(WindowsWholeRun, HelpAndUnknownOptionsPrintWhereTheyWereStarted)
{
    const ProgramRun help = runProgram("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.output.find("Usage:"), std::string::npos);
    // What this build does: video through ffmpeg.exe, and a window that
    // plays at 640x480 only (no "--resolution native").
    EXPECT_NE(help.output.find("--capture FILE"), std::string::npos) << help.output;
    EXPECT_NE(help.output.find("ffmpeg.exe next to quittenhain.exe"), std::string::npos) << help.output;
    EXPECT_EQ(help.output.find("--resolution native"), std::string::npos) << help.output;
    EXPECT_EQ(help.output.find("not available"), std::string::npos) << help.output;
    const ProgramRun unknown = runProgram("--frobnicate");
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.output.find("Usage:"), std::string::npos);
}

}  // namespace
