#include "analysis.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace music {

namespace {

uint32_t get32(const std::vector<uint8_t>& b, size_t at) {
    if (at + 4 > b.size()) throw std::runtime_error("wav: truncated");
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}
uint16_t get16(const std::vector<uint8_t>& b, size_t at) {
    if (at + 2 > b.size()) throw std::runtime_error("wav: truncated");
    return uint16_t(b[at] | b[at + 1] << 8);
}

size_t sampleAt(double sec, size_t size) {
    double i = std::max(0.0, std::round(sec * kRate));
    return std::min(size, size_t(i));
}

double meanSquare(const Stereo& s, size_t from, size_t to) {
    double acc = 0.0;
    for (size_t i = from; i < to; ++i) acc += double(s.l[i]) * s.l[i] + double(s.r[i]) * s.r[i];
    return to > from ? acc / double(2 * (to - from)) : 0.0;
}

double toDb(double meanSq) { return 10.0 * std::log10(std::max(meanSq, 1e-20)); }

}  // namespace

Stereo readWav(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("wav: cannot read " + path);
    std::vector<uint8_t> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (b.size() < 12 || std::string(b.begin(), b.begin() + 4) != "RIFF" ||
        std::string(b.begin() + 8, b.begin() + 12) != "WAVE")
        throw std::runtime_error("wav: not a RIFF WAVE file: " + path);
    bool format = false;
    for (size_t at = 12; at + 8 <= b.size();) {
        std::string tag(b.begin() + long(at), b.begin() + long(at) + 4);
        size_t len = get32(b, at + 4), body = at + 8;
        if (tag == "fmt ") {
            format = get16(b, body) == 1 && get16(b, body + 2) == 2 && get32(b, body + 4) == uint32_t(kRate) &&
                     get16(b, body + 14) == 16;
            if (!format) throw std::runtime_error("wav: need 16-bit stereo PCM at 44.1 kHz");
        } else if (tag == "data") {
            if (!format) throw std::runtime_error("wav: data before format");
            len = std::min(len, b.size() - body);
            Stereo s(len / 4);
            for (size_t i = 0; i < s.size(); ++i) {
                s.l[i] = float(int16_t(get16(b, body + 4 * i))) / 32768.0f;
                s.r[i] = float(int16_t(get16(b, body + 4 * i + 2))) / 32768.0f;
            }
            return s;
        }
        at = body + len + (len & 1);
    }
    throw std::runtime_error("wav: no data chunk in " + path);
}

std::vector<double> energyFlux(const Stereo& s) {
    const size_t hop = size_t(kFluxHop * kRate), win = 2 * hop;
    std::vector<double> flux;
    double prev = 0.0;
    for (size_t at = 0; at + win <= s.size(); at += hop) {
        double e = meanSquare(s, at, at + win);
        flux.push_back(std::max(0.0, e - prev));
        prev = e;
    }
    return flux;
}

double fluxPercentile(const std::vector<double>& flux, double share, double untilSec, double hop) {
    size_t n = std::min(flux.size(), size_t(untilSec / hop));
    if (n == 0) return 0.0;
    std::vector<double> v(flux.begin(), flux.begin() + long(n));
    size_t k = std::min(n - 1, size_t(share * double(n - 1)));
    std::nth_element(v.begin(), v.begin() + long(k), v.end());
    return v[k];
}

bool onsetNear(const std::vector<double>& flux, double sec, double window, double threshold) {
    // Frame k covers [k·hop, k·hop + 2·hop); its rise over frame k − 1 comes
    // from the new second half, centred at (k + 1.5)·hop.
    for (size_t k = 0; k < flux.size(); ++k) {
        double centre = (double(k) + 1.5) * kFluxHop;
        if (std::fabs(centre - sec) <= window && flux[k] > threshold) return true;
    }
    return false;
}

std::vector<double> onsetStrength(const Stereo& s) {
    // Halving the rate by averaging pairs is a gentle low-pass; enough for
    // an energy envelope.
    std::vector<double> mono(s.size() / 2);
    for (size_t i = 0; i < mono.size(); ++i)
        mono[i] = 0.25 * (double(s.l[2 * i]) + s.r[2 * i] + s.l[2 * i + 1] + s.r[2 * i + 1]);
    const size_t hop = 256, win = 2 * hop;
    std::vector<double> rise;
    double prev = 0.0;
    for (size_t at = 0; at + win <= mono.size(); at += hop) {
        double e = 0.0;
        for (size_t i = at; i < at + win; ++i) e += mono[i] * mono[i];
        e /= double(win);
        rise.push_back(std::max(0.0, e - prev));
        prev = e;
    }
    return rise;
}

double onsetRatio(const std::vector<double>& onset, double sec, double window, double reference) {
    // As with the flux: frame k's rise comes from its second half, centred
    // at (k + 1.5) hops.
    double best = 0.0;
    for (size_t k = 0; k < onset.size(); ++k)
        if (std::fabs((double(k) + 1.5) * kOnsetHop - sec) <= window) best = std::max(best, onset[k]);
    return reference > 0.0 ? best / reference : 0.0;
}

double dipBeforeDb(const Stereo& s, double sec) {
    const double w = 512.0 / kRate;
    std::vector<double> before;
    for (double t = sec - 0.5; t + w <= sec - 0.1 + 1e-9; t += 0.005) before.push_back(rmsDb(s, t, t + w));
    if (before.empty()) return 0.0;
    std::nth_element(before.begin(), before.begin() + long(before.size() / 2), before.end());
    double lowest = 0.0, median = before[before.size() / 2];
    bool any = false;
    for (double t = sec - 0.1; t + w <= sec + 1e-9; t += 0.001) {
        double db = rmsDb(s, t, t + w);
        lowest = any ? std::min(lowest, db) : db;
        any = true;
    }
    return median - lowest;
}

double rmsDb(const Stereo& s, double fromSec, double toSec) {
    return toDb(meanSquare(s, sampleAt(fromSec, s.size()), sampleAt(toSec, s.size())));
}

double loudestWindowDb(const Stereo& s, double fromSec, double toSec, double* at) {
    double best = -200.0;
    for (double t = fromSec; t < toSec; t += 0.01) {
        double db = rmsDb(s, t, t + 0.1);
        if (db > best) {
            best = db;
            if (at) *at = t;
        }
    }
    return best;
}

double octaveBandDb(const Stereo& s, double fromSec, double toSec, double centreHz) {
    // Settle the filters for 0.2 s before the span is measured.
    size_t from = sampleAt(fromSec, s.size()), to = sampleAt(toSec, s.size());
    size_t start = from > size_t(0.2 * kRate) ? from - size_t(0.2 * kRate) : 0;
    Svf a, b;
    a.set(centreHz, std::sqrt(2.0));
    b.set(centreHz, std::sqrt(2.0));
    double acc = 0.0;
    for (size_t i = start; i < to; ++i) {
        a.tick(0.5 * (double(s.l[i]) + s.r[i]));
        b.tick(a.k * a.bp);
        double y = b.k * b.bp;
        if (i >= from) acc += y * y;
    }
    return toDb(to > from ? acc / double(to - from) : 0.0);
}

Breath breathBefore(const Stereo& track, const Stereo& withoutBreaths, double sec) {
    auto gainDb = [&](double from, double to) { return rmsDb(track, from, to) - rmsDb(withoutBreaths, from, to); };
    const double reference = gainDb(sec - 0.45, sec - 0.25);
    Breath b{};
    b.depthDb = reference - gainDb(sec - 0.07, sec - 0.025);
    b.lowestDb = 0.0;
    for (double t = sec - 0.1; t + 0.02 <= sec + 1e-9; t += 0.001) b.lowestDb = std::min(b.lowestDb, rmsDb(track, t, t + 0.02));
    // Window starts where the gain first passes each mark, on the way down
    // (searching forwards from 0.25 s before) and back up (from 70 ms on).
    const double tenth = reference - 0.1 * b.depthDb, most = reference - 0.9 * b.depthDb;
    auto firstAt = [&](double from, double to, auto passed) {
        for (double t = from; t + 0.005 <= to + 1e-9; t += 0.0005)
            if (passed(gainDb(t, t + 0.005))) return t;
        return to;
    };
    const double down1 = firstAt(sec - 0.25, sec, [&](double g) { return g <= tenth; });
    const double down9 = firstAt(down1, sec, [&](double g) { return g <= most; });
    b.fallMs = 1000.0 * (down9 - down1);
    const double up9 = firstAt(sec - 0.07, sec, [&](double g) { return g >= most; });
    const double up1 = firstAt(up9, sec, [&](double g) { return g >= tenth; });
    b.riseMs = 1000.0 * (up1 - up9);
    return b;
}

double lastSecondFallDb(const Stereo& s, double end) { return rmsDb(s, end - 1.1, end - 1.0) - rmsDb(s, end - 0.1, end); }

}  // namespace music
