// Whole runs of the Windows executable, started through the command
// interpreter as a user would: the part switches fall on the same frames as
// on Linux, the self-check passes, and help and errors print where the
// program was started.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

#include "assets/MusicPlayer.h"
#include "assets/Resources.h"
#include "tests/win32/ProgramRun.h"

namespace {

std::map<int, long> partStarts(const std::string& output)
{
    std::map<int, long> starts;
    for (std::size_t at = 0; (at = output.find("part ", at)) != std::string::npos; at += 5) {
        int part = 0;
        long frame = 0;
        if (std::sscanf(output.c_str() + at, "part %d begins at frame %ld", &part, &frame) == 2)
            starts[part] = frame;
    }
    return starts;
}

std::string tail(const std::string& text)
{
    return text.substr(text.size() > 2000 ? text.size() - 2000 : 0);
}

TEST(WindowsWholeRun, PartsSwitchOnTheSameFramesAsOnLinuxAndTheSelfCheckPasses)
{
    const ProgramRun run = runProgram("--headless --fps 60 --self-check --until 300");
    EXPECT_EQ(run.status, 1) << tail(run.output);
    EXPECT_NE(run.output.find("self-check: passed"), std::string::npos) << tail(run.output);
    const std::map<int, long> starts = partStarts(run.output);
    ASSERT_EQ(starts.size(), 11u) << tail(run.output);
    EXPECT_EQ(starts.at(1), 0);
    // The sync check of frame f sees f * 2940 bytes; part k + 1 begins on
    // the frame after the first check at or past time k.
    const Resource dat = findResource("ZYT_MUCKE", "ZYT_MUCKE_DAT");
    const SyncTracks tracks = readSyncTracks(dat.data, dat.size);
    for (int part = 2; part <= 11; ++part) {
        const std::uint32_t time = tracks.times[static_cast<std::size_t>(part - 2)];
        EXPECT_EQ(starts.at(part), static_cast<long>((time + 2939) / 2940) + 1) << "part " << part;
    }
    EXPECT_EQ(starts.at(2), 760);
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
