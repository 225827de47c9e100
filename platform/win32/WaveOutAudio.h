#pragma once
#include <windows.h>

#include <mmsystem.h>
#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

#include "platform/AudioQueue.h"
#include "platform/Mp3AudioBackend.h"

// Audio through waveOut: 32 buffers of about 46 ms each (1.5 s queued),
// refilled oldest first by a thread of its own whenever the device hands
// some back, decoding the MP3 as it plays.  The play position is the bytes the device reports as played
// (waveOutGetPosition in bytes).  The no-sound device takes the position
// from the millisecond clock since playback began.
class WaveOutAudio : public Mp3AudioBackend {
public:
    WaveOutAudio() = default;
    ~WaveOutAudio() override;
    WaveOutAudio(const WaveOutAudio&) = delete;
    WaveOutAudio& operator=(const WaveOutAudio&) = delete;

    bool init(int device, int frequency, std::uint32_t flags, PlatformWindow* window) override;
    bool start() override;
    void stop() override;
    void free() override;

private:
    std::uint64_t heardBytes() override;
    void streamStarted() override;
    void streamEnding() override { stopOutput(); }
    void fill(WAVEHDR& buffer);
    void refillLoop();
    void stopOutput();

    HWAVEOUT device_ = nullptr;
    HANDLE bufferDone_ = nullptr;   // signalled by the device when it hands a buffer back
    bool noSound_ = false;

    std::vector<std::vector<std::uint8_t>> memory_;
    std::vector<WAVEHDR> buffers_;
    AudioQueue queue_{0};
    std::thread refiller_;
    std::atomic<bool> stopRefilling_{false};
    DWORD playStartTicks_ = 0;
    std::uint64_t deviceBytesHigh_ = 0;   // the 32-bit device counter's wraps
    DWORD lastDeviceBytes_ = 0;
};
