#pragma once
#include <SDL2/SDL.h>
#include <cstdint>

#include "platform/Mp3AudioBackend.h"

// Audio through SDL2: the MP3 is decoded in the device callback as it plays.
// The play position is the bytes handed to the device before the current
// buffer plus the time since that buffer was asked for (capped at one
// buffer), which is within a buffer of what is heard and jitters ~1 ms.
// The no-sound device, and SDL's dummy and disk drivers whose clocks run
// fast, take the position from the millisecond ticks since playback began.
class DesktopAudio : public Mp3AudioBackend {
public:
    ~DesktopAudio() override;

    bool init(int device, int frequency, std::uint32_t flags, PlatformWindow* window) override;
    bool start() override;
    void stop() override;
    void free() override;

private:
    std::uint64_t heardBytes() override;
    void streamStarted() override;
    static void fillCallback(void* self, Uint8* out, int bytes);
    void fill(Uint8* out, int bytes);
    std::uint64_t positionFromDevice();
    std::uint64_t positionFromTicks() const;

    SDL_AudioDeviceID device_ = 0;
    bool noSound_ = false;
    bool tickClock_ = false;

    // The device callback's counters, under mutex_.
    std::uint64_t bytesBeforeBuffer_ = 0;   // total bytes played before the buffer being filled
    std::uint64_t bytesFed_ = 0;            // total bytes handed to the device
    std::uint64_t bufferCounter_ = 0;       // performance counter at the last callback
    std::uint64_t bufferBytes_ = 0;
    std::uint32_t playStartTicks_ = 0;
};
