#include "app/FrameCapture.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stb/stb_image_write.h>
#include <sys/stat.h>
#include <vector>

#include "app/Shell.h"
#include "platform/HeadlessPlatform.h"

namespace {

using Clock = std::chrono::steady_clock;

struct RunState {
    HeadlessRunOptions options;
    std::vector<std::uint8_t> rgba;
    std::vector<std::uint8_t> rgb;
    Clock::time_point started;
    std::uint64_t written = 0;
};
RunState run;
const Clock::time_point processStart = Clock::now();   // static initialisation: as early as it gets

bool makeDirectory(const std::string& path)
{
    if (mkdir(path.c_str(), 0777) == 0 || errno == EEXIST) {
        struct stat info {};
        return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    }
    return false;
}

// The picture comes bottom-up as RGBA; PNG rows go top-down, without alpha
// (blending leaves meaningless values there).
bool writeFrame(const OffscreenPicture& picture, std::uint64_t frame)
{
    picture.readPixels(run.rgba);
    const int width = picture.width();
    const int height = picture.height();
    run.rgb.resize(static_cast<std::size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* from = run.rgba.data() + static_cast<std::size_t>(height - 1 - y) * width * 4;
        std::uint8_t* to = run.rgb.data() + static_cast<std::size_t>(y) * width * 3;
        for (int x = 0; x < width; ++x, from += 4, to += 3) {
            to[0] = from[0];
            to[1] = from[1];
            to[2] = from[2];
        }
    }
    const std::string path = run.options.captureDir + "/" + captureFileName(frame);
    return stbi_write_png(path.c_str(), width, height, 3, run.rgb.data(), width * 3) != 0;
}

void reportProgress(std::uint64_t frame, bool last)
{
    const double seconds = std::chrono::duration<double>(Clock::now() - run.started).count();
    const double rate = seconds > 0 ? static_cast<double>(frame + 1) / seconds : 0.0;
    std::fprintf(stderr, "\rpart %2d  frame %6llu  music %7.2f s  %6.1f frames/s  %llu written", partNumber,
                 static_cast<unsigned long long>(frame),
                 static_cast<double>(frame) / run.options.range.fps, rate,
                 static_cast<unsigned long long>(run.written));
    if (last)
        std::fputc('\n', stderr);
}

void finishFrame(const HeadlessPlatform& headless, std::uint64_t frame)
{
    const CaptureRange& range = run.options.range;
    if (!run.options.captureDir.empty() && range.writes(frame)) {
        if (!writeFrame(headless.picture(), frame)) {
            std::fprintf(stderr, "\nquittenhain: cannot write %s/%s: %s\n", run.options.captureDir.c_str(),
                         captureFileName(frame).c_str(), std::strerror(errno));
            std::exit(3);
        }
        ++run.written;
    }
    const bool last = range.endsAfter(frame);
    if (last || frame % 30 == 0)
        reportProgress(frame, last);
    if (last)
        std::exit(0);   // the run went as far as it was asked to
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

std::string captureFileName(std::uint64_t frame)
{
    char name[32];
    std::snprintf(name, sizeof name, "frame%05llu.png", static_cast<unsigned long long>(frame));
    return name;
}

bool startHeadlessRun(HeadlessPlatform& headless, const HeadlessRunOptions& options)
{
    run.options = options;
    run.started = Clock::now();
    if (!options.captureDir.empty() && !makeDirectory(options.captureDir)) {
        std::fprintf(stderr, "quittenhain: cannot use %s as capture directory: %s\n", options.captureDir.c_str(),
                     std::strerror(errno));
        return false;
    }
    stbi_write_png_compression_level = 2;   // fast; frames are many
    headless.onFrame([&headless](std::uint64_t frame) { finishFrame(headless, frame); });
    return true;
}

void reportPartStart(const HeadlessPlatform& headless, int part)
{
    const std::uint64_t frame = headless.clock().frames;
    std::fprintf(stderr, "\npart %d begins at frame %llu (music %.3f s)\n", part,
                 static_cast<unsigned long long>(frame),
                 static_cast<double>(frame) / headless.clock().fps);
    if (part == 1) {
        const double startUp = std::chrono::duration<double, std::milli>(Clock::now() - processStart).count();
        std::fprintf(stderr, "start-up took %.1f ms of real time\n", startUp);
        run.started = Clock::now();
    }
}
