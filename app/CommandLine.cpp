#include "app/CommandLine.h"

#include "app/HeadlessFrames.h"
#include "app/VideoFile.h"
#include "platform/SystemServices.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

// Plain decimal only: digits with at most one point among them, nothing
// else (no sign, spaces, exponent, hexadecimal or "inf" that strtod takes).
bool isPlainDecimal(const char* text)
{
    int digits = 0;
    bool point = false;
    for (const char* at = text; *at != '\0'; ++at) {
        if (*at >= '0' && *at <= '9')
            ++digits;
        else if (*at == '.' && !point)
            point = true;
        else
            return false;
    }
    return digits > 0;
}

bool parseNumber(const char* text, double& value)
{
    if (text == nullptr || !isPlainDecimal(text))
        return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtod(text, &end);
    return errno == 0 && *end == '\0' && std::isfinite(value);
}

// "120,700,5671": whole frame indices, put in ascending order.
bool parseFrameList(const char* text, std::vector<std::uint64_t>& frames)
{
    frames.clear();
    const char* at = text;
    while (*at != '\0') {
        if (*at < '0' || *at > '9')
            return false;
        char* end = nullptr;
        errno = 0;
        const unsigned long long frame = std::strtoull(at, &end, 10);
        if (errno != 0 || frame > 100000000ull)
            return false;
        frames.push_back(frame);
        at = end;
        if (*at == ',' && at[1] != '\0')
            ++at;   // a comma only between two indices
        else if (*at != '\0')
            return false;
    }
    std::sort(frames.begin(), frames.end());
    frames.erase(std::unique(frames.begin(), frames.end()), frames.end());
    return !frames.empty();
}

constexpr double kLongestSeconds = 86400.0;

bool isFolder(const std::string& path)
{
    std::error_code unknown;
    return std::filesystem::is_directory(std::filesystem::u8path(path), unknown);
}

// A name with an extension that is no video's, and no existing folder.
bool looksLikeUnknownVideo(const std::string& target)
{
    const std::size_t slash = target.rfind('/');
    const std::size_t dot = target.rfind('.');
    const bool hasExtension = dot != std::string::npos && dot > (slash == std::string::npos ? 0 : slash + 1) &&
                              dot + 1 < target.size();
    return hasExtension && !VideoFile::isVideoName(target) && !isFolder(target);
}

// H.264 and VP9 encoders refuse pictures wider or taller than this.
constexpr int kLargestVideoSide = 16384;

// Why a video of this size cannot be made, or "" when it can.
std::string videoSizeProblem(const CommandLine& options)
{
    const long width = static_cast<long>(options.resolution.width) * options.scale;
    const long height = static_cast<long>(options.resolution.height) * options.scale;
    if (options.mode != CommandLine::Mode::CaptureVideo || (width <= kLargestVideoSide && height <= kLargestVideoSide))
        return "";
    return "the video would be " + std::to_string(width) + "x" + std::to_string(height) +
           "; its encoders take at most " + std::to_string(kLargestVideoSide) +
           " pixels a side (--resolution times --scale)";
}

// H.264 in 4:2:0 takes only even widths and heights (VP9 takes any).
std::string oddVideoSizeProblem(const CommandLine& options)
{
    const long width = static_cast<long>(options.resolution.width) * options.scale;
    const long height = static_cast<long>(options.resolution.height) * options.scale;
    if (options.mode != CommandLine::Mode::CaptureVideo || VideoFile::takesOddSizes(options.captureTarget) ||
        (width % 2 == 0 && height % 2 == 0))
        return "";
    return "the video would be " + std::to_string(width) + "x" + std::to_string(height) +
           "; H.264 (.mp4, .mkv) needs an even width and height: pick another --resolution, a --scale of 2, "
           "or .webm";
}

// Why the range of a capture writes nothing, or only part of what it names,
// before the run stops at --until; "" when it does not.
std::string rangeEmptyBeforeUntil(const CommandLine& options)
{
    const CaptureRange range{options.fps, options.fromSeconds, options.untilSeconds, options.frames};
    const std::optional<std::uint64_t> last = range.lastRendered();
    if (!last || (options.mode != CommandLine::Mode::CaptureFrames && options.mode != CommandLine::Mode::CaptureVideo))
        return "";
    const std::string stops = "--until stops the run after frame " + std::to_string(*last) + " at " +
                              std::to_string(options.fps) + " fps";
    if (!options.frames.empty() && options.frames.back() > *last)
        return "--frames asks for frame " + std::to_string(options.frames.back()) + ", but " + stops;
    if (options.frames.empty() && range.firstWritten() > *last)
        return "no frame lies from --from to --until: the first one from --from is frame " +
               std::to_string(range.firstWritten()) + ", and " + stops;
    return "";
}

// The options whose meaning depends on what the system's desktop build can
// do: rendering the window at another size, and where FFmpeg is looked for.
std::string resolutionHelp()
{
    if (!desktopRendersAnyResolution())
        return "  --resolution WxH    render captures and --benchmark at WxH instead of\n"
               "                      640x480: any size of aspect 4:3 up to 4096x3072 (e.g.\n"
               "                      1920x1440), points and lines scaled with it; the window\n"
               "                      plays at 640x480. With --scale the video is WxH times K\n";
    return "  --resolution WxH    render the picture at WxH instead of 640x480: any size\n"
           "                      of aspect 4:3 up to 4096x3072 (e.g. 1920x1440), points and\n"
           "                      lines scaled with it; for playing, capturing and\n"
           "                      --benchmark. With --scale the video is WxH times K\n"
           "  --resolution native on the desktop: the largest 4:3 area of the screen; full\n"
           "                      screen then keeps the display's mode (black bars)\n";
}

std::string composeUsage()
{
    return std::string("Usage: quittenhain [OPTION]...\n"
           "Plays the Quittenhain demo: music and eleven parts at 640x480.\n"
           "Without options it asks whether to switch to full screen. Escape ends it.\n"
           "\n"
           "  --windowed          play in a window, without asking\n"
           "  --fullscreen        play full screen, without asking\n"
           "  --no-vsync          draw as fast as possible (the effects still step 60\n"
           "                      times a second of the music)\n"
           "  --headless          run the whole demo offscreen, without display or sound,\n"
           "                      on a virtual clock; prints when each part begins\n"
           "  --capture DIR       like --headless, and write every frame to DIR as a PNG\n"
           "                      named by its frame index from 0 (frame00000.png, ...)\n"
           "  --capture FILE      with FILE ending in .mp4, .mkv or .webm: encode the demo\n"
           "                      with its music into a video through FFmpeg (H.264 and AAC,\n"
           "                      or VP9 and Opus for .webm)\n")
           + ffmpegLocationNote() +
           "  --scale K           with a video: enlarge the picture K times (1 to 8), pixels\n"
           "                      kept sharp; the video at most 16384 pixels a side\n"
           "  --fps N             frames per second of the virtual clock (default 60)\n"
           "  --from SECONDS      with --capture: write only frames from this music time on\n"
           "                      (earlier frames are still rendered)\n"
           "  --until SECONDS     with --capture or --headless: stop once this much music\n"
           "                      has played (at the latest at the demo's end)\n"
           "  --frames LIST       with --capture: write only these frames (comma-separated\n"
           "                      indices, e.g. 120,700) and stop after the last\n"
           + resolutionHelp() +
           "  --frame-log FILE    on the desktop: log every buffer swap's time to FILE\n"
           "                      (frame, part, interval and music time in ms)\n"
           "                      and print a summary\n"
           "  --no-warm-up        skip drawing every part once while loading (to measure\n"
           "                      the stalls at the cuts that this drawing prevents)\n"
           "  --benchmark         run the whole demo headless at a virtual 60 fps without\n"
           "                      writing frames and print each part's frame costs\n"
           "                      (median, 95th percentile, frames/s, first and worst\n"
           "                      frame), an empty frame's cost and the start-up steps;\n"
           "                      --json for JSON\n"
           "  --self-check        with --headless: check after every frame for OpenGL\n"
           "                      errors, a changing number of display lists and growing\n"
           "                      memory; exit 4 on a failed check\n"
           "  -h, --help          show this text\n"
           "  --version           show the name and version\n"
           "\n"
           "Exit status: the demo, and --headless when the demo ends, exit with 1;\n"
           "--capture exits with 0 when it wrote what was asked, and so do a run stopped\n"
           "by --until and --benchmark. A capture that fails or is interrupted leaves no\n"
           "partial file under a final name and exits with 3 (130 for Ctrl-C, 143 for a\n"
           "termination request, 129 when its terminal closes), as does a --frame-log\n"
           "that cannot be written; a failed --self-check exits with 4; unknown options,\n"
           "invalid or empty values and options that contradict each other exit with 2,\n"
           "as do --from or --frames past the demo's end or past --until, and a video\n"
           "size its encoder cannot take.\n";
}

}  // namespace

const char* usageText()
{
    static const std::string text = composeUsage();
    return text.c_str();
}

const char* versionText()
{
    return "Quittenhain " QUITTENHAIN_VERSION "\n";
}

ParsedCommandLine parseCommandLine(int argc, const char* const* argv)
{
    ParsedCommandLine parsed;
    CommandLine& options = parsed.options;
    bool sawFps = false;
    bool sawRange = false;
    bool sawScale = false;
    bool sawFrom = false;
    bool sawBenchmark = false;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        auto needValue = [&](const char* what) {
            if (value == nullptr) {
                parsed.error = std::string(arg) + " needs " + what;
                return false;
            }
            ++i;
            return true;
        };
        double number = 0.0;
        if (std::strcmp(arg, "-h") == 0 || std::strcmp(arg, "--help") == 0) {
            options.mode = CommandLine::Mode::Help;
            return parsed;
        } else if (std::strcmp(arg, "--version") == 0) {
            options.mode = CommandLine::Mode::Version;
            return parsed;
        } else if (std::strcmp(arg, "--windowed") == 0 || std::strcmp(arg, "--fullscreen") == 0) {
            const FullScreenChoice choice =
                arg[2] == 'w' ? FullScreenChoice::Windowed : FullScreenChoice::FullScreen;
            if (options.fullScreen != FullScreenChoice::Ask && options.fullScreen != choice) {
                parsed.error = "--windowed and --fullscreen contradict each other; give one";
                return parsed;
            }
            options.fullScreen = choice;
        } else if (std::strcmp(arg, "--no-vsync") == 0) {
            options.vsync = false;
        } else if (std::strcmp(arg, "--headless") == 0) {
            if (options.mode == CommandLine::Mode::Demo)
                options.mode = CommandLine::Mode::Headless;
        } else if (std::strcmp(arg, "--capture") == 0) {
            if (!needValue("a directory or a video file"))
                return parsed;
            if (*value == '\0') {
                parsed.error = "--capture needs a directory or a video file, not an empty name";
                return parsed;
            }
            if (!options.captureTarget.empty() && options.captureTarget != value) {
                parsed.error = "--capture is given twice; a run captures to one place";
                return parsed;
            }
            options.captureTarget = value;
            if (looksLikeUnknownVideo(options.captureTarget)) {
                parsed.error = "--capture " + options.captureTarget +
                               ": unknown video type; videos end in .mp4, .mkv or .webm, folders of "
                               "frames have no extension";
                return parsed;
            }
            options.mode = VideoFile::isVideoName(options.captureTarget) ? CommandLine::Mode::CaptureVideo
                                                                         : CommandLine::Mode::CaptureFrames;
        } else if (std::strcmp(arg, "--scale") == 0) {
            if (!needValue("a whole number"))
                return parsed;
            if (!parseNumber(value, number) || number < 1 || number > 8 || number != std::floor(number)) {
                parsed.error = "--scale needs a whole number from 1 to 8";
                return parsed;
            }
            options.scale = static_cast<int>(number);
            sawScale = true;
        } else if (std::strcmp(arg, "--fps") == 0) {
            if (!needValue("a number"))
                return parsed;
            if (!parseNumber(value, number) || number < 1 || number > 1000 || number != std::floor(number)) {
                parsed.error = "--fps needs a whole number from 1 to 1000";
                return parsed;
            }
            options.fps = static_cast<int>(number);
            sawFps = true;
        } else if (std::strcmp(arg, "--from") == 0 || std::strcmp(arg, "--until") == 0) {
            if (!needValue("a number of seconds"))
                return parsed;
            // The bound keeps frame counts far inside 64-bit integers.
            if (!parseNumber(value, number) || number < 0 || number > kLongestSeconds) {
                parsed.error = std::string(arg) + " needs a number of seconds from 0 to 86400";
                return parsed;
            }
            (arg[2] == 'f' ? options.fromSeconds : options.untilSeconds) = number;
            sawFrom = sawFrom || arg[2] == 'f';
            sawRange = true;
        } else if (std::strcmp(arg, "--resolution") == 0) {
            if (!needValue("WIDTHxHEIGHT or native"))
                return parsed;
            if (!parseResolution(value, options.resolution, parsed.error))
                return parsed;
        } else if (std::strcmp(arg, "--frame-log") == 0) {
            if (!needValue("a file name"))
                return parsed;
            if (*value == '\0') {
                parsed.error = "--frame-log needs a file name, not an empty one";
                return parsed;
            }
            options.frameLog = value;
        } else if (std::strcmp(arg, "--no-warm-up") == 0) {
            options.warmUp = false;
        } else if (std::strcmp(arg, "--benchmark") == 0) {
            sawBenchmark = true;
            options.mode = CommandLine::Mode::Benchmark;
        } else if (std::strcmp(arg, "--json") == 0) {
            options.json = true;
        } else if (std::strcmp(arg, "--self-check") == 0) {
            options.selfCheck = true;
        } else if (std::strcmp(arg, "--frames") == 0) {
            if (!needValue("a list of frame indices"))
                return parsed;
            if (!parseFrameList(value, options.frames)) {
                parsed.error = "--frames needs frame indices separated by commas, like 120,700";
                return parsed;
            }
            sawRange = true;
        } else {
            parsed.error = std::string("unknown option: ") + arg;
            return parsed;
        }
    }
    if (sawBenchmark && !options.captureTarget.empty())
        parsed.error = "--benchmark writes no frames; it does not go with --capture";
    else if ((sawFps || sawRange) && options.mode == CommandLine::Mode::Demo)
        parsed.error = "--fps, --from, --until and --frames need --headless or --capture";
    else if (options.json && options.mode != CommandLine::Mode::Benchmark)
        parsed.error = "--json needs --benchmark";
    else if (options.selfCheck && options.mode != CommandLine::Mode::Headless)
        parsed.error = "--self-check needs --headless";
    else if (!options.frames.empty() && options.mode != CommandLine::Mode::CaptureFrames)
        parsed.error = "--frames needs --capture with a directory";
    else if (!options.frames.empty() && sawFrom)
        parsed.error = "--from and --frames do not go together: --frames names every frame written";
    else if (options.untilSeconds == 0 && !sawFrom)
        parsed.error = "--until 0 leaves nothing to render; give a time after 0 seconds";
    else if (options.untilSeconds >= 0 && options.fromSeconds >= options.untilSeconds)
        parsed.error = "--from must be earlier than --until";
    else if (sawScale && options.mode != CommandLine::Mode::CaptureVideo)
        parsed.error = "--scale needs --capture with a video file";
    else if (!videoSizeProblem(options).empty())
        parsed.error = videoSizeProblem(options);
    else if (!oddVideoSizeProblem(options).empty())
        parsed.error = oddVideoSizeProblem(options);
    else if (!rangeEmptyBeforeUntil(options).empty())
        parsed.error = rangeEmptyBeforeUntil(options);
    else if (options.mode == CommandLine::Mode::CaptureVideo && isFolder(options.captureTarget))
        parsed.error = "--capture " + options.captureTarget + " is a folder; a video needs a file name";
    else if (!options.frameLog.empty() && options.mode != CommandLine::Mode::Demo)
        parsed.error = "--frame-log is for playing on the desktop; --benchmark measures headless runs";
    else if (options.resolution.native && options.mode != CommandLine::Mode::Demo)
        parsed.error = "--resolution native needs the desktop; give a size like 1920x1440 without a screen";
    return parsed;
}
