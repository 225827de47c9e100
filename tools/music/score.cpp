#include "score.hpp"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

#include "layers.hpp"
#include "master.hpp"
#include "patterns.hpp"

namespace music {

namespace {

constexpr double kBeat150 = 60.0 / 150.0;
constexpr double kBeat160 = 60.0 / 160.0;
// The middle sections stay at 150 bpm: the cloth times lie on its
// sixteenths (0.1 s) counted from the section's start.
constexpr int kShadowBars = 15;   // and a two-beat pickup
constexpr int kClothBars = 15;
// The cloth hits' bodies and the half-time kick sit in the low mids.
constexpr double kClothShelfDb = 7.0;
// The last section holds 10 bars; the closing chord falls on the ninth.
constexpr int kCloseBars = 10;
constexpr int kFinaleBar = 8;

using namespace pat;

// Level of each section against the others, in dB: the drive holds back,
// the answer is lighter, the lift opens up, the dark middle and the cloth
// groove sit low (the cloth hits keep their own level), the reprise comes
// back strong and the peak is the loudest.
constexpr double kSectionDb[11] = {0.0, 0.0, -1.0, -4.0, 1.0, -3.0, -4.0, -1.0, 1.5, -1.5, 0.0};

std::string both(const char* a, const char* b) { return std::string(a) + " " + b; }

Groove full(const char* kickPat = kFour) { return {kickPat, nullptr, kBackbeat, kHats16, 1.0}; }
Groove fullWithSnare() { return {kFour, kBackbeat, kBackbeat, kHats16, 1.0}; }

// 0: pad and bells fade in, arpeggio and a muted beat join, roll into 1.
void intro(Section& s) {
    pads(s, 0, 8, 0.8, 0.1, 0.55);
    bells(s, 0, "E5:16 C6:16 G5:16 B5:16", 0.45);
    arpeggio(s, 2, 6, kArpSparse, 64, 0.6, 0.15);
    bassline(s, 4, 4, kBassWhole, 0.6, 0.05);
    groove(s, 4, 3, {kFour, nullptr, nullptr, kHatsOff, 0.6});
    groove(s, 7, 1, {nullptr, nullptr, nullptr, kHats16, 0.7});
    snareRoll(s, 24, 32, 0.15, 0.8);
    sweepUp(s, 16, 32, 0.7);
}

// 1: the beat drops; every accent opens a four-bar phrase adding a layer.
void ignition(Section& s, const std::vector<double>& accents) {
    crashAt(s, 0, 1.0);
    for (double a : accents) flashHit(s, std::round(s.grid.beatAt(a)));
    pads(s, 0, 16, 0.5, 0.35, 0.6);
    bassline(s, 0, 16, kBassOff, 0.9, 0.4);
    groove(s, 0, 4, {kFour, nullptr, nullptr, kHatsOff, 1.0});
    groove(s, 4, 11, full());
    groove(s, 15, 1, {kFour, nullptr, nullptr, kHats16, 1.0});
    arpeggio(s, 8, 8, kArpUp, 64, 0.7, 0.4);
    melody(s, 12, kHookB, {0, 0, 0.8, 0.4, 0.35});
    snareRoll(s, 60, 64, 0.3, 0.8);
}

// 2: full groove, the hook, then the hook again with a second voice.
void drive(Section& s) {
    crashAt(s, 0, 1.0);
    crashAt(s, 32, 0.7);
    groove(s, 0, 15, full());
    groove(s, 15, 1, {kFour, nullptr, nullptr, kHats8, 1.0});
    tomFill(s, 63);
    bassline(s, 0, 16, kBassRoll, 0.9, 0.5);
    pads(s, 0, 16, 0.55, 0.5, 0.6);
    arpeggio(s, 0, 16, kArpWave, 64, 0.6, 0.35);
    std::string hook = both(kHookA, kHookB);
    melody(s, 0, hook, {0, 0, 1.0, 0.5, 0.3});
    melody(s, 8, hook, {0, -2, 1.0, 0.55, 0.3});
}

// 3: answer phrase, octave bass, higher arpeggio.
void answer(Section& s) {
    crashAt(s, 0, 1.0);
    crashAt(s, 32, 0.7);
    groove(s, 0, 16, fullWithSnare());
    tomFill(s, 31);
    bassline(s, 0, 16, kBassOct, 0.9, 0.55);
    pads(s, 0, 16, 0.55, 0.6, 0.7);
    arpeggio(s, 0, 16, kArpUp, 69, 0.55, 0.45);
    melody(s, 0, kAnswer, {0, 0, 1.0, 0.55, 0.35});
    melody(s, 8, kAnswer, {0, -2, 1.0, 0.6, 0.35});
    snareRoll(s, 56, 64, 0.3, 0.9);
    sweepUp(s, 48, 64, 0.6);
}

// 4: everything brighter and harmonised; the beat falls away in the last bar.
void lift(Section& s) {
    crashAt(s, 0, 1.0);
    crashAt(s, 32, 0.8);
    groove(s, 0, 15, fullWithSnare());
    bassline(s, 0, 15, kBassDrive, 0.9, 0.7);
    pads(s, 0, 16, 0.6, 0.7, 0.8);
    arpeggio(s, 0, 15, kArpUp, 64, 0.75, 0.55);
    std::string hook = both(kHookA, kHookB);
    melody(s, 0, hook, {0, -2, 1.1, 0.7, 0.3});
    melody(s, 8, hook, {0, -2, 1.1, 0.75, 0.35});
    crashAt(s, 60, 0.6);
}

// 5: darker middle. Bells over a bare pad, then the pulse returns; fifteen
// bars and a two-beat pickup of toms roll into the cloth section.
void shadow(Section& s) {
    accentAt(s, 0, 0.7);
    pads(s, 0, kShadowBars, 0.75, 0.2, 0.55);
    bells(s, 0, kBells, 0.6);
    bells(s, 8, kBells, 0.45);
    bassline(s, 0, 8, kBassWhole, 0.8, 0.05);
    bassline(s, 8, kShadowBars - 8, kBassPulse, 0.8, 0.3);
    arpeggio(s, 8, kShadowBars - 8, kArpLow, 57, 0.5, 0.3);
    groove(s, 8, 4, {kFour, nullptr, nullptr, kHats8, 0.8});
    groove(s, 12, 3, {kFour, nullptr, nullptr, kHats16, 0.9});
    const double end = s.grid.beats();
    snareRoll(s, end - 14, end - 2, 0.2, 1.0);
    tomFill(s, end - 2);
    // The second fill comes a sixteenth late: its low tom falls on the
    // cloth section's downbeat and rings into the first hit.
    tomFill(s, end - 0.75);
    // The riser runs on into the first cloth hit, a sixteenth past the
    // section's end, so the music swells into it instead of thinning out.
    sweepUp(s, end - 14, end + 0.25, 0.9);
}

// 6: half-time groove at 150 bpm, on whose sixteenths the irregular cloth
// hits fall; the bass and pads stay light so the hits' bodies are not
// buried in low mids. Fifteen bars end on E, the dominant of the reprise.
void cloth(Section& s, const std::vector<double>& hits) {
    // The first hit, a sixteenth after the downbeat, is the section's accent.
    crashAt(s, s.grid.beatAt(hits.front()), 1.0);
    pads(s, 0, kClothBars, 1.8, 0.55, 0.65);
    // The first bar leaves its downbeat kick to the first hit just after it.
    groove(s, 0, 1, {kHalfLate, kHalfSnare, nullptr, kHatsHalf, 1.1});
    groove(s, 1, kClothBars - 1, {kHalf, kHalfSnare, nullptr, kHatsHalf, 1.1});
    bassline(s, 0, kClothBars, kBassPulse, 0.9, 0.35);
    arpeggio(s, 0, kClothBars, kArpLow, 57, 1.2, 0.5);
    melody(s, 8, kFall, {0, 0, 0.8, 0.4, 0.5});
    for (size_t i = 0; i < hits.size(); ++i)
        clothHitAt(s, hits[i], (i % 2 ? 0.92 : 1.0) * (0.93 + 0.07 * s.rng.uni()));
    const double end = s.grid.beats();
    tomFill(s, end - 2);
    tomFill(s, end - 1);
    sweepUp(s, end - 8, end, 0.7);
    s.mix.lowShelf(s.at(0), s.at(end), kClothShelfDb);
}

// 7: the hook returns at the faster tempo.
void reprise(Section& s) {
    crashAt(s, 0, 1.0);
    crashAt(s, 32, 0.7);
    groove(s, 0, 16, full());
    bassline(s, 0, 16, kBassRoll, 0.9, 0.55);
    pads(s, 0, 16, 0.55, 0.55, 0.65);
    arpeggio(s, 0, 16, kArpWave, 64, 0.6, 0.45);
    std::string hook = both(kHookA, kHookB);
    melody(s, 0, hook, {0, 0, 1.0, 0.6, 0.3});
    melody(s, 8, hook, {0, -2, 1.05, 0.65, 0.3});
    snareRoll(s, 60, 64, 0.4, 0.9);
}

// 8: climax on the lifted progression with the soaring line.
void peak(Section& s) {
    accentAt(s, 0, 0.9);
    for (int b = 16; b < 64; b += 16) crashAt(s, b, 0.8);
    groove(s, 0, 16, fullWithSnare());
    bassline(s, 0, 16, kBassDrive, 0.95, 0.8);
    pads(s, 0, 16, 0.7, 0.8, 0.9);
    arpeggio(s, 0, 16, kArpUp, 69, 0.75, 0.6);
    melody(s, 0, kSoar, {0, 0, 1.1, 0.75, 0.35});
    melody(s, 8, kSoar, {0, -2, 1.15, 0.8, 0.35});
    snareRoll(s, 56, 64, 0.4, 1.0);
    sweepUp(s, 48, 64, 0.6);
}

// 9: broken beat under the answer and the hook, then a two-bar break.
void variation(Section& s) {
    crashAt(s, 0, 1.0);
    groove(s, 0, 14, {kBreak, kBreakSnare, nullptr, kHats16, 1.0});
    bassline(s, 0, 14, kBassOct, 0.9, 0.5);
    bassline(s, 14, 2, kBassWhole, 0.7, 0.1);
    pads(s, 0, 16, 0.6, 0.6, 0.35);
    arpeggio(s, 0, 14, kArpSparse, 69, 0.6, 0.4);
    melody(s, 0, kAnswer, {0, 0, 1.0, 0.6, 0.4});
    melody(s, 8, kHookA, {0, -2, 1.0, 0.55, 0.4});
    bells(s, 12, kHookB, 0.4);
}

// 10: the tempo relaxes, the drums thin out and the farewell line cadences
// (E to A) into the last chord two bars before the final sync time, so the
// chord has rung out when the program ends there.
void close(Section& s) {
    pads(s, 0, kFinaleBar, 0.7, 0.45, 0.2);
    melody(s, 0, kFarewell, {0, 0, 0.85, 0.25, 0.55});
    bassline(s, 0, kFinaleBar, kBassWhole, 0.75, 0.05);
    arpeggio(s, 0, kFinaleBar, kArpSparse, 64, 0.4, 0.2);
    groove(s, 0, 4, {kFour, nullptr, nullptr, kHatsOff, 0.55});
    groove(s, 4, 3, {nullptr, nullptr, nullptr, kHats8, 0.4});
    snareRoll(s, 4.0 * kFinaleBar - 4.0, 4.0 * kFinaleBar, 0.2, 0.6);
    finale(s, 4.0 * kFinaleBar);
}

}  // namespace

double partLoudness(const SongTimes& times, const Stereo& s, int part) {
    const double from = part <= 1 ? 0.0 : times.sections[size_t(part - 2)];
    return integratedLoudness(s, from, times.sections[size_t(part - 1)]);
}

double partsClosestLu(const SongTimes& times, const Stereo& s) {
    double closest = 1e9, before = partLoudness(times, s, 3);
    for (int part = 4; part <= 9; ++part) {
        double now = partLoudness(times, s, part);
        closest = std::min(closest, std::fabs(now - before));
        before = now;
    }
    return closest;
}

SongTimes songTimes(const std::vector<SyncTrack>& tracks) {
    if (tracks.size() != 3) throw std::runtime_error("score: expected three sync tracks");
    SongTimes t{tracks[0].times, tracks[1].times, tracks[2].times};
    if (t.sections.size() != 11) throw std::runtime_error("score: expected eleven section times");
    return t;
}

std::vector<Grid> sectionGrids(const SongTimes& times) {
    const std::vector<double>& t = times.sections;
    std::vector<Grid> g;
    g.emplace_back(0.0, t[0], int(std::round(t[0] / kBeat150)), kBeat150);
    g.emplace_back(t[0], t[1], 64, kBeat150, times.accents);
    for (int k = 2; k <= 4; ++k) g.emplace_back(t[k - 1], t[k], 64, kBeat150);
    g.emplace_back(t[4], t[5], 4 * kShadowBars + 2, kBeat150);
    g.emplace_back(t[5], t[6], 4 * kClothBars, kBeat150);
    // The hook returns at 160 bpm.
    for (int k = 7; k <= 9; ++k) g.emplace_back(t[k - 1], t[k], 64, kBeat160);
    // Ritardando from 160 bpm into the final chord.
    g.emplace_back(t[9], t[10], 4 * kCloseBars, kBeat160, std::vector<double>{}, kBeat160);
    return g;
}

void compose(const SongTimes& times, const std::vector<Grid>& grids, Mixer& mix) {
    const char* progressions[11] = {kMain, kMain, kMain, kMain, kMain, kDark,
                                    kDescent, kMain, kLift, kMain, kClose};
    for (size_t k = 0; k < grids.size(); ++k) {
        // Each section at its own level, reached over the last beat before
        // it: the piece swells and falls back instead of playing flat out.
        mix.level(grids[k].sample(0), kSectionDb[k], k ? grids[k - 1].period(grids[k - 1].beats()) : 0.0);
        Section s{mix, grids[k], parseProgression(progressions[k]), Rng(1000 + k)};
        switch (k) {
            case 0: intro(s); break;
            case 1: ignition(s, times.accents); break;
            case 2: drive(s); break;
            case 3: answer(s); break;
            case 4: lift(s); break;
            case 5: shadow(s); break;
            case 6: cloth(s, times.hits); break;
            case 7: reprise(s); break;
            case 8: peak(s); break;
            case 9: variation(s); break;
            case 10: close(s); break;
        }
    }
}

double finaleSeconds(const std::vector<Grid>& grids) { return grids.back().time(4.0 * kFinaleBar); }

const Grid& gridAt(const std::vector<Grid>& grids, double seconds) {
    for (const Grid& c : grids)
        if (seconds < c.end()) return c;
    return grids.back();
}

double echoSeconds(const std::vector<Grid>& grids, double seconds) {
    const Grid& g = gridAt(grids, seconds);
    return 0.75 * g.period(g.beatAt(seconds));
}

}  // namespace music
