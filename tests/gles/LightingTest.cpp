#include <gtest/gtest.h>

#include <GL/gl.h>
#include <array>
#include <cmath>

#include "gles/Lighting.h"
#include "gles/ShaderKey.h"
#include "tests/TestPlatform.h"

namespace {

// A state with no ambient anywhere, so each case sees only what it sets.
FixedFunctionState darkState()
{
    FixedFunctionState state;
    state.lighting = true;
    state.lightModelAmbient = {0.0f, 0.0f, 0.0f, 1.0f};
    for (MaterialState& m : state.material) {
        m.ambient = {0.0f, 0.0f, 0.0f, 1.0f};
        m.diffuse = {0.0f, 0.0f, 0.0f, 1.0f};
    }
    return state;
}

void setLight(FixedFunctionState& state, int light, GLenum name, std::array<float, 4> values,
              const Mat4& modelview = identityMatrix())
{
    ASSERT_TRUE(::setLight(state, light, name, values.data(), modelview));
}

// The lighting equation as drawn: single points lit at given eye-space
// positions with given normals, read back from the picture.  In the
// desktop build the driver lights them, so both builds answer to the same
// numbers.
class GlesLitPoints : public ::testing::Test {
protected:
    void SetUp() override
    {
        beginDrawingTest();
        glViewport(0, 0, 640, 480);
        for (GLenum capability : {GL_DEPTH_TEST, GL_BLEND, GL_TEXTURE_2D, GL_FOG, GL_NORMALIZE})
            glDisable(capability);
        for (int i = 0; i < kLightCount; ++i)
            glDisable(static_cast<GLenum>(GL_LIGHT0 + i));
        glShadeModel(GL_SMOOTH);
        glPointSize(1.0f);
        // 16 pixels a unit, whole coordinates in the middle of a pixel, eye
        // depths from -100 to 100 in view.
        constexpr double kHalfPixel = 1.0 / 32.0;
        glMatrixMode(GL_PROJECTION);
        glOrtho(-20.0 - kHalfPixel, 20.0 - kHalfPixel, -15.0 - kHalfPixel, 15.0 - kHalfPixel, -100.0, 100.0);
        glMatrixMode(GL_MODELVIEW);
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);

        // No ambient anywhere, so each case sees only what it sets.
        glEnable(GL_LIGHTING);
        const GLfloat none[4] = {0.0f, 0.0f, 0.0f, 1.0f};
        glLightModelfv(GL_LIGHT_MODEL_AMBIENT, none);
        for (GLenum name : {GL_AMBIENT, GL_DIFFUSE, GL_SPECULAR, GL_EMISSION})
            glMaterialfv(GL_FRONT_AND_BACK, name, none);
        glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 0.0f);
    }

    void TearDown() override { endDrawingTest(); }

    static void material(GLenum name, std::array<float, 4> values) { glMaterialfv(GL_FRONT, name, values.data()); }
    static void light(GLenum light, GLenum name, std::array<float, 4> values) { glLightfv(light, name, values.data()); }

    // The colour, 0 to 1, of a point at eye-space position `eye` with the
    // normal `normal`.
    static std::array<float, 3> lit(const Vec3f& eye, const Vec3f& normal)
    {
        glClear(GL_COLOR_BUFFER_BIT);
        glBegin(GL_POINTS);
        glNormal3f(normal[0], normal[1], normal[2]);
        glVertex3f(eye[0], eye[1], eye[2]);
        glEnd();
        const int x = static_cast<int>(std::floor(320.5f + 16.0f * eye[0]));
        const int y = static_cast<int>(std::floor(240.5f + 16.0f * eye[1]));
        const Pixel p = pixelAt(x, y);
        return {p.r / 255.0f, p.g / 255.0f, p.b / 255.0f};
    }
};

// Within one step of the picture's 8 bits and a little rounding.
constexpr float kStep = 1.5f / 255.0f;

TEST_F(GlesLitPoints, DirectionalLightGivesDiffuseAndSpecularWithShininess)
{
    glEnable(GL_LIGHT0);   // white, from +z: the defaults of light 0
    material(GL_DIFFUSE, {0.5f, 0.4f, 0.2f, 0.7f});
    material(GL_SPECULAR, {0.25f, 0.25f, 0.25f, 1.0f});
    glMaterialf(GL_FRONT, GL_SHININESS, 2.0f);

    // Facing the light: full diffuse, and the half vector (0, 0, 1) gives full specular.
    const auto facing = lit({0.0f, 0.0f, -5.0f}, {0.0f, 0.0f, 1.0f});
    EXPECT_NEAR(facing[0], 0.75f, kStep);
    EXPECT_NEAR(facing[1], 0.65f, kStep);
    EXPECT_NEAR(facing[2], 0.45f, kStep);

    // Tilted 60 degrees: N.L = 0.5, N.H = 0.5, specular 0.5^2 * 0.25.
    const float s = std::sqrt(3.0f) / 2.0f;
    const auto tilted = lit({0.0f, 0.0f, -5.0f}, {s, 0.0f, 0.5f});
    EXPECT_NEAR(tilted[0], 0.5f * 0.5f + 0.0625f, kStep);
    EXPECT_NEAR(tilted[2], 0.2f * 0.5f + 0.0625f, kStep);

    // Facing away: neither diffuse nor specular.
    const auto away = lit({0.0f, 0.0f, -5.0f}, {0.0f, 0.0f, -1.0f});
    EXPECT_EQ(away[0], 0.0f);
    EXPECT_EQ(away[1], 0.0f);
}

TEST_F(GlesLitPoints, PositionalLightIsAttenuatedByDistance)
{
    glEnable(GL_LIGHT1);
    light(GL_LIGHT1, GL_DIFFUSE, {1.0f, 1.0f, 1.0f, 1.0f});
    light(GL_LIGHT1, GL_POSITION, {0.0f, 0.0f, 10.0f, 1.0f});
    glLightf(GL_LIGHT1, GL_LINEAR_ATTENUATION, 0.1f);
    glLightf(GL_LIGHT1, GL_QUADRATIC_ATTENUATION, 0.01f);
    material(GL_DIFFUSE, {1.0f, 1.0f, 1.0f, 1.0f});

    // 10 away: 1 / (1 + 0.1 * 10 + 0.01 * 100) = 1/3.
    EXPECT_NEAR(lit({0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 1.0f})[0], 1.0f / 3.0f, kStep);
    // 10 to the side, the light at 45 degrees and sqrt(200) away.
    const float d = std::sqrt(200.0f);
    EXPECT_NEAR(lit({10.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 1.0f})[1],
                std::sqrt(0.5f) / (1.0f + 0.1f * d + 0.01f * 200.0f), kStep);
}

TEST_F(GlesLitPoints, SpotLightLightsOnlyInsideItsConeWithItsExponent)
{
    glEnable(GL_LIGHT2);
    light(GL_LIGHT2, GL_DIFFUSE, {1.0f, 1.0f, 1.0f, 1.0f});
    light(GL_LIGHT2, GL_POSITION, {0.0f, 0.0f, 10.0f, 1.0f});
    light(GL_LIGHT2, GL_SPOT_DIRECTION, {0.0f, 0.0f, -2.0f, 0.0f});   // not of unit length
    glLightf(GL_LIGHT2, GL_SPOT_CUTOFF, 30.0f);
    glLightf(GL_LIGHT2, GL_SPOT_EXPONENT, 2.0f);
    material(GL_DIFFUSE, {1.0f, 1.0f, 1.0f, 1.0f});

    EXPECT_NEAR(lit({0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 1.0f})[0], 1.0f, kStep);
    // 20 degrees off the axis: spot factor cos(20)^2, diffuse cos(20).
    const float c = std::cos(20.0f * 3.14159265f / 180.0f);
    const float x = 10.0f * std::tan(20.0f * 3.14159265f / 180.0f);
    EXPECT_NEAR(lit({x, 0.0f, 0.0f}, {0.0f, 0.0f, 1.0f})[0], c * c * c, kStep);
    // 45 degrees off: outside the cone.
    EXPECT_EQ(lit({10.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 1.0f})[0], 0.0f);
}

TEST_F(GlesLitPoints, EmissionAndSceneAmbientAreAddedWithoutAnyLight)
{
    const GLfloat sceneAmbient[4] = {0.2f, 0.2f, 0.2f, 1.0f};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, sceneAmbient);
    material(GL_AMBIENT, {0.5f, 1.0f, 0.0f, 1.0f});
    material(GL_EMISSION, {0.1f, 0.2f, 0.9f, 1.0f});
    const auto colour = lit({0.0f, 0.0f, -1.0f}, {0.0f, 0.0f, 1.0f});
    EXPECT_NEAR(colour[0], 0.2f, kStep);
    EXPECT_NEAR(colour[1], 0.4f, kStep);
    EXPECT_NEAR(colour[2], 0.9f, kStep);

    // Sums past 1 are clamped, as vertex colours are.
    material(GL_EMISSION, {1.5f, 0.0f, 0.0f, 1.0f});
    EXPECT_EQ(lit({0.0f, 0.0f, -1.0f}, {0.0f, 0.0f, 1.0f})[0], 1.0f);
}

TEST_F(GlesLitPoints, ShininessZeroGivesFullSpecularOnLitSidesOnly)
{
    glEnable(GL_LIGHT0);
    material(GL_SPECULAR, {0.5f, 0.5f, 0.5f, 1.0f});
    // N.H is 0 here: 0 to the power 0 is 1 in the lighting equation.
    const float s = std::sqrt(0.5f);
    EXPECT_NEAR(lit({0.0f, 0.0f, -1.0f}, {s, s, 0.01f})[0], 0.5f, kStep);
    EXPECT_EQ(lit({0.0f, 0.0f, -1.0f}, {0.0f, 1.0f, 0.0f})[0], 0.0f);
}

TEST(GlesLighting, SpotConesAndPositionsAreKeysOfTheirOwn)
{
    // A program without the spot test would light everything.
    FixedFunctionState state = darkState();
    state.lights[2].enabled = true;
    setLight(state, 2, GL_POSITION, {0.0f, 0.0f, 10.0f, 1.0f});
    const ShaderKey withoutSpot = shaderKeyFor(state, DrawnAs::Triangles, false);
    state.lights[2].spotCutoff = 30.0f;
    EXPECT_FALSE(shaderKeyFor(state, DrawnAs::Triangles, false) == withoutSpot);
}

TEST(GlesLighting, LightPositionsAndSpotDirectionsFollowTheModelviewOfTheirCall)
{
    FixedFunctionState state = darkState();
    Mat4 camera = identityMatrix();
    translate(camera, 0.0f, 0.0f, -60.0f);
    camera = multiply(camera, rotation(90.0f, 0.0f, 1.0f, 0.0f));
    setLight(state, 0, GL_POSITION, {0.0f, 0.0f, 30.0f, 1.0f}, camera);
    setLight(state, 0, GL_SPOT_DIRECTION, {0.0f, 0.0f, -1.0f, 0.0f}, camera);
    float position[4];
    float direction[3];
    ASSERT_TRUE(readLight(state, 0, GL_POSITION, position));
    ASSERT_TRUE(readLight(state, 0, GL_SPOT_DIRECTION, direction));
    EXPECT_NEAR(position[0], 30.0f, 1e-5f);    // turned onto +x
    EXPECT_NEAR(position[2], -60.0f, 1e-5f);   // moved, as a point
    EXPECT_NEAR(direction[0], -1.0f, 1e-6f);   // turned, not moved
    EXPECT_NEAR(direction[2], 0.0f, 1e-6f);

    // A directional light's half vector lies between it and the viewer.
    setLight(state, 3, GL_POSITION, {0.0f, 3.0f, 0.0f, 0.0f});
    const LightingUniforms u = lightingUniforms(state);
    EXPECT_NEAR(u.position[3][1], 1.0f, 1e-6f);
    EXPECT_NEAR(u.halfVector[3][1], std::sqrt(0.5f), 1e-6f);
    EXPECT_NEAR(u.halfVector[3][2], std::sqrt(0.5f), 1e-6f);
}

TEST(GlesLighting, UniformValuesDoNotChangeTheShaderButCodePathsDo)
{
    FixedFunctionState state = darkState();
    state.lights[0].enabled = true;
    const ShaderKey base = shaderKeyFor(state, DrawnAs::Triangles, false);
    state.lights[0].diffuse = {0.3f, 0.3f, 0.3f, 1.0f};
    state.fogSettings.start = 10.0f;
    EXPECT_TRUE(shaderKeyFor(state, DrawnAs::Triangles, false) == base);

    state.lights[0].eyePosition = {0.0f, 0.0f, 5.0f, 1.0f};   // now positional
    EXPECT_FALSE(shaderKeyFor(state, DrawnAs::Triangles, false) == base);
    state.lights[0].eyePosition = {0.0f, 0.0f, 1.0f, 0.0f};
    state.shadeModel = GL_FLAT;
    EXPECT_FALSE(shaderKeyFor(state, DrawnAs::Triangles, false) == base);
    state.shadeModel = GL_SMOOTH;
    EXPECT_FALSE(shaderKeyFor(state, DrawnAs::Points, false) == base);

    // Sphere maps count only while texturing is on.
    state.textureGenS = state.textureGenT = true;
    state.textureGenModeS = state.textureGenModeT = GL_SPHERE_MAP;
    EXPECT_TRUE(shaderKeyFor(state, DrawnAs::Triangles, false) == base);
    state.texture2D = true;
    EXPECT_TRUE(shaderKeyFor(state, DrawnAs::Triangles, false).has(ShaderKey::kSphereMapT));
}

}  // namespace
