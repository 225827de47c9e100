// Checks for the pieces whose faults would not be heard right away but would
// put the music out of step with the picture or off its level.
// Usage: tests SYNC_FILE [DECODED_WAV] (the second: the encoded track
// decoded back, checked as the demo plays it). Build: see make-music.sh.
// Exits non-zero when any check fails.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "../analysis.hpp"
#include "../harmony.hpp"
#include "../master.hpp"
#include "../mixer.hpp"
#include "../score.hpp"
#include "../sync.hpp"
#include "../wav.hpp"

using namespace music;

namespace {

int failures = 0;

void check(bool ok, const std::string& what) {
    if (!ok) {
        std::fprintf(stderr, "FAIL: %s\n", what.c_str());
        ++failures;
    }
}

// The parser must keep CR LF framing and the Windows-1252 track names intact
// and reject a file that ends before its announced times.
void syncParsing(const std::string& path) {
    std::vector<SyncTrack> t = readSyncFile(path);
    check(t.size() == 3, "three tracks");
    check(t[0].times.size() == 11 && t[1].times.size() == 3 && t[2].times.size() == 28, "time counts");
    check(t[1].name.size() == 19 && t[1].name[9] == '\xDF', "Windows-1252 name kept byte for byte");
    check(std::fabs(t[0].times.back() - 252.2) < 1e-9, "last section time");
    bool threw = false;
    try {
        parseSync("1\r\nA\r\n3\r\n1.0\r\n2.0\r\n");
    } catch (const std::exception&) {
        threw = true;
    }
    check(threw, "truncated file rejected");
}

// Every section downbeat, accent and the final chord must land on the exact
// sample of its sync time, whatever tempo pieces the grid uses.
void gridAlignment(const std::string& path) {
    SongTimes times = songTimes(readSyncFile(path));
    std::vector<Grid> g = sectionGrids(times);
    check(g.size() == 11, "eleven sections");
    for (size_t k = 1; k < g.size(); ++k) {
        int64_t want = std::llround(times.sections[k - 1] * kRate);
        check(g[k].sample(0) == want, "downbeat of section " + std::to_string(k));
        check(g[k - 1].sample(g[k - 1].beats()) == want, "end of section " + std::to_string(k - 1));
    }
    for (double a : times.accents) {
        double b = g[1].beatAt(a);
        check(std::fabs(b - std::round(b)) < 1e-6 && int(std::round(b)) % 16 == 0, "accent on a phrase start");
        check(g[1].sample(std::round(b)) == std::llround(a * kRate), "accent sample");
    }
    check(60.0 / g[10].period(40) < 150.0, "ritardando slows down");
    // The cloth times are the section's irregular rhythm: each must fall on
    // a sixteenth of the groove playing under it, or it sounds like a flam.
    for (double h : times.hits) {
        double off = gridAt(g, h).offStep(h, 0.25);
        check(off <= 0.005, "cloth time " + std::to_string(h) + " lies " + std::to_string(1000.0 * off) +
                                " ms off the sixteenths");
    }
    // The program ends at the last section time: the closing chord must sound
    // well before it, so that it has rung out when the picture stops.
    double fin = finaleSeconds(g), end = times.sections.back();
    check(fin >= 247.0 && fin <= 250.5, "closing chord at " + std::to_string(fin));
    check(end - fin >= 2.0, "closing chord has two seconds to ring out");
}

// Four seconds of noise at `bed` with a 50 ms burst at 0.5 from 2 s on.
Stereo burstOverNoise(double bed, uint64_t seed) {
    Stereo s(size_t(kRate) * 4);
    Rng rng(seed);
    const size_t burst = size_t(2.0 * kRate);
    for (size_t i = 0; i < s.size(); ++i) {
        double v = bed * rng.bi() + (i >= burst && i < burst + 2205 ? 0.5 * rng.bi() : 0.0);
        s.l[i] = s.r[i] = float(v);
    }
    return s;
}

// A noise bed with one loud burst: the meter must find the burst at its time
// and nothing standing out 100 ms away.
void onsetMeter() {
    Stereo s = burstOverNoise(0.02, 3);
    std::vector<double> flux = energyFlux(s);
    double p95 = fluxPercentile(flux, 0.95, 4.0);
    check(onsetNear(flux, 2.0, 0.035, p95), "burst found at its time");
    check(onsetNear(flux, 2.03, 0.035, p95), "burst found within the window");
    check(!onsetNear(flux, 2.1, 0.035, p95) && !onsetNear(flux, 1.9, 0.035, p95), "no onset 100 ms away");
    check(std::fabs(rmsDb(s, 2.0, 2.05) - 20.0 * std::log10(0.5 / std::sqrt(3.0))) < 0.5, "burst RMS level");
}

// Milliseconds for which the gain stays strictly between two levels (dB),
// the first crossing of `from` onwards: how long a ramp through them takes.
double rampMs(const std::vector<double>& gainDb, size_t start, double from, double to) {
    size_t i = start;
    auto beyond = [&](double g, double mark) { return from > to ? g <= mark : g >= mark; };
    while (i < gainDb.size() && !beyond(gainDb[i], from)) ++i;
    size_t j = i;
    while (j < gainDb.size() && !beyond(gainDb[j], to)) ++j;
    return 1000.0 * double(j - i) / kRate;
}

// A breath over a steady level: it must draw the music back by 10 to 15 dB,
// glide down and back up over at least 10 ms each (a faster cut is heard as
// a dropout) and leave the hit at its end whole.
void breathShape() {
    Mixer mix{size_t(kRate)};
    Mono level(size_t(kRate), 0.25f);
    mix.add(level, 0, Bus::Music, {1.0, 0.0, 0.0, 0.0});
    const int64_t hit = int64_t(0.5 * kRate);
    mix.breath(hit, 0.1, 12.0);
    Stereo out = mix.mixdown([](int64_t) { return 0.3; });
    std::vector<double> gain(out.size());
    for (size_t i = 0; i < out.size(); ++i) gain[i] = 20.0 * std::log10(std::max(1e-9, double(out.l[i]) / 0.25));
    double deepest = *std::min_element(gain.begin(), gain.end());
    check(deepest <= -10.0 && deepest >= -15.0, "breath depth " + std::to_string(-deepest) + " dB");
    double fall = rampMs(gain, 0, -0.1 * -deepest, -0.9 * -deepest);
    size_t held = size_t(std::min_element(gain.begin(), gain.end()) - gain.begin());
    double rise = rampMs(gain, held, 0.9 * deepest, 0.1 * deepest);
    check(fall >= 10.0, "breath falls over " + std::to_string(fall) + " ms");
    check(rise >= 10.0, "breath rises over " + std::to_string(rise) + " ms");
    check(std::fabs(gain[size_t(hit)]) < 0.01 && rmsDb(out, 0.5, 0.6) > rmsDb(out, 0.1, 0.3) - 0.01,
          "hit after the breath untouched");
}

// The arranged score, mixed but not mastered: each flash and cloth time
// opens a hit well above the music just before it, and the music keeps its
// level up to the hit (no breath held: the mix matches the one rendered
// without breaths); the closing chord still lands after its breath.
void scoreAgainstSync(const std::string& path) {
    SongTimes times = songTimes(readSyncFile(path));
    std::vector<Grid> grids = sectionGrids(times);
    Mixer mix(size_t(258.0 * kRate));
    compose(times, grids, mix);
    Stereo out = mix.mixdown([](int64_t) { return 0.3; });
    std::vector<double> sync = times.accents;
    sync.insert(sync.end(), times.hits.begin(), times.hits.end());
    Stereo plain = mix.mixdown([](int64_t) { return 0.3; }, false);
    for (double t : sync) {
        double before = rmsDb(out, t - 0.05, t - 0.005), after = rmsDb(out, t, t + 0.05);
        check(after - before >= 8.0, "hit at " + std::to_string(t) + " stands " + std::to_string(after - before) +
                                         " dB over the music before it");
        double held = breathBefore(out, plain, t).depthDb;
        check(std::fabs(held) < 0.5, "the music draws back " + std::to_string(held) + " dB before " + std::to_string(t));
    }
    double fin = finaleSeconds(grids);
    check(rmsDb(out, fin, fin + 0.2) > rmsDb(out, fin - 0.1, fin - 0.01) + 12.0, "closing chord lands");
}

// Onsets, dips and loudness figures on made-up signals whose answers are
// known: a burst over a noise bed stands far out at its time and not 100 ms
// away; a steady bed has no dip, a 10 dB hole before a hit reads as one; a
// sine 10 dB quieter for its second half has a loudness range of 10 LU and
// each half its own loudness.
void hitAndLoudnessMeters() {
    Stereo s = burstOverNoise(0.05, 5);
    std::vector<double> onset = onsetStrength(s);
    double p95 = fluxPercentile(onset, 0.95, 4.0, kOnsetHop);
    check(onsetRatio(onset, 2.0, 0.035, p95) > 20.0, "burst onset " + std::to_string(onsetRatio(onset, 2.0, 0.035, p95)));
    check(onsetRatio(onset, 2.1, 0.035, p95) < 1.5 && onsetRatio(onset, 1.9, 0.035, p95) < 1.5, "no onset 100 ms away");
    double steady = dipBeforeDb(s, 1.5);
    check(std::fabs(steady) < 1.5, "steady bed dips " + std::to_string(steady) + " dB");
    for (size_t i = size_t(1.94 * kRate); i < size_t(1.98 * kRate); ++i) s.l[i] *= 0.316f, s.r[i] *= 0.316f;
    double hole = dipBeforeDb(s, 2.0);
    check(hole >= 8.5 && hole <= 11.0, "10 dB hole reads " + std::to_string(hole) + " dB");

    Stereo tone(size_t(kRate) * 40);
    for (size_t i = 0; i < tone.size(); ++i) {
        double a = i < tone.size() / 2 ? 0.1 : 0.0316;
        tone.l[i] = tone.r[i] = float(a * std::sin(kTwoPi * 1000.0 * double(i) / kRate));
    }
    double lra = loudnessRange(tone);
    check(std::fabs(lra - 10.0) < 0.5, "loudness range " + std::to_string(lra) + " LU");
    double first = integratedLoudness(tone, 0.0, 20.0), second = integratedLoudness(tone, 20.0, 40.0);
    check(std::fabs(first + 20.0) < 0.3 && std::fabs(second + 30.0) < 0.3,
          "halves at " + std::to_string(first) + " and " + std::to_string(second) + " LUFS");
    Stereo even(tone);
    for (size_t i = even.size() / 2; i < even.size(); ++i) even.l[i] = tone.l[i - even.size() / 2], even.r[i] = even.l[i];
    check(loudnessRange(even) < 0.3, "a steady tone has no loudness range");
}

// The encoded track as the demo plays it (decoded back to WAV).
void encodedTrack(const std::string& syncPath, const std::string& wavPath) {
    SongTimes times = songTimes(readSyncFile(syncPath));
    Stereo s = readWav(wavPath);
    const double end = times.sections.back();

    double lufs = integratedLoudness(s), peakDb = 20.0 * std::log10(truePeak(s));
    check(std::fabs(lufs + 14.0) <= 1.0, "loudness " + std::to_string(lufs) + " LUFS");
    check(peakDb <= -1.0, "true peak " + std::to_string(peakDb) + " dBTP");

    // The middle moves: its parts apart in loudness, the track's range wide.
    check(loudnessRange(s) >= 7.0, "loudness range " + std::to_string(loudnessRange(s)) + " LU");
    double low = 1e9, high = -1e9;
    for (int part = 3; part <= 9; ++part) {
        double lufs = partLoudness(times, s, part);
        low = std::min(low, lufs), high = std::max(high, lufs);
    }
    check(high - low >= 4.0, "parts 3 to 9 span " + std::to_string(high - low) + " LU");
    check(partsClosestLu(times, s) >= 1.0,
          "neighbouring parts only " + std::to_string(partsClosestLu(times, s)) + " LU apart");

    std::vector<double> sync = times.accents;
    sync.insert(sync.end(), times.hits.begin(), times.hits.end());
    std::vector<double> flux = energyFlux(s), onset = onsetStrength(s);
    double threshold = fluxPercentile(flux, 0.95, end), p95 = fluxPercentile(onset, 0.95, end, kOnsetHop);
    for (double t : sync) {
        check(onsetNear(flux, t, 0.035, threshold), "an onset stands out at " + std::to_string(t));
        // Every hit is an accent heard across the whole track, not only in
        // its own part, and the music does not sink before it.
        double ratio = onsetRatio(onset, t, 0.035, p95);
        check(ratio >= 1.5, "the hit at " + std::to_string(t) + " stands at " + std::to_string(ratio) + "x");
        double dip = dipBeforeDb(s, t);
        check(dip <= 6.0, "a " + std::to_string(dip) + " dB dip before " + std::to_string(t));
        // The music keeps playing through the breath: no dropout.
        double lowest = 0.0;
        for (double w = t - 0.1; w + 0.02 <= t + 1e-9; w += 0.001) lowest = std::min(lowest, rmsDb(s, w, w + 0.02));
        check(lowest >= -40.0, "quietest 20 ms before " + std::to_string(t) + " at " + std::to_string(lowest) + " dBFS");
    }

    // The cloth section is not boomy: its low mids within 8 dB of 1 kHz.
    double from = times.sections[5], to = times.sections[6], kHz = octaveBandDb(s, from, to, 1000.0);
    for (double band : {125.0, 250.0}) {
        double rel = octaveBandDb(s, from, to, band) - kHz;
        check(rel <= 8.0, "cloth section " + std::to_string(int(band)) + " Hz at " + std::to_string(rel) +
                              " dB over 1 kHz");
    }

    // The last chord still rings when the program ends: 20 to 35 dB below its
    // peak in the last 100 ms, and falling as a chord does, not faded away.
    double chord = loudestWindowDb(s, 247.0, 250.5), below = chord - rmsDb(s, end - 0.1, end);
    check(below >= 20.0 && below <= 35.0, "at the cut the chord is " + std::to_string(below) + " dB below its peak");
    double fall = lastSecondFallDb(s, end);
    check(fall <= 15.0, "the last second before the cut falls " + std::to_string(fall) + " dB");
}

// The report reads back what the renderer writes.
void wavRoundTrip() {
    Stereo s(1000);
    for (size_t i = 0; i < s.size(); ++i) s.l[i] = float(0.5 * std::sin(0.01 * double(i))), s.r[i] = -s.l[i];
    const std::string path = "/tmp/music-test-roundtrip.wav";
    writeWav(path, s);
    Stereo back = readWav(path);
    std::remove(path.c_str());
    double worst = 0.0;
    for (size_t i = 0; i < s.size() && back.size() == s.size(); ++i)
        worst = std::max({worst, double(std::fabs(back.l[i] - s.l[i])), double(std::fabs(back.r[i] - s.r[i]))});
    check(back.size() == s.size() && worst < 3.0 / 32768.0, "WAV round trip");
}

void harmonyHelpers() {
    check(scaleShift(76, -2) == 72, "E5 third below is C5");
    check(scaleShift(69, -2) == 65, "A4 third below is F4");
    check(scaleShift(72, -2) == 69, "C5 third below is A4");
    check(scaleShift(68, 1) == 69, "G#4 one step up is A4");
    std::vector<MelodyNote> m = parseMelody("A4:2 -:1 C5:1");
    check(m.size() == 2 && m[1].beat == 1.5 && m[1].pitch == 72, "melody timing and rests");
}

// A 1 kHz sine at amplitude 0.1 in both channels reads about -20 LUFS on a
// BS.1770 meter; silence padding must be gated away.
void loudnessMeter() {
    Stereo s(size_t(kRate) * 12);
    for (size_t i = 0; i < s.size() / 2; ++i) {
        float v = float(0.1 * std::sin(kTwoPi * 1000.0 * double(i) / kRate));
        s.l[i] = s.r[i] = v;
    }
    double lufs = integratedLoudness(s);
    check(std::fabs(lufs - (-20.0)) < 0.3, "sine loudness " + std::to_string(lufs));
    check(std::fabs(truePeak(s) - 0.1) < 0.002, "sine true peak");
}

}  // namespace

int main(int argc, char** argv) {
    std::string sync = argc > 1 ? argv[1] : "res/sync.txt";
    syncParsing(sync);
    gridAlignment(sync);
    harmonyHelpers();
    loudnessMeter();
    onsetMeter();
    breathShape();
    hitAndLoudnessMeters();
    wavRoundTrip();
    scoreAgainstSync(sync);
    // With the decoded track: what the listener hears.
    if (argc > 2) encodedTrack(sync, argv[2]);
    if (failures) return 1;
    std::printf("music tests passed\n");
    return 0;
}
