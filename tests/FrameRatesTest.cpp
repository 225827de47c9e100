#include <gtest/gtest.h>

#include <iostream>
#include <string>
#include <vector>

#include "tests/FrameCompare.h"
#include "tests/WholeShows.h"

namespace {

// Every rate draws a different number of frames between two shared times
// (sharedRateTimes), and the effects that step must not care: each shared
// frame keeps to the golden frames' limits against the 60 fps frame of that
// time.  30 fps runs
// two steps in every frame; 144 fps runs none in some frames and one in
// others, at a ratio that is no whole number, so a step count rounded the
// wrong way drifts there.  A whole-number faster rate (120 fps) takes no
// path that these two do not.
TEST(FrameRates, ThirtyAndOneHundredFortyFourFpsShowTheSixtyFpsShow)
{
    const std::vector<GoldenFrame>& times = sharedRateTimes();
    for (int fps : {30, 144}) {
        const std::map<long, Image> captured = fps == 30 ? thirtyFpsShow() : sharedTimesAt(fps, "", "rates");
        for (std::size_t i = 0; i < times.size(); ++i) {
            SCOPED_TRACE(times[i].name + " at " + std::to_string(fps) + " fps");
            const Image& frame = captured.at(times[i].frame);
            const Image& reference = sixtyFpsShow().frames.at(times[i].frame);
            ASSERT_EQ(frame.width, 640);
            ASSERT_EQ(reference.width, 640);
            const FrameDifference difference = compareFrames(frame, reference);
            std::cout << times[i].name << " at " << fps << " fps: " << difference << '\n';
            EXPECT_TRUE(frameWithinLimits(difference)) << difference;
            const std::string tilesOver = tilesOverLimits(frame, reference, times[i].name, {});
            EXPECT_TRUE(tilesOver.empty()) << "tiles over their limits:" << tilesOver.substr(0, 400);
        }
    }
}

}  // namespace
