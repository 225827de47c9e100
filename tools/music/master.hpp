// Mastering: loudness measurement (ITU-R BS.1770 gated integrated loudness),
// true-peak estimation and a look-ahead limiter, combined into a loop that
// brings the mix to a target loudness under a true-peak ceiling.
#pragma once
#include "dsp.hpp"

namespace music {

double integratedLoudness(const Stereo& s);  // LUFS
double truePeak(const Stereo& s);            // linear, 4x oversampled estimate

struct MasterResult {
    double lufs, truePeakDb, gainDb, maxReductionDb;
};

// Equalizes, scales, limits to `ceilingDb` (true peak) and iterates the input gain until
// the limited result measures `targetLufs`. Works in place.
MasterResult master(Stereo& mix, double targetLufs, double ceilingDb);

}  // namespace music
