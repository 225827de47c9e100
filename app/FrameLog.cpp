#include "app/FrameLog.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>

namespace {

double percentile(std::vector<double> values, double share)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const std::size_t at = std::min(values.size() - 1, static_cast<std::size_t>(share * values.size()));
    return values[at];
}

}  // namespace

void FrameLog::recordSwap(int part, double musicMs)
{
    const auto now = std::chrono::steady_clock::now();
    const double interval =
        swaps_.empty() ? 0.0 : std::chrono::duration<double, std::milli>(now - last_).count();
    swaps_.push_back({part, interval, musicMs});
    last_ = now;
}

FrameLog::~FrameLog()
{
    if (file_ != nullptr)
        std::fclose(file_);
}

bool FrameLog::open(std::string& error)
{
    file_ = std::fopen(path_.c_str(), "w");
    if (file_ == nullptr) {
        error = "cannot write the frame log " + path_ + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

bool FrameLog::write(int pictureWidth, int pictureHeight, std::string& error)
{
    if (file_ == nullptr) {
        error = "the frame log " + path_ + " was not opened";
        return false;
    }
    bool written =
        std::fprintf(file_, "# picture %dx%d\n# frame part interval_ms music_ms\n", pictureWidth, pictureHeight) > 0;
    for (std::size_t i = 0; i < swaps_.size() && written; ++i)
        written = std::fprintf(file_, "%zu %d %.3f %.1f\n", i, swaps_[i].part, swaps_[i].intervalMs,
                               swaps_[i].musicMs) > 0;
    int failure = errno;
    // Buffered lines reach the file only when it is closed: that can fail too.
    if (std::fclose(file_) != 0 && written) {
        written = false;
        failure = errno;
    }
    file_ = nullptr;
    std::fprintf(stderr, "picture %dx%d, ", pictureWidth, pictureHeight);
    std::fputs(summariseFrameLog(swaps_).c_str(), stderr);
    if (!written)
        error = "the frame log " + path_ + " was not written whole: " + std::strerror(failure);
    return written;
}

std::string summariseFrameLog(const std::vector<FrameLog::Swap>& swaps)
{
    std::vector<double> all;
    std::map<int, std::vector<double>> byPart;
    for (std::size_t i = 1; i < swaps.size(); ++i) {   // the first swap has no interval
        all.push_back(swaps[i].intervalMs);
        byPart[swaps[i].part].push_back(swaps[i].intervalMs);
    }
    char line[160];
    std::snprintf(line, sizeof line, "frame log: %zu swaps, median %.2f ms, p99 %.2f ms, worst %.2f ms\n",
                  swaps.size(), percentile(all, 0.5), percentile(all, 0.99), percentile(all, 1.0));
    std::string text = line;
    for (const auto& [part, intervals] : byPart) {
        std::snprintf(line, sizeof line, "  part %2d: %5zu frames, first %.2f ms, median %.2f ms, worst %.2f ms\n",
                      part, intervals.size(), intervals.front(), percentile(intervals, 0.5),
                      percentile(intervals, 1.0));
        text += line;
    }
    return text;
}
