#pragma once
#include <cstdint>

// Music handed to an output that plays pieces at given times (a browser's
// Web Audio): each piece starts at the exact sample time the pieces before
// it end, and pieces are decoded only a little ahead of the output's clock.
// Times are seconds of that clock; pieces count 44100 Hz stereo sample
// frames.
class PieceSchedule {
public:
    explicit PieceSchedule(double aheadSeconds) : ahead_(aheadSeconds) {}

    // The music's first sample plays at `firstSampleTime`.
    void start(double firstSampleTime);
    // When the next piece's first sample is due.
    double nextPieceTime() const;
    // Whether another piece is wanted: the pieces so far end less than the
    // schedule's reach after now.
    bool wantsMore(double now) const { return nextPieceTime() < now + ahead_; }
    // Whether the next piece would start before now (after a stall, when no
    // one topped the schedule up): it is then dropped, so the music stays
    // where the clock is rather than falling behind it.
    bool late(double now) const { return nextPieceTime() < now; }
    // Counts a piece as handed over (or dropped).
    void handedOver(std::uint64_t frames) { scheduledFrames_ += frames; }

    // Bytes of 16-bit stereo PCM heard by `now`, for an output whose sound
    // reaches the ear `latency` seconds after its clock: whole sample frames,
    // 0 before the first sample.
    std::uint64_t heardBytes(double now, double latency) const;

private:
    double ahead_;
    double firstSampleTime_ = 0.0;
    std::uint64_t scheduledFrames_ = 0;
};
