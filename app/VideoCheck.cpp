#include "app/VideoCheck.h"

#include <cstdio>
#include <fstream>
#include <vector>

#include "platform/ChildProcess.h"

namespace {

// Runs a program to its end with nothing on its input; true when it ended
// with status 0.
bool runToEnd(const std::string& program, const std::vector<std::string>& arguments, const std::string& log)
{
    ChildProcess child;
    std::string why;
    if (!child.start(program, arguments, log, why))
        return false;
    return child.finish(nullptr, why) == ChildProcess::Outcome::Done;
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
                                const std::string& audioCodec, const std::string& scratch)
{
    const std::string log = scratch + "/check.log";
    const std::string ffprobe = findProgram("ffprobe");
    if (ffprobe.empty()) {
        // Without FFprobe, FFmpeg copies the two streams to nowhere: it
        // fails when either is missing or unreadable.
        const bool read = runToEnd(findProgram("ffmpeg"),
                                   {"ffmpeg", "-v", "error", "-i", file, "-map", "0:v:0", "-map", "0:a:0", "-c",
                                    "copy", "-f", "null", "-"},
                                   log);
        std::remove(log.c_str());
        return read ? "" : "FFmpeg cannot read a picture and a sound stream back from it";
    }
    const std::string answer = scratch + "/streams.csv";
    const bool read = runToEnd(ffprobe,
                               {"ffprobe", "-v", "error", "-show_entries", "stream=codec_name,codec_type", "-of",
                                "csv=p=0", "-o", answer, file},
                               log);
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
    if (!read)
        return "FFprobe cannot read it" + (complaint.empty() ? "" : ": " + complaint);
    if (!picture || !sound)
        return "it lacks " + std::string(!picture ? videoCodec + " video" : "") + (!picture && !sound ? " and " : "") +
               (!sound ? audioCodec + " sound" : "");
    return "";
}
