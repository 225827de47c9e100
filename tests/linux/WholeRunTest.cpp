#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <utility>
#include <string>
#include <vector>
#include <unistd.h>
#include <sys/wait.h>

#include "tests/FrameCompare.h"
#include "tests/MusicReference.h"
#include "tests/RunDemo.h"
#include "tests/WholeShows.h"

namespace {

TEST(WholeRun, CaptureWritesTheFramesAskedForNumberedFromZero)
{
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / ("quittenhain-" + std::to_string(getpid()) + "-capture-test");
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

std::string fileBytes(const std::filesystem::path& file)
{
    std::string bytes;
    if (FILE* in = std::fopen(file.c_str(), "rb")) {
        char buffer[65536];
        std::size_t got = 0;
        while ((got = std::fread(buffer, 1, sizeof buffer, in)) > 0)
            bytes.append(buffer, got);
        std::fclose(in);
    }
    return bytes;
}

// Frames are read back a frame or two behind the drawing: a continuous
// capture and one of single frames (each read with nothing before it in
// flight) must still write the same files, the last ones included.
TEST(WholeRun, ContinuousCaptureWritesEveryFrameOnceWithTheBytesOfSingleFrames)
{
    const std::filesystem::path base = std::filesystem::temp_directory_path() / ("quittenhain-" + std::to_string(getpid()) + "-readback");
    const std::filesystem::path all = base / "all";
    const std::filesystem::path single = base / "single";
    std::filesystem::remove_all(base);
    std::filesystem::create_directories(base);
    RunResult run = runDemo("--capture " + all.string() + " --until 0.5");
    ASSERT_EQ(run.status, 0) << run.output;
    run = runDemo("--capture " + single.string() + " --frames 0,13,28,29");
    ASSERT_EQ(run.status, 0) << run.output;
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(all))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    ASSERT_EQ(names.size(), 30u);
    for (std::size_t f = 0; f < names.size(); ++f)
        EXPECT_EQ(names[f], "frame000" + std::string(f < 10 ? "0" : "") + std::to_string(f) + ".png");
    for (const char* name : {"frame00000.png", "frame00013.png", "frame00028.png", "frame00029.png"}) {
        const std::string bytes = fileBytes(single / name);
        EXPECT_FALSE(bytes.empty()) << name;
        EXPECT_TRUE(bytes == fileBytes(all / name)) << name << " differs between the two captures";
    }
    EXPECT_FALSE(fileBytes(all / "frame00028.png") == fileBytes(all / "frame00029.png"));
    std::filesystem::remove_all(base);
}

// On a 5 MB file system the capture stops at the first frame that does not
// fit, says so and fails; every file under a frame's name is a whole PNG.
TEST(WholeRun, CaptureOntoAFullDiskFailsAndLeavesOnlyWholeFrames)
{
    const std::filesystem::path mount = std::filesystem::temp_directory_path() / ("quittenhain-" + std::to_string(getpid()) + "-small-disk");
    std::filesystem::create_directories(mount);
    const std::string inside = "mount -t tmpfs -o size=5m tmpfs " + mount.string() + " || exit 77; " +
                               QUITTENHAIN_BINARY + " --capture " + mount.string() + "/f --until 5 2>&1; echo status $?; " +
                               "ls " + mount.string() + "/f | grep -v -c \"^frame[0-9]*[.]png$\"; " +
                               "for f in " + mount.string() + "/f/*.png; do pngcheck_ok=$(head -c 8 $f | od -An -tx1 | tr -d \" \"); " +
                               "[ \"$pngcheck_ok\" = 89504e470d0a1a0a ] && [ \"$(tail -c 8 $f | head -c 4)\" = IEND ] || echo broken $f; done";
    const RunResult run = runDemo("--help >/dev/null; unshare --user --map-root-user --mount sh -c '" + inside + "'");
    std::filesystem::remove_all(mount);
    if (run.output.find("status") == std::string::npos)
        GTEST_SKIP() << "no small file system can be mounted here";
    EXPECT_NE(run.output.find("No space left on device"), std::string::npos) << run.output.substr(run.output.size() > 600 ? run.output.size() - 600 : 0);
    EXPECT_NE(run.output.find("frames written so far stay in"), std::string::npos);
    EXPECT_NE(run.output.find("status 3"), std::string::npos);
    EXPECT_NE(run.output.find("\n0\n"), std::string::npos) << "files other than whole frames were left";
    EXPECT_EQ(run.output.find("broken"), std::string::npos) << run.output.substr(run.output.find("status"));
}

// ffprobe's value of one entry for one stream ("v:0" or "a:0") of a file.
std::string probe(const std::string& file, const std::string& stream, const std::string& entry)
{
    const std::string command = "ffprobe -v error -count_frames -select_streams " + stream +
                                " -show_entries stream=" + entry + " -of default=nw=1:nk=1 " + file;
    std::string value;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe) != nullptr)
            value += buffer;
        pclose(pipe);
    }
    while (!value.empty() && (value.back() == '\n' || value.back() == '\r'))
        value.pop_back();
    return value;
}

// The sound of a video file as 44100 Hz interleaved 16-bit stereo.
std::vector<std::int16_t> decodedSound(const std::filesystem::path& file)
{
    std::vector<std::int16_t> sound;
    const std::string command = "ffmpeg -v error -i " + file.string() + " -vn -f s16le -ac 2 -ar 44100 -";
    if (FILE* pipe = popen(command.c_str(), "r")) {
        std::int16_t buffer[8192];
        std::size_t got = 0;
        while ((got = std::fread(buffer, sizeof buffer[0], 8192, pipe)) > 0)
            sound.insert(sound.end(), buffer, buffer + got);
        pclose(pipe);
    }
    return sound;
}

// The video's sound at video time t is the music at t + fromSeconds, to the
// sample: checked at several moments by cross-correlation with a reference
// decode of the music.
void expectSoundInStep(const std::filesystem::path& video, double fromSeconds, double seconds)
{
    const std::vector<std::int16_t> sound = decodedSound(video);
    ASSERT_GE(sound.size() / 2, static_cast<std::size_t>(seconds * 44100) - 1500);
    constexpr std::size_t kWindow = 8192;
    for (const double t : {0.1, seconds / 2, seconds - 0.4}) {
        const auto at = static_cast<std::size_t>(t * 44100);
        const SoundMatch match = matchAgainstMusic(sound.data() + at * 2, kWindow,
                                                   static_cast<std::size_t>((fromSeconds + t) * 44100), 3000);
        EXPECT_GT(match.correlation, 0.95) << "at video time " << t;
        EXPECT_LE(std::abs(match.lag), 1) << "at video time " << t << ": the sound is off by " << match.lag
                                          << " sample frames";
    }
}

bool haveFfmpegAndFfprobe()
{
    return std::system("command -v ffmpeg >/dev/null && command -v ffprobe >/dev/null") == 0;
}

TEST(VideoCapture, ShortStretchAcrossAPartSwitchKeepsPictureAndSoundInStep)
{
    if (!haveFfmpegAndFfprobe())
        GTEST_SKIP() << "no FFmpeg";
    const std::filesystem::path video = std::filesystem::temp_directory_path() / ("quittenhain-" + std::to_string(getpid()) + "-test.mp4");
    std::filesystem::remove(video);
    const RunResult run = runDemo("--capture " + video.string() + " --from 11 --until 14");
    ASSERT_EQ(run.status, 0) << run.output.substr(run.output.size() > 1500 ? run.output.size() - 1500 : 0);
    EXPECT_EQ(probe(video, "v:0", "nb_read_frames"), "180");   // 3 s at 60 fps, parts 1 and 2
    EXPECT_EQ(probe(video, "v:0", "r_frame_rate"), "60/1");
    EXPECT_EQ(probe(video, "v:0", "codec_name"), "h264");
    EXPECT_EQ(probe(video, "a:0", "codec_name"), "aac");
    EXPECT_NEAR(std::stod(probe(video, "v:0", "start_time")), 0.0, 1e-6);
    EXPECT_NEAR(std::stod(probe(video, "a:0", "start_time")), 0.0, 1e-6);
    EXPECT_NEAR(std::stod(probe(video, "v:0", "duration")), 3.0, 0.02);
    EXPECT_NEAR(std::stod(probe(video, "a:0", "duration")), 3.0, 0.03);
    expectSoundInStep(video, 11.0, 3.0);
    std::filesystem::remove(video);
}

TEST(VideoCapture, LargerResolutionGivesAVideoOfThatSizeTimesTheScale)
{
    if (!haveFfmpegAndFfprobe())
        GTEST_SKIP() << "no FFmpeg";
    const std::filesystem::path video =
        std::filesystem::temp_directory_path() / ("quittenhain-" + std::to_string(getpid()) + "-sharp.mp4");
    std::filesystem::remove(video);
    RunResult run = runDemo("--capture " + video.string() + " --resolution 1920x1440 --until 0.2");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(probe(video, "v:0", "width"), "1920");
    EXPECT_EQ(probe(video, "v:0", "height"), "1440");
    EXPECT_EQ(probe(video, "v:0", "nb_read_frames"), "12");
    run = runDemo("--capture " + video.string() + " --resolution 800x600 --scale 2 --until 0.1");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(probe(video, "v:0", "width"), "1600");
    EXPECT_EQ(probe(video, "v:0", "height"), "1200");
    std::filesystem::remove(video);
}

TEST(VideoCapture, KilledCaptureLeavesNoFileBehind)
{
    if (!haveFfmpegAndFfprobe())
        GTEST_SKIP() << "no FFmpeg";
    const std::filesystem::path video = std::filesystem::temp_directory_path() / ("quittenhain-" + std::to_string(getpid()) + "-killed.webm");
    std::filesystem::remove(video);
    const std::string command = std::string(QUITTENHAIN_BINARY) + " --capture " + video.string() +
                                " --until 60 2>/dev/null & pid=$!; sleep 3; kill -INT $pid; wait $pid";
    const int raw = std::system(("bash -c '" + command + "'").c_str());
    EXPECT_EQ(WEXITSTATUS(raw), 130);
    EXPECT_FALSE(std::filesystem::exists(video));
    EXPECT_FALSE(std::filesystem::exists(video.string() + ".part"));
}

// The video's picture is the PNG capture's picture, the right way up: one
// decoded frame against the same frame written as PNG, tile by tile.  The
// encoder's loss is small everywhere; a picture upside down differs a lot
// in many tiles of this asymmetric frame.
TEST(VideoCapture, DecodedFrameMatchesThePngOfTheSameFrame)
{
    if (!haveFfmpegAndFfprobe())
        GTEST_SKIP() << "no FFmpeg";
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / ("quittenhain-" + std::to_string(getpid()) + "-upright");
    fs::remove_all(folder);
    fs::create_directories(folder);
    const fs::path video = folder / "v.mkv";
    // At 10 fps only a few frames are drawn before the one compared.
    const RunResult run = runDemo("--capture " + video.string() + " --fps 10 --from 1.85 --until 2.05");
    ASSERT_EQ(run.status, 0) << run.output;
    // Frame 20 (2 s) is the second of a video beginning at frame 19.
    const std::string decode = "ffmpeg -v error -i " + video.string() + " -vf \"select=eq(n\\,1)\" -frames:v 1 " +
                               (folder / "decoded.png").string();
    ASSERT_EQ(std::system(decode.c_str()), 0) << decode;
    const RunResult frames = runDemo("--capture " + (folder / "png").string() + " --fps 10 --frames 20");
    ASSERT_EQ(frames.status, 0) << frames.output;
    const Image decoded = loadPng(folder / "decoded.png");
    const Image png = loadPng(folder / "png" / "frame00020.png");
    ASSERT_EQ(decoded.width, 640);
    ASSERT_EQ(decoded.height, 480);
    ASSERT_EQ(png.width, 640);
    ASSERT_EQ(png.height, 480);
    const FrameDifference difference = compareFrames(decoded, png);
    EXPECT_LT(difference.worstTileMean, 10.0) << difference;   // 2.5 here; 65 upside down
    fs::remove_all(folder);
}

// A video captured through a symbolic link goes to the link's target (here
// relative, and already there), and the link stays a link.
TEST(VideoCapture, SymbolicLinkIsFollowedToItsTargetAndKept)
{
    if (!haveFfmpegAndFfprobe())
        GTEST_SKIP() << "no FFmpeg";
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / ("quittenhain-" + std::to_string(getpid()) + "-link");
    fs::remove_all(folder);
    fs::create_directories(folder / "videos");
    { std::FILE* old = std::fopen((folder / "videos" / "real.mp4").c_str(), "w"); ASSERT_NE(old, nullptr); std::fputs("old", old); std::fclose(old); }
    fs::create_symlink("videos/real.mp4", folder / "link.mp4");
    const RunResult run = runDemo("--capture " + (folder / "link.mp4").string() + " --until 0.2");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_TRUE(fs::is_symlink(folder / "link.mp4"));
    EXPECT_EQ(fs::read_symlink(folder / "link.mp4"), "videos/real.mp4");
    EXPECT_EQ(probe(folder / "videos" / "real.mp4", "v:0", "nb_read_frames"), "12");
    EXPECT_FALSE(fs::exists(folder / "videos" / "real.mp4.part"));
    EXPECT_FALSE(fs::exists(folder / "link.mp4.part"));
    fs::remove_all(folder);
}

// Ctrl-C or a termination request while FFmpeg finishes a large video stops
// FFmpeg and leaves nothing under either name, with the shell's statuses.
TEST(VideoCapture, InterruptedFinishLeavesNoFileAndFailsWithTheSignalsStatus)
{
    if (!haveFfmpegAndFfprobe())
        GTEST_SKIP() << "no FFmpeg";
    for (const auto& [signal, status] : {std::pair<const char*, int>{"INT", 130}, {"TERM", 143}}) {
        const std::filesystem::path video = std::filesystem::temp_directory_path() / ("quittenhain-" + std::to_string(getpid()) + "-finish-" + signal + ".mp4");
        const std::filesystem::path log = video.string() + ".log";
        std::filesystem::remove(video);
        // The progress line of the last frame (frame 59) ends with a newline;
        // FFmpeg is then still encoding the eight times enlarged frames.
        const std::string command = std::string(QUITTENHAIN_BINARY) + " --capture " + video.string() +
                                    " --scale 8 --until 1 2>" + log.string() + " & pid=$!; " +
                                    "until grep -q \"frame *59/\" " + log.string() + " || ! kill -0 $pid 2>/dev/null; do sleep 0.05; done; " +
                                    "kill -" + signal + " $pid; wait $pid; echo status $?; pgrep -f \"^ffmpeg .*" + video.filename().string() + "\" >/dev/null && echo ffmpeg-left";
        const std::string output = runDemo("--help >/dev/null; bash -c '" + command + "'").output;
        EXPECT_NE(output.find("status " + std::to_string(status)), std::string::npos) << signal << ": " << output;
        EXPECT_EQ(output.find("ffmpeg-left"), std::string::npos) << signal;
        EXPECT_FALSE(std::filesystem::exists(video)) << signal;
        EXPECT_FALSE(std::filesystem::exists(video.string() + ".part")) << signal;
        std::filesystem::remove(log);
    }
}

TEST(WholeRun, RangesPastTheEndAreRefusedBeforeAnythingIsWritten)
{
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / ("quittenhain-" + std::to_string(getpid()) + "-past-end");
    std::filesystem::remove_all(dir);
    const RunResult frames = runDemo("--capture " + dir.string() + " --fps 1 --frames 5,99999");
    EXPECT_EQ(frames.status, 2) << frames.output;
    EXPECT_NE(frames.output.find("frame 99999 is past the demo's end: the demo's last frame at 1 fps is 253"),
              std::string::npos) << frames.output;
    EXPECT_FALSE(std::filesystem::exists(dir));
    const RunResult from = runDemo("--capture " + dir.string() + ".mp4 --from 400");
    EXPECT_EQ(from.status, 2) << from.output;
    EXPECT_EQ(from.output.find("part 1 begins"), std::string::npos) << from.output;
    EXPECT_FALSE(std::filesystem::exists(dir.string() + ".mp4.part"));
}

TEST(Benchmark, JsonReportsEveryPartTheEmptyFrameAndStartUp)
{
    // A coarse virtual clock keeps the whole timeline short.
    const RunResult run = runDemo("--benchmark --json --fps 5 2>/dev/null");
    EXPECT_EQ(run.status, 0);
    for (int part = 1; part <= 11; ++part)
        EXPECT_NE(run.output.find("{\"part\": " + std::to_string(part) + ","), std::string::npos) << part;
    EXPECT_NE(run.output.find("\"empty_frame\""), std::string::npos);
    EXPECT_NE(run.output.find("\"first_frame\""), std::string::npos);
    EXPECT_NE(run.output.find("\"scenes\""), std::string::npos);
    EXPECT_NE(run.output.find("\"first_ms\""), std::string::npos);
    EXPECT_NE(run.output.find("\"worst_ms\""), std::string::npos);
    EXPECT_NE(run.output.find("\"warm_up\""), std::string::npos);
    EXPECT_NE(run.output.find("\"picture\": {\"width\": 640, \"height\": 480}"), std::string::npos);
}

TEST(WholeRun, UnusableCaptureDirectoryAndUnknownOptionsFail)
{
    const RunResult blocked = runDemo("--capture /proc/version/frames --until 0.1");
    EXPECT_NE(blocked.status, 0);
    EXPECT_NE(blocked.output.find("cannot use"), std::string::npos) << blocked.output;
    const std::filesystem::path file = std::filesystem::temp_directory_path() / ("quittenhain-" + std::to_string(getpid()) + "-afile");
    { std::FILE* made = std::fopen(file.c_str(), "w"); ASSERT_NE(made, nullptr); std::fclose(made); }
    const RunResult onAFile = runDemo("--capture " + file.string() + " --until 0.1");
    EXPECT_EQ(onAFile.status, 3);
    EXPECT_NE(onAFile.output.find(file.string() + " as capture directory: it is not a folder"), std::string::npos) << onAFile.output;
    std::filesystem::remove(file);
    const RunResult unknown = runDemo("--frobnicate");
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.output.find("Usage:"), std::string::npos);
}

}  // namespace
