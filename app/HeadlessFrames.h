#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/FrameSink.h"

class HeadlessPlatform;
struct SyncTracks;

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
    // The first frame that is written.
    std::uint64_t firstWritten() const;
    // The frame after which untilSeconds stops the run; none without a limit.
    std::optional<std::uint64_t> lastRendered() const;
};

// The last frame the demo renders at `fps` on the virtual clock: the one on
// which the music reaches the first track's last time, the switch that ends
// the demo.  None when that track holds no time.
std::optional<std::uint64_t> lastDemoFrame(const SyncTracks& tracks, int fps);

// Why the range asks for frames after the demo's end (a --frames entry or a
// --from time), naming the last frame and its time; empty when it does not.
std::string rangePastTheEnd(const CaptureRange& range, const SyncTracks& tracks);

struct HeadlessRunOptions {
    CaptureRange range;
    std::unique_ptr<FrameSink> sink;   // null: render without writing frames
    std::function<void(std::uint64_t frame)> everyFrame;   // after each frame is drawn
    std::function<void()> atEnd;   // when the run ends, before the output is completed
    bool quiet = false;            // no progress on stderr
};

// Hooks a headless run to the platform: hands the frames asked for to the
// sink, shows progress and part starts on stderr, and ends the process with
// status 0 once the range is done.  Ctrl-C or a failing sink end it with a
// message and no output under the final name.  False (with a message) when
// the sink cannot be opened.
bool startHeadlessRun(HeadlessPlatform& headless, HeadlessRunOptions options);

// Reports a part start of the run: "part N begins at frame F (music S s)".
void reportPartStart(const HeadlessPlatform& headless, int part);

// Completes the output when the demo itself ends; exits on failure.
void finishHeadlessRun();
