#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "tests/RunDemo.h"

namespace {

namespace fs = std::filesystem;

// Each test works in a folder of its own, which is also the demo's
// temporary folder, so that the scratch folders it leaves can be seen.
class CaptureClaim : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = fs::temp_directory_path() / ("quittenhain-" + std::to_string(getpid()) + "-claims");
        fs::remove_all(folder);
        fs::create_directories(folder / "tmp");
    }
    void TearDown() override { fs::remove_all(folder); }

    std::string demo(const std::string& arguments) const
    {
        return "TMPDIR=" + (folder / "tmp").string() + " " + QUITTENHAIN_BINARY + " " + arguments;
    }

    int scratchFolders() const
    {
        int count = 0;
        for (const auto& entry : fs::directory_iterator(folder / "tmp"))
            count += entry.path().filename().string().rfind("quittenhain-capture-", 0) == 0;
        return count;
    }

    fs::path folder;
};

int pngsIn(const fs::path& frames)
{
    int count = 0;
    for (const auto& entry : fs::directory_iterator(frames))
        count += entry.path().extension() == ".png";
    return count;
}

// A long capture runs (until Ctrl-C) while a second one asks for the same
// folder, then for the same video: both are refused and nothing of theirs
// mixes in.  The first capture's frames are the ones it counts.
TEST_F(CaptureClaim, CaptureRunningElsewhereKeepsItsFolderAndItsVideo)
{
    for (const std::string target : {"frames", "video.mkv"}) {
        const fs::path path = folder / target;
        const fs::path log = folder / "first.log";
        const std::string claimed = target == "frames" ? (path / ".quittenhain-capture").string() : path.string() + ".part";
        // The second starts once the first has written something: a frame
        // (on a loaded machine "part 1 begins" can come seconds before it),
        // or the video's first bytes.
        const std::string wroteSomething = target == "frames" ? "ls " + path.string() + " | grep -q png"
                                                       : "test -s " + path.string() + ".part";
        const RunResult run = runShell(
            "bash -c '" + demo("--capture " + path.string() + " --until 60") + " 2>" + log.string() +
            " & first=$!; for i in $(seq 600); do " + wroteSomething + " && break; sleep 0.1; done; " +
            demo("--capture " + path.string() + " --until 0.5") +
            " 2>&1; echo second $?; kill -INT $first; wait $first; echo first $?'");
        EXPECT_NE(run.output.find("second 3\n"), std::string::npos) << target << ": " << run.output;
        EXPECT_NE(run.output.find("another capture is writing"), std::string::npos) << target << ": " << run.output;
        EXPECT_NE(run.output.find("first 130\n"), std::string::npos) << target << ": " << run.output;
        EXPECT_FALSE(fs::exists(claimed)) << target;
        if (target == "frames") {
            std::ifstream said(log);
            const std::string text((std::istreambuf_iterator<char>(said)), std::istreambuf_iterator<char>());
            int written = -1;
            const std::size_t at = text.find("interrupted (Ctrl-C); the ");
            ASSERT_NE(at, std::string::npos) << text;
            std::sscanf(text.c_str() + at, "interrupted (Ctrl-C); the %d frames", &written);
            EXPECT_EQ(pngsIn(path), written);
        } else {
            EXPECT_FALSE(fs::exists(path));
        }
    }
    EXPECT_EQ(scratchFolders(), 0);
}

// What a capture killed outright leaves (its claim files, its scratch
// folder) does not block the next capture, which takes them over and says so.
TEST_F(CaptureClaim, ClaimsLeftByAKilledCaptureAreTakenOverWithANotice)
{
    const fs::path frames = folder / "frames";
    const fs::path video = folder / "video.mkv";
    for (const fs::path& target : {frames, video}) {
        // A log of its own per capture: the shell truncates a shared one only
        // once the background demo is forked, and a loop that read the last
        // capture's "part 1 begins" in between would kill this one before it
        // had claimed anything.
        const fs::path log = folder / (target.filename().string() + "-killed.log");
        runShell("bash -c '" + demo("--capture " + target.string() + " --until 60") + " 2>" + log.string() +
                 " & killed=$!; for i in $(seq 600); do grep -q \"part 1 begins\" " + log.string() +
                 " && break; sleep 0.1; done; kill -KILL $killed; wait $killed' 2>/dev/null");
        const RunResult next = runShell(demo("--capture " + target.string() + " --until 0.2 2>&1"));
        EXPECT_EQ(next.status, 0) << next.output;
        EXPECT_NE(next.output.find("was left by a capture that no longer runs"), std::string::npos) << next.output;
    }
    EXPECT_FALSE(fs::exists(frames / ".quittenhain-capture"));
    EXPECT_TRUE(fs::exists(frames / "frame00011.png"));
    EXPECT_FALSE(fs::exists(video.string() + ".part"));
    EXPECT_GT(fs::file_size(video), 1000u);
    EXPECT_EQ(scratchFolders(), 0);   // the killed capture's music is gone too
}

}  // namespace
