#pragma once
#include <cstdint>

struct PlatformWindow;

// The audio calls the music player makes, with the arguments and results it
// relies on: open a device, create a stream from an MP3 in memory, start
// output, play the stream (looping), read the play position in bytes of
// decoded 44100 Hz 16-bit stereo PCM, and tear everything down.
using AudioStream = std::uint32_t;

constexpr int kDefaultAudioDevice = -1;
constexpr int kNoSoundDevice = -2;
constexpr std::uint32_t kStreamLoop = 4;
constexpr std::uint32_t kPositionUnknown = 0xFFFFFFFFu;
constexpr std::uint32_t kPcmBytesPerSecond = 176400;   // 44100 Hz, 2 channels, 16 bits

class AudioBackend {
public:
    virtual ~AudioBackend() = default;

    virtual bool init(int device, int frequency, std::uint32_t flags, PlatformWindow* window) = 0;
    // 0 when the data is no playable MP3.
    virtual AudioStream streamCreateFile(bool fromMemory, const void* data, std::uint64_t offset,
                                         std::uint64_t length, std::uint32_t flags) = 0;
    virtual bool start() = 0;
    virtual bool streamPlay(AudioStream stream, bool flush, std::uint32_t flags) = 0;
    // kPositionUnknown when the stream does not exist.
    virtual std::uint32_t channelGetPosition(AudioStream stream) = 0;
    virtual void stop() = 0;
    virtual void streamFree(AudioStream stream) = 0;
    virtual void free() = 0;
};

AudioBackend& audio();
void setAudio(AudioBackend* chosen);
