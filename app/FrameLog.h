#pragma once
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

// Every buffer swap's real time on the desktop, for checking that the demo
// keeps pace and in step with the music: written as "frame part interval_ms
// music_ms" lines (music_ms: the music's play position at the swap) to a
// file when the demo ends, with a summary (median and 99th percentile interval, each
// part's first and worst interval) on stderr.  The file is opened before the
// demo starts, so a path that cannot be written is known at once; the swaps
// are kept in memory meanwhile, so that no file output stalls a frame.
class FrameLog {
public:
    explicit FrameLog(std::string path) : path_(std::move(path)) {}
    ~FrameLog();
    FrameLog(const FrameLog&) = delete;
    FrameLog& operator=(const FrameLog&) = delete;

    // Opens (creates or empties) the file; false with the reason otherwise.
    bool open(std::string& error);
    // Called right after each swap, with the part the frame belonged to and
    // the music's play position then.
    void recordSwap(int part, double musicMs);
    // Writes the file and closes it, naming the size the picture was
    // rendered at, and prints the summary; false with the reason when any
    // write, or the closing, failed.
    bool write(int pictureWidth, int pictureHeight, std::string& error);

    struct Swap {
        int part;
        double intervalMs;   // since the previous swap; 0 for the first
        double musicMs;
    };
    const std::vector<Swap>& swaps() const { return swaps_; }

private:
    std::string path_;
    std::FILE* file_ = nullptr;
    std::vector<Swap> swaps_;
    std::chrono::steady_clock::time_point last_{};
};

// The summary of a log: one line overall, one per part.
std::string summariseFrameLog(const std::vector<FrameLog::Swap>& swaps);
