// Measurements of a rendered or decoded track against the sync data: which
// sync times carry an onset that stands out, and how the ending decays.
// Used by make-music.sh to report on the encoded file.
#pragma once
#include <string>
#include <vector>

#include "dsp.hpp"

namespace music {

// Reads a 16-bit PCM stereo WAV at 44.1 kHz. Throws std::runtime_error otherwise.
Stereo readWav(const std::string& path);

// Energy flux: the rise of the mean-square level (both channels) from one
// 10 ms hop to the next, over 20 ms windows; falls count as 0.
constexpr double kFluxHop = 0.01;
std::vector<double> energyFlux(const Stereo& s);

// The value below which `share` of the flux frames up to `untilSec` lie
// (frames `hop` seconds apart).
double fluxPercentile(const std::vector<double>& flux, double share, double untilSec, double hop = kFluxHop);

// Onset strength as a listener's ear groups it: the mono mix at 22.05 kHz,
// the energy of 512-sample windows every 256 samples, and the rise of each
// over the one before (falls count as 0).
constexpr double kOnsetHop = 256.0 / 22050.0;
std::vector<double> onsetStrength(const Stereo& s);

// The strongest rise within `window` seconds of `sec`, over `reference`
// (the track's 95th percentile: a ratio of 1.5 stands out clearly).
double onsetRatio(const std::vector<double>& onset, double sec, double window, double reference);

// How far the level sinks in the 100 ms before a hit at `sec`: the median
// level of 11.6 ms windows from 0.5 to 0.1 s before it, less the quietest
// such window wholly inside the last 100 ms, in dB. A mix that pumps or
// holds its breath before every hit shows 10 dB and more.
double dipBeforeDb(const Stereo& s, double sec);

// True if a frame within `window` seconds of `sec` has flux above `threshold`.
bool onsetNear(const std::vector<double>& flux, double sec, double window, double threshold);

// RMS level of both channels over [from, to), in dB relative to full scale.
double rmsDb(const Stereo& s, double fromSec, double toSec);

// Loudest 100 ms RMS window starting in [from, to), in dB; `at` gets its start.
double loudestWindowDb(const Stereo& s, double fromSec, double toSec, double* at = nullptr);

// Level of the octave band around `centreHz` over [from, to), in dB: the
// mid signal through two band-passes of an octave's width.
double octaveBandDb(const Stereo& s, double fromSec, double toSec, double centreHz);

// The held breath before a hit at `sec`, measured against the same music
// rendered without breaths: their level difference in 5 ms windows, taken
// relative to the difference 0.45 to 0.25 s before the hit (which holds
// whatever gain mastering applied). depthDb is how far the level sits
// lower from 70 to 25 ms before the hit; fallMs and riseMs how long the
// level takes to pass from a tenth to nine tenths of that depth on the way
// down and back up; lowestDb the quietest 20 ms of the track in the 100 ms
// before the hit, in dBFS.
struct Breath {
    double depthDb, fallMs, riseMs, lowestDb;
};
Breath breathBefore(const Stereo& track, const Stereo& withoutBreaths, double sec);

// How far the level falls over the last second before `end`: the 100 ms
// window a second before it against the last 100 ms.
double lastSecondFallDb(const Stereo& s, double end);

}  // namespace music
