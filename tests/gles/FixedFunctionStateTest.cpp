#include <gtest/gtest.h>

#include "gles/FixedFunctionState.h"

#include <GL/glext.h>

#include "gles/TextureFormats.h"
#include "gles/Unsupported.h"

namespace {

TEST(GlesFixedFunctionState, CapabilitiesTheProgramSwitchesAreKeptAndOthersRefused)
{
    FixedFunctionState state;
    for (GLenum capability : {GL_LIGHTING, GL_NORMALIZE, GL_TEXTURE_2D, GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T, GL_FOG,
                              GL_BLEND, GL_DEPTH_TEST, GL_SCISSOR_TEST, GL_LIGHT0, GL_LIGHT7}) {
        bool on = true;
        ASSERT_TRUE(readCapability(state, capability, on)) << capability;
        EXPECT_FALSE(on) << capability;   // all off at the start
        ASSERT_TRUE(setCapability(state, capability, true));
        ASSERT_TRUE(readCapability(state, capability, on));
        EXPECT_TRUE(on) << capability;
    }
    EXPECT_TRUE(state.lights[7].enabled);
    bool on = false;
    EXPECT_FALSE(setCapability(state, GL_CULL_FACE, true));
    EXPECT_FALSE(readCapability(state, GL_LIGHT0 + kLightCount, on));
}

TEST(GlesFixedFunctionState, MaterialFacesAreSetTogetherOrApart)
{
    FixedFunctionState state;
    const float red[4] = {1.0f, 0.0f, 0.0f, 1.0f};
    const float blue[4] = {0.0f, 0.0f, 1.0f, 1.0f};
    ASSERT_TRUE(setMaterial(state, GL_FRONT_AND_BACK, GL_SPECULAR, red));
    ASSERT_TRUE(setMaterial(state, GL_FRONT, GL_SPECULAR, blue));
    float value[4];
    ASSERT_TRUE(readMaterial(state, GL_BACK, GL_SPECULAR, value));
    EXPECT_EQ(value[0], 1.0f);
    ASSERT_TRUE(readMaterial(state, GL_FRONT, GL_SPECULAR, value));
    EXPECT_EQ(value[2], 1.0f);

    ASSERT_TRUE(setMaterial(state, GL_FRONT, GL_AMBIENT_AND_DIFFUSE, blue));
    ASSERT_TRUE(readMaterial(state, GL_FRONT, GL_AMBIENT, value));
    EXPECT_EQ(value[2], 1.0f);
    const float tooShiny = 300.0f;
    ASSERT_TRUE(setMaterial(state, GL_FRONT, GL_SHININESS, &tooShiny));
    ASSERT_TRUE(readMaterial(state, GL_FRONT, GL_SHININESS, value));
    EXPECT_EQ(value[0], 128.0f);
    EXPECT_FALSE(setMaterial(state, GL_FRONT_AND_BACK, GL_COLOR_INDEXES, red));
    EXPECT_FALSE(readMaterial(state, GL_FRONT_AND_BACK, GL_SPECULAR, value));
}

TEST(GlesFixedFunctionState, PoppingAttributesRestoresEverythingPushed)
{
    FixedFunctionState state;
    AttributeStack stack;
    state.blend = true;
    state.blendSource = GL_SRC_ALPHA;
    state.polygonMode = GL_LINE;
    state.lights[3].enabled = true;
    state.colour = {0.5f, 0.5f, 0.5f, 1.0f};
    state.matrixMode = GL_PROJECTION;
    ASSERT_TRUE(stack.push(state));

    FixedFunctionState changed;   // everything back to the defaults
    changed.fogSettings.end = 700.0f;
    ASSERT_TRUE(stack.pop(changed));
    EXPECT_TRUE(changed.blend);
    EXPECT_EQ(changed.blendSource, static_cast<GLenum>(GL_SRC_ALPHA));
    EXPECT_EQ(changed.polygonMode, static_cast<GLenum>(GL_LINE));
    EXPECT_TRUE(changed.lights[3].enabled);
    EXPECT_EQ(changed.colour[0], 0.5f);
    EXPECT_EQ(changed.matrixMode, static_cast<GLenum>(GL_PROJECTION));
    EXPECT_EQ(changed.fogSettings.end, 1.0f);
    EXPECT_FALSE(stack.pop(changed));   // nothing left

    for (int i = 0; i < 16; ++i)
        ASSERT_TRUE(stack.push(state));
    EXPECT_FALSE(stack.push(state));
}

TEST(GlesFixedFunctionState, FogColourIsClampedAndUnknownFogNamesRefused)
{
    FixedFunctionState state;
    const float colour[4] = {1.5f, -0.5f, 0.25f, 1.0f};
    ASSERT_TRUE(setFog(state, GL_FOG_COLOR, colour));
    EXPECT_EQ(state.fogSettings.colour[0], 1.0f);
    EXPECT_EQ(state.fogSettings.colour[1], 0.0f);
    const float linear = static_cast<float>(GL_LINEAR);
    ASSERT_TRUE(setFog(state, GL_FOG_MODE, &linear));
    EXPECT_EQ(state.fogSettings.mode, static_cast<GLenum>(GL_LINEAR));
    EXPECT_FALSE(setFog(state, GL_FOG_INDEX, colour));
}

TEST(GlesTextureFormats, OldComponentCountsBecomeTheMatchingUnsizedFormat)
{
    EXPECT_EQ(esTextureFormat(3, GL_RGB, GL_UNSIGNED_BYTE), static_cast<GLenum>(GL_RGB));
    EXPECT_EQ(esTextureFormat(GL_RGB8, GL_RGB, GL_UNSIGNED_BYTE), static_cast<GLenum>(GL_RGB));
    EXPECT_EQ(esTextureFormat(4, GL_RGBA, GL_UNSIGNED_BYTE), static_cast<GLenum>(GL_RGBA));
    EXPECT_EQ(esTextureFormat(1, GL_LUMINANCE, GL_UNSIGNED_BYTE), static_cast<GLenum>(GL_LUMINANCE));
    // ES converts nothing on upload: other pairs are refused, not guessed.
    EXPECT_EQ(esTextureFormat(GL_RGB, GL_RGBA, GL_UNSIGNED_BYTE), 0u);
    EXPECT_EQ(esTextureFormat(GL_RGBA, GL_RGBA, GL_FLOAT), 0u);
    EXPECT_EQ(esTextureFormat(2, GL_LUMINANCE_ALPHA, GL_UNSIGNED_BYTE), 0u);
}

#ifdef NDEBUG
TEST(GlesUnsupported, EachCallAndValueIsReportedOnce)
{
    const int before = unsupportedReports();
    testing::internal::CaptureStderr();
    reportUnsupported("glTestCall", 0x1234);
    reportUnsupported("glTestCall", 0x1234);
    reportUnsupported("glTestCall", 0x1235);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(unsupportedReports(), before + 2);
    EXPECT_NE(said.find("glTestCall with 0x1234"), std::string::npos);
    EXPECT_EQ(said.find("0x1234"), said.rfind("0x1234"));   // once
}
#else
TEST(GlesUnsupported, StopsTheProgramInBuildsWithAssertions)
{
    EXPECT_DEATH(reportUnsupported("glTestCall", 0x1234), "glTestCall with 0x1234");
}
#endif

}  // namespace
