#include <gtest/gtest.h>

#include <algorithm>

#include "assets/Resources.h"
#include "platform/HeadlessAudio.h"
#include "platform/Mp3Stream.h"
#include "tests/MusicReference.h"

namespace {

TEST(MusicDecoding, TheReferenceIsTheMusicAloneWithoutEncoderDelayOrPadding)
{
    ASSERT_EQ(referenceMusic().size(), kMusicSampleFrames * 2);
    // The music begins with sound: a decoder delay would begin with silence.
    EXPECT_NE(referenceMusic()[0] | referenceMusic()[1] | referenceMusic()[2], 0);
}

// Position p of the stream is the music's sample p: the same samples as the
// reference at its start, in the middle, at its end, and nothing after.
TEST(MusicDecoding, StreamIsTheMusicFromItsFirstSampleToItsLast)
{
    const Resource mp3 = findResource("ZYT_MUCKE", "ZYT_MUCKE_MP3");
    Mp3Stream stream;
    ASSERT_TRUE(stream.open(mp3.data, mp3.size));
    EXPECT_EQ(stream.lengthBytes(), kMusicSampleFrames * 4);

    std::vector<std::int16_t> decoded(kMusicSampleFrames * 2 + 4096);
    std::size_t bytes = 0;
    while (std::size_t got = stream.read(reinterpret_cast<unsigned char*>(decoded.data()) + bytes,
                                         std::min<std::size_t>(1 << 16, decoded.size() * 2 - bytes)))
        bytes += got;
    ASSERT_EQ(bytes, kMusicSampleFrames * 4);
    const std::vector<std::int16_t>& music = referenceMusic();
    for (const std::size_t frame : {std::size_t{0}, std::size_t{44100} * 11, kMusicSampleFrames - 4410}) {
        const auto at = static_cast<long>(frame * 2);
        EXPECT_TRUE(std::equal(music.begin() + at, music.begin() + at + 8820, decoded.begin() + at))
            << "at sample frame " << frame;
    }

    stream.rewind();   // the loop starts again at the music's first sample
    std::vector<std::int16_t> again(2048);
    ASSERT_EQ(stream.read(reinterpret_cast<unsigned char*>(again.data()), again.size() * 2), again.size() * 2);
    EXPECT_TRUE(std::equal(again.begin(), again.end(), music.begin()));
}

TEST(MusicDecoding, HeadlessPositionWrapsExactlyAtTheMusicsLength)
{
    VirtualClock clock;
    clock.fps = 60;
    HeadlessAudio audio(clock);
    ASSERT_TRUE(audio.init(kDefaultAudioDevice, 44100, 0, nullptr));
    const Resource mp3 = findResource("ZYT_MUCKE", "ZYT_MUCKE_MP3");
    const AudioStream stream = audio.streamCreateFile(true, mp3.data, 0, mp3.size, 0);
    ASSERT_TRUE(audio.streamPlay(stream, false, kStreamLoop));
    clock.frames = 60 * 300;   // 300 s: 13,230,000 sample frames, once round the loop
    EXPECT_EQ(audio.channelGetPosition(stream), (44100u * 300u - kMusicSampleFrames) * 4u);
}

}  // namespace
