#include <gtest/gtest.h>

#include <GL/gl.h>
#include <cmath>

#include "app/PartRenderState.h"
#include "app/Timeline.h"
#include "fx/Cloth.h"
#include "fx/ParticleSystem.h"
#include "parts/Part10TorusChain.h"
#include "parts/Part4GlowCloud.h"
#include "parts/Part7RipplingCloth.h"
#include "parts/Part8Metaballs.h"
#include "tests/TestPlatform.h"

namespace {

// --- Part 4 -----------------------------------------------------------------

TEST(Part4Camera, StartsAboveTheCircleCentreAndSkimsTheGroundOnTheQuarterTurns)
{
    const Vec3 start = part4Eye(0);
    EXPECT_EQ(start.x, 5.0f);
    EXPECT_EQ(start.y, 10.0f);
    EXPECT_EQ(start.z, 5.0f);
    EXPECT_NEAR(part4Eye(157).y, 0.0f, 1e-4f);   // cos(1.57) is almost 0
    EXPECT_NEAR(part4Eye(471).y, 0.0f, 1e-4f);
    const Vec3 later = part4Eye(300);   // radius 20 sin(1.5), angle 3
    EXPECT_NEAR(later.x, 20.0f * std::sin(1.5f) * std::cos(3.0f) + 5.0f, 1e-4f);
    EXPECT_NEAR(later.z, 20.0f * std::sin(1.5f) * std::sin(3.0f) + 5.0f, 1e-4f);
}

// --- Part 7's impulses ------------------------------------------------------

class ClothImpulsesTest : public ::testing::Test {
protected:
    void SetUp() override { setUpCloth(cloth); }

    // One frame's impulse bookkeeping and step, drawing from `sequence`.
    void frame(int partTime)
    {
        updateClothImpulses(impulses, cloth, partTime, [this] { return sequence.next(); });
        cloth.step();
    }
    int pushedPoints() const
    {
        int pushed = 0;
        for (const Vec3& force : cloth.externalForces)
            pushed += force.y != 0.0f;
        return pushed;
    }

    Cloth cloth;
    ClothImpulses impulses;
    RandomSequence sequence;
};

TEST_F(ClothImpulsesTest, LandAfterTheParticleCloudsOnTheSequencesNextValues)
{
    for (int i = 0; i < 4900; ++i)   // the two clouds' emission at start-up
        sequence.next();
    std::vector<int> points;
    for (int partTime = 0; partTime <= 250; partTime += 5) {   // every multiple of 100 met once
        const int before = impulses.index;
        frame(partTime);
        if (partTime % 100 == 0)
            points.push_back(impulses.index);
        else
            EXPECT_EQ(impulses.index, before);
    }
    EXPECT_EQ(points, (std::vector<int>{866, 385, 1939}));
}

TEST_F(ClothImpulsesTest, TheFirstPushLastsTenStepsAndLaterOnesOne)
{
    frame(0);
    const int first = impulses.index;
    EXPECT_EQ(cloth.externalForces[static_cast<std::size_t>(first)].y, 20.0f);
    for (int f = 1; f <= 9; ++f) {
        frame(f);
        EXPECT_EQ(pushedPoints(), 1) << "frame " << f;
    }
    frame(10);   // impulseFrames reached 10: this frame takes the push away
    EXPECT_EQ(pushedPoints(), 0);
    EXPECT_FALSE(impulses.active);

    for (int t = 11; t < 100; ++t)
        frame(t);
    frame(100);   // ten frames since the clearing: a push for one step only
    EXPECT_EQ(pushedPoints(), 1);
    frame(101);
    EXPECT_EQ(pushedPoints(), 0);
}

TEST_F(ClothImpulsesTest, AFirstFrameAfterTickZeroWaitsForTheNextHundred)
{
    frame(3);
    EXPECT_FALSE(impulses.active);
    EXPECT_EQ(pushedPoints(), 0);
}

TEST_F(ClothImpulsesTest, AMultipleMetTwiceMovesThePushAndUsesAnotherValue)
{
    frame(0);
    RandomSequence expected;
    expected.next();
    frame(0);   // a frame rate above 200 per second meets 0 again
    EXPECT_EQ(impulses.index, expected.next() % 2500);
    EXPECT_EQ(pushedPoints(), 1);   // the earlier point let go
    EXPECT_TRUE(impulses.active);
}

TEST_F(ClothImpulsesTest, ClearingComesBeforePlacingInTheSameFrame)
{
    for (int i = 0; i < 10; ++i)
        impulses.frames += 1;
    frame(100);   // set with impulseFrames at 10
    const int old = impulses.index;
    frame(200);   // clears it, then places a new one
    EXPECT_TRUE(impulses.active);
    EXPECT_EQ(impulses.frames, 0);
    EXPECT_EQ(pushedPoints(), 1);
    ASSERT_NE(old, impulses.index);
    EXPECT_EQ(cloth.externalForces[static_cast<std::size_t>(old)].y, 0.0f);
}

// --- Parts 10 and 11 ----------------------------------------------------------

TEST(TorusChain, TheAngleWrapsFrom359AndAHalfToZero)
{
    float angle = 0.0f;
    for (int frame = 1; frame < 720; ++frame)
        angle = nextTorusAngle(angle);
    EXPECT_EQ(angle, 359.5f);
    angle = nextTorusAngle(angle);
    EXPECT_EQ(angle, 0.0f);
    EXPECT_EQ(nextTorusAngle(angle), 0.5f);
}

// --- Pictures and OpenGL resources -------------------------------------------

class EffectPartFrames : public ::testing::Test {
protected:
    void SetUp() override { testPlatform(); }

    // Display lists in use: names below a freshly taken one that are lists.
    static int liveDisplayLists()
    {
        const GLuint probe = glGenLists(1);
        int live = 0;
        for (GLuint name = 1; name < probe; ++name)
            live += glIsList(name) == GL_TRUE;
        glDeleteLists(probe, 1);
        return live;
    }
    static void makeCloud(ParticleSystem& system, bool withHalo)
    {
        RandomSequence sequence;
        configureGlowParticles(system);
        system.haloMode = withHalo ? 1 : 2;
        system.random = [&sequence] { return sequence.next(); };
        system.init();
        system.texture = makeFlatTexture(255, 255, 255);
    }
};

TEST_F(EffectPartFrames, DisplayListsDoNotPileUpOverThousandsOfFrames)
{
    ParticleSystem cloud;
    makeCloud(cloud, true);
    const GLuint texture = makeFlatTexture(0, 0, 0);
    initMetaBalls();
    clearMetaballField();
    const int before = liveDisplayLists();
    // A tiny viewport: the lists are what counts here, not the pixels.
    applyPartRenderState(4);
    glViewport(0, 0, 4, 4);
    for (int t = 0; t < 1500; ++t)
        part4Frame(t, texture, cloud);
    applyPartRenderState(8);
    glViewport(0, 0, 4, 4);
    for (int t = 0; t < 1500; ++t)
        renderPartFrame(8, t, nullptr);
    applyPartRenderState(10);
    glViewport(0, 0, 4, 4);
    for (int t = 0; t < 1500; ++t)
        part10And11Frame(t, texture, cloud, t % 2);
    EXPECT_EQ(liveDisplayLists(), before);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(EffectPartFrames, PartFourShowsTheCloudOnItsDarkenedGrey)
{
    applyPartRenderState(4);
    ParticleSystem cloud;
    makeCloud(cloud, true);
    part4Frame(0, makeFlatTexture(0, 0, 0), cloud);
    // The clear grey 0.3 darkened by a tenth in a corner; the cloud's
    // centre, seen from above, saturates.
    EXPECT_NEAR(pixelAt(2, 2).r, 69, 2);
    EXPECT_EQ(pixelAt(320, 240).r, 229);
}

TEST_F(EffectPartFrames, PartSevenEndsLitFilledAndWithoutTextureGeneration)
{
    applyPartRenderState(7);
    Cloth cloth;
    setUpCloth(cloth);
    part7Frame(1, cloth);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_S));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_T));
    GLint polygonMode[2];
    glGetIntegerv(GL_POLYGON_MODE, polygonMode);
    EXPECT_EQ(polygonMode[0], GL_FILL);
    EXPECT_EQ(polygonMode[1], GL_FILL);
    // The lit sheet fills the lower middle of the picture.
    const Pixel sheet = pixelAt(320, 100);
    EXPECT_GT(sheet.b, sheet.r);
    EXPECT_EQ(pixelAt(320, 470).b, 0);   // sky above the far edge
}

TEST_F(EffectPartFrames, PartsTenAndElevenFadeTheOldPictureByTheirWash)
{
    applyPartRenderState(10);
    ParticleSystem empty;
    empty.count = 0;
    empty.init();
    const GLuint black = makeFlatTexture(0, 0, 0);
    for (int isPart11 : {0, 1}) {
        glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        part10And11Frame(0, black, empty, isPart11);
        // The corner holds no torus: white times 0.9 (part 10) or 0.95 (part 11).
        EXPECT_NEAR(pixelAt(1, 1).r, isPart11 ? 242 : 229, 2) << "part 11: " << isPart11;
    }
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
}

}  // namespace
