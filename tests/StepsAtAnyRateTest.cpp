#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cstdint>
#include <vector>

#include "app/PartRenderState.h"
#include "app/Timeline.h"
#include "assets/DemoTextures.h"
#include "fx/Cloth.h"
#include "fx/DemoRandom.h"
#include "parts/Part10TorusChain.h"
#include "parts/Part7RipplingCloth.h"
#include "scene/SceneSet.h"
#include "tests/TestPlatform.h"

namespace {

// partTime of frame `frame` of a part at `fps` on a virtual clock.
int partTimeAt(int frame, int fps)
{
    return static_cast<int>(static_cast<std::int64_t>(frame) * 1000 / fps / 5);
}

class EffectsAtAnyRate : public ::testing::Test {
protected:
    void SetUp() override
    {
        testPlatform();
        setStepCatchUpLimit(0);
        texWhite = makeFlatTexture(255, 255, 255);
        texMap = makeFlatTexture(40, 90, 160);
    }
    void TearDown() override { setStepCatchUpLimit(0); }

    // The picture after the frames of `seconds` of a part at `fps`, begun
    // on a white picture.
    static std::vector<unsigned char> pictureAfter(int part, int fps, int seconds)
    {
        applyPartRenderState(part);
        glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        torusAngle = 0.0f;
        beginPartSteps(part, 0);
        for (int frame = 0; frame <= seconds * fps; ++frame)
            renderPartFrame(part, partTimeAt(frame, fps), nullptr);
        std::vector<unsigned char> rgba(640 * 480 * 4);
        glReadPixels(0, 0, 640, 480, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        return rgba;
    }

    // Where the cloth's points are after the frames of `seconds` of part 7
    // at `fps`, from a new cloth, no impulse and a new random sequence; and
    // the value the sequence would give next.
    static std::vector<Vec3> clothAfter(int fps, int seconds, int& nextRandom)
    {
        applyPartRenderState(7);
        setUpCloth(theCloth);
        part7Impulses = {};
        demo::sequence() = RandomSequence{};
        beginPartSteps(7, 0);
        for (int frame = 0; frame <= seconds * fps; ++frame)
            renderPartFrame(7, partTimeAt(frame, fps), nullptr);
        RandomSequence after = demo::sequence();
        nextRandom = after.next();
        return theCloth.positions;
    }
};

TEST_F(EffectsAtAnyRate, TrailsLayOneLayerPerStepSoThePictureIsTheSameAtEveryRate)
{
    for (int part : {5, 10}) {
        SCOPED_TRACE("part " + std::to_string(part));
        const std::vector<unsigned char> at60 = pictureAfter(part, 60, 2);
        EXPECT_EQ(pictureAfter(part, 30, 2), at60) << "30 fps";
        EXPECT_EQ(pictureAfter(part, 144, 2), at60) << "144 fps";
        EXPECT_EQ(pictureAfter(part, 24, 2), at60) << "24 fps";
    }
}

TEST_F(EffectsAtAnyRate, TheClothAndItsRandomImpulsesEndWhereSixtyFpsLeaveThem)
{
    int next60 = 0;
    const std::vector<Vec3> at60 = clothAfter(60, 3, next60);   // six impulses
    for (int fps : {30, 120, 144}) {
        int next = 0;
        const std::vector<Vec3> positions = clothAfter(fps, 3, next);
        EXPECT_EQ(next, next60) << fps << " fps";
        ASSERT_EQ(positions.size(), at60.size());
        int apart = 0;
        for (std::size_t i = 0; i < positions.size(); ++i)
            apart += positions[i].x != at60[i].x || positions[i].y != at60[i].y || positions[i].z != at60[i].z;
        EXPECT_EQ(apart, 0) << "points elsewhere at " << fps << " fps";
    }
}

TEST_F(EffectsAtAnyRate, AFrameAfterAStallCatchesUpOnlyTheLimitAndTheEndOfAPartRunsItsLastSteps)
{
    // The torus chain turns half a degree per layer.
    applyPartRenderState(10);
    torusAngle = 0.0f;
    beginPartSteps(10, 0);
    setStepCatchUpLimit(12);
    renderPartFrame(10, 0, nullptr);
    EXPECT_FLOAT_EQ(torusAngle, 0.5f);
    renderPartFrame(10, partTimeAt(100 * 60, 60), nullptr);   // 100 s later
    EXPECT_FLOAT_EQ(torusAngle, 0.5f + 12 * 0.5f);
    renderPartFrame(10, partTimeAt(100 * 60 + 1, 60), nullptr);
    EXPECT_FLOAT_EQ(torusAngle, 0.5f + 13 * 0.5f);
    // The part ends four 60 Hz frames on: the two frames not drawn lay
    // their layers before the next part begins.
    finishPartSteps(10, partTimeAt(100 * 60 + 4, 60));
    EXPECT_FLOAT_EQ(torusAngle, 0.5f + 15 * 0.5f);
}

TEST_F(EffectsAtAnyRate, SceneFramesAreLitByTheLightsOfTheSixtyHertzFrameBefore)
{
    // Part 3's lights move between 60 Hz frames 1498 and 1499 (scene frames
    // 998 and 999); a scene sets its lights after its objects.
    if (theSceneSet.empty())
        loadScenes(theSceneSet);
    const auto pictureAfter = [](std::initializer_list<int> frames, int fps) {
        applyPartRenderState(3);
        beginPartSteps(3, 0);
        for (int frame : frames)
            renderPartFrame(3, partTimeAt(frame, fps), nullptr);
        std::vector<unsigned char> rgba(640 * 480 * 4);
        glReadPixels(0, 0, 640, 480, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        return rgba;
    };
    const std::vector<unsigned char> at60 = pictureAfter({1498, 1499, 1500}, 60);
    EXPECT_EQ(pictureAfter({749, 750}, 30), at60);
    EXPECT_EQ(pictureAfter({3595, 3598, 3600}, 144), at60);
}

}  // namespace
