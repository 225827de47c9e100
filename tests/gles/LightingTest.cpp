#include <gtest/gtest.h>

#include <cmath>

#include "gles/Lighting.h"
#include "gles/ShaderKey.h"

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

Rgba lit(const FixedFunctionState& state, const Vec3f& eye, const Vec3f& normal)
{
    return lightVertex(state, lightingUniforms(state), eye, normal);
}

TEST(GlesLighting, DirectionalLightGivesDiffuseAndSpecularWithShininess)
{
    FixedFunctionState state = darkState();
    state.lights[0].enabled = true;   // white, from +z: the defaults of light 0
    ASSERT_TRUE(setMaterial(state, GL_FRONT, GL_DIFFUSE, std::array<float, 4>{0.5f, 0.4f, 0.2f, 0.7f}.data()));
    ASSERT_TRUE(setMaterial(state, GL_FRONT, GL_SPECULAR, std::array<float, 4>{0.25f, 0.25f, 0.25f, 1.0f}.data()));
    const float shininess = 2.0f;
    ASSERT_TRUE(setMaterial(state, GL_FRONT, GL_SHININESS, &shininess));

    // Facing the light: full diffuse, and the half vector (0, 0, 1) gives full specular.
    const Rgba facing = lit(state, {0.0f, 0.0f, -5.0f}, {0.0f, 0.0f, 1.0f});
    EXPECT_NEAR(facing[0], 0.75f, 1e-6f);
    EXPECT_NEAR(facing[1], 0.65f, 1e-6f);
    EXPECT_NEAR(facing[2], 0.45f, 1e-6f);
    EXPECT_NEAR(facing[3], 0.7f, 1e-6f);   // alpha: the diffuse material's

    // Tilted 60 degrees: N.L = 0.5, N.H = 0.5, specular 0.5^2 * 0.25.
    const float s = std::sqrt(3.0f) / 2.0f;
    const Rgba tilted = lit(state, {0.0f, 0.0f, -5.0f}, {s, 0.0f, 0.5f});
    EXPECT_NEAR(tilted[0], 0.5f * 0.5f + 0.0625f, 1e-6f);
    EXPECT_NEAR(tilted[2], 0.2f * 0.5f + 0.0625f, 1e-6f);

    // Facing away: neither diffuse nor specular.
    const Rgba away = lit(state, {0.0f, 0.0f, -5.0f}, {0.0f, 0.0f, -1.0f});
    EXPECT_EQ(away[0], 0.0f);
    EXPECT_EQ(away[1], 0.0f);
}

TEST(GlesLighting, PositionalLightIsAttenuatedByDistance)
{
    FixedFunctionState state = darkState();
    state.lights[1].enabled = true;
    setLight(state, 1, GL_DIFFUSE, {1.0f, 1.0f, 1.0f, 1.0f});
    setLight(state, 1, GL_POSITION, {0.0f, 0.0f, 10.0f, 1.0f});
    const float linear = 0.1f, quadratic = 0.01f;
    ASSERT_TRUE(::setLight(state, 1, GL_LINEAR_ATTENUATION, &linear, identityMatrix()));
    ASSERT_TRUE(::setLight(state, 1, GL_QUADRATIC_ATTENUATION, &quadratic, identityMatrix()));
    ASSERT_TRUE(setMaterial(state, GL_FRONT_AND_BACK, GL_DIFFUSE, std::array<float, 4>{1, 1, 1, 1}.data()));

    // 10 away: 1 / (1 + 0.1 * 10 + 0.01 * 100) = 1/3.
    const Rgba below = lit(state, {0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 1.0f});
    EXPECT_NEAR(below[0], 1.0f / 3.0f, 1e-6f);
    // 10 to the side, the light at 45 degrees and sqrt(200) away.
    const float d = std::sqrt(200.0f);
    const Rgba aside = lit(state, {10.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 1.0f});
    EXPECT_NEAR(aside[1], std::sqrt(0.5f) / (1.0f + 0.1f * d + 0.01f * 200.0f), 1e-6f);
}

TEST(GlesLighting, SpotLightLightsOnlyInsideItsConeWithItsExponent)
{
    FixedFunctionState state = darkState();
    state.lights[2].enabled = true;
    setLight(state, 2, GL_DIFFUSE, {1.0f, 1.0f, 1.0f, 1.0f});
    setLight(state, 2, GL_POSITION, {0.0f, 0.0f, 10.0f, 1.0f});
    setLight(state, 2, GL_SPOT_DIRECTION, {0.0f, 0.0f, -2.0f, 0.0f});   // not of unit length
    const float cutoff = 30.0f, exponent = 2.0f;
    ASSERT_TRUE(::setLight(state, 2, GL_SPOT_CUTOFF, &cutoff, identityMatrix()));
    ASSERT_TRUE(::setLight(state, 2, GL_SPOT_EXPONENT, &exponent, identityMatrix()));
    ASSERT_TRUE(setMaterial(state, GL_FRONT, GL_DIFFUSE, std::array<float, 4>{1, 1, 1, 1}.data()));

    EXPECT_NEAR(lit(state, {0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 1.0f})[0], 1.0f, 1e-6f);
    // 20 degrees off the axis: spot factor cos(20)^2, diffuse cos(20).
    const float c = std::cos(20.0f * 3.14159265f / 180.0f);
    const float x = 10.0f * std::tan(20.0f * 3.14159265f / 180.0f);
    EXPECT_NEAR(lit(state, {x, 0.0f, 0.0f}, {0.0f, 0.0f, 1.0f})[0], c * c * c, 1e-5f);
    // 45 degrees off: outside the cone.
    EXPECT_EQ(lit(state, {10.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 1.0f})[0], 0.0f);

    // A cone is a key of its own: a program without the spot test would light everything.
    const ShaderKey withSpot = shaderKeyFor(state, DrawnAs::Triangles, false);
    state.lights[2].spotCutoff = 180.0f;
    EXPECT_FALSE(shaderKeyFor(state, DrawnAs::Triangles, false) == withSpot);
}

TEST(GlesLighting, EmissionAndSceneAmbientAreAddedWithoutAnyLight)
{
    FixedFunctionState state = darkState();
    state.lightModelAmbient = {0.2f, 0.2f, 0.2f, 1.0f};
    ASSERT_TRUE(setMaterial(state, GL_FRONT, GL_AMBIENT, std::array<float, 4>{0.5f, 1.0f, 0.0f, 1.0f}.data()));
    ASSERT_TRUE(setMaterial(state, GL_FRONT, GL_EMISSION, std::array<float, 4>{0.1f, 0.2f, 0.9f, 1.0f}.data()));
    const Rgba colour = lit(state, {0.0f, 0.0f, -1.0f}, {0.0f, 0.0f, 1.0f});
    EXPECT_NEAR(colour[0], 0.2f, 1e-6f);
    EXPECT_NEAR(colour[1], 0.4f, 1e-6f);
    EXPECT_NEAR(colour[2], 0.9f, 1e-6f);

    // Sums past 1 are clamped, as vertex colours are.
    ASSERT_TRUE(setMaterial(state, GL_FRONT, GL_EMISSION, std::array<float, 4>{1.5f, 0.0f, 0.0f, 1.0f}.data()));
    EXPECT_EQ(lit(state, {0.0f, 0.0f, -1.0f}, {0.0f, 0.0f, 1.0f})[0], 1.0f);
}

TEST(GlesLighting, ShininessZeroGivesFullSpecularOnLitSidesOnly)
{
    FixedFunctionState state = darkState();
    state.lights[0].enabled = true;
    ASSERT_TRUE(setMaterial(state, GL_FRONT, GL_SPECULAR, std::array<float, 4>{0.5f, 0.5f, 0.5f, 1.0f}.data()));
    // N.H is 0 here: 0 to the power 0 is 1 in the lighting equation.
    const float s = std::sqrt(0.5f);
    EXPECT_NEAR(lit(state, {0.0f, 0.0f, -1.0f}, {s, s, 0.01f})[0], 0.5f, 1e-6f);
    EXPECT_EQ(lit(state, {0.0f, 0.0f, -1.0f}, {0.0f, 1.0f, 0.0f})[0], 0.0f);
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
