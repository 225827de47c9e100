#include <gtest/gtest.h>

#include "app/FrameLog.h"

namespace {

TEST(FrameLog, SummaryNamesEachPartsFirstAndWorstInterval)
{
    // The first swap has no interval; part 2's first frame stalls.
    const std::vector<FrameLog::Swap> swaps = {{1, 0.0, 0.0},  {1, 16.7, 0.0}, {1, 16.6, 0.0}, {1, 16.7, 0.0},
                                               {2, 48.0, 0.0}, {2, 16.7, 0.0}, {2, 90.0, 0.0}, {2, 16.6, 0.0}};
    const std::string summary = summariseFrameLog(swaps);
    EXPECT_NE(summary.find("8 swaps, median 16.70 ms"), std::string::npos) << summary;
    EXPECT_NE(summary.find("worst 90.00 ms\n"), std::string::npos) << summary;
    EXPECT_NE(summary.find("part  1:     3 frames, first 16.70 ms, median 16.70 ms, worst 16.70 ms"),
              std::string::npos) << summary;
    EXPECT_NE(summary.find("part  2:     4 frames, first 48.00 ms, median 48.00 ms, worst 90.00 ms"),
              std::string::npos) << summary;
}

}  // namespace
