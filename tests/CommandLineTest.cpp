#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

#include "app/CommandLine.h"

namespace {

ParsedCommandLine parse(std::vector<const char*> args)
{
    args.insert(args.begin(), "quittenhain");
    return parseCommandLine(static_cast<int>(args.size()), args.data());
}

TEST(CommandLine, NoArgumentsIsTheDemoWithItsQuestion)
{
    const ParsedCommandLine parsed = parse({});
    EXPECT_TRUE(parsed.error.empty());
    EXPECT_EQ(parsed.options.mode, CommandLine::Mode::Demo);
    EXPECT_EQ(parsed.options.fullScreen, FullScreenChoice::Ask);
    EXPECT_TRUE(parsed.options.vsync);
}

TEST(CommandLine, CaptureTakesItsDirectoryAndRange)
{
    const ParsedCommandLine parsed = parse({"--capture", "out", "--fps", "30", "--from", "12.5", "--until", "13"});
    ASSERT_TRUE(parsed.error.empty()) << parsed.error;
    EXPECT_EQ(parsed.options.mode, CommandLine::Mode::CaptureFrames);
    EXPECT_EQ(parsed.options.captureTarget, "out");
    EXPECT_EQ(parsed.options.fps, 30);
    EXPECT_EQ(parsed.options.fromSeconds, 12.5);
    EXPECT_EQ(parsed.options.untilSeconds, 13.0);
}

TEST(CommandLine, BadInputIsRefusedWithAReason)
{
    for (auto args : std::vector<std::vector<const char*>>{{"--bogus"},
                                                           {"--capture"},
                                                           {"--capture", "d", "--fps", "0"},
                                                           {"--capture", "d", "--fps", "29.97"},
                                                           {"--capture", "d", "--fps", "sixty"},
                                                           {"--capture", "d", "--until", "-1"},
                                                           {"--capture", "d", "--until", "nan"},
                                                           {"--fps", "30"},
                                                           {"--capture", "d", "--frames", ""},
                                                           {"--capture", "d", "--frames", "1,,2"},
                                                           {"--capture", "d", "--frames", "-3"},
                                                           {"--capture", "d", "--frames", "7x"},
                                                           {"--capture", "d", "--frames", "120,"},
                                                           {"--capture", "d", "--frames", "1, 2"},
                                                           {"--capture", "d", "--fps", "0x3c"},
                                                           {"--capture", "d", "--fps", " 60"},
                                                           {"--capture", "d", "--fps", "60 "},
                                                           {"--capture", "d", "--fps", "+60"},
                                                           {"--capture", "d", "--fps", "6e1"},
                                                           {"--capture", "d", "--until", "0x10"},
                                                           {"--capture", "d", "--until", "1..5"},
                                                           {"--capture", "d", "--until", "."},
                                                           {"--capture", "v.mp4", "--scale", "0x2"}}) {
        EXPECT_FALSE(parse(args).error.empty()) << args[0];
    }
}

// Ranges that could only write nothing, huge times and unknown video types
// are refused before anything runs.
TEST(CommandLine, EmptyOrHugeRangesAndUnknownVideoTypesAreRefused)
{
    EXPECT_NE(parse({"--capture", "out", "--from", "10", "--until", "5"}).error.find("earlier than --until"),
              std::string::npos);
    EXPECT_FALSE(parse({"--capture", "out", "--from", "5", "--until", "5"}).error.empty());
    for (const char* huge : {"1e308", "86400.5", "inf", "nan"}) {
        EXPECT_FALSE(parse({"--capture", "out", "--until", huge}).error.empty()) << huge;
        EXPECT_FALSE(parse({"--headless", "--from", huge}).error.empty()) << huge;
    }
    const std::string avi = parse({"--capture", "movie.avi"}).error;
    EXPECT_NE(avi.find(".mp4, .mkv or .webm"), std::string::npos) << avi;
    EXPECT_TRUE(parse({"--capture", "movie.MKV"}).error.empty());
    EXPECT_TRUE(parse({"--capture", "./frames"}).error.empty());
}

TEST(CommandLine, NumbersAreReadAsPlainDecimals)
{
    const ParsedCommandLine parsed = parse({"--capture", "d", "--fps", "060", "--from", ".5", "--until", "10."});
    ASSERT_TRUE(parsed.error.empty()) << parsed.error;
    EXPECT_EQ(parsed.options.fps, 60);
    EXPECT_EQ(parsed.options.fromSeconds, 0.5);
    EXPECT_EQ(parsed.options.untilSeconds, 10.0);
}

// --until 0 without --from is refused for what it is.
TEST(CommandLine, UntilZeroSaysItLeavesNothingToRender)
{
    const std::string error = parse({"--capture", "d", "--until", "0"}).error;
    EXPECT_NE(error.find("--until 0 leaves nothing"), std::string::npos) << error;
    EXPECT_EQ(error.find("--from"), std::string::npos) << error;
    EXPECT_NE(parse({"--capture", "d", "--from", "0", "--until", "0"}).error.find("earlier than --until"),
              std::string::npos);
}

// FFmpeg's H.264 and VP9 encoders take at most 16384 pixels a side: larger
// videos are refused before anything is rendered.
TEST(CommandLine, VideoLargerThanTheEncodersTakeIsRefused)
{
    const std::string error = parse({"--capture", "v.mp4", "--resolution", "4096x3072", "--scale", "8"}).error;
    EXPECT_NE(error.find("the video would be 32768x24576"), std::string::npos) << error;
    EXPECT_FALSE(parse({"--capture", "v.webm", "--resolution", "4096x3072", "--scale", "5"}).error.empty());
    EXPECT_TRUE(parse({"--capture", "v.mp4", "--resolution", "4096x3072", "--scale", "4"}).error.empty());
    // Frames are written at the picture's size, which has no such limit.
    EXPECT_TRUE(parse({"--capture", "d", "--resolution", "4096x3072"}).error.empty());
}

TEST(CommandLine, FrameListIsSortedWithoutRepeats)
{
    const ParsedCommandLine parsed = parse({"--capture", "d", "--frames", "700,120,700"});
    ASSERT_TRUE(parsed.error.empty()) << parsed.error;
    EXPECT_EQ(parsed.options.frames, (std::vector<std::uint64_t>{120, 700}));
}

TEST(CommandLine, FullScreenAnswersAndHelp)
{
    EXPECT_EQ(parse({"--windowed"}).options.fullScreen, FullScreenChoice::Windowed);
    EXPECT_EQ(parse({"--fullscreen", "--no-vsync"}).options.fullScreen, FullScreenChoice::FullScreen);
    EXPECT_FALSE(parse({"--no-vsync"}).options.vsync);
    EXPECT_EQ(parse({"--windowed", "--help", "--bogus"}).options.mode, CommandLine::Mode::Help);
    EXPECT_EQ(parse({"--version", "--bogus"}).options.mode, CommandLine::Mode::Version);
}

}  // namespace

TEST(CommandLine, ResolutionTakesSizesOfAspectFourByThreeOnly)
{
    const Resolution sharp = parse({"--capture", "d", "--resolution", "1920x1440"}).options.resolution;
    EXPECT_EQ(sharp.width, 1920);
    EXPECT_EQ(sharp.height, 1440);
    EXPECT_FALSE(sharp.native);
    const Resolution plain = parse({}).options.resolution;
    EXPECT_EQ(plain.width, 640);
    EXPECT_EQ(plain.height, 480);
    EXPECT_TRUE(parse({"--resolution", "native"}).options.resolution.native);
    EXPECT_EQ(parse({"--benchmark", "--resolution", "4096x3072"}).options.resolution.height, 3072);
    EXPECT_TRUE(parse({"--resolution", "640x480"}).error.empty());
    for (const char* refused : {"1920x1080", "1280x720", "320x240", "4100x3075", "8192x6144", "1920", "x1440",
                                "1920x", "1920x1440x2", "-640x-480", "1920 x1440", "abc", ""}) {
        const ParsedCommandLine parsed = parse({"--capture", "d", "--resolution", refused});
        EXPECT_FALSE(parsed.error.empty()) << refused;
    }
    EXPECT_NE(parse({"--resolution", "1920x1080"}).error.find("4:3"), std::string::npos);
    // The screen's size is known only on the desktop.
    EXPECT_FALSE(parse({"--capture", "d", "--resolution", "native"}).error.empty());
    EXPECT_FALSE(parse({"--headless", "--resolution", "native"}).error.empty());
}

TEST(CommandLine, FrameLogIsForTheDesktop)
{
    EXPECT_EQ(parse({"--windowed", "--frame-log", "swaps.txt"}).options.frameLog, "swaps.txt");
    EXPECT_FALSE(parse({"--headless", "--frame-log", "swaps.txt"}).error.empty());
    EXPECT_FALSE(parse({"--frame-log"}).error.empty());
    EXPECT_TRUE(parse({"--benchmark"}).options.warmUp);
    EXPECT_FALSE(parse({"--benchmark", "--no-warm-up"}).options.warmUp);
}

// Options that contradict each other, or that one would silently drop, and
// empty names are refused before anything runs, not guessed at.
TEST(CommandLine, ConflictingOrEmptyOptionsAreRefused)
{
    for (auto args : std::vector<std::vector<const char*>>{{"--capture", "d", "--benchmark"},
                                                           {"--benchmark", "--capture", "v.mp4"},
                                                           {"--capture", "d", "--from", "1", "--frames", "10"},
                                                           {"--capture", "a", "--capture", "b"},
                                                           {"--windowed", "--fullscreen"},
                                                           {"--windowed", "--frame-log", ""},
                                                           {"--capture", ""}}) {
        EXPECT_FALSE(parse(args).error.empty()) << args[0] << " " << args[1] << " " << args.back();
    }
    EXPECT_NE(parse({"--capture", "d", "--benchmark"}).error.find("--benchmark"), std::string::npos);
    EXPECT_TRUE(parse({"--capture", "d", "--capture", "d"}).error.empty());
    EXPECT_TRUE(parse({"--windowed", "--windowed"}).error.empty());
}

// A range whose frames all lie past the frame at which --until stops the
// run would render and then fail: refused at once, naming that frame.
TEST(CommandLine, RangesThatUntilCutsShortAreRefused)
{
    const std::string frames = parse({"--capture", "d", "--frames", "10", "--until", "0.1"}).error;
    EXPECT_NE(frames.find("--until stops the run after frame 5 at 60 fps"), std::string::npos) << frames;
    EXPECT_TRUE(parse({"--capture", "d", "--frames", "3,5", "--until", "0.1"}).error.empty());
    // At 1 fps frame 0 shows 0 s and frame 1 shows 1 s: nothing from 0.2 s to 0.5 s.
    EXPECT_FALSE(parse({"--capture", "d", "--fps", "1", "--from", "0.2", "--until", "0.5"}).error.empty());
    EXPECT_FALSE(parse({"--capture", "v.webm", "--fps", "1", "--from", "0.2", "--until", "0.5"}).error.empty());
    EXPECT_TRUE(parse({"--capture", "d", "--fps", "1", "--from", "0.2", "--until", "1.5"}).error.empty());
    EXPECT_TRUE(parse({"--capture", "d", "--fps", "60", "--from", "0.2", "--until", "0.5"}).error.empty());
}

// H.264 in 4:2:0 takes even sizes only; VP9 and PNG frames take any.
TEST(CommandLine, OddVideoSizesAreRefusedWhereTheEncoderNeedsEvenOnes)
{
    const std::string odd = parse({"--capture", "o.mp4", "--resolution", "644x483"}).error;
    EXPECT_NE(odd.find("644x483"), std::string::npos) << odd;
    EXPECT_FALSE(parse({"--capture", "o.mkv", "--resolution", "644x483"}).error.empty());
    EXPECT_TRUE(parse({"--capture", "o.mp4", "--resolution", "644x483", "--scale", "2"}).error.empty());
    EXPECT_TRUE(parse({"--capture", "o.webm", "--resolution", "644x483"}).error.empty());
    EXPECT_TRUE(parse({"--capture", "d", "--resolution", "644x483"}).error.empty());
}

// A folder with a video's name is no place to write a video: refused
// before the whole encode, instead of at the rename after it.
TEST(CommandLine, FolderNamedLikeAVideoIsRefused)
{
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / ("quittenhain-" + std::to_string(getpid()) + "-folder.mp4");
    fs::create_directories(folder);
    const std::string name = folder.string();
    const std::string error = parse({"--capture", name.c_str(), "--until", "1"}).error;
    fs::remove(folder);
    EXPECT_NE(error.find("is a folder"), std::string::npos) << error;
}
