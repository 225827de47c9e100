#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

#include "tests/FrameFiles.h"

namespace {

// Rounding differences between Mesa versions move a few values by a step or
// two; a wrong blend, a flipped texture or a missing layer changes large
// areas by much more.
struct Difference {
    double meanAbsolute = 0;
    double shareOver24 = 0;
};

Difference compare(const Image& actual, const Image& expected)
{
    Difference difference;
    std::size_t over = 0;
    double sum = 0;
    for (std::size_t i = 0; i < actual.rgb.size(); ++i) {
        const int delta = std::abs(int(actual.rgb[i]) - int(expected.rgb[i]));
        sum += delta;
        over += delta > 24;
    }
    difference.meanAbsolute = sum / static_cast<double>(actual.rgb.size());
    difference.shareOver24 = static_cast<double>(over) / static_cast<double>(actual.rgb.size());
    return difference;
}

TEST(GoldenFrames, CapturedFramesMatchTheReferences)
{
    const std::filesystem::path golden = QUITTENHAIN_GOLDEN_DIR;
    const std::vector<GoldenFrame> frames = readFrameList(golden / "frames.txt");
    ASSERT_FALSE(frames.empty()) << "no frames listed in " << golden / "frames.txt";
    const std::filesystem::path work = std::filesystem::temp_directory_path() / ("quittenhain-" + std::to_string(getpid()) + "-golden");
    std::filesystem::remove_all(work);
    captureFrames(work, frames, "");
    for (const GoldenFrame& entry : frames) {
        SCOPED_TRACE(entry.name);
        char file[32];
        std::snprintf(file, sizeof file, "frame%05ld.png", entry.frame);
        const Image actual = loadPng(work / file);
        const Image expected = loadPng(golden / (entry.name + ".png"));
        ASSERT_EQ(actual.width, 640);
        ASSERT_EQ(actual.height, 480);
        ASSERT_EQ(expected.width, 640) << "missing reference " << entry.name << ".png";
        ASSERT_EQ(expected.height, 480);
        const Difference difference = compare(actual, expected);
        EXPECT_LE(difference.meanAbsolute, 1.5);
        EXPECT_LE(difference.shareOver24, 0.002);
    }
    std::filesystem::remove_all(work);
}

}  // namespace
