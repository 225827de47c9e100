// Beat grid of one section: maps musical position (in beats from the
// section's downbeat) to seconds and samples.
//
// The sync times are rounded to 0.1 s, so a fixed global tempo would drift
// off them. Each section instead gets its own grid that starts exactly on its
// sync time and ends exactly on the next one; extra anchor times inside a
// section (the big accents) split it into pieces so they fall on a beat too.
// A piece may also change tempo smoothly (accelerando / ritardando).
#pragma once
#include <cstdint>
#include <vector>

namespace music {

class Grid {
public:
    // Beat grid from t0 to t1 holding `beats` beats. `anchors` are times in
    // (t0, t1) that must land on whole beats of the nominal period
    // `nominalPeriod`. If `startPeriod` > 0 the (single) piece ramps its beat
    // period linearly from startPeriod to whatever makes it end on t1.
    Grid(double t0, double t1, int beats, double nominalPeriod,
         const std::vector<double>& anchors = {}, double startPeriod = 0.0);

    double time(double beat) const;
    int64_t sample(double beat) const;
    double period(double beat) const;  // local seconds per beat
    double beatAt(double seconds) const;  // inverse of time()
    // Seconds from `seconds` to the nearest step of `stepBeats` beats
    // (0.25: the nearest sixteenth).
    double offStep(double seconds, double stepBeats) const;
    int beats() const { return beats_; }
    double start() const { return pieces_.front().t0; }
    double end() const { return pieces_.back().t1; }

private:
    struct Piece {
        double t0, t1, b0, b1, p0, p1;
    };
    const Piece& pieceAt(double beat) const;
    std::vector<Piece> pieces_;
    int beats_;
};

}  // namespace music
