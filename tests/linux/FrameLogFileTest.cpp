// The frame log's file: written whole or failing with the reason, and a
// path that cannot be written refused before the demo starts.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "app/FrameLog.h"
#include "tests/RunDemo.h"

namespace {

TEST(FrameLog, WrittenFileHoldsThePictureSizeAndEverySwap)
{
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("quittenhain-" + std::to_string(getpid()) + "-frames.log");
    FrameLog log(path.string());
    std::string error;
    ASSERT_TRUE(log.open(error)) << error;
    for (int part : {1, 1, 2})
        log.recordSwap(part, 250.0 * part);
    ASSERT_TRUE(log.write(800, 600, error)) << error;
    std::ifstream file(path);
    std::string line;
    std::getline(file, line);
    EXPECT_EQ(line, "# picture 800x600");
    std::vector<std::string> lines;
    while (std::getline(file, line))
        lines.push_back(line);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "# frame part interval_ms music_ms");
    EXPECT_EQ(lines[3].rfind("2 2 ", 0), 0u) << lines[3];
    EXPECT_EQ(lines[3].substr(lines[3].rfind(' ')), " 500.0") << lines[3];
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
        full.recordSwap(1, 0.0);
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
