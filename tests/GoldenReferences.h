#pragma once
// The golden reference frames: which frames they are, and how close a
// captured frame must come to its reference.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/FrameCompare.h"

struct GoldenFrame {
    std::string name;
    long frame;
    bool flat = false;   // no edges finer than its textures
};

inline std::vector<GoldenFrame> readFrameList(const std::filesystem::path& list)
{
    std::vector<GoldenFrame> frames;
    std::ifstream file(list);
    std::string line;
    while (std::getline(file, line)) {
        std::istringstream fields(line);
        GoldenFrame entry;
        std::string mark;
        if (!line.empty() && line[0] != '#' && fields >> entry.name >> entry.frame) {
            entry.flat = fields >> mark && mark == "flat";
            frames.push_back(entry);
        }
    }
    return frames;
}

// Limits over the whole frame and over every 32 x 32 tile.  Frames rendered
// with the Mesa the references came from match them exactly; the limits
// leave room for another Mesa's rounding (a step or two on a few values).
// A small object in a wrong colour stays far below the frame limits but not
// the tile ones: the metaballs' wireframe at blue 0.8 instead of 0.6 gives a
// tile mean of 2.1 to 2.5 and a tile share of 4 to 5 %; a cloth whose normals
// have their x mirrored gives 22 to 31 and 20 to 30 %.
constexpr double kFrameMean = 1.5;
constexpr double kFrameShare = 0.002;
constexpr double kTileMean = 1.0;
constexpr double kTileShare = 0.02;

// A tile whose limits a build widens: where lines, points or edges are
// rasterised a little differently than by the driver the references came
// from.  The build names the list (none for the desktop build); each line
// holds a frame's name, the tile's left and top pixel, its mean and share
// limits, then why.
struct WiderTile {
    std::string frame;
    int x = 0;
    int y = 0;
    double mean = 0;
    double share = 0;
};

// The list's tiles; false when the list is named but cannot be read.
inline bool readWiderTiles(const std::string& list, std::vector<WiderTile>& tiles)
{
    if (list.empty())
        return true;
    std::ifstream file(list);
    if (!file.good())
        return false;
    std::string line;
    while (std::getline(file, line)) {
        std::istringstream fields(line);
        WiderTile tile;
        if (!line.empty() && line[0] != '#' && fields >> tile.frame >> tile.x >> tile.y >> tile.mean >> tile.share)
            tiles.push_back(tile);
    }
    return true;
}

inline const WiderTile* widerTile(const std::vector<WiderTile>& tiles, const std::string& frame, int x, int y)
{
    for (const WiderTile& tile : tiles)
        if (tile.frame == frame && tile.x == x && tile.y == y)
            return &tile;
    return nullptr;
}

// Every tile of `frame` over its limits, as " (x, y) mean M share S;" each;
// empty when all keep to them.
inline std::string tilesOverLimits(const Image& actual, const Image& expected, const std::string& frame,
                                   const std::vector<WiderTile>& widerTiles)
{
    std::string over;
    for (const TileDifference& tile : compareTiles(actual, expected)) {
        const WiderTile* wider = widerTile(widerTiles, frame, tile.x, tile.y);
        if (tile.mean > (wider != nullptr ? wider->mean : kTileMean) ||
            tile.share > (wider != nullptr ? wider->share : kTileShare))
            over += " (" + std::to_string(tile.x) + ", " + std::to_string(tile.y) + ") mean " +
                    std::to_string(tile.mean) + " share " + std::to_string(tile.share) + ";";
    }
    return over;
}

inline bool frameWithinLimits(const FrameDifference& difference)
{
    return difference.meanAbsolute <= kFrameMean && difference.shareOver24 <= kFrameShare;
}
