#include "effects.hpp"

#include <algorithm>
#include <cmath>

namespace music {

namespace {

struct Comb {
    std::vector<float> buf;
    size_t pos = 0;
    float store = 0.0f;
    explicit Comb(size_t n) : buf(n, 0.0f) {}
    float tick(float x, float feedback, float damp) {
        float y = buf[pos];
        store = y * (1.0f - damp) + store * damp;  // high frequencies die faster
        buf[pos] = x + store * feedback;
        if (++pos == buf.size()) pos = 0;
        return y;
    }
};

struct Allpass {
    std::vector<float> buf;
    size_t pos = 0;
    explicit Allpass(size_t n) : buf(n, 0.0f) {}
    float tick(float x) {
        float b = buf[pos];
        buf[pos] = x + b * 0.5f;
        if (++pos == buf.size()) pos = 0;
        return b - x;
    }
};

void reverbChannel(const std::vector<float>& in, std::vector<float>& out, size_t spread,
                   double room, double damp, double wet) {
    const size_t combLen[8] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
    const size_t apLen[4] = {556, 441, 341, 225};
    std::vector<Comb> combs;
    std::vector<Allpass> aps;
    for (size_t n : combLen) combs.emplace_back(n + spread);
    for (size_t n : apLen) aps.emplace_back(n + spread);
    const float fb = float(room * 0.28 + 0.7);
    const float dp = float(damp * 0.4);
    for (size_t i = 0; i < in.size(); ++i) {
        float x = in[i] * 0.015f;
        float acc = 0.0f;
        for (Comb& c : combs) acc += c.tick(x, fb, dp);
        for (Allpass& a : aps) acc = a.tick(acc);
        out[i] += float(acc * wet);
    }
}

}  // namespace

void reverb(const std::vector<float>& in, Stereo& out, double room, double damp, double wet) {
    // Pre-delay and a low cut on the input keep the tail off the transients
    // and out of the bass register.
    const size_t pre = size_t(0.025 * kRate);
    std::vector<float> fed(in.size(), 0.0f);
    Svf hp;
    hp.set(220.0, 0.7);
    for (size_t i = 0; i + pre < in.size(); ++i) {
        hp.tick(in[i]);
        fed[i + pre] = float(hp.hp);
    }
    reverbChannel(fed, out.l, 0, room, damp, wet);
    reverbChannel(fed, out.r, 23, room, damp, wet);
}

void pingPongDelay(const std::vector<float>& in, Stereo& out,
                   const std::function<double(int64_t)>& delaySeconds,
                   double feedback, double wet) {
    const size_t cap = 2 * kRate;
    std::vector<float> bl(cap, 0.0f), br(cap, 0.0f);
    OnePole smooth;
    smooth.setTime(0.3);
    smooth.z = delaySeconds(0) * kRate;
    Svf toneL, toneR;
    toneL.set(3500.0, 0.6);
    toneR.set(3500.0, 0.6);
    for (size_t i = 0; i < in.size(); ++i) {
        double d = smooth.tick(delaySeconds(int64_t(i)) * kRate);
        double rp = double(i + cap) - d;
        size_t i0 = size_t(rp);
        double fr = rp - double(i0);
        auto read = [&](const std::vector<float>& b) {
            return b[i0 % cap] * (1.0 - fr) + b[(i0 + 1) % cap] * fr;
        };
        double yl = read(bl), yr = read(br);
        // Each repeat is darkened a little, like tape echo.
        toneL.tick(yl);
        toneR.tick(yr);
        bl[i % cap] = float(in[i] + toneR.lp * feedback);  // cross-feed: ping-pong
        br[i % cap] = float(toneL.lp * feedback);
        out.l[i] += float(yl * wet);
        out.r[i] += float(yr * wet);
    }
}

void addDuck(std::vector<float>& duck, int64_t at, double depth, double seconds) {
    const int64_t attack = int64_t(0.004 * kRate);
    const int64_t total = int64_t(seconds * kRate);
    for (int64_t k = 0; k < total; ++k) {
        int64_t i = at - attack + k;
        if (i < 0 || i >= int64_t(duck.size())) continue;
        double v;
        if (k < attack) v = double(k) / attack;
        else v = 0.5 + 0.5 * std::cos(kPi * double(k - attack) / double(total - attack));
        duck[size_t(i)] = std::max(duck[size_t(i)], float(v * depth));
    }
}

}  // namespace music
