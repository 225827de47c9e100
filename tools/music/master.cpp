#include "master.hpp"

#include <algorithm>
#include <cmath>
#include <deque>
#include <vector>

namespace music {

namespace {

struct Biquad {
    double b0, b1, b2, a1, a2;
    double z1 = 0.0, z2 = 0.0;
    double tick(double x) {
        double y = b0 * x + z1;
        z1 = b1 * x - a1 * y + z2;
        z2 = b2 * x - a2 * y;
        return y;
    }
};

// RBJ cookbook biquads for the mastering EQ.
Biquad normalized(double b0, double b1, double b2, double a0, double a1, double a2) {
    return {b0 / a0, b1 / a0, b2 / a0, a1 / a0, a2 / a0};
}
Biquad peaking(double hz, double q, double db) {
    double a = std::pow(10.0, db / 40.0), w = kTwoPi * hz / kRate;
    double al = std::sin(w) / (2.0 * q), c = std::cos(w);
    return normalized(1 + al * a, -2 * c, 1 - al * a, 1 + al / a, -2 * c, 1 - al / a);
}
Biquad highShelf(double hz, double db) {
    double a = std::pow(10.0, db / 40.0), w = kTwoPi * hz / kRate;
    double al = std::sin(w) / 2.0 * std::sqrt(2.0), c = std::cos(w), sa = 2.0 * std::sqrt(a) * al;
    return normalized(a * ((a + 1) + (a - 1) * c + sa), -2 * a * ((a - 1) + (a + 1) * c),
                      a * ((a + 1) + (a - 1) * c - sa), (a + 1) - (a - 1) * c + sa,
                      2 * ((a - 1) - (a + 1) * c), (a + 1) - (a - 1) * c - sa);
}
Biquad lowShelf(double hz, double db) {
    double a = std::pow(10.0, db / 40.0), w = kTwoPi * hz / kRate;
    double al = std::sin(w) / 2.0 * std::sqrt(2.0), c = std::cos(w), sa = 2.0 * std::sqrt(a) * al;
    return normalized(a * ((a + 1) - (a - 1) * c + sa), 2 * a * ((a - 1) - (a + 1) * c),
                      a * ((a + 1) - (a - 1) * c - sa), (a + 1) + (a - 1) * c + sa,
                      -2 * ((a - 1) + (a + 1) * c), (a + 1) + (a - 1) * c - sa);
}
Biquad highPass(double hz, double q) {
    double w = kTwoPi * hz / kRate, al = std::sin(w) / (2.0 * q), c = std::cos(w);
    return normalized((1 + c) / 2, -(1 + c), (1 + c) / 2, 1 + al, -2 * c, 1 - al);
}
Biquad lowPass(double hz, double q) {
    double w = kTwoPi * hz / kRate, al = std::sin(w) / (2.0 * q), c = std::cos(w);
    return normalized((1 - c) / 2, 1 - c, (1 - c) / 2, 1 + al, -2 * c, 1 - al);
}

// Tonal balance of the whole mix: no rumble below the kick, the sub kept
// from eating the headroom, a slight dip where many voices meet around
// 250 Hz, the mids lifted where the melody lives, the top tamed so the mix
// slopes down like a natural one, and nothing above what a 128 kbit/s MP3
// keeps, so the encoded file measures like the master.
void equalize(Stereo& s) {
    for (std::vector<float>* ch : {&s.l, &s.r}) {
        Biquad chain[] = {highPass(28.0, 0.7),        lowShelf(70.0, -2.5),
                          peaking(260.0, 0.9, -1.0),  peaking(800.0, 0.7, 2.5),
                          highShelf(4000.0, -3.0),
                          lowPass(16000.0, 0.7),      lowPass(16000.0, 0.7)};
        for (float& x : *ch) {
            double v = x;
            for (Biquad& b : chain) v = b.tick(v);
            x = float(v);
        }
    }
}

// The two-stage K-weighting filter of BS.1770 (head shelf + low cut),
// derived for the sample rate from its analog prototype.
void kWeighting(Biquad& shelf, Biquad& lowCut) {
    double k = std::tan(kPi * 1681.974450955533 / kRate);
    double q = 0.7071752369554196;
    double vh = std::pow(10.0, 3.999843853973347 / 20.0);
    double vb = std::pow(vh, 0.4996667741545416);
    double a0 = 1.0 + k / q + k * k;
    shelf = {(vh + vb * k / q + k * k) / a0, 2.0 * (k * k - vh) / a0,
             (vh - vb * k / q + k * k) / a0, 2.0 * (k * k - 1.0) / a0,
             (1.0 - k / q + k * k) / a0};
    k = std::tan(kPi * 38.13547087602444 / kRate);
    q = 0.5003270373238773;
    a0 = 1.0 + k / q + k * k;
    lowCut = {1.0, -2.0, 1.0, 2.0 * (k * k - 1.0) / a0, (1.0 - k / q + k * k) / a0};
}

// Windowed-sinc taps for reading the signal between samples at phase
// 1/4, 2/4, 3/4: a true-peak meter's 4x oversampling.
constexpr int kHalf = 12;
struct Interp {
    double taps[3][2 * kHalf];
    Interp() {
        for (int ph = 0; ph < 3; ++ph) {
            double frac = (ph + 1) / 4.0;
            for (int j = 0; j < 2 * kHalf; ++j) {
                double x = double(j - kHalf + 1) - frac;
                double sinc = std::sin(kPi * x) / (kPi * x);
                double w = 0.5 + 0.5 * std::cos(kPi * x / (kHalf + 1));
                taps[ph][j] = sinc * w;
            }
        }
    }
};
const Interp& interp() {
    static const Interp table;
    return table;
}

// Largest absolute value at or just after sample i (4x oversampled).
double peakAround(const std::vector<float>& x, size_t i) {
    double p = std::fabs(x[i]);
    if (i < kHalf || i + kHalf >= x.size()) return p;
    for (int ph = 0; ph < 3; ++ph) {
        double acc = 0.0;
        const double* t = interp().taps[ph];
        for (int j = 0; j < 2 * kHalf; ++j) acc += t[j] * x[i - kHalf + 1 + j];
        p = std::max(p, std::fabs(acc));
    }
    return p;
}

std::vector<float> peakTrace(const Stereo& s) {
    std::vector<float> p(s.size());
    for (size_t i = 0; i < s.size(); ++i)
        p[i] = float(std::max(peakAround(s.l, i), peakAround(s.r, i)));
    return p;
}

void scale(Stereo& s, double g) {
    for (size_t i = 0; i < s.size(); ++i) {
        s.l[i] = float(s.l[i] * g);
        s.r[i] = float(s.r[i] * g);
    }
}

// Look-ahead limiter. The required gain is min-held over the look-ahead
// window, released slowly, then box-averaged over the same window: the
// average only spans values at or below the gain needed at each peak, so
// peaks never exceed the ceiling while the gain still moves smoothly.
// `peak` is the true-peak trace of `s` before it was scaled by `gain`.
// Returns the largest gain reduction applied, in dB.
double limit(Stereo& s, double ceiling, const std::vector<float>& peak, double gain) {
    const size_t look = size_t(0.004 * kRate);
    const double release = std::exp(-1.0 / (0.12 * kRate));
    std::vector<float> held(s.size());
    std::deque<size_t> window;  // indices with increasing gain need
    auto need = [&](size_t i) {
        double p = peak[i] * gain;
        return p > ceiling ? ceiling / p : 1.0;
    };
    for (size_t i = s.size(); i-- > 0;) {
        while (!window.empty() && need(window.back()) >= need(i)) window.pop_back();
        window.push_back(i);
        while (window.front() > i + look) window.pop_front();
        held[i] = float(need(window.front()));
    }
    double r = 1.0, sum = 0.0, lowest = 1.0;
    std::vector<float> released(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        r = std::min<double>(held[i], 1.0 - (1.0 - r) * release);
        released[i] = float(r);
        sum += r;
        if (i >= look + 1) sum -= released[i - look - 1];
        double g = sum / double(std::min(i + 1, look + 1));
        lowest = std::min(lowest, g);
        s.l[i] = float(s.l[i] * g);
        s.r[i] = float(s.r[i] * g);
    }
    return -20.0 * std::log10(lowest);
}

}  // namespace

namespace {

// K-weighted power of both channels summed, per 100 ms step from `from`
// to `to` (samples): the blocks every loudness figure is built from.
std::vector<double> powerSteps(const Stereo& s, size_t from, size_t to) {
    const size_t hop = size_t(0.1 * kRate);
    std::vector<double> power;
    Biquad sh[2], lc[2];
    kWeighting(sh[0], lc[0]);
    kWeighting(sh[1], lc[1]);
    double acc = 0.0;
    to = std::min(to, s.size());
    for (size_t i = from; i < to; ++i) {
        double l = lc[0].tick(sh[0].tick(s.l[i]));
        double r = lc[1].tick(sh[1].tick(s.r[i]));
        acc += l * l + r * r;
        if ((i - from + 1) % hop == 0) {
            power.push_back(acc / double(hop));
            acc = 0.0;
        }
    }
    return power;
}

// Mean power of `steps` consecutive steps starting at each step.
std::vector<double> blocksOf(const std::vector<double>& power, size_t steps) {
    std::vector<double> blocks;
    for (size_t b = 0; b + steps <= power.size(); ++b) {
        double sum = 0.0;
        for (size_t k = 0; k < steps; ++k) sum += power[b + k];
        blocks.push_back(sum / double(steps));
    }
    return blocks;
}

double lufsOf(double power) { return -0.691 + 10.0 * std::log10(std::max(power, 1e-20)); }

// Blocks louder than the absolute gate and than `relativeLu` below the
// mean of those.
std::vector<double> gated(const std::vector<double>& blocks, double relativeLu) {
    double sum = 0.0;
    size_t n = 0;
    for (double p : blocks)
        if (lufsOf(p) > -70.0) sum += p, ++n;
    const double relative = n ? lufsOf(sum / double(n)) + relativeLu : -70.0;
    std::vector<double> kept;
    for (double p : blocks)
        if (lufsOf(p) > std::max(-70.0, relative)) kept.push_back(p);
    return kept;
}

}  // namespace

double integratedLoudness(const Stereo& s, double fromSec, double toSec) {
    size_t from = size_t(std::max(0.0, fromSec) * kRate);
    size_t to = toSec < 0.0 ? s.size() : size_t(toSec * kRate);
    std::vector<double> kept = gated(blocksOf(powerSteps(s, from, to), 4), -10.0);
    double sum = 0.0;
    for (double p : kept) sum += p;
    return kept.empty() ? -70.0 : lufsOf(sum / double(kept.size()));
}

double loudnessRange(const Stereo& s) {
    // Short-term loudness: 3 s windows every 100 ms, gated 20 LU below
    // their mean; the range is the 10th to the 95th percentile.
    std::vector<double> kept = gated(blocksOf(powerSteps(s, 0, s.size()), 30), -20.0);
    if (kept.empty()) return 0.0;
    std::sort(kept.begin(), kept.end());
    auto at = [&](double share) { return lufsOf(kept[size_t(std::lround(share * double(kept.size() - 1)))]); };
    return at(0.95) - at(0.10);
}

double truePeak(const Stereo& s) {
    double p = 0.0;
    for (size_t i = 0; i < s.size(); ++i)
        p = std::max({p, peakAround(s.l, i), peakAround(s.r, i)});
    return p;
}

MasterResult master(Stereo& mix, double targetLufs, double ceilingDb) {
    equalize(mix);
    const Stereo dry = mix;
    const std::vector<float> dryPeak = peakTrace(dry);
    double gainDb = targetLufs - integratedLoudness(dry);
    double ceiling = dbToGain(ceilingDb);
    double lufs = 0.0, reduction = 0.0;
    for (int pass = 0; pass < 4; ++pass) {
        mix = dry;
        scale(mix, dbToGain(gainDb));
        reduction = limit(mix, ceiling, dryPeak, dbToGain(gainDb));
        lufs = integratedLoudness(mix);
        if (std::fabs(lufs - targetLufs) < 0.05) break;
        gainDb += targetLufs - lufs;  // limiting ate some loudness: push again
    }
    // The look-ahead should already hold the ceiling; this catches the rare
    // overshoot from gain changes between interpolated samples.
    double tp = truePeak(mix);
    if (tp > ceiling) scale(mix, ceiling / tp), tp = ceiling;
    return {integratedLoudness(mix), 20.0 * std::log10(tp), gainDb, reduction};
}

}  // namespace music
