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
        // Open to the other user some tests run the demo as.
        fs::permissions(folder, fs::perms::all);
        fs::permissions(folder / "tmp", fs::perms::all);
    }
    void TearDown() override { fs::remove_all(folder); }

    std::string demo(const std::string& arguments) const
    {
        return "TMPDIR=" + (folder / "tmp").string() + " " + QUITTENHAIN_BINARY + " " + arguments;
    }

    // The demo run by another user than the one who made the files the test
    // puts in its way: root may read and write anything, so a test run as
    // root runs the demo as nobody, from a copy in the test's folder (the
    // build's may lie where nobody cannot reach).  Otherwise the files'
    // modes alone make them another user's to this one.
    std::string demoAsOtherUser(const std::string& arguments) const
    {
        if (geteuid() != 0)
            return demo(arguments);
        const fs::path copy = folder / "quittenhain";
        if (!fs::exists(copy))
            fs::copy_file(QUITTENHAIN_BINARY, copy);
        return "TMPDIR=" + (folder / "tmp").string() + " setpriv --reuid=65534 --regid=65534 --clear-groups " +
               copy.string() + " " + arguments;
    }

    // Starts a capture in the background, sends `signal` once `ready` (a
    // shell test) holds, and says "status N" and what the capture said.
    RunResult signalWhen(const std::string& arguments, const std::string& ready, const std::string& signal) const
    {
        const std::string log = (folder / "signalled.log").string();
        return runShell("bash -c '" + demo(arguments) + " 2>" + log + " & demo=$!; for i in $(seq 3000); do " +
                        ready + " && break; sleep 0.02; done; kill -" + signal + " $demo; wait $demo; " +
                        "echo status $?; cat " + log + "'");
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

// A scratch folder of another user's capture (running or killed) cannot
// be looked into: it is left alone, and the capture goes on.
TEST_F(CaptureClaim, AnotherUsersScratchFolderIsLeftAlone)
{
    const fs::path foreign = folder / "tmp" / "quittenhain-capture-1";
    fs::create_directories(foreign);
    std::ofstream(foreign / "owner").put('x');
    fs::permissions(foreign, fs::perms::owner_all);
    if (geteuid() != 0)
        fs::permissions(foreign, fs::perms::none);
    const fs::path video = folder / "video.mkv";
    const RunResult run = runShell(demoAsOtherUser("--capture " + video.string() + " --until 0.2 2>&1"));
    fs::permissions(foreign, fs::perms::owner_all);
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_GT(fs::file_size(video), 1000u);
    EXPECT_FALSE(fs::exists(video.string() + ".part"));
    EXPECT_TRUE(fs::exists(foreign / "owner"));
    EXPECT_EQ(scratchFolders(), 1);   // the foreign one only
}

// A stale claim this user may read but not write (mode 444, or another
// user's) is replaced by a new one; one it may not even read cannot be
// told from a running capture's, and the refusal says so.
TEST_F(CaptureClaim, StaleClaimsThisUserMayNotWriteAreReplacedOrTheRefusalSaysWhy)
{
    const fs::path frames = folder / "frames";
    fs::create_directories(frames);
    fs::permissions(frames, fs::perms::all);
    const fs::path video = folder / "video.mkv";
    for (const fs::path& claim : {frames / ".quittenhain-capture", fs::path(video.string() + ".part")}) {
        std::ofstream(claim).put('x');
        fs::permissions(claim, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    }
    for (const fs::path& target : {frames, video}) {
        const RunResult run = runShell(demoAsOtherUser("--capture " + target.string() + " --until 0.2 2>&1"));
        EXPECT_EQ(run.status, 0) << run.output;
        EXPECT_NE(run.output.find("was left by a capture that no longer runs; taking it over"), std::string::npos)
            << run.output;
    }
    EXPECT_TRUE(fs::exists(frames / "frame00011.png"));
    EXPECT_FALSE(fs::exists(frames / ".quittenhain-capture"));
    EXPECT_GT(fs::file_size(video), 1000u);
    EXPECT_FALSE(fs::exists(video.string() + ".part"));

    const fs::path unreadable = folder / "other.mkv.part";
    std::ofstream(unreadable).put('x');
    fs::permissions(unreadable, fs::perms::none);
    const RunResult refused = runShell(demoAsOtherUser("--capture " + (folder / "other.mkv").string() + " --until 0.2 2>&1"));
    EXPECT_EQ(refused.status, 3) << refused.output;
    EXPECT_NE(refused.output.find("whether a capture still writes it cannot be told"), std::string::npos)
        << refused.output;
    EXPECT_TRUE(fs::exists(unreadable));
}

// A symbolic link planted at a name a capture makes (the claim files, a
// frame's or the video's .part) is removed, never written through: the
// file it points to keeps its bytes.
TEST_F(CaptureClaim, LinkAtANameTheCaptureMakesIsReplacedNotFollowed)
{
    const fs::path victim = folder / "victim";
    std::ofstream(victim) << "keep";
    const fs::path frames = folder / "frames";
    const fs::path video = folder / "video.mkv";
    fs::create_directories(frames);
    for (const fs::path& link : {frames / ".quittenhain-capture", frames / "frame00000.png.part",
                                 fs::path(video.string() + ".part")})
        fs::create_symlink(victim, link);
    for (const fs::path& target : {frames, video}) {
        const RunResult run = runShell(demo("--capture " + target.string() + " --until 0.2 2>&1"));
        EXPECT_EQ(run.status, 0) << run.output;
    }
    std::ifstream kept(victim);
    const std::string text((std::istreambuf_iterator<char>(kept)), std::istreambuf_iterator<char>());
    EXPECT_TRUE(text == "keep") << "the linked file now holds " << text.size() << " bytes";
    EXPECT_FALSE(fs::is_symlink(frames / "frame00000.png"));
    EXPECT_TRUE(fs::exists(frames / "frame00011.png"));
    EXPECT_FALSE(fs::exists(fs::symlink_status(frames / "frame00000.png.part")));
    EXPECT_GT(fs::file_size(video), 1000u);
    EXPECT_FALSE(fs::exists(fs::symlink_status(video.string() + ".part")));
}

// Names FFmpeg would read as a protocol ("file:", "pipe:") or an option
// ("-...") are files like any other: the video is written under the very
// name given, nothing goes to the standard output.
TEST_F(CaptureClaim, NamesFfmpegCouldReadAsUrlsOrOptionsAreWrittenAsFiles)
{
    for (const std::string name : {"file:v.mp4", "pipe:w.mkv", "-x.webm"}) {
        const RunResult run =
            runShell("cd " + folder.string() + " && " + demo("--capture " + name + " --until 0.2 2>/dev/null"));
        EXPECT_EQ(run.status, 0) << name;
        EXPECT_EQ(run.output.size(), 0u) << name;
        std::error_code missing;
        EXPECT_GT(fs::file_size(folder / name, missing), 1000u) << name;
        EXPECT_FALSE(fs::exists(folder / (name + ".part"))) << name;
    }
    EXPECT_FALSE(fs::exists(folder / "v.mp4.part"));
    EXPECT_FALSE(fs::exists(folder / "w.mkv.part"));
}

// Started with its standard input, output and error output closed, the
// demo does not let those numbers go to the files it opens (the video's
// .part would get the progress lines): they stay held by /dev/null.
TEST_F(CaptureClaim, ClosedStandardFilesAreNotTakenByTheVideo)
{
    const fs::path video = folder / "video.mp4";
    const RunResult run = runShell("bash -c '" + demo("--capture " + video.string() + " --until 60") +
                                   " <&- >&- 2>&- & demo=$!; for i in $(seq 3000); do test -s " + video.string() +
                                   ".part && break; sleep 0.02; done; readlink /proc/$demo/fd/0 /proc/$demo/fd/1 " +
                                   "/proc/$demo/fd/2; kill -INT $demo; wait $demo; echo status $?'");
    EXPECT_EQ(run.output, "/dev/null\n/dev/null\n/dev/null\nstatus 130\n");
    EXPECT_FALSE(fs::exists(video.string() + ".part"));
}

TEST_F(CaptureClaim, MissingFolderIsNamedAsTheReason)
{
    const fs::path missing = folder / "missing";
    const RunResult run = runShell(demo("--capture " + (missing / "v.mkv").string() + " --until 0.2 2>&1"));
    EXPECT_EQ(run.status, 3) << run.output;
    EXPECT_NE(run.output.find("the folder " + missing.string() + " does not exist"), std::string::npos)
        << run.output;
    EXPECT_EQ(scratchFolders(), 0);
}

// The terminal closing (SIGHUP) mid-capture ends it as a termination
// request does, with the shell's status 129: no .part, no claim, no scratch
// folder left.
TEST_F(CaptureClaim, HangUpCleansUpAsATerminationRequestDoes)
{
    const fs::path frames = folder / "frames";
    const fs::path video = folder / "video.mkv";
    RunResult run = signalWhen("--capture " + frames.string() + " --until 60",
                               "ls " + frames.string() + " | grep -q png", "HUP");
    EXPECT_NE(run.output.find("status 129\n"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("the terminal was closed"), std::string::npos) << run.output;
    EXPECT_FALSE(fs::exists(frames / ".quittenhain-capture"));
    run = signalWhen("--capture " + video.string() + " --until 60", "test -s " + video.string() + ".part", "HUP");
    EXPECT_NE(run.output.find("status 129\n"), std::string::npos) << run.output;
    EXPECT_FALSE(fs::exists(video.string() + ".part"));
    EXPECT_FALSE(fs::exists(video));
    EXPECT_EQ(scratchFolders(), 0);
}

// A termination request while the capture loads (seconds at 4096x3072)
// ends it then, before the first part begins, leaving nothing.
TEST_F(CaptureClaim, SignalWhileLoadingEndsTheCaptureBeforeItsFirstFrame)
{
    const fs::path frames = folder / "frames";
    const fs::path video = folder / "video.mkv";
    for (const auto& [target, claim] : {std::pair<fs::path, fs::path>{frames, frames / ".quittenhain-capture"},
                                        {video, fs::path(video.string() + ".part")}}) {
        const RunResult run = signalWhen("--capture " + target.string() + " --resolution 4096x3072 --until 0.2",
                                         "test -e " + claim.string(), "TERM");
        EXPECT_NE(run.output.find("status 143\n"), std::string::npos) << run.output;
        EXPECT_EQ(run.output.find("part 1 begins"), std::string::npos) << run.output;
        EXPECT_FALSE(fs::exists(claim)) << target;
    }
    EXPECT_EQ(pngsIn(frames), 0);
    EXPECT_FALSE(fs::exists(video));
    EXPECT_EQ(scratchFolders(), 0);
}

}  // namespace
