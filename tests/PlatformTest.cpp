#include <gtest/gtest.h>

#include "app/HeadlessFrames.h"
#include "app/PngFrames.h"
#include "assets/MusicPlayer.h"
#include "assets/Resources.h"
#include "fx/DemoRandom.h"
#include "platform/HeadlessAudio.h"
#include "platform/OffscreenPicture.h"
#include "platform/ScreenPixels.h"

namespace {

TEST(HeadlessAudio, PositionFollowsTheVirtualClockInWholeSampleFrames)
{
    VirtualClock clock;
    clock.fps = 60;
    HeadlessAudio audio(clock);
    ASSERT_TRUE(audio.init(kDefaultAudioDevice, 44100, 0, nullptr));
    EXPECT_EQ(audio.channelGetPosition(1), kPositionUnknown);   // no stream yet
    const Resource mp3 = findResource("ZYT_MUCKE", "ZYT_MUCKE_MP3");
    const AudioStream stream = audio.streamCreateFile(true, mp3.data, 0, mp3.size, 0);
    ASSERT_NE(stream, 0u);
    clock.frames = 5;   // loading took frames: the music starts where it is played
    ASSERT_TRUE(audio.streamPlay(stream, false, kStreamLoop));
    EXPECT_EQ(audio.channelGetPosition(stream), 0u);
    clock.frames = 5 + 759;
    EXPECT_EQ(audio.channelGetPosition(stream), 759u * 2940u);   // 735 samples a frame at 60 fps

    clock.fps = 7;   // 44100 / 7 = 6300 samples, exactly
    clock.frames = 5 + 3;
    EXPECT_EQ(audio.channelGetPosition(stream) % 4, 0u);
    EXPECT_EQ(audio.channelGetPosition(stream), 3u * 6300u * 4u);
}

TEST(HeadlessAudio, PositionWrapsWhenTheLoopStartsAgain)
{
    VirtualClock clock;
    HeadlessAudio audio(clock);
    audio.init(kDefaultAudioDevice, 44100, 0, nullptr);
    const Resource mp3 = findResource("ZYT_MUCKE", "ZYT_MUCKE_MP3");
    const AudioStream stream = audio.streamCreateFile(true, mp3.data, 0, mp3.size, 0);
    audio.streamPlay(stream, false, kStreamLoop);
    clock.frames = 60 * 300;   // five minutes: past the end of the music
    const std::uint32_t position = audio.channelGetPosition(stream);
    EXPECT_LT(position, 60u * 176400u);
    EXPECT_GT(position, 40u * 176400u);
    EXPECT_EQ(audio.streamCreateFile(true, mp3.data, 0, 100, 0), 0u);   // truncated music is refused
}

// At rates that do not divide 44100 the samples are counted over all frames
// at once, never per frame: after one second of frames, one second of music.
TEST(VirtualClock, SamplesAfterNFramesAreNTimes44100OverFps)
{
    VirtualClock clock;
    for (const int fps : {144, 1000, 7, 60}) {
        clock.fps = fps;
        clock.frames = static_cast<std::uint64_t>(fps) * 3;
        EXPECT_EQ(clock.samplesSince(0), 3u * 44100u) << fps << " fps";
        clock.frames = 5;
        EXPECT_EQ(clock.samplesSince(0), 5u * 44100u / static_cast<unsigned>(fps)) << fps << " fps";
    }
}

TEST(VirtualClock, TicksAdvanceByAThousandOverFpsPerFrame)
{
    VirtualClock clock;
    clock.fps = 60;
    clock.frames = 3;
    EXPECT_EQ(clock.ticks(), 50u);
    clock.frames = 60u * 3600u * 24u * 10u;   // ten days of frames: no overflow on the way
    EXPECT_EQ(clock.ticks(), 864000000u);
}

TEST(FitPicture, KeepsTheAspectAndCentres)
{
    const FitRect same = fitPicture(640, 480, 640, 480);
    EXPECT_EQ(same.x, 0);
    EXPECT_EQ(same.width, 640);
    const FitRect wide = fitPicture(640, 480, 1920, 1080);
    EXPECT_EQ(wide.width, 1440);
    EXPECT_EQ(wide.height, 1080);
    EXPECT_EQ(wide.x, 240);
    const FitRect tall = fitPicture(640, 480, 1280, 1024);
    EXPECT_EQ(tall.width, 1280);
    EXPECT_EQ(tall.height, 960);
    EXPECT_EQ(tall.y, 32);
    const FitRect none = fitPicture(640, 480, 0, 480);
    EXPECT_EQ(none.width, 0);
}

TEST(CaptureRange, WritesFromItsStartAndEndsWhenTheMusicHasPlayed)
{
    CaptureRange range{60, 12.5, 13.0, {}};
    EXPECT_FALSE(range.writes(749));
    EXPECT_TRUE(range.writes(750));
    EXPECT_FALSE(range.endsAfter(778));
    EXPECT_TRUE(range.endsAfter(779));   // frames 0..779: 780 frames, 13 s
    EXPECT_FALSE(CaptureRange{}.endsAfter(1000000));
    EXPECT_EQ(captureFileName(760), "frame00760.png");

    const CaptureRange stills{60, 0.0, -1.0, {120, 700}};
    EXPECT_FALSE(stills.writes(119));
    EXPECT_TRUE(stills.writes(120));
    EXPECT_FALSE(stills.endsAfter(699));
    EXPECT_TRUE(stills.endsAfter(700));
}

// Decimal times are not exact in binary: 0.1 * 30 is a hair above 3 and
// 94.516667 * 60 a hair above 5671, yet those frames are the first written.
TEST(CaptureRange, DecimalStartWritesTheFrameAtThatTime)
{
    const CaptureRange tenth{30, 0.1, -1.0, {}};
    EXPECT_FALSE(tenth.writes(2));
    EXPECT_TRUE(tenth.writes(3));
    EXPECT_EQ(tenth.firstWritten(), 3u);
    const CaptureRange late{60, 94.516667, -1.0, {}};
    EXPECT_FALSE(late.writes(5670));
    EXPECT_TRUE(late.writes(5671));
    EXPECT_EQ(late.firstWritten(), 5671u);
    const CaptureRange until{30, 0.0, 0.1, {}};
    EXPECT_FALSE(until.endsAfter(1));
    EXPECT_TRUE(until.endsAfter(2));   // frames 0..2: a tenth of a second
}

TEST(CaptureRange, TheDemoEndsOnTheFrameWhoseMusicReachesTheLastSwitch)
{
    // Last frames seen in whole headless runs at these rates.
    const SyncTracks tracks = readCompiledInSyncTracks("ZYT_MUCKE");
    EXPECT_EQ(lastDemoFrame(tracks, 1), 253u);
    EXPECT_EQ(lastDemoFrame(tracks, 7), 1766u);
    EXPECT_EQ(lastDemoFrame(tracks, 30), 7566u);
    EXPECT_EQ(lastDemoFrame(tracks, 60), 15132u);   // reached exactly on the frame

    EXPECT_EQ(rangePastTheEnd({1, 0.0, -1.0, {5, 253}}, tracks), "");
    EXPECT_EQ(rangePastTheEnd({1, 253.0, -1.0, {}}, tracks), "");
    EXPECT_EQ(rangePastTheEnd({1, 0.0, 9000.0, {}}, tracks), "");   // --until stops at the end
    EXPECT_EQ(rangePastTheEnd({1, 0.0, -1.0, {5, 99999}}, tracks),
              "frame 99999 is past the demo's end: the demo's last frame at 1 fps is 253 (music 253.000 s)");
    EXPECT_NE(rangePastTheEnd({1, 253.5, -1.0, {}}, tracks), "");
    EXPECT_NE(rangePastTheEnd({60, 400.0, -1.0, {}}, tracks).find("is 15132 (music 252.200 s)"), std::string::npos);
}

TEST(CaptureRange, NoEndWithoutTimesInTheFirstTrack)
{
    const std::string emptyFirst = "2\r\nA\r\n0\r\nB\r\n1\r\n5.0";
    const SyncTracks tracks = readSyncTracks(reinterpret_cast<const unsigned char*>(emptyFirst.data()), emptyFirst.size());
    ASSERT_EQ(tracks.trackCount, 2u);
    EXPECT_EQ(lastDemoFrame(tracks, 60), std::nullopt);
    EXPECT_EQ(lastDemoFrame(SyncTracks{}, 60), std::nullopt);
    EXPECT_EQ(rangePastTheEnd({60, 400.0, -1.0, {}}, tracks), "");
}

TEST(RandomSequence, StartsAtOneAndMatchesTheClassicGenerator)
{
    RandomSequence sequence;
    const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358};
    for (int value : expected)
        EXPECT_EQ(sequence.next(), value);
    for (int i = 0; i < 100000; ++i) {
        const int value = sequence.next();
        ASSERT_GE(value, 0);
        ASSERT_LE(value, 32767);
    }
}

}  // namespace

TEST(FitPicture, ScreenPictureIsTheLargestFourByThreeArea)
{
    const PictureSize wide = largestFourByThree(1920, 1080);
    EXPECT_EQ(wide.width, 1440);
    EXPECT_EQ(wide.height, 1080);
    const PictureSize laptop = largestFourByThree(1366, 768);
    EXPECT_EQ(laptop.width, 1024);
    EXPECT_EQ(laptop.height, 768);
    const PictureSize tall = largestFourByThree(1280, 1024);   // limited by the width
    EXPECT_EQ(tall.width, 1280);
    EXPECT_EQ(tall.height, 960);
    const PictureSize odd = largestFourByThree(2560, 1601);   // height made a multiple of 3
    EXPECT_EQ(odd.width * 3, odd.height * 4);
    EXPECT_EQ(odd.height, 1599);
}

TEST(FitPicture, PagePictureFollowsTheCanvasWithinItsLimits)
{
    const PictureSize largest{1920, 1440};
    const PictureSize laptop = pictureForArea(1366, 768, largest);   // a wide canvas: limited by its height
    EXPECT_EQ(laptop.width, 1024);
    EXPECT_EQ(laptop.height, 768);
    const PictureSize retina = pictureForArea(2880, 2160, largest);   // capped
    EXPECT_EQ(retina.width, 1920);
    EXPECT_EQ(retina.height, 1440);
    const PictureSize tall = pictureForArea(1000, 1600, largest);   // a tall canvas: limited by its width
    EXPECT_EQ(tall.width, 1000);
    EXPECT_EQ(tall.height, 750);
    const PictureSize small = pictureForArea(400, 300, largest);   // never below the composed size
    EXPECT_EQ(small.width, 640);
    EXPECT_EQ(small.height, 480);
    const PictureSize hidden = pictureForArea(0, 0, largest);
    EXPECT_EQ(hidden.width, 640);
    EXPECT_EQ(hidden.height, 480);
}

TEST(ScreenPixels, PagePicturesAndDesktopCapturesConvertBothWays)
{
    // 3x2 pixels: top row red, green, blue; bottom row white, black, grey.
    const std::uint8_t rgba[] = {255, 0,   0,   255, 0, 255, 0, 255, 0,   0,   255, 255,
                                 255, 255, 255, 255, 0, 0,   0, 255, 128, 128, 128, 255};
    std::vector<std::uint8_t> screen;
    screenPixelsFromRgba(rgba, 3, 2, screen);
    ASSERT_EQ(screen.size(), 2 * screenRowBytes(3));   // 9 bytes a row, padded to 12
    // Bottom row first, blue-green-red.
    const std::vector<std::uint8_t> bottom(screen.begin(), screen.begin() + 9);
    EXPECT_EQ(bottom, (std::vector<std::uint8_t>{255, 255, 255, 0, 0, 0, 128, 128, 128}));
    const std::vector<std::uint8_t> top(screen.begin() + 12, screen.begin() + 21);
    EXPECT_EQ(top, (std::vector<std::uint8_t>{0, 0, 255, 0, 255, 0, 255, 0, 0}));

    std::vector<std::uint8_t> back;
    rgbaFromScreenPixels(screen.data(), 3, 2, back);
    EXPECT_EQ(back, std::vector<std::uint8_t>(std::begin(rgba), std::end(rgba)));
}
