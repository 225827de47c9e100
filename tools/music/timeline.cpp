#include "timeline.hpp"

#include <cmath>
#include <stdexcept>

#include "dsp.hpp"

namespace music {

Grid::Grid(double t0, double t1, int beats, double nominalPeriod,
           const std::vector<double>& anchors, double startPeriod)
    : beats_(beats) {
    if (!anchors.empty() && startPeriod > 0.0)
        throw std::logic_error("grid: a tempo ramp cannot have anchors");
    std::vector<double> times{t0};
    std::vector<double> beatAt{0.0};
    for (double a : anchors) {
        times.push_back(a);
        beatAt.push_back(std::round((a - t0) / nominalPeriod));
    }
    times.push_back(t1);
    beatAt.push_back(beats);
    for (size_t i = 0; i + 1 < times.size(); ++i) {
        Piece p{times[i], times[i + 1], beatAt[i], beatAt[i + 1], 0.0, 0.0};
        double len = p.b1 - p.b0;
        if (len <= 0) throw std::logic_error("grid: anchors out of order");
        double mean = (p.t1 - p.t0) / len;
        // Linear period ramp: the mean of start and end period is the mean.
        p.p0 = startPeriod > 0.0 ? startPeriod : mean;
        p.p1 = 2.0 * mean - p.p0;
        pieces_.push_back(p);
    }
}

const Grid::Piece& Grid::pieceAt(double beat) const {
    for (const Piece& p : pieces_)
        if (beat < p.b1) return p;
    return pieces_.back();
}

double Grid::time(double beat) const {
    const Piece& p = pieceAt(beat);
    double x = beat - p.b0;
    double len = p.b1 - p.b0;
    if (x > len) return p.t1 + (x - len) * p.p1;  // past the end: hold tempo
    return p.t0 + p.p0 * x + (p.p1 - p.p0) * x * x / (2.0 * len);
}

int64_t Grid::sample(double beat) const { return std::llround(time(beat) * kRate); }

double Grid::period(double beat) const {
    const Piece& p = pieceAt(beat);
    double f = (beat - p.b0) / (p.b1 - p.b0);
    f = f < 0 ? 0 : (f > 1 ? 1 : f);
    return p.p0 + (p.p1 - p.p0) * f;
}

double Grid::beatAt(double seconds) const {
    // time() is strictly increasing, so bisection converges; 60 halvings
    // take the bracket below any useful precision.
    double lo = -64.0, hi = beats_ + 64.0;
    for (int i = 0; i < 60; ++i) {
        double mid = 0.5 * (lo + hi);
        (time(mid) < seconds ? lo : hi) = mid;
    }
    return 0.5 * (lo + hi);
}

double Grid::offStep(double seconds, double stepBeats) const {
    double step = std::round(beatAt(seconds) / stepBeats) * stepBeats;
    return std::fabs(time(step) - seconds);
}

}  // namespace music
