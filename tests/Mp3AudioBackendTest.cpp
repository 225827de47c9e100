#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "assets/Resources.h"
#include "platform/Mp3AudioBackend.h"
#include "tests/MusicReference.h"

namespace {

constexpr std::uint64_t kMusicBytes = std::uint64_t{kMusicSampleFrames} * 4;

// A device that takes whatever it is handed and hears as many bytes as the
// test says: the shared stream logic alone, as every backend has it.
class ScriptedDevice : public Mp3AudioBackend {
public:
    bool init(int, int, std::uint32_t, PlatformWindow*) override { return initialised_ = true; }
    bool start() override { return initialised_; }
    void stop() override {}
    void free() override { initialised_ = false; }

    // The next buffer the device plays, `bytes` long, first filled with a
    // pattern so that bytes left unwritten show.
    std::vector<unsigned char> pull(std::size_t bytes, std::size_t* fromMusic = nullptr)
    {
        std::vector<unsigned char> buffer(bytes, 0xA5);
        std::lock_guard<std::mutex> lock(mutex_);
        const std::size_t music = decode(buffer.data(), bytes);
        if (fromMusic != nullptr)
            *fromMusic = music;
        return buffer;
    }

    std::uint64_t heard = 0;
    int starts = 0;
    int endings = 0;

private:
    std::uint64_t heardBytes() override { return heard; }
    void streamStarted() override { ++starts; }
    void streamEnding() override { ++endings; }
};

bool allZero(const std::vector<unsigned char>& bytes, std::size_t from = 0)
{
    return std::all_of(bytes.begin() + static_cast<std::ptrdiff_t>(from), bytes.end(),
                       [](unsigned char b) { return b == 0; });
}

// Pulls whole buffers until the one that holds the music's last byte;
// returns that buffer and how many bytes came before it.
std::vector<unsigned char> pullToTheEnd(ScriptedDevice& device, std::size_t bufferBytes, std::uint64_t& before,
                                        std::size_t* fromMusic)
{
    before = 0;
    while (before + bufferBytes <= kMusicBytes) {
        device.pull(bufferBytes);
        before += bufferBytes;
    }
    return device.pull(bufferBytes, fromMusic);
}

// The compiled-in music opened on the device and playing; 0 when it fails.
AudioStream playMusic(ScriptedDevice& device, std::uint32_t flags)
{
    const Resource mp3 = findResource("ZYT_MUCKE", "ZYT_MUCKE_MP3");
    if (!device.init(kDefaultAudioDevice, 44100, 0, nullptr))
        return 0;
    const AudioStream stream = device.streamCreateFile(true, mp3.data, 0, mp3.size, 0);
    return device.streamPlay(stream, false, flags) ? stream : 0;
}

TEST(Mp3AudioBackend, OpensOnlyPlayableMusicAndOnlyOnAnOpenDevice)
{
    const Resource mp3 = findResource("ZYT_MUCKE", "ZYT_MUCKE_MP3");
    ScriptedDevice device;
    EXPECT_EQ(device.streamCreateFile(true, mp3.data, 0, mp3.size, 0), 0u);   // no device yet
    ASSERT_TRUE(device.init(kDefaultAudioDevice, 44100, 0, nullptr));
    const unsigned char noise[4096] = {1, 2, 3};
    EXPECT_EQ(device.streamCreateFile(true, noise, 0, sizeof noise, 0), 0u);
    EXPECT_EQ(device.streamCreateFile(true, mp3.data, mp3.size + 1, mp3.size, 0), 0u);
    EXPECT_EQ(device.streamCreateFile(false, mp3.data, 0, mp3.size, 0), 0u);
    EXPECT_EQ(device.stream(), 0u);
    EXPECT_EQ(device.channelGetPosition(1), kPositionUnknown);

    const AudioStream stream = device.streamCreateFile(true, mp3.data, 0, mp3.size, 0);
    ASSERT_NE(stream, 0u);
    EXPECT_EQ(device.stream(), stream);
    EXPECT_EQ(device.channelGetPosition(stream + 1), kPositionUnknown);
    EXPECT_FALSE(device.streamPlay(stream + 1, false, 0));
    // Opened but not playing: position 0, and the device is handed silence.
    device.heard = 4000;
    EXPECT_EQ(device.channelGetPosition(stream), 0u);
    std::size_t music = 1;
    EXPECT_TRUE(allZero(device.pull(4096, &music)));
    EXPECT_EQ(music, 0u);
    EXPECT_EQ(device.starts, 0);
}

TEST(Mp3AudioBackend, LoopingMusicGoesOnFromItsFirstSampleAndItsPositionWraps)
{
    ScriptedDevice device;
    const AudioStream stream = playMusic(device, kStreamLoop);
    ASSERT_NE(stream, 0u);
    EXPECT_EQ(device.starts, 1);

    constexpr std::size_t kBuffer = 1 << 20;
    ScriptedDevice reference;
    ASSERT_NE(playMusic(reference, 0), 0u);
    const std::vector<unsigned char> first = reference.pull(kBuffer);
    std::uint64_t before = 0;
    std::size_t music = 0;
    const std::vector<unsigned char> across = pullToTheEnd(device, kBuffer, before, &music);
    EXPECT_EQ(music, kBuffer);
    const std::size_t tail = static_cast<std::size_t>(kMusicBytes - before);
    EXPECT_FALSE(allZero(across, tail));
    EXPECT_EQ(std::memcmp(across.data() + tail, first.data(), kBuffer - tail), 0)
        << "the music after its end is not its beginning";

    device.heard = kMusicBytes + 800;
    EXPECT_EQ(device.channelGetPosition(stream), 800u);
    device.heard = kMusicBytes + 400;   // a device jittering back: the position holds
    EXPECT_EQ(device.channelGetPosition(stream), 800u);
}

TEST(Mp3AudioBackend, MusicPlayedOnceEndsInSilenceWithItsPositionAtTheEnd)
{
    ScriptedDevice device;
    const AudioStream stream = playMusic(device, 0);
    ASSERT_NE(stream, 0u);

    constexpr std::size_t kBuffer = 1 << 20;
    std::uint64_t before = 0;
    std::size_t music = 0;
    const std::vector<unsigned char> last = pullToTheEnd(device, kBuffer, before, &music);
    EXPECT_EQ(music, kMusicBytes - before);
    EXPECT_TRUE(allZero(last, music)) << "the buffer past the music's end is not silence";
    EXPECT_TRUE(allZero(device.pull(kBuffer, &music)));
    EXPECT_EQ(music, 0u);

    device.heard = kMusicBytes + 123456;
    EXPECT_EQ(device.channelGetPosition(stream), kMusicBytes);
}

TEST(Mp3AudioBackend, PlayingAgainStartsThePositionAgainAndFreeingSilencesTheDevice)
{
    ScriptedDevice device;
    const AudioStream stream = playMusic(device, kStreamLoop);
    ASSERT_NE(stream, 0u);
    device.heard = 40000;
    EXPECT_EQ(device.channelGetPosition(stream), 40000u);
    ASSERT_TRUE(device.streamPlay(stream, false, kStreamLoop));
    EXPECT_EQ(device.starts, 2);
    device.heard = 8;
    EXPECT_EQ(device.channelGetPosition(stream), 8u);

    device.streamFree(stream + 1);   // not the stream: nothing happens
    EXPECT_EQ(device.endings, 0);
    EXPECT_EQ(device.stream(), stream);
    device.streamFree(stream);
    EXPECT_EQ(device.endings, 1);
    EXPECT_EQ(device.stream(), 0u);
    EXPECT_EQ(device.channelGetPosition(stream), kPositionUnknown);
    std::size_t music = 1;
    EXPECT_TRUE(allZero(device.pull(4096, &music)));
    EXPECT_EQ(music, 0u);
    EXPECT_FALSE(device.streamPlay(stream, false, kStreamLoop));
}

}  // namespace
