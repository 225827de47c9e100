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

// The value below which `share` of the flux frames up to `untilSec` lie.
double fluxPercentile(const std::vector<double>& flux, double share, double untilSec);

// True if a frame within `window` seconds of `sec` has flux above `threshold`.
bool onsetNear(const std::vector<double>& flux, double sec, double window, double threshold);

// RMS level of both channels over [from, to), in dB relative to full scale.
double rmsDb(const Stereo& s, double fromSec, double toSec);

// Loudest 100 ms RMS window starting in [from, to), in dB; `at` gets its start.
double loudestWindowDb(const Stereo& s, double fromSec, double toSec, double* at = nullptr);

}  // namespace music
