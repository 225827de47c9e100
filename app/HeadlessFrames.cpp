#include "app/HeadlessFrames.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>

#include "app/FrameReadback.h"
#include "app/Shell.h"
#include "app/StartupTimes.h"
#include "assets/MusicPlayer.h"
#include "platform/HeadlessPlatform.h"
#include "platform/Interruptions.h"

namespace {

using Clock = std::chrono::steady_clock;

struct RunState {
    CaptureRange range;
    std::unique_ptr<FrameSink> sink;
    std::unique_ptr<FrameReadback> readback;   // frames on their way to the sink
    std::string sinkError;
    bool interrupted = false;
    const HeadlessPlatform* headless = nullptr;
    Clock::time_point started;
    std::uint64_t written = 0;
    std::function<void(std::uint64_t)> everyFrame;
    std::function<void()> atEnd;
    bool quiet = false;
};
RunState run;
[[noreturn]] void giveUp(const std::string& why, int status)
{
    std::fprintf(stderr, "\nquittenhain: %s\n", why.c_str());
    if (run.sink)
        run.sink->abandon();
    std::_Exit(status);
}

// Hands a frame read back to the sink; a refusal is kept in run.sinkError.
bool deliverFrame(const FramePixels& pixels)
{
    if (!run.sink->write(pixels, run.sinkError))
        return false;
    ++run.written;
    return true;
}

// Why the frames stopped on their way to the sink.
std::string readbackFailure()
{
    return run.sinkError.empty() ? run.readback->failure() : run.sinkError;
}

// The message and exit status of an interruption: 130 for Ctrl-C, 143 for a
// termination request, 129 for the terminal closing, as a shell reports them.
[[noreturn]] void giveUpOnSignal()
{
    const std::string left = run.sink ? run.sink->leftBehind() : "nothing written";
    switch (pendingInterruption()) {
    case Interruption::CtrlC:
        giveUp("interrupted (Ctrl-C); " + left, 130);
    case Interruption::HangUp:
        giveUp("stopped: the terminal was closed; " + left, 129);
    case Interruption::None:
    case Interruption::Termination:
        break;
    }
    giveUp("stopped by a termination request; " + left, 143);
}

// The frames already drawn and read are written first, so that a folder of
// frames ends with the last frame drawn, as if each had been written at once.
[[noreturn]] void giveUpInterrupted()
{
    if (!run.interrupted && run.readback) {
        run.interrupted = true;   // a sink failing meanwhile comes back here: no second flush
        run.readback->flush(deliverFrame);
    }
    giveUpOnSignal();
}

// Until the first frame is done, the run is loading (scenes, textures,
// drawing every part once): seconds at large sizes, in steps that look at
// no interruption.  Meanwhile this thread does and ends the run at once,
// leaving nothing: no frame has been read, and the sink takes no call from
// the loading thread.
class StartUpWatch {
public:
    void start()
    {
        thread_ = std::thread([this] {
            while (!done_) {
                if (pendingInterruption() != Interruption::None)
                    giveUpOnSignal();
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        });
    }
    void stop()
    {
        done_ = true;
        if (thread_.joinable())
            thread_.join();
    }
    ~StartUpWatch() { stop(); }   // an exit during loading ends it too

private:
    std::thread thread_;
    std::atomic<bool> done_{false};
};
StartUpWatch startUpWatch;

// A sink that failed because the run was being interrupted reports the interruption.
[[noreturn]] void giveUpOnSink(const std::string& error)
{
    if (pendingInterruption() != Interruption::None)
        giveUpInterrupted();
    giveUp(error, 3);
}

// Frames the whole run will take: to the last frame asked for, to --until,
// or to the demo's own end.
std::uint64_t expectedFrames()
{
    if (!run.range.frames.empty())
        return run.range.frames.back() + 1;
    if (run.range.untilSeconds >= 0)
        return static_cast<std::uint64_t>(run.range.untilSeconds * run.range.fps + 0.5);
    if (theMusicPlayer == nullptr)
        return 0;
    const std::optional<std::uint64_t> last = lastDemoFrame(theMusicPlayer->tracks(), run.range.fps);
    return last ? *last + 1 : 0;
}

void reportProgress(std::uint64_t frame, bool last)
{
    const double seconds = std::chrono::duration<double>(Clock::now() - run.started).count();
    const double rate = seconds > 0 ? static_cast<double>(frame + 1) / seconds : 0.0;
    const std::uint64_t total = std::max<std::uint64_t>(expectedFrames(), frame + 1);
    const double done = static_cast<double>(frame + 1) / static_cast<double>(total);
    char bar[21];
    const int filled = static_cast<int>(done * 20);
    for (int i = 0; i < 20; ++i)
        bar[i] = i < filled ? '#' : '.';
    bar[20] = '\0';
    const double left = rate > 0 ? static_cast<double>(total - frame - 1) / rate : 0.0;
    std::fprintf(stderr, "\rpart %2d [%s] frame %6llu/%llu  %6.1f frames/s  %llu written  %2d:%02d left ", partNumber,
                 bar, static_cast<unsigned long long>(frame), static_cast<unsigned long long>(total), rate,
                 static_cast<unsigned long long>(run.written), static_cast<int>(left) / 60,
                 static_cast<int>(left) % 60);
    if (last)
        std::fputc('\n', stderr);
}

void finishFrame(std::uint64_t frame)
{
    startUpWatch.stop();
    if (run.everyFrame)
        run.everyFrame(frame);
    if (pendingInterruption() != Interruption::None)
        giveUpInterrupted();
    if (run.sink && run.range.writes(frame) && !run.readback->read(frame, deliverFrame))
        giveUpOnSink(readbackFailure());
    const bool last = run.range.endsAfter(frame);
    // The frames still on their way are written before the last progress line.
    if (last && run.readback && !run.readback->flush(deliverFrame))
        giveUpOnSink(readbackFailure());
    if (!run.quiet && (last || frame % 30 == 0))
        reportProgress(frame, last);
    if (last) {
        finishHeadlessRun();
        std::exit(0);   // the run went as far as it was asked to
    }
}

}  // namespace

bool CaptureRange::writes(std::uint64_t frame) const
{
    if (!frames.empty())
        return std::binary_search(frames.begin(), frames.end(), frame);
    // Compare in frames: time f / fps >= from  <=>  f >= from * fps, with room
    // for a time given in decimals (94.516667 s is frame 5671 at 60 fps).
    return static_cast<double>(frame) >= fromSeconds * fps - 1e-4;
}

bool CaptureRange::endsAfter(std::uint64_t frame) const
{
    if (!frames.empty() && frame >= frames.back())
        return true;
    if (untilSeconds < 0)
        return false;
    return static_cast<double>(frame + 1) >= untilSeconds * fps - 1e-4;
}

std::uint64_t CaptureRange::firstWritten() const
{
    if (!frames.empty())
        return frames.front();
    return static_cast<std::uint64_t>(std::ceil(std::max(0.0, fromSeconds * fps - 1e-4)));
}

std::optional<std::uint64_t> CaptureRange::lastRendered() const
{
    if (untilSeconds < 0)
        return std::nullopt;
    // The first frame f for which endsAfter(f) holds.
    const double limit = untilSeconds * fps - 1e-4;
    return limit <= 1.0 ? 0 : static_cast<std::uint64_t>(std::ceil(limit)) - 1;
}

std::optional<std::uint64_t> lastDemoFrame(const SyncTracks& tracks, int fps)
{
    if (tracks.trackCount == 0 || tracks.counts[0] == 0 || fps <= 0)
        return std::nullopt;
    // The virtual play position at frame f is (f * 44100 / fps) sample
    // frames of four bytes, each division truncating; the demo ends on the
    // first frame whose position reaches the last part switch.
    const std::uint64_t end = tracks.times[tracks.counts[0] - 1];
    const std::uint64_t samples = (end + 3) / 4;
    return (samples * static_cast<std::uint64_t>(fps) + 44099) / 44100;
}

std::string rangePastTheEnd(const CaptureRange& range, const SyncTracks& tracks)
{
    const std::optional<std::uint64_t> last = lastDemoFrame(tracks, range.fps);
    if (!last)
        return {};
    const bool framesFit = range.frames.empty() || range.frames.back() <= *last;
    if (framesFit && range.firstWritten() <= *last)
        return {};
    char end[160];
    std::snprintf(end, sizeof end, "the demo's last frame at %d fps is %llu (music %.3f s)", range.fps,
                  static_cast<unsigned long long>(*last), static_cast<double>(*last) / range.fps);
    if (!range.frames.empty())
        return "frame " + std::to_string(range.frames.back()) + " is past the demo's end: " + end;
    return "--from is past the demo's end: " + std::string(end);
}

bool startHeadlessRun(HeadlessPlatform& headless, HeadlessRunOptions options)
{
    run.range = std::move(options.range);
    run.sink = std::move(options.sink);
    if (run.sink) {
        // The context does not exist yet: the readback asks for its entry
        // points at the first frame.
        run.readback = std::make_unique<FrameReadback>(
            headless.picture(), [&headless](const char* name) { return headless.glFunction(name); });
    }
    run.headless = &headless;
    run.everyFrame = std::move(options.everyFrame);
    run.atEnd = std::move(options.atEnd);
    run.quiet = options.quiet;
    run.started = Clock::now();
    // Interruptions are caught before the sink writes anything, so that what
    // it writes while opening is cleaned up too.
    catchInterruptions();
    std::string error;
    if (run.sink && !run.sink->open(error)) {
        if (pendingInterruption() != Interruption::None)
            giveUpOnSignal();
        std::fprintf(stderr, "quittenhain: %s\n", error.c_str());
        return false;
    }
    headless.onFrame(finishFrame);
    if (interruptionsCanCome())
        startUpWatch.start();
    return true;
}

void finishHeadlessRun()
{
    if (run.readback && !run.readback->flush(deliverFrame))
        giveUpOnSink(readbackFailure());
    if (run.atEnd) {
        auto atEnd = std::move(run.atEnd);
        atEnd();
    }
    std::string error;
    if (run.sink && run.written == 0)
        giveUp("the demo ended before the first frame asked for; nothing written", 3);
    if (run.sink && !run.range.frames.empty() && run.written < run.range.frames.size())
        giveUp("the demo ended before the last frame asked for; only " + std::to_string(run.written) +
                   " of the frames asked for were written",
               3);
    if (run.sink && !run.sink->finish(error))
        giveUpOnSink(error);
    run.readback.reset();
    run.sink.reset();
}

void reportPartStart(const HeadlessPlatform& headless, int part)
{
    if (run.quiet)
        return;
    const std::uint64_t frame = headless.clock().frames;
    std::fprintf(stderr, "\npart %d begins at frame %llu (music %.3f s)\n", part,
                 static_cast<unsigned long long>(frame),
                 static_cast<double>(frame) / headless.clock().fps);
    if (part == 1) {
        std::fprintf(stderr, "start-up took %.1f ms of real time\n", millisecondsSinceProcessStart());
        run.started = Clock::now();
    }
}
