#include <gtest/gtest.h>

#include <string>

#include "assets/MusicPlayer.h"
#include "assets/Resources.h"
#include "tests/ScriptedAudio.h"
#include "tests/TestPlatform.h"

namespace {

class MusicPlayerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        testPlatform().messages.clear();
        setAudio(&audio);
    }
    ScriptedAudio audio;
};

TEST_F(MusicPlayerTest, ReadsTheCompiledInTracks)
{
    MusicPlayer player(nullptr, "ZYT_MUCKE");
    const SyncTracks& tracks = player.tracks();
    ASSERT_EQ(tracks.trackCount, 3u);
    EXPECT_EQ(tracks.stride, 28u);
    EXPECT_EQ(tracks.counts, (std::vector<unsigned>{11, 3, 28}));
    EXPECT_EQ(tracks.cursors, (std::vector<unsigned>{0, 0, 0}));
    EXPECT_EQ(tracks.times[0], 2231459u);              // 12.65 s, truncated from 12.6499996f
    EXPECT_EQ(tracks.times[10], syncSecondsToBytes(252.2f));
    EXPECT_EQ(tracks.times[28 + 2], syncSecondsToBytes(31.9f));
    EXPECT_EQ(tracks.times[56 + 27], syncSecondsToBytes(161.7f));   // the unterminated last field
    EXPECT_EQ(syncSecondsToBytes(161.7f), static_cast<std::uint32_t>(161.7f * 176400.0));
}

TEST_F(MusicPlayerTest, ReportsOneEventPerCallWhenItsTimeIsReached)
{
    MusicPlayer player(nullptr, "ZYT_MUCKE");
    audio.position = 2231458;
    EXPECT_FALSE(player.eventDue(1));
    audio.position = 2231459;   // equal to the time: reached
    EXPECT_TRUE(player.eventDue(1));
    EXPECT_FALSE(player.eventDue(1));

    // Three times passed between two calls: reported on three calls, in order.
    audio.position = syncSecondsToBytes(89.5f);
    EXPECT_TRUE(player.eventDue(1));
    EXPECT_TRUE(player.eventDue(1));
    EXPECT_TRUE(player.eventDue(1));
    EXPECT_FALSE(player.eventDue(1));
    EXPECT_EQ(player.tracks().cursors[0], 4u);
    EXPECT_EQ(player.tracks().cursors[1], 0u);   // tracks are independent
}

TEST_F(MusicPlayerTest, UsedUpTrackAnswersFalseButStillQueriesThePosition)
{
    MusicPlayer player(nullptr, "ZYT_MUCKE");
    audio.position = kPositionUnknown;   // a failed query is past every time
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(player.eventDue(2));
    const int queries = audio.positionQueries;
    EXPECT_FALSE(player.eventDue(2));
    EXPECT_FALSE(player.eventDue(2));
    EXPECT_EQ(audio.positionQueries, queries + 2);
    EXPECT_FALSE(player.eventDue(0));
    EXPECT_FALSE(player.eventDue(4));
}

TEST_F(MusicPlayerTest, CallsTheAudioLibraryInOrderAndTearsDownInOrder)
{
    {
        MusicPlayer player(nullptr, "ZYT_MUCKE");
        const Resource mp3 = findResource("ZYT_MUCKE", "ZYT_MUCKE_MP3");
        EXPECT_EQ(audio.streamData, mp3.data);
        EXPECT_EQ(audio.streamLength, mp3.size);
        EXPECT_EQ(audio.calls, (std::vector<std::string>{"init -1 44100 0", "create 1 0 0", "start", "play 7 0 4"}));
        EXPECT_TRUE(testPlatform().messages.empty());
        audio.calls.clear();
    }
    EXPECT_EQ(audio.calls, (std::vector<std::string>{"stop", "free stream 7", "free"}));
}

TEST_F(MusicPlayerTest, AudioFailuresAreShownAndLoadingGoesOn)
{
    audio.failDefaultDevice = audio.failStream = audio.failStart = audio.failPlay = true;
    MusicPlayer player(nullptr, "ZYT_MUCKE");
    const auto& messages = testPlatform().messages;
    ASSERT_EQ(messages.size(), 4u);
    EXPECT_EQ(messages[0].text, "Could not initialize BASS, switching to no-sound");
    EXPECT_EQ(messages[1].text, "Failed to initialize BASS-Stream");
    EXPECT_EQ(messages[2].text, "Failed to start BASS");
    EXPECT_EQ(messages[3].text, "Can't play BASS-Stream");
    for (const auto& message : messages)
        EXPECT_EQ(message.caption, "Shit !");
    EXPECT_EQ(audio.calls[0], "init -1 44100 0");
    EXPECT_EQ(audio.calls[1], "init -2 44100 0");
    EXPECT_EQ(audio.calls.back(), "play 0 0 4");
}

TEST(SyncTracks, DamagedDataStaysInsideItsBytes)
{
    // Counts far beyond the data, negative counts, no data at all.
    const std::string claims = "2\r\nA\r\n1000000\r\n1.0\r\nB\r\n-5\r\n2.0";
    const SyncTracks tracks = readSyncTracks(reinterpret_cast<const unsigned char*>(claims.data()), claims.size());
    ASSERT_EQ(tracks.trackCount, 2u);
    EXPECT_LE(tracks.counts[0], claims.size());
    EXPECT_EQ(tracks.counts[1], 0u);
    EXPECT_EQ(tracks.times.size(), static_cast<std::size_t>(tracks.stride) * 2);
    EXPECT_EQ(tracks.times[0], 176400u);

    const SyncTracks none = readSyncTracks(nullptr, 0);
    EXPECT_EQ(none.trackCount, 0u);
    const std::string hugeTrackCount = "2000000000";
    EXPECT_LE(readSyncTracks(reinterpret_cast<const unsigned char*>(hugeTrackCount.data()), hugeTrackCount.size())
                  .trackCount,
              hugeTrackCount.size());
}

// The last track claims nine times and holds two: it keeps those two, and
// the tracks before it keep theirs, in rows as long as the longest real track.
TEST(SyncTracks, TrackClaimingMoreTimesThanTheDataHoldsKeepsThosePresent)
{
    const std::string text = "3\r\nA\r\n2\r\n1.0\r\n2.0\r\nB\r\n1\r\n5.0\r\nC\r\n9\r\n3.0\r\n4.0";
    const SyncTracks tracks = readSyncTracks(reinterpret_cast<const unsigned char*>(text.data()), text.size());
    ASSERT_EQ(tracks.trackCount, 3u);
    EXPECT_EQ(tracks.counts, (std::vector<unsigned>{2, 1, 2}));
    ASSERT_EQ(tracks.stride, 2u);
    EXPECT_EQ(tracks.times, (std::vector<std::uint32_t>{176400, 352800, 882000, 0, 529200, 705600}));
}

TEST(SyncTracks, ATableLargerThanTheDataIsRefused)
{
    // 30 KB: 5000 tracks, the first with 5000 times, the others empty.  Rows
    // as long as the longest track would take 25 million slots.
    std::string text = "5000\r\nA\r\n5000\r\n";
    for (int i = 0; i < 5000; ++i)
        text += "1;";
    for (int k = 1; k < 5000; ++k)
        text += "B;0;";
    const SyncTracks tracks = readSyncTracks(reinterpret_cast<const unsigned char*>(text.data()), text.size());
    EXPECT_LE(tracks.times.size(), text.size());
    EXPECT_EQ(tracks.trackCount, 0u);
}

TEST(SyncTracks, SecondsConvertByTruncationAndSaturate)
{
    EXPECT_EQ(syncSecondsToBytes(12.65f), 2231459u);
    EXPECT_EQ(syncSecondsToBytes(1.0f), 176400u);
    EXPECT_EQ(syncSecondsToBytes(-3.0f), 0u);
    EXPECT_EQ(syncSecondsToBytes(1e9f), 0xFFFFFFFFu);
}

}  // namespace
