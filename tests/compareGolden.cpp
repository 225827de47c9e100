// Compares frames captured elsewhere (the web build's, in a browser) with
// the golden references, within the same limits as the golden-frame test.
//   compare_golden FOLDER [WIDER_TILES]
// FOLDER holds frameNNNNN.png files named by frame index; every listed
// golden frame found there is compared, the others are left out.  Prints one
// line per frame and exits 0 only when at least one frame was compared and
// all keep to the limits.
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "tests/GoldenReferences.h"

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3) {
        std::cerr << "usage: compare_golden FOLDER [WIDER_TILES]\n";
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    const std::filesystem::path golden = QUITTENHAIN_GOLDEN_DIR;
    std::vector<WiderTile> widerTiles;
    if (!readWiderTiles(argc == 3 ? argv[2] : "", widerTiles)) {
        std::cerr << "cannot read " << argv[2] << '\n';
        return 2;
    }
    int compared = 0;
    int failed = 0;
    for (const GoldenFrame& entry : readFrameList(golden / "frames.txt")) {
        char name[32];
        std::snprintf(name, sizeof name, "frame%05ld.png", entry.frame);
        if (!std::filesystem::exists(folder / name))
            continue;
        const Image actual = loadPng(folder / name);
        const Image expected = loadPng(golden / (entry.name + ".png"));
        ++compared;
        if (actual.width != expected.width || actual.height != expected.height || expected.width == 0) {
            std::cout << entry.name << " (" << name << "): size " << actual.width << "x" << actual.height
                      << ", reference " << expected.width << "x" << expected.height << " FAILED\n";
            ++failed;
            continue;
        }
        const FrameDifference difference = compareFrames(actual, expected);
        const std::string tilesOver = tilesOverLimits(actual, expected, entry.name, widerTiles);
        const bool within = frameWithinLimits(difference) && tilesOver.empty();
        std::cout << entry.name << " (" << name << "): " << difference << (within ? " ok" : " FAILED") << '\n';
        // A frame far off has hundreds of tiles over: the first few say enough.
        if (!tilesOver.empty())
            std::cout << "  tiles over their limits:" << tilesOver.substr(0, 400)
                      << (tilesOver.size() > 400 ? " ..." : "") << '\n';
        failed += within ? 0 : 1;
    }
    std::cout << "compared " << compared << " frames, " << failed << " over the limits\n";
    return compared > 0 && failed == 0 ? 0 : 1;
}
