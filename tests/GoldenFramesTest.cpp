#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/FrameCompare.h"
#include "tests/WholeShows.h"

namespace {

TEST(GoldenFrames, CapturedFramesMatchTheReferences)
{
    const std::filesystem::path golden = QUITTENHAIN_GOLDEN_DIR;
    const std::vector<GoldenFrame> frames = readFrameList(golden / "frames.txt");
    ASSERT_FALSE(frames.empty()) << "no frames listed in " << golden / "frames.txt";
    std::vector<WiderTile> widerTiles;
    ASSERT_TRUE(readWiderTiles(QUITTENHAIN_WIDER_TILES, widerTiles)) << "cannot read " << QUITTENHAIN_WIDER_TILES;
    FrameDifference worst;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        SCOPED_TRACE(frames[i].name);
        const Image& actual = sixtyFpsShow().frames.at(frames[i].frame);
        const Image expected = loadPng(golden / (frames[i].name + ".png"));
        ASSERT_EQ(actual.width, 640);
        ASSERT_EQ(actual.height, 480);
        ASSERT_EQ(expected.width, 640) << "missing reference " << frames[i].name << ".png";
        ASSERT_EQ(expected.height, 480);
        const FrameDifference difference = compareFrames(actual, expected);
        // Every frame that is not identical says how far off it is, to see how
        // close to the limits a run on another machine comes.
        if (difference.worstTileMean > 0)
            std::cout << frames[i].name << ": " << difference << '\n';
        EXPECT_LE(difference.meanAbsolute, kFrameMean) << difference;
        EXPECT_LE(difference.shareOver24, kFrameShare) << difference;
        const std::string tilesOver = tilesOverLimits(actual, expected, frames[i].name, widerTiles);
        EXPECT_TRUE(tilesOver.empty()) << "tiles over their limits:" << tilesOver;
        worst.meanAbsolute = std::max(worst.meanAbsolute, difference.meanAbsolute);
        worst.shareOver24 = std::max(worst.shareOver24, difference.shareOver24);
        worst.worstTileMean = std::max(worst.worstTileMean, difference.worstTileMean);
        worst.worstTileShare = std::max(worst.worstTileShare, difference.worstTileShare);
    }
    std::cout << "largest of " << frames.size() << " frames: frame mean " << worst.meanAbsolute << ", frame share "
              << worst.shareOver24 << ", tile mean " << worst.worstTileMean << ", tile share " << worst.worstTileShare
              << '\n';
}

}  // namespace
