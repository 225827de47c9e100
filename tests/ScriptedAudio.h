#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/AudioBackend.h"

// An audio backend whose play position the test sets, and which records the
// calls made to it, so the music player can be checked against any position
// and any failure of the audio library.
class ScriptedAudio : public AudioBackend {
public:
    std::uint32_t position = 0;
    bool failDefaultDevice = false;
    bool failStream = false;
    bool failStart = false;
    bool failPlay = false;
    int positionQueries = 0;
    std::vector<std::string> calls;
    const void* streamData = nullptr;
    std::uint64_t streamLength = 0;

    bool init(int device, int frequency, std::uint32_t flags, PlatformWindow*) override
    {
        calls.push_back("init " + std::to_string(device) + " " + std::to_string(frequency) + " " +
                        std::to_string(flags));
        return !(device == kDefaultAudioDevice && failDefaultDevice);
    }
    AudioStream streamCreateFile(bool fromMemory, const void* data, std::uint64_t offset, std::uint64_t length,
                                 std::uint32_t flags) override
    {
        calls.push_back("create " + std::to_string(fromMemory) + " " + std::to_string(offset) + " " +
                        std::to_string(flags));
        streamData = data;
        streamLength = length;
        return failStream ? 0 : 7;
    }
    bool start() override
    {
        calls.push_back("start");
        return !failStart;
    }
    bool streamPlay(AudioStream stream, bool flush, std::uint32_t flags) override
    {
        calls.push_back("play " + std::to_string(stream) + " " + std::to_string(flush) + " " + std::to_string(flags));
        return !failPlay;
    }
    std::uint32_t channelGetPosition(AudioStream) override
    {
        ++positionQueries;
        return position;
    }
    void stop() override { calls.push_back("stop"); }
    void streamFree(AudioStream stream) override { calls.push_back("free stream " + std::to_string(stream)); }
    void free() override { calls.push_back("free"); }
};
