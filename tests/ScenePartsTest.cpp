#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "app/PartRenderState.h"
#include "assets/MusicPlayer.h"
#include "parts/Part2Temple.h"
#include "parts/SceneParts.h"
#include "tests/ScriptedAudio.h"
#include "tests/TestPlatform.h"

namespace {

TEST(SceneParts, FramesAdvanceEveryFiveTicksAndWrapAt6000)
{
    EXPECT_EQ(sceneFrameFor(0), 0u);
    EXPECT_EQ(sceneFrameFor(4), 0u);
    EXPECT_EQ(sceneFrameFor(5), 1u);
    EXPECT_EQ(sceneFrameFor(5999), 1199u);
    EXPECT_EQ(sceneFrameFor(6000), 0u);
}

TEST(Part2, RedFadeCardsAndFlashesOverAScriptedRun)
{
    testPlatform();
    ScriptedAudio audio;
    setAudio(&audio);
    auto player = std::make_unique<MusicPlayer>(nullptr, "ZYT_MUCKE");
    MusicPlayer& music = *player;
    applyPartRenderState(2);
    part2Flashes = Part2Flashes{};
    const SceneSet noScenes;
    constexpr GLuint kolbar = 11, meridos = 12, twl = 13;

    struct Flash {
        int t;
        GLuint card;
        float firstAlpha;
    };
    std::vector<Flash> flashes;
    int lastCount = 0;
    // Part 2 begins 12.65 s into the music; one frame per 10 ms.
    for (int t = 0; t <= 5120; t += 2) {
        audio.position = syncSecondsToBytes(12.65f + t * 0.005f);
        const Part2Overlays shown = part2Overlays(t, 100, part2Flashes, kolbar, meridos, twl);
        if (t == 0) {
            EXPECT_TRUE(shown.red);
            EXPECT_EQ(shown.redAlpha, 1.0f);
        }
        if (t == 100) {
            EXPECT_TRUE(shown.red);
            EXPECT_EQ(shown.redAlpha, 0.0f);
        }
        if (t > 100) {
            EXPECT_FALSE(shown.red);
        }
        if (part2Flashes.flashCount == 0) {
            EXPECT_FALSE(shown.hasCard);
            EXPECT_FALSE(shown.white);
        }
        if (part2Flashes.flashCount != lastCount) {
            lastCount = part2Flashes.flashCount;
            EXPECT_TRUE(shown.white);
            flashes.push_back({part2Flashes.lastFlashTime, shown.card, shown.whiteAlpha});
        }
        if (part2Flashes.flashCount > 0 && t > part2Flashes.lastFlashTime + 1200) {
            EXPECT_FALSE(shown.white);
        }
        part2Frame(noScenes, t, 100, &music, kolbar, meridos, twl);
    }
    ASSERT_EQ(flashes.size(), 3u);
    const GLuint order[3] = {twl, kolbar, meridos};
    const int near[3] = {1290, 2570, 3850};
    const float alpha[3] = {0.93f, 0.86f, 0.79f};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(flashes[i].card, order[i]);
        EXPECT_NEAR(flashes[i].t, near[i], 4);
        // Measured from 1200 x n, not from the flash itself.
        EXPECT_NEAR(flashes[i].firstAlpha, alpha[i], 0.01f);
    }
    // The third card stays to the end; a fourth flash would show no card
    // and fade from 1 - (t - 4800) / 1200.
    EXPECT_TRUE(part2Overlays(5120, 100, part2Flashes, kolbar, meridos, twl).hasCard);
    const Part2Overlays fourth = part2Overlays(5000, 100, Part2Flashes{4, 4990}, kolbar, meridos, twl);
    EXPECT_FALSE(fourth.hasCard);
    EXPECT_NEAR(fourth.whiteAlpha, 1.0f - 200.0f / 1200.0f, 1e-5);
    player.reset();
    setAudio(nullptr);
    part2Flashes = Part2Flashes{};
}

TEST(Part2, TwoEventsInOneFrameAreTakenOnePerFrame)
{
    testPlatform();
    ScriptedAudio audio;
    setAudio(&audio);
    auto player = std::make_unique<MusicPlayer>(nullptr, "ZYT_MUCKE");
    MusicPlayer& music = *player;
    part2Flashes = Part2Flashes{};
    const SceneSet noScenes;
    audio.position = syncSecondsToBytes(26.0f);   // past the first two flashes
    part2Frame(noScenes, 2700, 100, &music, 1, 2, 3);
    EXPECT_EQ(part2Flashes.flashCount, 1);
    part2Frame(noScenes, 2701, 100, &music, 1, 2, 3);
    EXPECT_EQ(part2Flashes.flashCount, 2);
    EXPECT_EQ(part2Flashes.lastFlashTime, 2701);
    player.reset();
    setAudio(nullptr);
    part2Flashes = Part2Flashes{};
}

}  // namespace
