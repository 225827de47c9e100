#pragma once
// How far a captured frame is from its reference: over the whole frame and
// in the worst square tile.  Rounding differences between Mesa versions move
// a few values here and there by a step or two, spread thinly; a wrong blend
// or a missing layer changes large areas, and a wrong colour or a mirrored
// normal on a small object changes one corner of the picture a lot.  The
// whole-frame figures see the first kind, the tile figures the second.
#include <algorithm>
#include <cstdlib>
#include <ostream>
#include <vector>

#include "tests/PngImage.h"

struct FrameDifference {
    double meanAbsolute = 0;   // per value, over the frame
    double shareOver24 = 0;    // of the frame's values off by more than 24
    double worstTileMean = 0;  // the largest per-value mean of any tile
    double worstTileShare = 0; // the largest share off by more than 24 in any tile
    int worstMeanTileX = 0;    // where the largest tile mean is, in pixels
    int worstMeanTileY = 0;
};

inline std::ostream& operator<<(std::ostream& out, const FrameDifference& d)
{
    return out << "frame mean " << d.meanAbsolute << ", frame share " << d.shareOver24 << ", worst tile mean "
               << d.worstTileMean << " at (" << d.worstMeanTileX << ", " << d.worstMeanTileY
               << "), worst tile share " << d.worstTileShare;
}

// One square tile's difference: where it is, in pixels, its per-value
// mean, the share of its values off by more than 24, and how many values
// it has.
struct TileDifference {
    int x = 0;
    int y = 0;
    double mean = 0;
    double share = 0;
    std::size_t values = 0;
};

// Frames of equal size compared tile by tile, `tile` x `tile` pixels each
// (smaller at the right and bottom edges when the size is not a multiple).
inline std::vector<TileDifference> compareTiles(const Image& actual, const Image& expected, int tile = 32)
{
    std::vector<TileDifference> tiles;
    for (int top = 0; top < actual.height; top += tile) {
        for (int left = 0; left < actual.width; left += tile) {
            double sum = 0;
            std::size_t over = 0;
            std::size_t values = 0;
            for (int y = top; y < std::min(top + tile, actual.height); ++y) {
                const std::size_t row = static_cast<std::size_t>(y) * actual.width;
                for (std::size_t i = (row + left) * 3; i < (row + std::min(left + tile, actual.width)) * 3; ++i) {
                    const int delta = std::abs(int(actual.rgb[i]) - int(expected.rgb[i]));
                    sum += delta;
                    over += delta > 24;
                    ++values;
                }
            }
            tiles.push_back({left, top, sum / static_cast<double>(values),
                             static_cast<double>(over) / static_cast<double>(values), values});
        }
    }
    return tiles;
}

// The whole frame's figures and its worst tiles'.
inline FrameDifference compareFrames(const Image& actual, const Image& expected, int tile = 32)
{
    FrameDifference result;
    double frameSum = 0;
    double frameOver = 0;
    for (const TileDifference& t : compareTiles(actual, expected, tile)) {
        frameSum += t.mean * static_cast<double>(t.values);
        frameOver += t.share * static_cast<double>(t.values);
        if (t.mean > result.worstTileMean) {
            result.worstTileMean = t.mean;
            result.worstMeanTileX = t.x;
            result.worstMeanTileY = t.y;
        }
        result.worstTileShare = std::max(result.worstTileShare, t.share);
    }
    const auto all = static_cast<double>(actual.rgb.size());
    result.meanAbsolute = frameSum / all;
    result.shareOver24 = frameOver / all;
    return result;
}
