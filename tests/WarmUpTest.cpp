#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glext.h>
#include <cstring>
#include <vector>

#include "app/WarmUp.h"
#include "assets/DemoTextures.h"
#include "fx/Cloth.h"
#include "fx/DemoRandom.h"
#include "fx/ParticleSystem.h"
#include "parts/Part10TorusChain.h"
#include "parts/Part2Temple.h"
#include "parts/Part6RadialGlow.h"
#include "parts/Part7RipplingCloth.h"
#include "parts/Part8Metaballs.h"
#include "scene/SceneSet.h"
#include "tests/TestPlatform.h"

namespace {

// What the picture depends on, outside OpenGL and in it, as plain values.
struct Snapshot {
    std::vector<float> numbers;
    std::vector<int> whole;

    void add(const std::vector<Vec3>& points)
    {
        for (const Vec3& p : points)
            numbers.insert(numbers.end(), {p.x, p.y, p.z});
    }
    void addFloats(GLenum query, int count)
    {
        std::vector<GLfloat> values(static_cast<std::size_t>(count));
        glGetFloatv(query, values.data());
        numbers.insert(numbers.end(), values.begin(), values.end());
    }
    void addInts(GLenum query, int count)
    {
        std::vector<GLint> values(static_cast<std::size_t>(count));
        glGetIntegerv(query, values.data());
        whole.insert(whole.end(), values.begin(), values.end());
    }
};

Snapshot takeSnapshot()
{
    Snapshot s;
    for (const ParticleSystem* cloud : {&glowParticles, &glow2Particles}) {
        s.add(cloud->positions);
        s.add(cloud->velocities);
        s.numbers.insert(s.numbers.end(), cloud->lives.begin(), cloud->lives.end());
        s.whole.insert(s.whole.end(), cloud->states.begin(), cloud->states.end());
    }
    s.add(theCloth.positions);
    s.add(theCloth.velocities);
    s.add(theCloth.externalForces);
    s.whole.insert(s.whole.end(), {part7Impulses.index, part7Impulses.active, part7Impulses.frames,
                                   part2Flashes.flashCount, part2Flashes.lastFlashTime});
    s.numbers.push_back(torusAngle);
    for (const MetaBall& ball : metaBalls)
        s.numbers.insert(s.numbers.end(), {ball.x, ball.y, ball.z, ball.vx, ball.vy, ball.vz});
    s.numbers.insert(s.numbers.end(), std::begin(metaballField), std::end(metaballField));
    RandomSequence upcoming = demo::sequence();
    for (int i = 0; i < 4; ++i)
        s.whole.push_back(upcoming.next());

    for (GLenum cap : {GL_FOG, GL_LIGHTING, GL_LIGHT0, GL_BLEND, GL_DEPTH_TEST, GL_TEXTURE_2D, GL_NORMALIZE,
                       GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T, GL_CULL_FACE})
        s.whole.push_back(glIsEnabled(cap));
    s.addInts(GL_VIEWPORT, 4);
    s.addInts(GL_DRAW_FRAMEBUFFER_BINDING, 1);
    s.addInts(GL_READ_FRAMEBUFFER_BINDING, 1);
    s.addInts(GL_TEXTURE_BINDING_2D, 1);
    s.addInts(GL_MATRIX_MODE, 1);
    s.addInts(GL_POLYGON_MODE, 2);
    s.addInts(GL_SHADE_MODEL, 1);
    s.addInts(GL_DEPTH_WRITEMASK, 1);
    s.addInts(GL_BLEND_SRC, 1);
    s.addInts(GL_BLEND_DST, 1);
    s.addInts(GL_VERTEX_ARRAY, 1);
    s.addFloats(GL_COLOR_CLEAR_VALUE, 4);
    s.addFloats(GL_CURRENT_COLOR, 4);
    s.addFloats(GL_MODELVIEW_MATRIX, 16);
    s.addFloats(GL_PROJECTION_MATRIX, 16);
    s.addFloats(GL_TEXTURE_MATRIX, 16);
    s.addFloats(GL_LINE_WIDTH, 1);
    s.addFloats(GL_POINT_SIZE, 1);
    s.addFloats(GL_FOG_END, 1);
    GLfloat emission[4];
    glGetMaterialfv(GL_FRONT, GL_EMISSION, emission);
    s.numbers.insert(s.numbers.end(), emission, emission + 4);
    return s;
}

TEST(WarmUp, DrawsEveryPartYetLeavesEffectsRandomSequencePictureAndStateAsTheyWere)
{
    testPlatform();
    loadScenes(theSceneSet);
    loadDemoTextures();
    setUpParticleClouds();
    buildBlurGrid(theBlurGrid);
    setUpCloth(theCloth);
    initMetaBalls();
    // Some state of the kind earlier loading or drawing leaves behind.
    glClearColor(0.25f, 0.5f, 0.75f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_FOG);
    glMatrixMode(GL_PROJECTION);
    glTranslatef(1.0f, 2.0f, 3.0f);
    glColor3f(0.5f, 0.25f, 0.125f);
    part2Flashes = {2, 77};

    ASSERT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    const Snapshot before = takeSnapshot();
    const Pixel picture = pixelAt(320, 240);
    warmUpParts();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    const Snapshot after = takeSnapshot();
    ASSERT_EQ(after.numbers.size(), before.numbers.size());
    EXPECT_EQ(std::memcmp(after.numbers.data(), before.numbers.data(), before.numbers.size() * sizeof(float)), 0);
    EXPECT_EQ(after.whole, before.whole);
    const Pixel unchanged = pixelAt(320, 240);
    EXPECT_EQ(unchanged.r, picture.r);
    EXPECT_EQ(unchanged.g, picture.g);
    EXPECT_EQ(unchanged.b, picture.b);
}

}  // namespace
