#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "app/FrameLog.h"
#include "tests/RunDemo.h"

namespace {

TEST(FrameLog, SummaryNamesEachPartsFirstAndWorstInterval)
{
    // The first swap has no interval; part 2's first frame stalls.
    const std::vector<FrameLog::Swap> swaps = {{1, 0.0},  {1, 16.7}, {1, 16.6}, {1, 16.7},
                                               {2, 48.0}, {2, 16.7}, {2, 90.0}, {2, 16.6}};
    const std::string summary = summariseFrameLog(swaps);
    EXPECT_NE(summary.find("8 swaps, median 16.70 ms"), std::string::npos) << summary;
    EXPECT_NE(summary.find("worst 90.00 ms\n"), std::string::npos) << summary;
    EXPECT_NE(summary.find("part  1:     3 frames, first 16.70 ms, median 16.70 ms, worst 16.70 ms"),
              std::string::npos) << summary;
    EXPECT_NE(summary.find("part  2:     4 frames, first 48.00 ms, median 48.00 ms, worst 90.00 ms"),
              std::string::npos) << summary;
}

TEST(FrameLog, WrittenFileHoldsThePictureSizeAndEverySwap)
{
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("quittenhain-" + std::to_string(getpid()) + "-frames.log");
    FrameLog log(path.string());
    std::string error;
    ASSERT_TRUE(log.open(error)) << error;
    for (int part : {1, 1, 2})
        log.recordSwap(part);
    ASSERT_TRUE(log.write(800, 600, error)) << error;
    std::ifstream file(path);
    std::string line;
    std::getline(file, line);
    EXPECT_EQ(line, "# picture 800x600");
    std::vector<std::string> lines;
    while (std::getline(file, line))
        lines.push_back(line);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[3].rfind("2 2 ", 0), 0u) << lines[3];
    std::filesystem::remove(path);
}

// /dev/full takes the opening and every buffered line, and fails only when
// the lines reach it at the close.
TEST(FrameLog, LogThatCannotBeWrittenWholeFailsAndSaysWhy)
{
    FrameLog full("/dev/full");
    std::string error;
    ASSERT_TRUE(full.open(error)) << error;
    for (int i = 0; i < 100; ++i)
        full.recordSwap(1);
    EXPECT_FALSE(full.write(640, 480, error));
    EXPECT_NE(error.find("/dev/full was not written whole: No space left on device"), std::string::npos) << error;

    FrameLog nowhere("/nonexistent-folder/frames.log");
    EXPECT_FALSE(nowhere.open(error));
    EXPECT_NE(error.find("No such file or directory"), std::string::npos) << error;
}

// Refused before any window: the run does not play to its end first.
TEST(FrameLog, DemoRefusesALogPathItCannotWriteAtOnceWithStatusThree)
{
    const RunResult run = runDemo("--windowed --frame-log /nonexistent-folder/frames.log");
    EXPECT_EQ(run.status, 3) << run.output;
    EXPECT_NE(run.output.find("cannot write the frame log /nonexistent-folder/frames.log"), std::string::npos)
        << run.output;
}

}  // namespace
