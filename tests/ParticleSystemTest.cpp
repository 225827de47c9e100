#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glu.h>
#include <algorithm>
#include <cmath>
#include <memory>

#include "fx/ParticleSystem.h"
#include "tests/TestPlatform.h"

namespace {

// A system drawing from its own copy of the demo's sequence, so the shared
// one stays untouched.
std::function<int()> from(RandomSequence& sequence)
{
    return [&sequence] { return sequence.next(); };
}

// Values that repeat a fixed list, to steer emission.
std::function<int()> cycling(std::vector<int> values)
{
    auto next = std::make_shared<std::size_t>(0);
    return [values, next] { return values[(*next)++ % values.size()]; };
}

void expectVec(Vec3 actual, float x, float y, float z)
{
    EXPECT_FLOAT_EQ(actual.x, x);
    EXPECT_FLOAT_EQ(actual.y, y);
    EXPECT_FLOAT_EQ(actual.z, z);
}

// The two clouds configured and emitted one after the other from one
// sequence, as start-up does.
void initCloudsInStartUpOrder(RandomSequence& sequence, ParticleSystem& glow, ParticleSystem& glow2)
{
    configureGlowParticles(glow);
    glow.random = from(sequence);
    glow.init();
    configureGlow2Particles(glow2);
    glow2.random = from(sequence);
    glow2.init();
}

// A sequence moved on by n values.
RandomSequence sequenceAfter(int n)
{
    RandomSequence sequence;
    for (int i = 0; i < n; ++i)
        sequence.next();
    return sequence;
}

TEST(ParticleClouds, EmitFromTheSharedSequenceInStartUpOrder)
{
    RandomSequence sequence;
    ParticleSystem glow, glow2;
    initCloudsInStartUpOrder(sequence, glow, glow2);

    // The first difference is 41 % 100 - 18467 % 100, minuend first.
    expectVec(glow.positions[0], -1.3f, 1.7f, 2.25f);
    EXPECT_EQ(glow.lives[0], 780.0f);
    EXPECT_FLOAT_EQ(glow.opacityOf(0), 0.78f);
    expectVec(glow.positions[1], -0.2f, 2.95f, -1.8f);
    EXPECT_EQ(glow.lives[1], 270.0f);
    expectVec(glow2.positions[0], -6.23f, -3.85f, 3.78f);
    EXPECT_EQ(glow2.lives[0], 104.0f);
    EXPECT_FLOAT_EQ(glow2.opacityOf(0), 0.52f);

    // 1400 + 3500 values used: the next is the 4901st.
    RandomSequence reference = sequenceAfter(4900);
    EXPECT_EQ(sequence.next(), reference.next());
}

TEST(ParticleClouds, StayInsideTheirCubesWithLivesInWholePercentSteps)
{
    RandomSequence sequence;
    ParticleSystem glow, glow2;
    initCloudsInStartUpOrder(sequence, glow, glow2);

    ASSERT_EQ(glow.positions.size(), 200u);
    ASSERT_EQ(glow2.positions.size(), 500u);
    auto check = [](const ParticleSystem& system, float bound, float lifeStep) {
        for (std::size_t i = 0; i < system.positions.size(); ++i) {
            for (float c : {system.positions[i].x, system.positions[i].y, system.positions[i].z})
                ASSERT_LE(std::fabs(c), bound + 1e-5f) << "particle " << i;
            const float steps = system.lives[i] / lifeStep;
            ASSERT_EQ(steps, std::floor(steps)) << "particle " << i;
            ASSERT_GE(steps, 0.0f);
            ASSERT_LE(steps, 99.0f);
            ASSERT_EQ(system.states[i], ParticleSystem::kAlive);
        }
    };
    check(glow, 4.95f, 10.0f);
    check(glow2, 6.93f, 2.0f);
}

TEST(ParticleUpdate, FrozenSystemsKeepEverything)
{
    RandomSequence sequence;
    ParticleSystem glow;
    configureGlowParticles(glow);
    glow.random = from(sequence);
    glow.gravity = {0.0f, -1.0f, 0.0f, 0.0f};   // would move anything not frozen
    glow.updateMode = 3;
    glow.init();
    const auto positions = glow.positions;
    const auto velocities = glow.velocities;
    const auto lives = glow.lives;
    const RandomSequence before = sequence;
    for (int i = 0; i < 1000; ++i)
        glow.update();
    for (std::size_t i = 0; i < positions.size(); ++i) {
        EXPECT_EQ(glow.positions[i].x, positions[i].x);
        EXPECT_EQ(glow.positions[i].y, positions[i].y);
        EXPECT_EQ(glow.velocities[i].y, velocities[i].y);
        EXPECT_EQ(glow.lives[i], lives[i]);
        EXPECT_EQ(glow.states[i], ParticleSystem::kAlive);
    }
    RandomSequence untouched = before;
    EXPECT_EQ(sequence.next(), untouched.next());   // nothing re-emitted
}

TEST(ParticleUpdate, DieOnceEmptiesWithinItsLifetimeAndStaysEmpty)
{
    RandomSequence sequence;
    ParticleSystem system;
    system.random = from(sequence);
    system.updateMode = 2;
    system.lifeMode = 1;
    system.lifetime = 10.0f;
    system.decay = 3.0f;   // ceil(10 / 3) + 1 = 5 updates at most
    system.count = 50;
    system.init();
    std::vector<ParticleSystem::Sprite> sprites;
    for (int step = 1; step <= 5; ++step) {
        system.update();
        system.collectSprites(sprites);
        if (step < 4) {
            EXPECT_EQ(sprites.size(), 50u) << "step " << step;
        }
    }
    EXPECT_TRUE(sprites.empty());
    system.update();
    system.collectSprites(sprites);
    EXPECT_TRUE(sprites.empty());   // the dead never return
}

TEST(ParticleUpdate, ReEmitsASpentParticleAndMovesItOnlyFromTheNextUpdate)
{
    ParticleSystem system;
    system.count = 1;
    system.velocityMode = 1;
    system.velocityShape = 1;
    system.direction = {0.0f, 1.0f, 0.0f, 0.0f};
    // Emission: six position values (differences 10, 0, 0), six velocity
    // values (no jitter), then life R: 0 the first time, 50 the second.
    system.random = cycling({60, 50, 50, 50, 50, 50, 0, 0, 0, 0, 0, 0, 0,
                             60, 50, 50, 50, 50, 50, 0, 0, 0, 0, 0, 0, 50});
    system.init();
    expectVec(system.positions[0], 0.5f, 0.0f, 0.0f);
    EXPECT_EQ(system.lives[0], 0.0f);
    EXPECT_EQ(system.opacityOf(0), 1.0f);   // constant alpha by default
    system.alphaMode = 1;
    EXPECT_EQ(system.opacityOf(0), 0.0f);   // a life of 0 shows nothing

    // Life exactly 0 counts as spent: the update moves it, then re-emits it.
    system.update();
    expectVec(system.positions[0], 0.5f, 0.0f, 0.0f);
    EXPECT_EQ(system.lives[0], 100.0f);
    system.update();
    expectVec(system.positions[0], 0.5f, 1.0f, 0.0f);
    EXPECT_EQ(system.lives[0], 99.0f);
}

TEST(ParticleUpdate, AgeOnlyKeepsSpentParticlesMovingAndDrawn)
{
    ParticleSystem system;
    system.count = 3;
    system.random = cycling({7});
    system.updateMode = 1;
    system.lifeMode = 1;
    system.lifetime = 2.0f;
    system.velocityMode = 1;
    system.init();
    for (int i = 0; i < 10; ++i)
        system.update();
    std::vector<ParticleSystem::Sprite> sprites;
    system.collectSprites(sprites);
    ASSERT_EQ(sprites.size(), 3u);
    EXPECT_EQ(sprites[0].position.y, 10.0f);   // direction (0, 1, 0), speed 1
    EXPECT_EQ(system.lives[0], 0.0f);          // 2 - 1 - 1, then no further ageing
}

TEST(ParticleEmission, RadialVelocityAtTheWorldOriginIsZeroNotNaN)
{
    ParticleSystem system;
    system.count = 1;
    system.random = cycling({50});   // every difference 0: born at the origin
    system.init();
    expectVec(system.velocities[0], 0.0f, 0.0f, 0.0f);
}

TEST(ParticleEmission, ScaledJitterTakesFourteenValues)
{
    int calls = 0;
    ParticleSystem system;
    system.count = 2;
    system.velocityMode = 1;
    system.velocityShape = 2;
    system.random = [&calls] { ++calls; return 50; };
    system.init();
    EXPECT_EQ(calls, 28);
    // s = 50 % 100 x 0.01 scales the direction (0, 1, 0) at speed 1.
    expectVec(system.velocities[1], 0.0f, 0.5f, 0.0f);
}

// Each axis is offset from its own coordinate of the origin.  The demo's
// clouds sit at the world origin, where a mix-up of axes shows nowhere.
TEST(ParticleEmission, EveryParticleLiesWithinItsSpreadOfAnOriginAwayFromZero)
{
    ParticleSystem system;
    system.count = 300;
    system.spread = 5.0f;
    system.origin = Vec3{10.0f, -20.0f, 30.0f, 0.0f};
    system.init();
    Vec3 lowest = system.positions[0];
    Vec3 highest = system.positions[0];
    for (const Vec3& p : system.positions) {
        ASSERT_NEAR(p.x, 10.0f, 5.0f);
        ASSERT_NEAR(p.y, -20.0f, 5.0f);
        ASSERT_NEAR(p.z, 30.0f, 5.0f);
        lowest = Vec3{std::min(lowest.x, p.x), std::min(lowest.y, p.y), std::min(lowest.z, p.z), 0.0f};
        highest = Vec3{std::max(highest.x, p.x), std::max(highest.y, p.y), std::max(highest.z, p.z), 0.0f};
    }
    // And they fill the cube rather than a point or a line of it.
    EXPECT_GT(highest.x - lowest.x, 5.0f);
    EXPECT_GT(highest.y - lowest.y, 5.0f);
    EXPECT_GT(highest.z - lowest.z, 5.0f);
}

TEST(ParticleEmission, ANegativeCountGivesAnEmptySystem)
{
    ParticleSystem system;
    system.count = -5;
    system.init();
    EXPECT_TRUE(system.positions.empty());
    system.update();
}

TEST(Billboard, UndoesTheViewRotationAndDropsTheTranslation)
{
    // A modelview turned 30° about y and moved: B times its 3x3 is identity.
    const float c = std::cos(0.5235988f);
    const float s = std::sin(0.5235988f);
    const GLfloat modelview[16] = {c, 0, -s, 0, 0, 1, 0, 0, s, 0, c, 0, 4, 5, 6, 1};
    const std::array<GLfloat, 16> b = billboardMatrix(modelview);
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            float sum = 0.0f;
            for (int k = 0; k < 3; ++k)
                sum += modelview[k * 4 + row] * b[col * 4 + k];
            EXPECT_NEAR(sum, row == col ? 1.0f : 0.0f, 1e-6f);
        }
    }
    EXPECT_EQ(b[12], 0.0f);
    EXPECT_EQ(b[13], 0.0f);
    EXPECT_EQ(b[14], 0.0f);
    EXPECT_EQ(b[15], 1.0f);
}

class ParticleDrawing : public ::testing::Test {
protected:
    void SetUp() override
    {
        testPlatform();
        glViewport(0, 0, 640, 480);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(45.0, 1.33, 1.0, 200.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        gluLookAt(0.0, 0.0, 10.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
        resetLightingAndMaterial();
        glEnable(GL_LIGHTING);
        glEnable(GL_DEPTH_TEST);
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    // All tests share one context: OpenGL's defaults for what these depend
    // on, whatever earlier tests left.
    static void resetLightingAndMaterial()
    {
        const GLfloat ambient[4] = {0.2f, 0.2f, 0.2f, 1.0f};
        const GLfloat diffuse[4] = {0.8f, 0.8f, 0.8f, 1.0f};
        const GLfloat black[4] = {0.0f, 0.0f, 0.0f, 1.0f};
        glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
        for (GLenum light = GL_LIGHT0; light < GL_LIGHT0 + 8; ++light)
            glDisable(light);
        glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, ambient);
        glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, diffuse);
        glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, black);
        glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, black);
        for (GLenum capability : {GL_COLOR_MATERIAL, GL_BLEND, GL_TEXTURE_2D, GL_FOG, GL_CULL_FACE, GL_ALPHA_TEST})
            glDisable(capability);
        glDepthMask(GL_TRUE);
        glPointSize(1.0f);
    }
    // One white sprite at the origin at the given opacity.
    static void oneSprite(ParticleSystem& system, float life)
    {
        system.count = 1;
        system.velocityMode = 3;
        system.drawMode = 3;
        system.alphaMode = 1;
        system.lifeMode = 1;
        system.lifetime = 100.0f;
        system.random = cycling({50});
        system.init();
        system.lives[0] = life;
        system.texture = makeFlatTexture(255, 255, 255);
    }
    static GLfloat materialAlpha(GLenum which)
    {
        GLfloat value[4];
        glGetMaterialfv(GL_FRONT, which, value);
        return value[0] + value[1] + value[2] + value[3] * 10.0f;
    }
};

TEST_F(ParticleDrawing, TexturedSpritesAddWhiteAtTheirOpacity)
{
    ParticleSystem system;
    oneSprite(system, 50.0f);
    system.size = 2.0f;
    system.draw();
    const Pixel centre = pixelAt(320, 240);
    EXPECT_NEAR(centre.r, 128, 2);
    EXPECT_NEAR(centre.b, 128, 2);
    EXPECT_EQ(pixelAt(5, 5).r, 0);
    // Drawn again, it adds: the sprites do not hide each other.
    glLoadIdentity();
    gluLookAt(0.0, 0.0, 10.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
    system.draw();
    EXPECT_NEAR(pixelAt(320, 240).r, 255, 2);
}

TEST_F(ParticleDrawing, LeavesBlendingOffDepthWritesOnAndBlackMaterial)
{
    ParticleSystem system;
    oneSprite(system, 100.0f);
    system.haloMode = 1;
    glMatrixMode(GL_MODELVIEW);
    GLint depthBefore = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthBefore);
    system.draw();
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    GLboolean depthMask = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthMask);
    EXPECT_TRUE(depthMask);
    EXPECT_EQ(materialAlpha(GL_DIFFUSE), 10.0f);    // (0, 0, 0, 1)
    EXPECT_EQ(materialAlpha(GL_EMISSION), 10.0f);
    GLint depthAfter = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthAfter);
    EXPECT_EQ(depthAfter, depthBefore);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(ParticleDrawing, PointsShineInTheirColourAndSetThePointSize)
{
    ParticleSystem system;
    system.count = 1;
    system.velocityMode = 3;
    system.random = cycling({50});
    system.color[0] = 1.0f;
    system.color[1] = 0.0f;
    system.color[2] = 0.0f;
    system.size = 5.0f;
    system.init();
    system.draw();
    const Pixel centre = pixelAt(320, 240);
    EXPECT_EQ(centre.r, 255);
    EXPECT_LT(centre.g, 20);   // only the global ambient light
    GLfloat pointSize = 0.0f;
    glGetFloatv(GL_POINT_SIZE, &pointSize);
    EXPECT_EQ(pointSize, 5.0f);
    EXPECT_EQ(materialAlpha(GL_EMISSION), 10.0f);
}

}  // namespace
