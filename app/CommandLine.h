#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "app/Resolution.h"
#include "app/Shell.h"

// What the command line asks for.  No arguments: the demo as it always was,
// the full-screen question included.
struct CommandLine {
    enum class Mode { Demo, Headless, CaptureFrames, CaptureVideo, Benchmark, Help, Version };
    Mode mode = Mode::Demo;
    FullScreenChoice fullScreen = FullScreenChoice::Ask;
    bool vsync = true;
    int fps = 60;
    std::string captureTarget;   // a folder for frames, or a .mp4/.mkv/.webm file
    int scale = 1;               // integer upscale of a captured video
    bool json = false;           // --benchmark: report as JSON
    bool selfCheck = false;      // --headless: check OpenGL errors, display lists and memory
    double fromSeconds = 0.0;
    double untilSeconds = -1.0;   // negative: to the end of the demo
    std::vector<std::uint64_t> frames;   // --frames: only these frame indices, ascending
    std::string frameLog;         // --frame-log: where the desktop logs every swap's time
    bool warmUp = true;           // --no-warm-up: skip drawing every part once while loading
    Resolution resolution;        // --resolution: the rendered picture's size
};

struct ParsedCommandLine {
    CommandLine options;
    std::string error;   // empty when the arguments were understood
};

ParsedCommandLine parseCommandLine(int argc, const char* const* argv);
const char* usageText();
// "Quittenhain" and the version the build was configured with.
const char* versionText();
