#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// The compiled-in music decoded apart from the program's own decoding, by
// libmpg123 with nothing but the library's defaults (which decode gaplessly):
// the sound every output of the program is compared with.
constexpr std::size_t kMusicSampleFrames = 11333700;   // 257.0 s at 44100 Hz

// Interleaved 16-bit stereo, decoded once per test process.
const std::vector<std::int16_t>& referenceMusic();

struct SoundMatch {
    long lag = 0;              // sample frames: the sound is the music shifted by this much
    double correlation = 0.0;  // 1 for a perfect match
};

// Cross-correlates `frames` sample frames of interleaved stereo `sound` with
// the reference music from sample frame `musicFrame`, over shifts of at most
// `maxLag` frames either way.  A sound that equals the music d frames later
// (a delay) gives lag = -d.
SoundMatch matchAgainstMusic(const std::int16_t* sound, std::size_t frames, std::size_t musicFrame, long maxLag);
