#include "app/VideoFile.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "app/CaptureClaim.h"
#include "app/ScratchFolder.h"
#include "app/VideoCheck.h"
#include "assets/Resources.h"
#include "platform/Files.h"
#include "platform/Interruptions.h"
#include "platform/Mp3Stream.h"
#include "platform/SystemServices.h"

namespace {

// Whether the run is being stopped from outside (Ctrl-C, a termination request).
bool stopRequested()
{
    return pendingInterruption() != Interruption::None;
}

// The file a name leads to through symbolic links, as cp and editors write
// it: the video replaces the link's target and the link stays.  A link
// without a target leads to the file it names, made anew.  The answer is
// absolute.
std::string followLinks(const std::string& path)
{
    namespace fs = std::filesystem;
    fs::path at = fs::u8path(path);   // UTF-8 on every system, whatever the locale
    for (int hop = 0; hop < 40; ++hop) {   // a loop of links ends somewhere
        std::error_code notALink;
        if (!fs::is_symlink(at, notALink))
            break;
        const fs::path next = fs::read_symlink(at, notALink);
        if (notALink)
            break;
        at = next.is_absolute() ? next : at.parent_path() / next;
    }
    // Absolute, so that FFmpeg reads it as a file name: never as an option
    // (a name beginning with '-') or a URL ("file:v.mp4", "pipe:v.mkv").
    std::error_code unknown;
    const fs::path absolute = fs::absolute(at, unknown);
    return (unknown ? at : absolute).u8string();
}

}  // namespace

VideoFile::~VideoFile()
{
    if (ffmpeg_.running() || partClaim_.held())
        abandon();
    cleanUp();
}

// The music decoded as FFmpeg's second input: gapless, so sample 0 is the
// music's first sample, exactly as the timeline counts it.  A video that
// begins later drops the samples before its first frame.
bool VideoFile::writeMusic(std::string& error)
{
    const Resource mp3 = findResource("ZYT_MUCKE", "ZYT_MUCKE_MP3");
    Mp3Stream stream;
    if (!stream.open(mp3.data, mp3.size)) {
        error = "the compiled-in music cannot be decoded";
        return false;
    }
    std::ofstream out(workDir_ + "/music.s16le", std::ios::binary);
    std::vector<unsigned char> buffer(1 << 16);
    std::uint64_t skip = firstFrame_ * 44100 / static_cast<std::uint64_t>(fps_) * 4;
    std::size_t got = 0;
    while ((got = stream.read(buffer.data(), buffer.size())) > 0) {
        if (stopRequested()) {
            error = "interrupted while the music was decoded";
            return false;
        }
        const std::size_t skipped = static_cast<std::size_t>(std::min<std::uint64_t>(skip, got));
        skip -= skipped;
        out.write(reinterpret_cast<const char*>(buffer.data() + skipped), static_cast<std::streamsize>(got - skipped));
    }
    if (!out) {
        error = "cannot write the music for FFmpeg to " + workDir_;
        return false;
    }
    return true;
}

std::vector<std::string> VideoFile::ffmpegArguments() const
{
    const std::string extension = extensionOf(path_);
    std::vector<std::string> args = {"ffmpeg", "-hide_banner", "-loglevel", "error", "-y",
                                     "-f", "rawvideo", "-pix_fmt", "rgba", "-s", std::to_string(frameWidth_) + "x" + std::to_string(frameHeight_),
                                     "-r", std::to_string(fps_), "-i", "pipe:0",
                                     "-f", "s16le", "-ar", "44100", "-ac", "2", "-i", workDir_ + "/music.s16le"};
    // OpenGL's rows run bottom-up; an upscale keeps pixels square and sharp.
    std::string filters = "vflip";
    if (scale_ > 1)
        filters += ",scale=iw*" + std::to_string(scale_) + ":ih*" + std::to_string(scale_) + ":flags=neighbor";
    args.insert(args.end(), {"-vf", filters, "-pix_fmt", "yuv420p"});
    if (extension == "webm") {
        // Constant quality VP9, fast settings; Opus for the sound.
        args.insert(args.end(), {"-c:v", "libvpx-vp9", "-crf", "24", "-b:v", "0", "-deadline", "realtime",
                                 "-cpu-used", "8", "-row-mt", "1", "-c:a", "libopus", "-b:a", "160k", "-f", "webm"});
    } else {
        // Low CRF and strong adaptive quantisation keep fades free of banding.
        args.insert(args.end(), {"-c:v", "libx264", "-preset", "veryfast", "-crf", "16", "-tune", "animation",
                                 "-x264-params", "aq-mode=3", "-c:a", "aac", "-b:a", "192k",
                                 "-f", extension == "mkv" ? "matroska" : "mp4"});
        if (extension == "mp4")
            args.insert(args.end(), {"-movflags", "+faststart"});
    }
    args.insert(args.end(), {"-shortest", target_ + ".part"});
    return args;
}

bool VideoFile::open(std::string& error)
{
    const std::string ffmpeg = findProgram("ffmpeg");
    if (ffmpeg.empty()) {
        error = "capturing to a video needs FFmpeg, which was not found: " + missingFfmpegAdvice();
        return false;
    }
    // The .part is claimed first: a second capture to the same file finds
    // it held and stops instead of writing into the first one's video.
    target_ = followLinks(path_);
    if (!claimForCapture(partClaim_, target_ + ".part", target_, error))
        return false;
    if (!makeScratchFolder(workClaim_, workDir_, error))
        return false;
    if (!writeMusic(error))
        return false;

    std::string why;
    if (!ffmpeg_.start(ffmpeg, ffmpegArguments(), workDir_ + "/ffmpeg.log", why)) {
        error = "cannot start FFmpeg: " + why;
        return false;
    }
    return true;
}

std::string VideoFile::ffmpegComplaint() const
{
    std::ifstream log(workDir_ + "/ffmpeg.log");
    std::string text((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    if (text.size() > 600)
        text = "..." + text.substr(text.size() - 600);
    return text.empty() ? "" : ":\n" + text;
}

bool VideoFile::write(const FramePixels& pixels, std::string& error)
{
    const std::size_t bytes = static_cast<std::size_t>(pixels.width) * pixels.height * 4;
    switch (ffmpeg_.write(pixels.rgba, bytes, stopRequested, stallLimit_)) {
    case ChildProcess::Outcome::Done:
        return true;
    case ChildProcess::Outcome::Interrupted:
        error = "interrupted while FFmpeg took a frame";
        return false;
    case ChildProcess::Outcome::Stalled:
        error = "FFmpeg took no frame for " + std::to_string(stallLimit_.count() / 1000) + " s and was stopped" +
                ffmpegComplaint();
        return false;
    case ChildProcess::Outcome::Failed:
        break;
    }
    error = "FFmpeg stopped taking frames" + ffmpegComplaint();
    return false;
}

bool VideoFile::finish(std::string& error)
{
    std::string how;
    const ChildProcess::Outcome outcome = ffmpeg_.finish(stopRequested, how);
    const std::string part = target_ + ".part";
    if (outcome != ChildProcess::Outcome::Done) {
        error = outcome == ChildProcess::Outcome::Interrupted ? "interrupted while FFmpeg finished the video"
                                                               : "FFmpeg failed (" + how + ")" + ffmpegComplaint();
        partClaim_.release(true);
        return false;
    }
    // FFmpeg's status alone does not prove a video: read it back.
    const bool webm = extensionOf(path_) == "webm";
    const std::string missing =
        videoStreamsMissing(part, webm ? "vp9" : "h264", webm ? "opus" : "aac", workDir_, stopRequested);
    if (!missing.empty() || stopRequested()) {
        error = stopRequested() ? "interrupted while the video was checked"
                                : "FFmpeg ended with status 0, but " + part + " is no video: " + missing;
        partClaim_.release(true);
        return false;
    }
    std::string why;
    if (!replaceFile(part, target_, why)) {
        error = "cannot rename " + part + " to " + target_ + ": " + why;
        partClaim_.release(true);
        return false;
    }
    partClaim_.release(false);
    cleanUp();
    return true;
}

void VideoFile::abandon()
{
    ffmpeg_.stop();
    partClaim_.release(true);
    cleanUp();
}

void VideoFile::cleanUp()
{
    if (workDir_.empty())
        return;
    workClaim_.release(false);
    removeScratchFolder(workDir_);
    workDir_.clear();
}
