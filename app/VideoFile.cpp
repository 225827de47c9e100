#include "app/VideoFile.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <signal.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "assets/Resources.h"
#include "platform/Mp3Stream.h"
#include "platform/OffscreenPicture.h"

namespace {

std::string extensionOf(const std::string& path)
{
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || path.find('/', dot) != std::string::npos)
        return "";
    std::string extension = path.substr(dot + 1);
    for (char& c : extension)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension;
}

bool writeAll(int descriptor, const std::uint8_t* bytes, std::size_t count)
{
    while (count > 0) {
        const ssize_t done = ::write(descriptor, bytes, count);
        if (done < 0)
            return false;   // EINTR included: the run is being stopped
        bytes += done;
        count -= static_cast<std::size_t>(done);
    }
    return true;
}

}  // namespace

std::string findOnPath(const std::string& program)
{
    const char* path = std::getenv("PATH");
    std::stringstream folders(path != nullptr ? path : "/usr/bin:/bin");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        const std::string candidate = (folder.empty() ? "." : folder) + "/" + program;
        if (access(candidate.c_str(), X_OK) == 0)
            return folder.empty() ? "." : folder;
    }
    return "";
}

bool VideoFile::isVideoName(const std::string& path)
{
    const std::string extension = extensionOf(path);
    return extension == "mp4" || extension == "mkv" || extension == "webm";
}

VideoFile::~VideoFile()
{
    if (ffmpeg_ > 0)
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
    args.insert(args.end(), {"-shortest", path_ + ".part"});
    return args;
}

bool VideoFile::open(std::string& error)
{
    const std::string ffmpegFolder = findOnPath("ffmpeg");
    if (ffmpegFolder.empty()) {
        error = "capturing to a video needs FFmpeg, which is not installed (Debian package: ffmpeg)";
        return false;
    }
    // The music and FFmpeg's log go to a private folder under $TMPDIR.
    std::error_code noTmpDir;
    std::filesystem::path tmp = std::filesystem::temp_directory_path(noTmpDir);
    if (noTmpDir)
        tmp = "/tmp";
    std::string workTemplate = (tmp / "quittenhain-capture-XXXXXX").string();
    if (mkdtemp(workTemplate.data()) == nullptr) {
        error = std::string("cannot make a temporary folder: ") + std::strerror(errno);
        return false;
    }
    workDir_ = workTemplate;
    if (!writeMusic(error))
        return false;

    int fds[2];
    if (pipe(fds) != 0) {
        error = std::string("cannot make a pipe to FFmpeg: ") + std::strerror(errno);
        return false;
    }
    // Everything the child needs is prepared before the fork: the process
    // has other threads, so the child may only make system calls.
    const std::vector<std::string> args = ffmpegArguments();
    std::vector<char*> argv;
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    const std::string program = ffmpegFolder + "/ffmpeg";
    const std::string log = workDir_ + "/ffmpeg.log";
    fcntl(fds[1], F_SETFD, FD_CLOEXEC);
    ffmpeg_ = fork();
    if (ffmpeg_ == 0) {
        dup2(fds[0], STDIN_FILENO);
        close(fds[0]);
        const int logFile = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (logFile >= 0)
            dup2(logFile, STDERR_FILENO);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    close(fds[0]);
    if (ffmpeg_ < 0) {
        close(fds[1]);
        error = std::string("cannot start FFmpeg: ") + std::strerror(errno);
        return false;
    }
    pipe_ = fds[1];
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

bool VideoFile::write(const OffscreenPicture& picture, std::uint64_t, std::string& error)
{
    picture.readPixels(rgba_);
    if (!writeAll(pipe_, rgba_.data(), rgba_.size())) {
        error = errno == EINTR ? "interrupted; nothing written" : "FFmpeg stopped taking frames" + ffmpegComplaint();
        return false;
    }
    return true;
}

bool VideoFile::finish(std::string& error)
{
    close(pipe_);
    pipe_ = -1;
    int status = 0;
    waitpid(ffmpeg_, &status, 0);
    ffmpeg_ = -1;
    const std::string part = path_ + ".part";
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        error = "FFmpeg failed" + ffmpegComplaint();
        std::remove(part.c_str());
        return false;
    }
    if (std::rename(part.c_str(), path_.c_str()) != 0) {
        error = "cannot rename " + part + " to " + path_ + ": " + std::strerror(errno);
        std::remove(part.c_str());
        return false;
    }
    cleanUp();
    return true;
}

void VideoFile::abandon()
{
    if (pipe_ >= 0) {
        close(pipe_);
        pipe_ = -1;
    }
    if (ffmpeg_ > 0) {
        kill(ffmpeg_, SIGKILL);
        waitpid(ffmpeg_, nullptr, 0);
        ffmpeg_ = -1;
    }
    std::remove((path_ + ".part").c_str());
    cleanUp();
}

void VideoFile::cleanUp()
{
    if (workDir_.empty())
        return;
    std::remove((workDir_ + "/music.s16le").c_str());
    std::remove((workDir_ + "/ffmpeg.log").c_str());
    rmdir(workDir_.c_str());
    workDir_.clear();
}
