#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <sys/wait.h>

#include "assets/MusicPlayer.h"
#include "assets/Resources.h"

namespace {

struct RunResult {
    int status = -1;
    std::string output;
};

// Runs the demo program with the given arguments; stderr is captured.
RunResult runDemo(const std::string& arguments)
{
    RunResult result;
    const std::string command = std::string(QUITTENHAIN_BINARY) + " " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return result;
    char buffer[4096];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        result.output.append(buffer, got);
    const int raw = pclose(pipe);
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return result;
}

// "part N begins at frame F" lines of a headless run.
std::map<int, long> partStarts(const std::string& output)
{
    std::map<int, long> starts;
    std::size_t at = 0;
    while ((at = output.find("part ", at)) != std::string::npos) {
        int part = 0;
        long frame = 0;
        if (std::sscanf(output.c_str() + at, "part %d begins at frame %ld", &part, &frame) == 2)
            starts[part] = frame;
        at += 5;
    }
    return starts;
}

TEST(WholeRun, EachPartBeginsAfterTheFrameWhoseSyncCheckSeesItsTime)
{
    // --until only guards against a run that never ends; the demo ends first.
    const RunResult run = runDemo("--headless --fps 60 --until 300");
    EXPECT_EQ(run.status, 1) << run.output.substr(0, 2000);
    const std::map<int, long> starts = partStarts(run.output);
    ASSERT_EQ(starts.size(), 11u) << run.output.substr(0, 2000);
    EXPECT_EQ(starts.at(1), 0);

    // The sync check of frame f sees the position f * 2940 bytes (60 fps);
    // part k + 1 begins on the frame after the first check at or past time k.
    const Resource dat = findResource("ZYT_MUCKE", "ZYT_MUCKE_DAT");
    const SyncTracks tracks = readSyncTracks(dat.data, dat.size);
    for (int part = 2; part <= 11; ++part) {
        const std::uint32_t time = tracks.times[static_cast<std::size_t>(part - 2)];
        const long firstCheck = static_cast<long>((time + 2939) / 2940);
        EXPECT_EQ(starts.at(part), firstCheck + 1) << "part " << part;
    }
    EXPECT_EQ(starts.at(2), 760);
    // The run ends at the eleventh time; nothing is printed after it.
    EXPECT_EQ(run.output.find("part 12"), std::string::npos);
}

TEST(WholeRun, CaptureWritesTheFramesAskedForNumberedFromZero)
{
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "quittenhain-capture-test";
    std::filesystem::remove_all(dir);
    const RunResult run = runDemo("--capture " + dir.string() + " --from 12.5 --until 13");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(partStarts(run.output).at(2), 760);
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 30);
    EXPECT_TRUE(std::filesystem::exists(dir / "frame00750.png"));
    EXPECT_TRUE(std::filesystem::exists(dir / "frame00779.png"));
    EXPECT_FALSE(std::filesystem::exists(dir / "frame00749.png"));
    std::filesystem::remove_all(dir);
}

TEST(WholeRun, UnusableCaptureDirectoryAndUnknownOptionsFail)
{
    const RunResult blocked = runDemo("--capture /proc/version/frames --until 0.1");
    EXPECT_NE(blocked.status, 0);
    EXPECT_NE(blocked.output.find("cannot use"), std::string::npos) << blocked.output;
    const RunResult unknown = runDemo("--frobnicate");
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.output.find("Usage:"), std::string::npos);
}

}  // namespace
