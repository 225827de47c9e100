// Collects rendered notes on song-length buses and sums them into the
// stereo mix: drums stay dry and punchy, the music bus is ducked by the
// kick, and both feed the shared reverb and echo.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "dsp.hpp"
#include "instruments.hpp"

namespace music {

enum class Bus { Drums, Music };

struct Send {
    double gain = 1.0;
    double pan = 0.0;     // mono sources only
    double reverb = 0.0;  // send level into the reverb
    double echo = 0.0;    // send level into the ping-pong delay
};

class Mixer {
public:
    explicit Mixer(size_t length);

    void add(const Mono& sound, int64_t at, Bus bus, const Send& s);
    void add(const Stereo& sound, int64_t at, Bus bus, const Send& s);
    // Marks a kick: the music bus dips briefly around it.
    void duck(int64_t at, double depth, double seconds);
    // Silences everything, effect returns included, for `seconds` before
    // `at`: the held breath that makes the hit at `at` land.
    void gap(int64_t at, double seconds);

    Stereo mixdown(const std::function<double(int64_t)>& echoSeconds) const;
    size_t length() const { return drums_.size(); }

private:
    Stereo drums_, music_;
    std::vector<float> reverbIn_, echoIn_, duck_, gate_;
};

}  // namespace music
