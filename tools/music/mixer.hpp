// Collects rendered notes on song-length buses and sums them into the
// stereo mix: drums stay dry and punchy, the music bus is ducked by the
// kick, and both feed the shared reverb and echo. The accents bus carries
// the hits the picture reacts to: neither ducked nor moved by the parts'
// levels, so a hit lands at its own weight in a quiet part as in a loud one.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "dsp.hpp"
#include "instruments.hpp"

namespace music {

enum class Bus { Drums, Music, Accents };

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
    // Lowers everything, effect returns included, by `depthDb` for `seconds`
    // before `at`: the held breath that makes the hit at `at` land. The
    // level glides down and back up over kBreathRamp each, evenly in dB, so that
    // the breath is heard as the music drawing back, not as a dropout; it is
    // back at full level exactly at `at`, leaving the hit whole.
    static constexpr double kBreathRamp = 0.02;
    void breath(int64_t at, double seconds, double depthDb);

    // Takes `db` off everything below about 300 Hz between `from` and `to`
    // (a low shelf, faded in and out over 50 ms): for a section whose
    // drums would otherwise boom.
    void lowShelf(int64_t from, int64_t to, double db);

    // Sets the level of everything but the accents to `db` from `from` on,
    // gliding there over the `glide` seconds before `from`: how loud a
    // part of the piece plays against the others.
    void level(int64_t from, double db, double glide);

    // `breaths` false leaves the held breaths out, to compare against.
    Stereo mixdown(const std::function<double(int64_t)>& echoSeconds, bool breaths = true) const;
    size_t length() const { return drums_.size(); }

private:
    Stereo& bus(Bus b);
    Stereo drums_, music_, accents_;
    std::vector<float> reverbIn_, echoIn_, duck_, gate_, shelf_, level_;
};

}  // namespace music
