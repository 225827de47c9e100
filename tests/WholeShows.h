#pragma once
// Headless captures of the whole demo, each made the first time a test asks
// for it and shared by every test of the program that compares with it.  At
// 60 fps: the golden frames, the frames other rates must match, the part
// starts the run printed.  At 30 fps: the frames the 60 fps show must match,
// and the references of the double-size run, which draws at 30 fps too.  One
// run instead of one per test saves a whole demo's rendering for each.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "tests/FrameFiles.h"

// "part N begins at frame F" lines of a headless run, by part.
inline std::map<int, long> partStarts(const std::string& output)
{
    std::map<int, long> starts;
    for (std::size_t at = 0; (at = output.find("part ", at)) != std::string::npos; at += 5) {
        int part = 0;
        long frame = 0;
        if (std::sscanf(output.c_str() + at, "part %d begins at frame %ld", &part, &frame) == 2)
            starts[part] = frame;
    }
    return starts;
}

// Music times every other frame rate shares with 60 fps, as 60 fps frame
// indices (multiples of 10: 30 fps frame k/2, 144 fps frame 12k/5), at least
// two in every part, early in a part as well as late, so that every effect
// that steps (particles, the cloth and its random impulses, the metaballs,
// the trails, the torus chain going on from part 10 into 11) has run long
// enough to show a wrong speed.  A part's first 60 fps frame is no such
// time: a slower clock notices the switch a frame later, a faster one may
// begin the part a frame earlier.
inline const std::vector<GoldenFrame>& sharedRateTimes()
{
    static const std::vector<GoldenFrame> times = {
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
    return times;
}

struct SixtyFpsShow {
    std::map<long, Image> frames;   // the golden frames and the shared rate times, by index
    std::string log;                // the run's error stream: "part N begins at frame F ..."
};

inline const SixtyFpsShow& sixtyFpsShow()
{
    static const SixtyFpsShow show = [] {
        std::vector<GoldenFrame> wanted = readFrameList(std::filesystem::path(QUITTENHAIN_GOLDEN_DIR) / "frames.txt");
        wanted.insert(wanted.end(), sharedRateTimes().begin(), sharedRateTimes().end());
        std::sort(wanted.begin(), wanted.end(),
                  [](const GoldenFrame& a, const GoldenFrame& b) { return a.frame < b.frame; });
        wanted.erase(std::unique(wanted.begin(), wanted.end(),
                                 [](const GoldenFrame& a, const GoldenFrame& b) { return a.frame == b.frame; }),
                     wanted.end());
        const std::filesystem::path base =
            std::filesystem::temp_directory_path() / ("quittenhain-" + std::to_string(getpid()) + "-sixty-fps");
        std::filesystem::remove_all(base);
        std::filesystem::create_directories(base);
        captureFrames(base / "frames", wanted, "", 60, base / "run.log");
        SixtyFpsShow captured;
        for (const GoldenFrame& entry : wanted) {
            char file[32];
            std::snprintf(file, sizeof file, "frame%05ld.png", entry.frame);
            captured.frames[entry.frame] = loadPng(base / "frames" / file);
        }
        std::ifstream log(base / "run.log", std::ios::binary);
        std::ostringstream text;
        text << log.rdbuf();
        captured.log = text.str();
        log.close();
        std::filesystem::remove_all(base);
        return captured;
    }();
    return show;
}

// The shared rate times drawn at FPS frames a second with the given options,
// by their 60 fps frame index.
inline std::map<long, Image> sharedTimesAt(int fps, const std::string& options, const std::string& tag)
{
    std::vector<GoldenFrame> atRate = sharedRateTimes();
    for (GoldenFrame& entry : atRate)
        entry.frame = entry.frame * fps / 60;
    const std::vector<Image> captured = capturedFrames(atRate, options, std::to_string(getpid()) + "-" + tag, fps);
    std::map<long, Image> byTime;
    for (std::size_t i = 0; i < captured.size(); ++i)
        byTime[sharedRateTimes()[i].frame] = captured[i];
    return byTime;
}

inline const std::map<long, Image>& thirtyFpsShow()
{
    static const std::map<long, Image> show = sharedTimesAt(30, "", "thirty-fps");
    return show;
}
