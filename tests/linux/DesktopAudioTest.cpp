#include <gtest/gtest.h>

#include <SDL2/SDL.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

#include "assets/Resources.h"
#include "platform/linux/DesktopAudio.h"
#include "tests/MusicReference.h"

namespace {

// Bytes in the device's file from its first one that is not silence.
std::size_t soundAfterLeadingSilence(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::size_t silent = 0;
    char byte = 0;
    while (in.get(byte) && byte == 0)
        ++silent;
    std::error_code unreadable;
    const std::uintmax_t size = std::filesystem::file_size(file, unreadable);
    return in && !unreadable && size > silent ? static_cast<std::size_t>(size - silent) : 0;
}

// SDL's disk driver writes exactly the PCM the device was given, so the
// decoding in the device callback can be compared with a direct decode.
TEST(DesktopAudio, PlaysTheDecodedMusicFromItsFirstSample)
{
    const std::filesystem::path out = std::filesystem::temp_directory_path() / ("quittenhain-" + std::to_string(getpid()) + "-audio-test.raw");
    std::filesystem::remove(out);
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", out.c_str(), 1);
    setenv("SDL_DISKAUDIODELAY", "0", 1);

    const Resource mp3 = findResource("ZYT_MUCKE", "ZYT_MUCKE_MP3");
    {
        DesktopAudio audio;
        ASSERT_TRUE(audio.init(kDefaultAudioDevice, 44100, 0, nullptr)) << SDL_GetError();
        const AudioStream stream = audio.streamCreateFile(true, mp3.data, 0, mp3.size, 0);
        ASSERT_NE(stream, 0u);
        // Playing before the device runs: the first buffer it takes is the
        // music's, however long a loaded machine takes between the calls.
        ASSERT_TRUE(audio.streamPlay(stream, false, kStreamLoop));
        ASSERT_TRUE(audio.start());
        // At least a second of music in the file, however slowly a loaded
        // machine lets the device's thread decode (the disk driver takes
        // buffers as fast as the callback fills them; the position follows
        // the clock, not the file).
        std::uint32_t last = 0;
        std::error_code notYet;
        for (int i = 0; i < 3000 && (i < 30 || std::filesystem::file_size(out, notYet) < 176400 || notYet ||
                                     soundAfterLeadingSilence(out) < 176400);
             ++i) {
            SDL_Delay(10);
            const std::uint32_t position = audio.channelGetPosition(stream);
            EXPECT_GE(position, last);   // monotonic
            EXPECT_EQ(position % 4, 0u);  // whole sample frames
            last = position;
        }
        EXPECT_GT(last, 0u);
        EXPECT_EQ(audio.channelGetPosition(stream + 1), kPositionUnknown);
        audio.stop();
        // A paused device goes on writing silence until it is closed; a
        // loaded machine can hold this thread here as long, so the test does.
        SDL_Delay(50);
        audio.streamFree(stream);
        audio.free();
    }
    unsetenv("SDL_AUDIODRIVER");

    std::ifstream file(out, std::ios::binary);
    const std::vector<unsigned char> played((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::filesystem::remove(out);
    ASSERT_GT(played.size(), 44100u);

    // Compared with a decode apart from the program's, so that the two cannot
    // share a shift: the device plays the music from its first sample.
    const std::vector<std::int16_t>& music = referenceMusic();
    const auto* musicBytes = reinterpret_cast<const unsigned char*>(music.data());
    const std::vector<unsigned char> expected(musicBytes, musicBytes + std::min(played.size(), music.size() * 2));
    // The device is fed silence before the stream plays and after it stops.
    std::size_t start = 0;
    while (start < played.size() && played[start] == 0)
        ++start;
    std::size_t end = played.size();
    while (end > start && played[end - 1] == 0)
        --end;
    std::size_t firstSound = 0;
    while (firstSound < expected.size() && expected[firstSound] == 0)
        ++firstSound;
    ASSERT_LT(start, played.size());
    ASSERT_GE(start, firstSound);
    const std::size_t offset = start - firstSound;
    const std::size_t compared = std::min(end - offset, expected.size());
    ASSERT_GE(end - start, 176400u);   // a second of music, not cut short by silence
    EXPECT_TRUE(std::equal(played.begin() + static_cast<long>(offset),
                           played.begin() + static_cast<long>(offset + compared), expected.begin()));
}

TEST(DesktopAudio, NoSoundDeviceStillPlaysOnTheClock)
{
    const Resource mp3 = findResource("ZYT_MUCKE", "ZYT_MUCKE_MP3");
    DesktopAudio audio;
    ASSERT_TRUE(audio.init(kNoSoundDevice, 44100, 0, nullptr));
    const AudioStream stream = audio.streamCreateFile(true, mp3.data, 0, mp3.size, 0);
    ASSERT_NE(stream, 0u);
    ASSERT_TRUE(audio.start());
    ASSERT_TRUE(audio.streamPlay(stream, false, kStreamLoop));
    const std::uint32_t before = audio.channelGetPosition(stream);
    SDL_Delay(200);
    const std::uint32_t after = audio.channelGetPosition(stream);
    // 200 ms of real time is about 35280 bytes; allow for a busy machine.
    EXPECT_GE(after - before, 30000u);
    EXPECT_LE(after - before, 176400u);
    EXPECT_EQ(audio.streamCreateFile(true, mp3.data, 0, 64, 0), 0u);
}

}  // namespace
