#include <gtest/gtest.h>

#include <GL/gl.h>
#include <cstdlib>

#include "fx/Overlays.h"
#include "tests/TestPlatform.h"

namespace {

class OverlaysTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        testPlatform();
        glViewport(0, 0, 640, 480);
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_TEXTURE_2D);
        glMatrixMode(GL_MODELVIEW);
        glClearColor(0.2f, 0.4f, 0.6f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    static void expectEverywhere(Pixel expected, int tolerance = 1)
    {
        for (auto [x, y] : {std::pair{0, 0}, {639, 0}, {639, 479}, {0, 479}, {320, 240}}) {
            const Pixel p = pixelAt(x, y);
            EXPECT_NEAR(p.r, expected.r, tolerance) << "at " << x << "," << y;
            EXPECT_NEAR(p.g, expected.g, tolerance) << "at " << x << "," << y;
            EXPECT_NEAR(p.b, expected.b, tolerance) << "at " << x << "," << y;
        }
    }
};

TEST_F(OverlaysTest, AlphaZeroLeavesThePictureAndAlphaOnePaintsIt)
{
    drawFlatOverlay(1.0f, 0.0f, 0.0f, 0.0f);
    expectEverywhere({51, 102, 153});
    drawTexturedOverlay(makeFlatTexture(0, 255, 0), 1.0f, 1.0f, 1.0f, 0.0f);
    expectEverywhere({51, 102, 153});
    drawFlatOverlay(1.0f, 0.0f, 0.0f, 1.0f);
    expectEverywhere({255, 0, 0});
}

TEST_F(OverlaysTest, TwoHalfFlashesLeaveThreeQuartersWhite)
{
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    drawFlatOverlay(1.0f, 1.0f, 1.0f, 0.5f);
    drawFlatOverlay(1.0f, 1.0f, 1.0f, 0.5f);
    expectEverywhere({191, 191, 191}, 2);
}

TEST_F(OverlaysTest, TexturedWashModulatesByTheColour)
{
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    drawTexturedOverlay(makeFlatTexture(255, 255, 255), 0.6f, 0.6f, 0.6f, 0.5f);
    expectEverywhere({77, 77, 77}, 2);   // 0.6 white at half opacity
}

TEST_F(OverlaysTest, ColourKeyLetsOnlyTheLightTexelsThrough)
{
    drawColorKeyedOverlay(makeFlatTexture(0, 0, 0));
    expectEverywhere({51, 102, 153});
    drawColorKeyedOverlay(makeFlatTexture(255, 255, 255));
    expectEverywhere({255, 255, 255});
    glClear(GL_COLOR_BUFFER_BIT);
    // texel x texel + picture x (1 - texel): 0.5 gives 0.25 + picture / 2.
    drawColorKeyedOverlay(makeFlatTexture(128, 128, 128));
    expectEverywhere({90, 115, 140}, 2);
}

TEST_F(OverlaysTest, LeavesLightingOnBlendingOffAndTheProjectionAsItWas)
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glScalef(2.0f, 3.0f, 4.0f);
    glMatrixMode(GL_MODELVIEW);
    glDisable(GL_LIGHTING);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    glEnable(GL_TEXTURE_2D);
    drawTexturedOverlay(makeFlatTexture(1, 2, 3), 1, 1, 1, 0.5f);

    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_S));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_T));
    GLboolean depthMask = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthMask);
    EXPECT_TRUE(depthMask);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    GLfloat projection[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    EXPECT_EQ(projection[0], 2.0f);
    EXPECT_EQ(projection[5], 3.0f);
    GLfloat modelview[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    EXPECT_EQ(modelview[12], -50.0f);   // the overlay's translation stays
    EXPECT_EQ(modelview[14], -250.0f);

    glEnable(GL_TEXTURE_2D);
    drawFlatOverlay(0, 0, 0, 0);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));   // the flat overlay leaves texturing alone
    glDisable(GL_TEXTURE_2D);
}

TEST_F(OverlaysTest, ThousandsOfCallsLeaveBothMatrixStacksAtTheirDepth)
{
    GLint modelviewDepth = 0;
    GLint projectionDepth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &modelviewDepth);
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &projectionDepth);
    const GLuint texture = makeFlatTexture(9, 9, 9);
    for (int i = 0; i < 1000; ++i) {
        drawFlatOverlay(1, 1, 1, 0.01f);
        drawTexturedOverlay(texture, 1, 1, 1, 0.01f);
        drawColorKeyedOverlay(texture);
    }
    GLint after = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &after);
    EXPECT_EQ(after, modelviewDepth);
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &after);
    EXPECT_EQ(after, projectionDepth);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace
