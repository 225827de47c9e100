#pragma once
#include <cstdint>

// Headless time: advances by exactly 1000/fps ms with every swapped frame,
// and never otherwise, so a run renders the same frames on any machine.
struct VirtualClock {
    std::uint64_t frames = 0;   // frames swapped so far
    int fps = 60;

    std::uint32_t ticks() const { return static_cast<std::uint32_t>(frames * 1000 / fps); }
    // 44100 Hz sample frames elapsed after `sinceFrame` swapped frames.
    std::uint64_t samplesSince(std::uint64_t sinceFrame) const { return (frames - sinceFrame) * 44100 / fps; }
};
