#include "layers.hpp"

#include <cmath>
#include <type_traits>

#include "instruments.hpp"

namespace music {

namespace {

// Mix levels and effect sends per instrument, in one place for balancing.
const Send kKick{1.0, 0.0, 0.0, 0.0};
const Send kSnare{0.5, 0.0, 0.35, 0.0};
const Send kClap{0.42, 0.0, 0.3, 0.0};
const Send kHat{0.2, 0.0, 0.05, 0.0};
const Send kCrash{0.45, 0.0, 0.2, 0.0};
const Send kBass{0.62, 0.0, 0.0, 0.0};
const Send kPad{0.55, 0.0, 0.5, 0.0};
const Send kArp{0.2, 0.0, 0.3, 0.45};
const Send kLead{0.85, 0.0, 0.4, 0.3};
const Send kBell{0.6, 0.0, 0.8, 0.4};
const Send kFx{0.5, 0.0, 0.5, 0.0};
// How far the music draws back before the last chord.
constexpr double kBreathDb = 13.0;
// The cloth hit's snap and body over the groove: loud enough to stand out
// of the whole track, not only of its quieter part.
constexpr double kClothHitLevel = 3.0;

Send scaled(Send s, double level, double pan = 0.0) {
    s.gain *= level;
    s.pan = pan;
    return s;
}

double stepBeat(int bar, int step) { return bar * 4.0 + step * 0.25; }

double hitLevel(char c) { return c == 'X' ? 1.0 : (c == 'g' ? 0.35 : 0.8); }

// Length in steps of the note starting at `step`: 1 plus following '-'.
int heldSteps(const char* p, int step) {
    int n = 1;
    while (step + n < 16 && p[step + n] == '-') ++n;
    return n;
}

}  // namespace

const Chord& Section::chordAt(double beat) const {
    size_t bar = size_t(std::floor(beat / 4.0));
    return chords[bar % chords.size()];
}

void groove(Section& s, int fromBar, int bars, const Groove& g) {
    for (int bar = fromBar; bar < fromBar + bars; ++bar) {
        for (int st = 0; st < 16; ++st) {
            double b = stepBeat(bar, st);
            int64_t t = s.at(b);
            if (g.kick && g.kick[st] != '.') {
                s.mix.add(kick(hitLevel(g.kick[st])), t, Bus::Drums, scaled(kKick, g.level));
                s.mix.duck(t, 0.6, 0.6 * s.grid.period(b));
            }
            if (g.snare && g.snare[st] != '.')
                s.mix.add(snare(hitLevel(g.snare[st]), s.rng), t, Bus::Drums, scaled(kSnare, g.level, 0.05));
            if (g.clap && g.clap[st] != '.')
                s.mix.add(clap(hitLevel(g.clap[st]), s.rng), t, Bus::Drums, scaled(kClap, g.level, -0.1));
            if (g.hats && g.hats[st] != '.') {
                // Slight push-pull on the sixteenths keeps the hats from sounding mechanical.
                double vel = (st % 4 == 2 ? 1.0 : 0.6) * (0.9 + 0.1 * s.rng.uni());
                bool open = g.hats[st] == 'o';
                s.mix.add(hat(vel, open, s.rng), t, Bus::Drums, scaled(kHat, g.level, open ? 0.25 : -0.25));
            }
        }
    }
}

void bassline(Section& s, int fromBar, int bars, const char* pattern, double level, double bright) {
    for (int bar = fromBar; bar < fromBar + bars; ++bar) {
        for (int st = 0; st < 16; ++st) {
            char c = pattern[st];
            if (c == '.' || c == '-') continue;
            double b = stepBeat(bar, st);
            int note = bassNote(s.chordAt(b)) + (c == 'o' ? 12 : (c == 'f' ? 7 : 0));
            double len = s.seconds(b, heldSteps(pattern, st) * 0.25) * 0.9;
            double vel = st % 4 == 0 ? 1.0 : 0.85;
            s.mix.add(bass(note, len, vel, bright), s.at(b), Bus::Music, scaled(kBass, level));
        }
    }
}

void pads(Section& s, int fromBar, int bars, double level, double brightFrom, double brightTo) {
    int bar = fromBar;
    while (bar < fromBar + bars) {
        // Hold the chord for as long as it repeats in the progression.
        int len = 1;
        while (bar + len < fromBar + bars &&
               s.chordAt((bar + len) * 4.0).root == s.chordAt(bar * 4.0).root &&
               s.chordAt((bar + len) * 4.0).minor == s.chordAt(bar * 4.0).minor)
            ++len;
        double f = bars > 1 ? double(bar - fromBar) / double(bars - 1) : 0.0;
        double bright = brightFrom + (brightTo - brightFrom) * f;
        std::vector<int> notes = closeVoicing(s.chordAt(bar * 4.0), 57);
        notes.push_back(notes[0] + 12);  // doubled top note for a fuller stack
        double secs = s.seconds(bar * 4.0, len * 4.0);
        s.mix.add(pad(notes, secs, 1.0, bright, s.rng), s.at(bar * 4.0), Bus::Music, scaled(kPad, level));
        bar += len;
    }
}

void arpeggio(Section& s, int fromBar, int bars, const char* pattern, int low, double level, double bright) {
    for (int bar = fromBar; bar < fromBar + bars; ++bar) {
        std::vector<int> tones = closeVoicing(s.chordAt(bar * 4.0), low);
        for (int i = 0; i < 3; ++i) tones.push_back(tones[i] + 12);
        for (int st = 0; st < 16; ++st) {
            char c = pattern[st];
            if (c < '0' || c > '9') continue;
            double b = stepBeat(bar, st);
            double pan = (st % 2 ? 0.45 : -0.45);
            double vel = st % 4 == 0 ? 1.0 : 0.75;
            s.mix.add(pluck(tones[size_t(c - '0') % tones.size()], s.seconds(b, 0.25), vel, bright), s.at(b),
                      Bus::Music, scaled(kArp, level, pan));
        }
    }
}

void melody(Section& s, int fromBar, const std::string& text, const LeadStyle& style) {
    Send send = scaled(kLead, style.level);
    send.echo = style.echo;
    for (const MelodyNote& n : parseMelody(text)) {
        double b = fromBar * 4.0 + n.beat;
        double len = s.seconds(b, n.beats) * 0.92;  // small gap: articulated, not legato
        int pitch = n.pitch + 12 * style.octave;
        s.mix.add(lead(pitch, len, 1.0, style.bright, s.rng), s.at(b), Bus::Music, send);
        if (style.harmony) {
            Send under = send;
            under.gain *= 0.55;
            s.mix.add(lead(scaleShift(pitch, style.harmony), len, 1.0, style.bright * 0.8, s.rng), s.at(b),
                      Bus::Music, under);
        }
    }
}

void bells(Section& s, int fromBar, const std::string& text, double level) {
    for (const MelodyNote& n : parseMelody(text)) {
        double b = fromBar * 4.0 + n.beat;
        s.mix.add(bell(n.pitch, 1.0), s.at(b), Bus::Music, scaled(kBell, level));
    }
}

void snareRoll(Section& s, double fromBeat, double toBeat, double levelFrom, double levelTo) {
    // Density doubles each bar-quarter of the roll: quarters, eighths, sixteenths.
    double b = fromBeat;
    while (b < toBeat - 1e-9) {
        double f = (b - fromBeat) / (toBeat - fromBeat);
        double step = f < 0.5 ? 1.0 : (f < 0.75 ? 0.5 : 0.25);
        double lvl = levelFrom + (levelTo - levelFrom) * f;
        s.mix.add(snare(0.9, s.rng), s.at(b), Bus::Drums, scaled(kSnare, lvl, 0.05));
        b += step;
    }
}

void tomFill(Section& s, double fromBeat) {
    const int notes[4] = {50, 47, 43, 40};
    for (int i = 0; i < 4; ++i) {
        double b = fromBeat + i * 0.25;
        s.mix.add(tom(notes[i], 0.9), s.at(b), Bus::Drums, scaled(kSnare, 1.1, 0.4 - 0.25 * i));
    }
}

void sweepUp(Section& s, double fromBeat, double toBeat, double level) {
    s.mix.add(riser(s.seconds(fromBeat, toBeat - fromBeat), 1.0, s.rng), s.at(fromBeat), Bus::Music,
              scaled(kFx, level));
}

void crashAt(Section& s, double beat, double level) {
    s.mix.add(crash(1.0, s.rng), s.at(beat), Bus::Drums, scaled(kCrash, level));
}

void accentAt(Section& s, double beat, double level) {
    int64_t t = s.at(beat);
    crashAt(s, beat, level * 1.2);
    s.mix.add(impact(1.0, s.rng), t, Bus::Drums, scaled(kFx, level * 0.9));
    s.mix.add(subDrop(1.0), t, Bus::Drums, scaled(kKick, level * 0.45));
    s.mix.duck(t, 0.8, 0.5);
}

void flashHit(Section& s, double beat) {
    sweepUp(s, beat - 4.0, beat, 0.9);
    accentAt(s, beat, 1.3);
    s.mix.add(kick(1.0), s.at(beat), Bus::Accents, scaled(kKick, 1.1));
    s.mix.add(subDrop(1.0), s.at(beat), Bus::Drums, scaled(kKick, 0.6));
}

void clothHitAt(Section& s, double seconds, double vel) {
    int64_t t = std::llround(seconds * kRate);
    int note = bassNote(s.chordAt(s.grid.beatAt(seconds))) + 12;
    s.mix.add(clothHit(note, vel, s.rng), t, Bus::Accents, scaled(kFx, kClothHitLevel * vel));
    s.mix.add(kick(vel), t, Bus::Accents, scaled(kKick, 1.0));
    s.mix.duck(t, 0.7, 0.25);
}

namespace {

// A held note dying away like a struck one: `dbPerSecond` lower every second.
template <class Sound>
Sound dyingAway(Sound sound, double dbPerSecond) {
    for (size_t i = 0; i < sound.size(); ++i) {
        float g = float(dbToGain(-dbPerSecond * double(i) / kRate));
        if constexpr (std::is_same_v<Sound, Stereo>) sound.l[i] *= g, sound.r[i] *= g;
        else sound[i] *= g;
    }
    return sound;
}

}  // namespace

void finale(Section& s, double beat) {
    int64_t t = s.at(beat);
    // Held past the program's end at the last section time and dying away
    // meanwhile, so the exit cuts a chord that still rings.
    const double hold = 4.5, dying = 3.0;
    s.mix.add(dyingAway(pad({57, 61, 64, 69, 73}, hold, 1.0, 0.45, s.rng), dying), t, Bus::Music, scaled(kPad, 0.9));
    s.mix.add(dyingAway(bass(33, hold, 1.0, 0.1), dying), t, Bus::Music, scaled(kBass, 0.8));
    s.mix.add(bell(69, 1.0), t, Bus::Music, scaled(kBell, 0.7));
    s.mix.add(bell(76, 0.8), t + int64_t(0.01 * kRate), Bus::Music, scaled(kBell, 0.5));
    s.mix.breath(t, s.seconds(beat - 0.5, 0.5), kBreathDb);
    s.mix.add(impact(1.0, s.rng), t, Bus::Drums, scaled(kFx, 0.9));
    s.mix.add(kick(1.0), t, Bus::Drums, scaled(kKick, 0.9));
    crashAt(s, beat, 0.7);
}

}  // namespace music
