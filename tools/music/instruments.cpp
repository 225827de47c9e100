#include "instruments.hpp"

#include <cmath>

namespace music {

namespace {

size_t samplesFor(double seconds) { return size_t(seconds * kRate) + 1; }

// Frequencies of six detuned square waves; their sum gives the
// inharmonic clang of a cymbal once band-passed.
const double kMetal[6] = {205.3, 304.4, 369.6, 522.7, 540.0, 800.0};

double metallic(Osc* osc, double scale) {
    double s = 0.0;
    for (int i = 0; i < 6; ++i) s += osc[i].square(kMetal[i] * scale);
    return s / 6.0;
}

}  // namespace

Mono kick(double vel) {
    Mono out(samplesFor(0.5));
    Osc body;
    Rng rng(7);
    Svf click;
    click.set(3000.0, 0.7);
    for (size_t i = 0; i < out.size(); ++i) {
        double t = double(i) / kRate;
        // Fast pitch drop gives the punch, the slow tail sits at ~46 Hz.
        double hz = 50.0 + 150.0 * std::exp(-t / 0.026) + 20.0 * std::exp(-t / 0.1);
        double amp = t < 0.002 ? t / 0.002 : std::exp(-(t - 0.002) / 0.16);
        double x = body.sine(hz) * amp;
        click.tick(rng.bi());
        x += click.bp * std::exp(-t / 0.005) * 0.9;
        out[i] = float(std::tanh(x * 1.6) * 0.9 * vel);
    }
    return out;
}

Mono snare(double vel, Rng& rng) {
    Mono out(samplesFor(0.35));
    Osc a, b;
    Svf noise;
    noise.set(4200.0, 0.6);
    for (size_t i = 0; i < out.size(); ++i) {
        double t = double(i) / kRate;
        double drop = 1.0 + 0.5 * std::exp(-t / 0.015);
        double body = (a.sine(185.0 * drop) + 0.5 * b.sine(330.0 * drop)) * std::exp(-t / 0.05);
        noise.tick(rng.bi());
        double n = (noise.bp * 1.2 + noise.hp * 0.5) * std::exp(-t / 0.11);
        out[i] = float(std::tanh((body * 0.7 + n) * 1.2) * vel * 0.8);
    }
    return out;
}

Mono clap(double vel, Rng& rng) {
    Mono out(samplesFor(0.4));
    Svf f;
    f.set(1200.0, 1.4);
    for (size_t i = 0; i < out.size(); ++i) {
        double t = double(i) / kRate;
        // Three quick bursts then a tail: several hands not quite together.
        double env = 0.0;
        for (int k = 0; k < 3; ++k) {
            double tk = t - 0.009 * k;
            if (tk >= 0) env += std::exp(-tk / 0.006);
        }
        if (t > 0.027) env += 0.8 * std::exp(-(t - 0.027) / 0.11);
        f.tick(rng.bi());
        out[i] = float(f.bp * env * vel * 1.6);
    }
    return out;
}

Mono hat(double vel, bool open, Rng& rng) {
    double decay = open ? 0.22 : 0.032;
    Mono out(samplesFor(decay * 6.0));
    Osc osc[6];
    Svf band, high;
    band.set(9500.0, 1.0);
    high.set(7000.0, 0.7);
    for (size_t i = 0; i < out.size(); ++i) {
        double t = double(i) / kRate;
        double x = metallic(osc, 1.6) * 0.6 + rng.bi() * 0.6;
        band.tick(x);
        high.tick(band.bp);
        double env = std::exp(-t / decay);
        out[i] = float(high.hp * env * vel * 1.3);
    }
    return out;
}

Mono tom(double note, double vel) {
    Mono out(samplesFor(0.6));
    Osc o;
    double base = midiHz(note);
    for (size_t i = 0; i < out.size(); ++i) {
        double t = double(i) / kRate;
        double hz = base * (1.0 + 0.6 * std::exp(-t / 0.03));
        out[i] = float(std::tanh(o.sine(hz) * 1.5) * std::exp(-t / 0.2) * vel * 0.8);
    }
    return out;
}

Stereo crash(double vel, Rng& rng) {
    Stereo out(samplesFor(3.2));
    Osc osc[6];
    Svf hl, hr, tone;
    hl.set(5000.0, 0.7);
    hr.set(5000.0, 0.7);
    tone.set(7000.0, 0.5);
    for (size_t i = 0; i < out.size(); ++i) {
        double t = double(i) / kRate;
        double env = (t < 0.003 ? t / 0.003 : 1.0) * (0.7 * std::exp(-t / 0.9) + 0.3 * std::exp(-t / 0.12));
        tone.tick(metallic(osc, 2.3));
        double m = tone.bp * 0.8;
        hl.tick(rng.bi() + m);
        hr.tick(rng.bi() + m);
        out.l[i] = float(hl.hp * env * vel * 0.55);
        out.r[i] = float(hr.hp * env * vel * 0.55);
    }
    return out;
}

Stereo impact(double vel, Rng& rng) {
    Stereo out(samplesFor(2.5));
    Osc boom;
    Svf thumpL, thumpR;
    thumpL.set(500.0, 0.8);
    thumpR.set(500.0, 0.8);
    for (size_t i = 0; i < out.size(); ++i) {
        double t = double(i) / kRate;
        double hz = 32.0 + 70.0 * std::exp(-t / 0.08);
        double low = boom.sine(hz) * std::exp(-t / 0.8);
        thumpL.tick(rng.bi());
        thumpR.tick(rng.bi());
        double nEnv = std::exp(-t / 0.18);
        double c = std::tanh(low * 2.0) * 0.8;
        out.l[i] = float((c + thumpL.lp * nEnv * 1.5) * vel);
        out.r[i] = float((c + thumpR.lp * nEnv * 1.5) * vel);
    }
    return out;
}

Stereo clothHit(double note, double vel, Rng& rng) {
    Stereo out(samplesFor(0.7));
    Osc body;
    Svf snap, air;
    snap.set(2700.0, 1.8);
    air.set(5200.0, 1.2);
    double base = midiHz(note);
    for (size_t i = 0; i < out.size(); ++i) {
        double t = double(i) / kRate;
        double hz = base * (1.0 + 1.0 * std::exp(-t / 0.02));
        double b = body.sine(hz) * std::exp(-t / 0.08);
        // The snap: fast-rising band of noise, like fabric pulled taut. One
        // noise for both sides keeps the crack in the middle, where it adds
        // up instead of smearing; a little air above it gives it width.
        double snapEnv = (t < 0.002 ? t / 0.002 : std::exp(-(t - 0.002) / 0.05));
        snap.tick(rng.bi());
        air.tick(rng.bi());
        // Driven hard into the saturator, body and snap fuse into one dense
        // crack: its loudness comes from its weight over the first tens of
        // milliseconds rather than from a narrow peak that mastering's
        // limiter would flatten.
        double hold = t < 0.03 ? 1.0 : std::exp(-(t - 0.03) / 0.06);
        double x = std::tanh(3.0 * (b * 0.5 + snap.bp * snapEnv * 1.6)) * hold * vel;
        double w = air.bp * snapEnv * 0.15 * vel;
        out.l[i] = float(x + w);
        out.r[i] = float(x - w);
    }
    return out;
}

Mono bass(double note, double seconds, double vel, double bright) {
    Adsr env{0.003, 0.2, 0.75, 0.04};
    Mono out(samplesFor(env.length(seconds)));
    Osc saw, sub;
    Svf f;
    double hz = midiHz(note);
    for (size_t i = 0; i < out.size(); ++i) {
        double t = double(i) / kRate;
        double cutoff = hz * (2.0 + 10.0 * bright * std::exp(-t / 0.07)) + 120.0;
        if ((i & 15) == 0) f.set(cutoff, 1.1);
        f.tick(saw.saw(hz));
        double x = f.lp * 0.75 + sub.sine(hz) * 0.45;
        out[i] = float(std::tanh(x * 1.15) * env.at(t, seconds) * vel * 0.8);
    }
    return out;
}

Stereo pad(const std::vector<int>& notes, double seconds, double vel, double bright, Rng& rng) {
    Adsr env{0.35, 0.5, 0.85, 0.9};
    Stereo out(samplesFor(env.length(seconds)));
    const double detune[4] = {-0.13, -0.05, 0.06, 0.14};  // semitones
    std::vector<Osc> osc(notes.size() * 4);
    std::vector<double> hz(osc.size());
    for (size_t k = 0; k < osc.size(); ++k) {
        osc[k].phase = rng.uni();  // free-running phases
        hz[k] = midiHz(notes[k / 4] + detune[k % 4]);
    }
    Svf fl, fr, hl, hr;
    double lfoPhase = rng.uni();
    for (size_t i = 0; i < out.size(); ++i) {
        double t = double(i) / kRate;
        double l = 0.0, r = 0.0;
        for (size_t n = 0; n < notes.size(); ++n) {
            for (int d = 0; d < 4; ++d) {
                double s = osc[n * 4 + d].saw(hz[n * 4 + d]);
                ((d + n) & 1 ? r : l) += s;
            }
        }
        if ((i & 31) == 0) {
            double lfo = std::sin(kTwoPi * (lfoPhase + t * 0.15));
            double cut = 600.0 + 7000.0 * bright * bright * (1.0 + 0.25 * lfo);
            fl.set(cut, 0.8);
            fr.set(cut * 1.05, 0.8);
            hl.set(230.0, 0.7);  // keep the low end for bass and kick
            hr.set(230.0, 0.7);
        }
        fl.tick(l);
        fr.tick(r);
        hl.tick(fl.lp);
        hr.tick(fr.lp);
        double g = env.at(t, seconds) * vel * 0.22 / std::sqrt(double(notes.size()));
        out.l[i] = float(hl.hp * g);
        out.r[i] = float(hr.hp * g);
    }
    return out;
}

Stereo lead(double note, double seconds, double vel, double bright, Rng& rng) {
    Adsr env{0.008, 0.25, 0.7, 0.12};
    Stereo out(samplesFor(env.length(seconds)));
    Osc a, b, c, sq;
    a.phase = rng.uni();
    b.phase = rng.uni();
    Svf fl, fr;
    double hz = midiHz(note);
    for (size_t i = 0; i < out.size(); ++i) {
        double t = double(i) / kRate;
        // Vibrato fades in on held notes only.
        double vib = 1.0 + 0.004 * clamp01((t - 0.25) / 0.3) * std::sin(kTwoPi * 5.5 * t);
        double f = hz * vib;
        double sa = a.saw(f * 0.9962), sb = b.saw(f * 1.0038), sc = c.saw(f);
        double s2 = sq.square(f * 0.5) * 0.35;
        if ((i & 15) == 0) {
            double cut = hz * (1.5 + 6.0 * bright + 8.0 * std::exp(-t / 0.12));
            fl.set(cut, 1.3);
            fr.set(cut, 1.3);
        }
        fl.tick(sa + sc * 0.6 + s2);
        fr.tick(sb + sc * 0.6 + s2);
        double g = env.at(t, seconds) * vel * 0.28;
        out.l[i] = float(fl.lp * g);
        out.r[i] = float(fr.lp * g);
    }
    return out;
}

Mono pluck(double note, double seconds, double vel, double bright) {
    Adsr env{0.002, 0.18, 0.0, 0.05};
    Mono out(samplesFor(env.length(seconds) + 0.15));
    Osc a, b;
    Svf f;
    double hz = midiHz(note);
    for (size_t i = 0; i < out.size(); ++i) {
        double t = double(i) / kRate;
        if ((i & 7) == 0) f.set(hz * (1.0 + 14.0 * bright * std::exp(-t / 0.05)) + 300.0, 1.6);
        f.tick(a.saw(hz) * 0.6 + b.square(hz * 1.003) * 0.4);
        out[i] = float(f.lp * std::exp(-t / 0.16) * env.at(t, seconds + 0.1) * vel * 0.5);
    }
    return out;
}

Stereo bell(double note, double vel) {
    Stereo out(samplesFor(3.0));
    double hz = midiHz(note);
    double phase[2] = {0, 0}, mod[2] = {0, 0};
    const double spread[2] = {0.9985, 1.0015};
    for (size_t i = 0; i < out.size(); ++i) {
        double t = double(i) / kRate;
        double index = 2.2 * std::exp(-t / 0.35) + 0.3;  // bright strike, soft ring
        double amp = (t < 0.002 ? t / 0.002 : 1.0) * std::exp(-t / 1.1);
        double v[2];
        for (int ch = 0; ch < 2; ++ch) {
            double f = hz * spread[ch];
            mod[ch] += 3.5 * f / kRate;
            phase[ch] += f / kRate;
            mod[ch] -= std::floor(mod[ch]);
            phase[ch] -= std::floor(phase[ch]);
            v[ch] = std::sin(kTwoPi * phase[ch] + index * std::sin(kTwoPi * mod[ch]));
        }
        out.l[i] = float(v[0] * amp * vel * 0.3);
        out.r[i] = float(v[1] * amp * vel * 0.3);
    }
    return out;
}

Stereo riser(double seconds, double vel, Rng& rng) {
    Stereo out(samplesFor(seconds));
    Svf fl, fr;
    for (size_t i = 0; i < out.size(); ++i) {
        double x = double(i) / double(out.size());
        if ((i & 15) == 0) {
            double cut = 300.0 * std::pow(30.0, x);  // 300 Hz up to 9 kHz
            fl.set(cut, 2.0);
            fr.set(cut * 1.08, 2.0);
        }
        fl.tick(rng.bi());
        fr.tick(rng.bi());
        double g = x * x * vel * 0.9;
        out.l[i] = float(fl.bp * g);
        out.r[i] = float(fr.bp * g);
    }
    return out;
}

Mono subDrop(double vel) {
    Mono out(samplesFor(1.8));
    Osc o;
    for (size_t i = 0; i < out.size(); ++i) {
        double t = double(i) / kRate;
        double hz = 30.0 + 45.0 * std::exp(-t / 0.5);
        double amp = (t < 0.01 ? t / 0.01 : 1.0) * std::exp(-t / 0.6);
        out[i] = float(o.sine(hz) * amp * vel * 0.8);
    }
    return out;
}

}  // namespace music
