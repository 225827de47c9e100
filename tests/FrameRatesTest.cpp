#include <gtest/gtest.h>

#include <iostream>
#include <string>
#include <unistd.h>
#include <vector>

#include "tests/FrameCompare.h"
#include "tests/FrameFiles.h"

namespace {

// Music times every rate below shares with 60 fps, as 60 fps frame indices
// (multiples of 10: 30 fps frame k/2, 144 fps frame 12k/5), at least two in every part, early in a part as well as late, so
// that every effect that steps (particles, the cloth and its random
// impulses, the metaballs, the trails, the torus chain going on from part
// 10 into 11) has run long enough to show a wrong speed.  A part's first 60
// fps frame is no such time: a slower clock notices the switch a frame
// later, a faster one may begin the part a frame earlier.
const std::vector<GoldenFrame> kSharedTimes = {
    {"part1-waves", 300},          {"part1-plasma", 700},
    {"part2-temple", 1110},        {"part2-late", 2000},
    {"part3-early", 2400},         {"part3-knot", 3000},         {"part3-late", 3800},
    {"part4-particles-early", 3900}, {"part4-particles", 4440},  {"part4-particles-late", 5350},
    {"part5-trails-early", 5400},  {"part5-trails", 5680},       {"part5-trails-middle", 6140},
    {"part5-trails-late", 6900},
    {"part6-glow", 7110},          {"part6-middle", 7650},
    {"part7-cloth-early", 8420},   {"part7-cloth", 9300},        {"part7-cloth-late", 9820},
    {"part8-metaballs-early", 9850}, {"part8-metaballs", 10440}, {"part8-metaballs-late", 11260},
    {"part9-early", 11300},        {"part9-town", 12000},        {"part9-late", 12700},
    {"part10-trails-early", 12750}, {"part10-trails", 13320},   {"part10-trails-late", 14140},
    {"part11-trails-early", 14170}, {"part11-trails", 14760},   {"part11-trails-late", 15120},
};

std::vector<GoldenFrame> atRate(const std::vector<GoldenFrame>& frames, int fps)
{
    std::vector<GoldenFrame> scaled = frames;
    for (GoldenFrame& entry : scaled)
        entry.frame = entry.frame * fps / 60;
    return scaled;
}

// Every rate draws a different number of frames between two shared times,
// and the effects that step must not care: each shared frame keeps to the
// golden frames' limits against the 60 fps frame of that time.  30 fps runs
// two steps in every frame; 144 fps runs none in some frames and one in
// others, at a ratio that is no whole number, so a step count rounded the
// wrong way drifts there.  A whole-number faster rate (120 fps) takes no
// path that these two do not.
TEST(FrameRates, ThirtyAndOneHundredFortyFourFpsShowTheSixtyFpsShow)
{
    const std::string tag = std::to_string(getpid()) + "-rates";
    const std::vector<Image> reference = capturedFrames(kSharedTimes, "", tag + "60", 60);
    for (int fps : {30, 144}) {
        const std::vector<Image> captured = capturedFrames(atRate(kSharedTimes, fps), "", tag, fps);
        for (std::size_t i = 0; i < kSharedTimes.size(); ++i) {
            SCOPED_TRACE(kSharedTimes[i].name + " at " + std::to_string(fps) + " fps");
            ASSERT_EQ(captured[i].width, 640);
            ASSERT_EQ(reference[i].width, 640);
            const FrameDifference difference = compareFrames(captured[i], reference[i]);
            std::cout << kSharedTimes[i].name << " at " << fps << " fps: " << difference << '\n';
            EXPECT_TRUE(frameWithinLimits(difference)) << difference;
            const std::string tilesOver = tilesOverLimits(captured[i], reference[i], kSharedTimes[i].name, {});
            EXPECT_TRUE(tilesOver.empty()) << "tiles over their limits:" << tilesOver.substr(0, 400);
        }
    }
}

}  // namespace
