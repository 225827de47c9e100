// Mastering: loudness measurement (ITU-R BS.1770 gated integrated loudness),
// true-peak estimation and a look-ahead limiter, combined into a loop that
// brings the mix to a target loudness under a true-peak ceiling.
#pragma once
#include "dsp.hpp"

namespace music {

// Gated integrated loudness in LUFS, of [fromSec, toSec) (toSec < 0: to
// the end).
double integratedLoudness(const Stereo& s, double fromSec = 0.0, double toSec = -1.0);
// Loudness range (EBU Tech 3342) in LU: the spread of the gated 3 s
// short-term loudness from its 10th to its 95th percentile.
double loudnessRange(const Stereo& s);
double truePeak(const Stereo& s);            // linear, 4x oversampled estimate

struct MasterResult {
    double lufs, truePeakDb, gainDb, maxReductionDb;
};

// Equalizes, scales, limits to `ceilingDb` (true peak) and iterates the input gain until
// the limited result measures `targetLufs`. Works in place.
MasterResult master(Stereo& mix, double targetLufs, double ceilingDb);

}  // namespace music
