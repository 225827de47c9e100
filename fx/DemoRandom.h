#pragma once
#include <cstdint>

// The demo's one pseudo-random sequence: a 32-bit linear congruential
// generator (x = x * 214013 + 2531011) starting at 1, giving bits 16..30.
// The particle clouds and the cloth's impulses are laid out by the exact
// order of its values, so only they may draw from it.
class RandomSequence {
public:
    int next()
    {
        state_ = state_ * 214013u + 2531011u;
        return static_cast<int>((state_ >> 16) & 0x7FFFu);
    }

private:
    std::uint32_t state_ = 1;
};

namespace demo {
// The next value of the demo's sequence, 0 to 32767.
int rand();
// The sequence itself, to be saved and put back by code that must draw
// without leaving a trace (the start-up warm-up).
RandomSequence& sequence();
}  // namespace demo
