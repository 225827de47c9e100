// 16-bit PCM stereo WAV output.
#pragma once
#include <string>

#include "dsp.hpp"

namespace music {

// Quantizes with triangular dither from a fixed seed, so the file is the
// same on every run. Throws std::runtime_error if the file cannot be written.
void writeWav(const std::string& path, const Stereo& s);

}  // namespace music
