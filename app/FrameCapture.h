#pragma once
#include <cstdint>
#include <string>
#include <vector>

class HeadlessPlatform;

// Which frames of a headless run are written and when the run stops, in
// frames of the virtual clock: frame f shows music time f / fps.
struct CaptureRange {
    int fps = 60;
    double fromSeconds = 0.0;
    double untilSeconds = -1.0;   // negative: no limit
    std::vector<std::uint64_t> frames;   // when not empty: only these, ascending; the run ends after the last

    // Frame f is written when its time is at or past fromSeconds.
    bool writes(std::uint64_t frame) const;
    // True after the frame at which untilSeconds of music have played.
    bool endsAfter(std::uint64_t frame) const;
};

struct HeadlessRunOptions {
    CaptureRange range;
    std::string captureDir;   // empty: render without writing frames
};

// Hooks a headless run to the platform: writes the frames asked for,
// reports progress and part starts on stderr, and ends the run with status 0
// once the range is done.  Returns false (with a message) when the
// directory cannot be used.
bool startHeadlessRun(HeadlessPlatform& headless, const HeadlessRunOptions& options);

// Reports a part start of the run: "part N begins at frame F (music S s)".
void reportPartStart(const HeadlessPlatform& headless, int part);

// Frame file name inside the capture directory: frame00000.png, ...
std::string captureFileName(std::uint64_t frame);
