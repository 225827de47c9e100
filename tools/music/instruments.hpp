// Synthesized instruments. Each call renders one note or hit into a short
// buffer starting at its onset; the mixer places it on the timeline.
// Mono sounds return a vector (the mixer pans them), sounds with their own
// stereo image return a Stereo block.
#pragma once
#include <vector>

#include "dsp.hpp"

namespace music {

using Mono = std::vector<float>;

// Drums
Mono kick(double vel);
Mono snare(double vel, Rng& rng);
Mono clap(double vel, Rng& rng);
Mono hat(double vel, bool open, Rng& rng);
Mono tom(double note, double vel);
Stereo crash(double vel, Rng& rng);
Stereo impact(double vel, Rng& rng);
// Cloth-like snap with a tuned body, used for the irregular hits.
Stereo clothHit(double note, double vel, Rng& rng);

// Tonal voices. `seconds` is the held length; the release tail is added.
// `bright` in 0..1 opens the filter.
Mono bass(double note, double seconds, double vel, double bright);
Stereo pad(const std::vector<int>& notes, double seconds, double vel, double bright, Rng& rng);
Stereo lead(double note, double seconds, double vel, double bright, Rng& rng);
Mono pluck(double note, double seconds, double vel, double bright);
Stereo bell(double note, double vel);

// Effects sounds
Stereo riser(double seconds, double vel, Rng& rng);
Mono subDrop(double vel);

}  // namespace music
