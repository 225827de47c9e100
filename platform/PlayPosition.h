#pragma once
#include <cstdint>

// The play position the music player reads, from the bytes of PCM heard
// since playback began as an output device reports them (which may jitter
// backwards a little): never earlier than a position already given, whole
// sample frames, capped at the music's end for a stream played once and
// wrapping to the start for a looping one.
class PlayPosition {
public:
    std::uint32_t next(std::uint64_t heardBytes, std::uint64_t lengthBytes, bool looping)
    {
        std::uint64_t position = heardBytes > last_ ? heardBytes : last_;
        position &= ~std::uint64_t{3};
        last_ = position;
        if (lengthBytes == 0)
            return 0;
        if (!looping)
            return static_cast<std::uint32_t>(position < lengthBytes ? position : lengthBytes);
        return static_cast<std::uint32_t>(position % lengthBytes);
    }
    void reset() { last_ = 0; }

private:
    std::uint64_t last_ = 0;
};
