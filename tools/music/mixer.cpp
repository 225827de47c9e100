#include "mixer.hpp"

#include <algorithm>

#include "effects.hpp"

namespace music {

Mixer::Mixer(size_t length)
    : drums_(length), music_(length), reverbIn_(length, 0.0f), echoIn_(length, 0.0f),
      duck_(length, 0.0f), gate_(length, 1.0f) {}

void Mixer::add(const Mono& sound, int64_t at, Bus bus, const Send& s) {
    Stereo& dst = bus == Bus::Drums ? drums_ : music_;
    double gl, gr;
    panGains(s.pan, gl, gr);
    for (size_t k = 0; k < sound.size(); ++k) {
        int64_t i = at + int64_t(k);
        if (i < 0 || i >= int64_t(length())) continue;
        double x = sound[k] * s.gain;
        dst.l[size_t(i)] += float(x * gl);
        dst.r[size_t(i)] += float(x * gr);
        reverbIn_[size_t(i)] += float(x * s.reverb);
        echoIn_[size_t(i)] += float(x * s.echo);
    }
}

void Mixer::add(const Stereo& sound, int64_t at, Bus bus, const Send& s) {
    Stereo& dst = bus == Bus::Drums ? drums_ : music_;
    for (size_t k = 0; k < sound.size(); ++k) {
        int64_t i = at + int64_t(k);
        if (i < 0 || i >= int64_t(length())) continue;
        double l = sound.l[k] * s.gain, r = sound.r[k] * s.gain;
        dst.l[size_t(i)] += float(l);
        dst.r[size_t(i)] += float(r);
        double mid = 0.5 * (l + r);
        reverbIn_[size_t(i)] += float(mid * s.reverb);
        echoIn_[size_t(i)] += float(mid * s.echo);
    }
}

void Mixer::duck(int64_t at, double depth, double seconds) { addDuck(duck_, at, depth, seconds); }

void Mixer::gap(int64_t at, double seconds) {
    // 3 ms ramps at both ends: a hard cut would click.
    const int64_t ramp = int64_t(0.003 * kRate), from = at - int64_t(seconds * kRate);
    for (int64_t i = from - ramp; i < at; ++i) {
        if (i < 0 || i >= int64_t(length())) continue;
        double g = 0.0;
        if (i < from) g = double(from - i) / double(ramp);
        else if (i >= at - ramp) g = double(i - (at - ramp)) / double(ramp);
        gate_[size_t(i)] = std::min(gate_[size_t(i)], float(g));
    }
}

Stereo Mixer::mixdown(const std::function<double(int64_t)>& echoSeconds) const {
    Stereo out(length());
    for (size_t i = 0; i < length(); ++i) {
        double g = 1.0 - duck_[i];
        out.l[i] = drums_.l[i] + float(music_.l[i] * g);
        out.r[i] = drums_.r[i] + float(music_.r[i] * g);
    }
    Stereo wet(length());
    reverb(reverbIn_, wet, 0.82, 0.45, 1.0);
    pingPongDelay(echoIn_, wet, echoSeconds, 0.42, 0.55);
    // The effect returns are ducked too, so the tails breathe with the beat.
    for (size_t i = 0; i < length(); ++i) {
        double g = 1.0 - 0.6 * duck_[i];
        out.l[i] = (out.l[i] + float(wet.l[i] * g)) * gate_[i];
        out.r[i] = (out.r[i] + float(wet.r[i] * g)) * gate_[i];
    }
    return out;
}

}  // namespace music
