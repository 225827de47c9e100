#include <gtest/gtest.h>

#include <cmath>

#include "parts/Part10TorusChain.h"
#include "parts/Part1PlasmaWave.h"
#include "parts/Part5LineFigure.h"
#include "parts/Part7RipplingCloth.h"
#include "parts/Part8Metaballs.h"

// How fast each part moves: the angle, phase or position one tick or one
// frame moves it.  A wrong step here changes every frame of a part, which
// otherwise only the whole-demo picture comparison would notice.  Part 4's
// camera, part 6's glow centre, the scenes' animation frame and the torus
// chain's turn are pinned next to the rest of those parts' tests.

namespace {

TEST(AnimationSpeed, PlasmaWavesAdvanceAnEightiethRadianPerTickAndTheVeilLiftsIn1200Ticks)
{
    EXPECT_EQ(plasmaPhase(0), 0.0f);
    EXPECT_FLOAT_EQ(plasmaPhase(1), 0.0125f);
    EXPECT_FLOAT_EQ(plasmaPhase(800), 10.0f);
    EXPECT_EQ(part1VeilAlpha(0), 1.0f);
    EXPECT_NEAR(part1VeilAlpha(600), 0.5f, 1e-6f);
    EXPECT_NEAR(part1VeilAlpha(1200), 0.0f, 1e-6f);
}

TEST(AnimationSpeed, TheLineFigureTurnsANinthDegreeAboutXAndAThirdAboutYPerTick)
{
    const PartTurn start = lineFigureTurn(0);
    EXPECT_EQ(start.aboutX, 0.0f);
    EXPECT_EQ(start.aboutY, 0.0f);
    const PartTurn nine = lineFigureTurn(9);
    EXPECT_FLOAT_EQ(nine.aboutX, 1.0f);
    EXPECT_FLOAT_EQ(nine.aboutY, 3.0f);
    const PartTurn full = lineFigureTurn(1080);   // a full turn about y
    EXPECT_NEAR(full.aboutX, 120.0f, 1e-3f);
    EXPECT_NEAR(full.aboutY, 360.0f, 1e-3f);
}

TEST(AnimationSpeed, TheClothTurnsOnceAboutTheVerticalIn3600Ticks)
{
    EXPECT_EQ(clothTurn(0), 0.0f);
    EXPECT_FLOAT_EQ(clothTurn(10), 1.0f);
    EXPECT_NEAR(clothTurn(3600), 360.0f, 1e-3f);
}

TEST(AnimationSpeed, TheMetaballSurfaceTurnsTwiceAsFastAboutYAsAboutX)
{
    const PartTurn twenty = metaballTurn(20);
    EXPECT_FLOAT_EQ(twenty.aboutY, 1.0f);
    EXPECT_FLOAT_EQ(twenty.aboutX, 0.5f);
    const PartTurn full = metaballTurn(7200);
    EXPECT_NEAR(full.aboutY, 360.0f, 1e-3f);
    EXPECT_NEAR(full.aboutX, 180.0f, 1e-3f);
}

TEST(AnimationSpeed, TheMetaballsLeaveTheirCommonStartAtTheirOwnVelocitiesPerFrame)
{
    initMetaBalls();
    // Two frames: far enough to see each velocity, too short to reach a wall
    // (the nearest is 4, a grid step and more away).
    moveMetaBalls();
    moveMetaBalls();
    const float expected[kMetaBallCount][3] = {{0.3f, -0.2f, -0.2f}, {-0.2f, 0.2f, 0.3f}, {-0.4f, 0.1f, -0.1f}};
    for (int b = 0; b < kMetaBallCount; ++b) {
        SCOPED_TRACE(b);
        EXPECT_NEAR(metaBalls[b].x, 5.0f + 2.0f * expected[b][0], 1e-5f);
        EXPECT_NEAR(metaBalls[b].y, 5.0f + 2.0f * expected[b][1], 1e-5f);
        EXPECT_NEAR(metaBalls[b].z, 5.0f + 2.0f * expected[b][2], 1e-5f);
    }
    initMetaBalls();   // leave the program-wide balls as the demo starts them
}

TEST(AnimationSpeed, TheTorusChainCameraCirclesAHundredthRadianPerTick)
{
    // Seen from above, the eye is at (10 sin t, ., 5 cos t) for t = partTime / 100.
    for (int partTime : {0, 1, 100, 157, 250}) {
        SCOPED_TRACE(partTime);
        const Vec3 eye = torusChainEye(partTime);
        const float t = static_cast<float>(partTime) * 0.01f;
        EXPECT_NEAR(eye.x, 10.0f * std::sin(t), 1e-5f);
        EXPECT_NEAR(eye.z, 5.0f * std::cos(t), 1e-5f);
        EXPECT_NEAR(eye.y, 5.0f * (std::cos(t) + std::sin(t)), 1e-5f);
    }
    EXPECT_NEAR(std::atan2(torusChainEye(100).x / 10.0f, torusChainEye(100).z / 5.0f), 1.0f, 1e-5f);
}

}  // namespace
