#pragma once
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "app/FrameSink.h"
#include "platform/ChildProcess.h"
#include "platform/FileClaim.h"

// Encodes the frames into a video file through FFmpeg, with the compiled-in
// music muxed so that music position 0 is frame 0's time.  H.264 and AAC in
// .mp4 and .mkv, VP9 and Opus in .webm.  FFmpeg writes to FILE.part, which
// becomes FILE only when everything went well.  A FILE that is a symbolic
// link is followed: its target gets the video.
class VideoFile : public FrameSink {
public:
    // firstFrame: the frame the video begins with; the music is cut to match.
    VideoFile(std::string path, int fps, int scale, std::uint64_t firstFrame)
        : path_(std::move(path)), fps_(fps), scale_(scale), firstFrame_(firstFrame)
    {
    }
    ~VideoFile() override;

    bool open(std::string& error) override;
    bool write(const FramePixels& pixels, std::string& error) override;
    bool finish(std::string& error) override;
    void abandon() override;

    // The size of the frames it will be given; 640x480 unless set.
    void setFrameSize(int width, int height)
    {
        frameWidth_ = width;
        frameHeight_ = height;
    }

    // The name's extension in lower case ("" without one).
    static std::string extensionOf(const std::string& path);
    // Whether the name ends in one of the container extensions this knows.
    static bool isVideoName(const std::string& path);
    // Whether its encoder takes odd widths and heights (VP9 does, H.264 in
    // 4:2:0 does not).
    static bool takesOddSizes(const std::string& path);

private:
    std::vector<std::string> ffmpegArguments() const;
    bool writeMusic(std::string& error);
    std::string ffmpegComplaint() const;
    void cleanUp();

    std::string path_;     // as given; its extension names the container
    std::string target_;   // the file written: path_ with symbolic links followed
    int fps_;
    int scale_;
    std::uint64_t firstFrame_;
    // A busy encoder takes a frame in well under a second even at 4096x3072
    // times eight; one that takes nothing for this long is wedged.
    std::chrono::milliseconds stallLimit_{30000};
    int frameWidth_ = 640;
    int frameHeight_ = 480;
    std::string workDir_;   // the decoded music and FFmpeg's messages
    FileClaim workClaim_;   // held while workDir_ is in use
    ChildProcess ffmpeg_;
    FileClaim partClaim_;   // FILE.part, held while this capture writes it
};
