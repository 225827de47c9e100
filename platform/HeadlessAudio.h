#pragma once
#include "platform/AudioBackend.h"
#include "platform/VirtualClock.h"

// Audio without output for headless runs: the play position advances with
// the virtual clock, 176400 bytes per second in whole sample frames, and
// wraps at the end of the looping music.
class HeadlessAudio : public AudioBackend {
public:
    explicit HeadlessAudio(const VirtualClock& clock) : clock_(clock) {}

    bool init(int device, int frequency, std::uint32_t flags, PlatformWindow* window) override;
    AudioStream streamCreateFile(bool fromMemory, const void* data, std::uint64_t offset, std::uint64_t length,
                                 std::uint32_t flags) override;
    bool start() override { return initialised_; }
    bool streamPlay(AudioStream stream, bool flush, std::uint32_t flags) override;
    std::uint32_t channelGetPosition(AudioStream stream) override;
    void stop() override { playing_ = false; }
    void streamFree(AudioStream stream) override;
    void free() override { initialised_ = false; }

    // The compressed music of the stream, for whoever wants to decode it too.
    const unsigned char* streamData() const { return data_; }
    std::uint64_t streamSize() const { return size_; }

private:
    const VirtualClock& clock_;
    bool initialised_ = false;
    bool playing_ = false;
    std::uint64_t playStartFrame_ = 0;
    std::uint64_t lengthBytes_ = 0;   // 0: no stream
    const unsigned char* data_ = nullptr;
    std::uint64_t size_ = 0;
};
