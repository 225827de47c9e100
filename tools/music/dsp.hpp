// Small DSP building blocks shared by the instruments, effects and master.
// Everything here is deterministic: no global state, no library randomness.
#pragma once
#include <cmath>
#include <cstdint>
#include <vector>

namespace music {

constexpr int kRate = 44100;
constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 2.0 * kPi;

// xorshift64* generator. std::rand and the <random> distributions are not
// guaranteed to give the same numbers across library versions; this is.
class Rng {
public:
    explicit Rng(uint64_t seed) : s_(seed ? seed : 0x9E3779B97F4A7C15ull) {}
    uint64_t nextU64() {
        s_ ^= s_ >> 12;
        s_ ^= s_ << 25;
        s_ ^= s_ >> 27;
        return s_ * 0x2545F4914F6CDD1Dull;
    }
    double uni() { return double(nextU64() >> 11) * (1.0 / 9007199254740992.0); }
    double bi() { return uni() * 2.0 - 1.0; }

private:
    uint64_t s_;
};

inline double midiHz(double note) { return 440.0 * std::pow(2.0, (note - 69.0) / 12.0); }
inline double dbToGain(double db) { return std::pow(10.0, db / 20.0); }
inline double clamp01(double x) { return x < 0 ? 0 : (x > 1 ? 1 : x); }

// Polynomial band-limited step correction: removes most of the aliasing a
// naive sawtooth or square produces at the discontinuity.
inline double polyBlep(double t, double dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

// Phase accumulator oscillator producing band-limited saw and square.
struct Osc {
    double phase = 0.0;
    double saw(double hz) {
        double dt = hz / kRate;
        double v = 2.0 * phase - 1.0 - polyBlep(phase, dt);
        advance(dt);
        return v;
    }
    double square(double hz) {
        double dt = hz / kRate;
        double v = (phase < 0.5 ? 1.0 : -1.0) + polyBlep(phase, dt) -
                   polyBlep(std::fmod(phase + 0.5, 1.0), dt);
        advance(dt);
        return v;
    }
    double sine(double hz) {
        double v = std::sin(kTwoPi * phase);
        advance(hz / kRate);
        return v;
    }
    void advance(double dt) {
        phase += dt;
        if (phase >= 1.0) phase -= std::floor(phase);
    }
};

// Trapezoidal state-variable filter (zero-delay feedback). Stays stable
// under fast cutoff modulation, which the filter envelopes rely on.
struct Svf {
    double ic1 = 0.0, ic2 = 0.0;
    double g = 0.0, k = 1.0, a1 = 0.0, a2 = 0.0, a3 = 0.0;
    double lp = 0.0, bp = 0.0, hp = 0.0;

    void set(double hz, double q) {
        hz = hz < 10.0 ? 10.0 : (hz > 0.45 * kRate ? 0.45 * kRate : hz);
        g = std::tan(kPi * hz / kRate);
        k = 1.0 / q;
        a1 = 1.0 / (1.0 + g * (g + k));
        a2 = g * a1;
        a3 = g * a2;
    }
    void tick(double x) {
        double v3 = x - ic2;
        double v1 = a1 * ic1 + a2 * v3;
        double v2 = ic2 + a2 * ic1 + a3 * v3;
        ic1 = 2.0 * v1 - ic1;
        ic2 = 2.0 * v2 - ic2;
        lp = v2;
        bp = v1;
        hp = x - k * v1 - v2;
    }
};

// One-pole smoother / low-pass, used for parameter glides and DC blocking.
struct OnePole {
    double z = 0.0;
    double coef = 0.0;
    void setTime(double seconds) { coef = std::exp(-1.0 / (seconds * kRate)); }
    double tick(double x) { return z = x + coef * (z - x); }
};

// Attack/decay/sustain/release envelope evaluated from elapsed time, so a
// voice can be rendered in one pass without keeping envelope state.
struct Adsr {
    double a = 0.005, d = 0.1, s = 1.0, r = 0.1;
    double at(double t, double gate) const {
        double lvl;
        if (t < a) lvl = t / a;
        else if (t < a + d) lvl = 1.0 - (1.0 - s) * (t - a) / d;
        else lvl = s;
        if (t >= gate) {
            double held = at(gate, gate + 1.0);
            double rt = (t - gate) / r;
            return rt >= 1.0 ? 0.0 : held * (1.0 - rt) * (1.0 - rt);
        }
        return lvl;
    }
    double length(double gate) const { return gate + r; }
};

// Stereo block of samples.
struct Stereo {
    std::vector<float> l, r;
    Stereo() = default;
    explicit Stereo(size_t n) : l(n, 0.0f), r(n, 0.0f) {}
    size_t size() const { return l.size(); }
};

// Constant-power pan law: -1 hard left, +1 hard right.
inline void panGains(double pan, double& gl, double& gr) {
    double a = (pan + 1.0) * 0.25 * kPi;
    gl = std::cos(a) * 1.41421356;
    gr = std::sin(a) * 1.41421356;
}

}  // namespace music
