#pragma once
#include <SDL2/SDL.h>
#include <cstdint>
#include <mutex>

#include "platform/AudioBackend.h"
#include "platform/Mp3Stream.h"
#include "platform/PlayPosition.h"

// Audio through SDL2: the MP3 is decoded in the device callback as it plays.
// The play position is the bytes handed to the device before the current
// buffer plus the time since that buffer was asked for (capped at one
// buffer), which is within a buffer of what is heard and jitters ~1 ms.
// The no-sound device, and SDL's dummy and disk drivers whose clocks run
// fast, take the position from the millisecond ticks since playback began.
class DesktopAudio : public AudioBackend {
public:
    ~DesktopAudio() override;

    bool init(int device, int frequency, std::uint32_t flags, PlatformWindow* window) override;
    AudioStream streamCreateFile(bool fromMemory, const void* data, std::uint64_t offset, std::uint64_t length,
                                 std::uint32_t flags) override;
    bool start() override;
    bool streamPlay(AudioStream stream, bool flush, std::uint32_t flags) override;
    std::uint32_t channelGetPosition(AudioStream stream) override;
    void stop() override;
    void streamFree(AudioStream stream) override;
    void free() override;

private:
    static void fillCallback(void* self, Uint8* out, int bytes);
    void fill(Uint8* out, int bytes);
    std::uint64_t positionFromDevice();
    std::uint64_t positionFromTicks() const;

    SDL_AudioDeviceID device_ = 0;
    bool noSound_ = false;
    bool tickClock_ = false;
    bool initialised_ = false;

    std::mutex mutex_;   // between the device callback and the main thread
    Mp3Stream mp3_;
    bool haveStream_ = false;
    bool playing_ = false;
    bool looping_ = false;
    std::uint64_t bytesBeforeBuffer_ = 0;   // total bytes played before the buffer being filled
    std::uint64_t bytesFed_ = 0;            // total bytes handed to the device
    std::uint64_t bufferCounter_ = 0;       // performance counter at the last callback
    std::uint64_t bufferBytes_ = 0;
    std::uint32_t playStartTicks_ = 0;
    PlayPosition position_;
};
