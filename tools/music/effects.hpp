// Time-based effects on whole-song buffers: reverb, tempo-synced echo and
// the side-chain "pump" that lets the kick punch through the music bus.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "dsp.hpp"

namespace music {

// Schroeder/Moorer style reverb: parallel damped combs into series
// allpasses, with slightly different delay lengths per channel so the tail
// comes out wide. Mono in, stereo out (added to `out`).
void reverb(const std::vector<float>& in, Stereo& out, double room, double damp, double wet);

// Ping-pong echo: repeats alternate between left and right. The delay time
// (in seconds) may change along the song, which the tempo changes need; it
// is smoothed so a change does not click.
void pingPongDelay(const std::vector<float>& in, Stereo& out,
                   const std::function<double(int64_t)>& delaySeconds,
                   double feedback, double wet);

// Gain reduction curve for one kick: dips by `depth` and swells back.
void addDuck(std::vector<float>& duck, int64_t at, double depth, double seconds);

}  // namespace music
