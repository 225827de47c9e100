#include "app/VideoCheck.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/ChildProcess.h"

namespace {

// Runs a program to its end with nothing on its input.  "" when it ended
// with status 0, otherwise how it ended.
std::string runToEnd(const std::string& program, const std::vector<std::string>& arguments, const std::string& log,
                     const std::function<bool()>& stopRequested, std::chrono::milliseconds timeLimit)
{
    ChildProcess child;
    std::string why;
    if (!child.start(program, arguments, log, why))
        return why;
    switch (child.finish(stopRequested, why, timeLimit)) {
    case ChildProcess::Outcome::Done:
        return "";
    case ChildProcess::Outcome::Interrupted:
        return "it was interrupted";
    case ChildProcess::Outcome::Failed:
    case ChildProcess::Outcome::Stalled:
        break;
    }
    return why;
}

// How much of the file a reader can see; 0 when it cannot be read at all.
std::uintmax_t readableSize(const std::string& path)
{
    std::ifstream file(std::filesystem::u8path(path), std::ios::binary);
    char first = 0;
    if (!file.get(first))
        return 0;
    std::error_code unknown;
    const std::uintmax_t size = std::filesystem::file_size(std::filesystem::u8path(path), unknown);
    return unknown ? 1 : size;
}

std::string firstLineOf(const std::string& path)
{
    std::ifstream file(path);
    std::string line;
    std::getline(file, line);
    return line;
}

}  // namespace

std::string videoStreamsMissing(const std::string& file, const std::string& videoCodec,
                                const std::string& audioCodec, const std::string& scratch,
                                const std::function<bool()>& stopRequested)
{
    // Whatever the tools say: a file with nothing in it is no video.
    const std::uintmax_t size = readableSize(file);
    if (size == 0)
        return "it is empty or cannot be read";
    // Reading the streams' headers takes a moment; reading a whole video to
    // nowhere, as FFmpeg does, about a second for each 50 MB.  A tool that
    // takes far longer hangs.
    const std::chrono::milliseconds headers(30000);
    const std::string log = scratch + "/check.log";
    const std::string ffprobe = findProgram("ffprobe");
    if (ffprobe.empty()) {
        // Without FFprobe, FFmpeg copies the two streams to nowhere: it
        // fails when either is missing or unreadable.
        const std::string failed = runToEnd(findProgram("ffmpeg"),
                                            {"ffmpeg", "-v", "error", "-i", file, "-map", "0:v:0", "-map", "0:a:0",
                                             "-c", "copy", "-f", "null", "-"},
                                            log, stopRequested, headers + std::chrono::milliseconds(size / 50000));
        std::remove(log.c_str());
        return failed.empty() ? "" : "FFmpeg cannot read a picture and a sound stream back from it (" + failed + ")";
    }
    const std::string answer = scratch + "/streams.csv";
    const std::string failed = runToEnd(ffprobe,
                                        {"ffprobe", "-v", "error", "-show_entries", "stream=codec_name,codec_type",
                                         "-of", "csv=p=0", "-o", answer, file},
                                        log, stopRequested, headers);
    std::string complaint = firstLineOf(log);
    std::ifstream streams(answer);
    bool picture = false;
    bool sound = false;
    for (std::string line; std::getline(streams, line);) {
        picture = picture || line == videoCodec + ",video";
        sound = sound || line == audioCodec + ",audio";
    }
    streams.close();
    std::remove(answer.c_str());
    std::remove(log.c_str());
    if (!failed.empty())
        return "FFprobe cannot read it (" + failed + ")" + (complaint.empty() ? "" : ": " + complaint);
    if (!picture || !sound)
        return "it lacks " + std::string(!picture ? videoCodec + " video" : "") + (!picture && !sound ? " and " : "") +
               (!sound ? audioCodec + " sound" : "");
    return "";
}
