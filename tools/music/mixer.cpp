#include "mixer.hpp"

#include <algorithm>
#include <cmath>

#include "effects.hpp"

namespace music {

Mixer::Mixer(size_t length)
    : drums_(length), music_(length), accents_(length), reverbIn_(length, 0.0f), echoIn_(length, 0.0f),
      duck_(length, 0.0f), gate_(length, 1.0f), shelf_(length, 1.0f), level_(length, 1.0f) {}

Stereo& Mixer::bus(Bus b) { return b == Bus::Drums ? drums_ : (b == Bus::Music ? music_ : accents_); }

void Mixer::add(const Mono& sound, int64_t at, Bus bus, const Send& s) {
    Stereo& dst = this->bus(bus);
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
    Stereo& dst = this->bus(bus);
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

void Mixer::breath(int64_t at, double seconds, double depthDb) {
    const double ramp = kBreathRamp * kRate, from = double(at) - seconds * kRate;
    for (int64_t i = int64_t(from - ramp); i < at; ++i) {
        if (i < 0 || i >= int64_t(length())) continue;
        // Share of the full depth: rises over the ramp before `from`, holds,
        // and falls over the ramp that ends at `at`.
        double x = std::min((double(i) - (from - ramp)) / ramp, (double(at) - double(i)) / ramp);
        x = std::clamp(x, 0.0, 1.0);
        double g = dbToGain(-depthDb * x);
        gate_[size_t(i)] = std::min(gate_[size_t(i)], float(g));
    }
}

void Mixer::level(int64_t from, double db, double glide) {
    const double g = dbToGain(db), start = double(from) - glide * kRate;
    const size_t first = size_t(std::clamp<int64_t>(int64_t(start), 0, int64_t(length())));
    const double was = first < length() ? level_[first] : 1.0;
    for (size_t i = first; i < length(); ++i) {
        // Even in dB over the glide, as a fader moved by hand.
        double x = std::clamp((double(i) - start) / std::max(1.0, glide * kRate), 0.0, 1.0);
        level_[i] = float(x >= 1.0 ? g : was * std::pow(g / was, x));
    }
}

void Mixer::lowShelf(int64_t from, int64_t to, double db) {
    const double fade = 0.05 * kRate;
    for (int64_t i = std::max<int64_t>(0, int64_t(from - fade)); i < std::min<int64_t>(int64_t(length()), int64_t(to + fade)); ++i) {
        double x = std::clamp(std::min(double(i - from) + fade, double(to - i) + fade) / fade, 0.0, 1.0);
        shelf_[size_t(i)] = std::min(shelf_[size_t(i)], float(dbToGain(-db * x)));
    }
}

Stereo Mixer::mixdown(const std::function<double(int64_t)>& echoSeconds, bool breaths) const {
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
        float held = breaths ? gate_[i] : 1.0f;
        out.l[i] = (out.l[i] + float(wet.l[i] * g)) * held * level_[i] + accents_.l[i];
        out.r[i] = (out.r[i] + float(wet.r[i] * g)) * held * level_[i] + accents_.r[i];
    }
    // The shelf subtracts a low-passed copy filtered forwards and then
    // backwards: no phase shift, so the cut is as deep as asked below the
    // corner and leaves the mids alone.
    for (std::vector<float>* ch : {&out.l, &out.r}) {
        std::vector<float> low(ch->size());
        Svf forwards, backwards;
        forwards.set(300.0, 0.7071);
        backwards.set(300.0, 0.7071);
        for (size_t i = 0; i < low.size(); ++i) forwards.tick((*ch)[i]), low[i] = float(forwards.lp);
        for (size_t i = low.size(); i-- > 0;) backwards.tick(low[i]), low[i] = float(backwards.lp);
        for (size_t i = 0; i < low.size(); ++i) (*ch)[i] -= float((1.0 - shelf_[i]) * low[i]);
    }
    return out;
}

}  // namespace music
