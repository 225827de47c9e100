#include "platform/PieceSchedule.h"

namespace {
constexpr double kSampleRate = 44100.0;
}

void PieceSchedule::start(double firstSampleTime)
{
    firstSampleTime_ = firstSampleTime;
    scheduledFrames_ = 0;
}

double PieceSchedule::nextPieceTime() const
{
    // From the start and the count, never summed piece by piece, so no
    // rounding gathers over the minutes of the music.
    return firstSampleTime_ + static_cast<double>(scheduledFrames_) / kSampleRate;
}

std::uint64_t PieceSchedule::heardBytes(double now, double latency) const
{
    const double seconds = now - latency - firstSampleTime_;
    if (seconds <= 0.0)
        return 0;
    return static_cast<std::uint64_t>(seconds * kSampleRate) * 4;
}
