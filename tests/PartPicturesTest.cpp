#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glu.h>
#include <algorithm>
#include <cmath>
#include <vector>

#include "app/PartRenderState.h"
#include "parts/Part1PlasmaWave.h"
#include "parts/Part5LineFigure.h"
#include "parts/Part6RadialGlow.h"
#include "tests/TestPlatform.h"

namespace {

std::vector<unsigned char> grabRed()
{
    std::vector<unsigned char> rgba(640 * 480 * 4);
    glReadPixels(0, 0, 640, 480, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    std::vector<unsigned char> red(640 * 480);
    for (std::size_t i = 0; i < red.size(); ++i)
        red[i] = rgba[i * 4];
    return red;
}

TEST(PlasmaWave, FlatLinesAreBlackAndKeepTheirTextureCoordinates)
{
    const PlasmaVertex flat = plasmaVertex(0.0f, 1.0f, 12, 34);   // sin of the column angle is 0
    EXPECT_EQ(flat.height, 0.0f);
    EXPECT_FLOAT_EQ(flat.s, 0.0125f * 12);
    EXPECT_FLOAT_EQ(flat.t, 0.0125f * 34);
    const PlasmaVertex crest = plasmaVertex(1.5707964f, 0.0f, 0, 0);
    EXPECT_FLOAT_EQ(crest.height, 5.0f);
    EXPECT_NEAR(crest.s, 0.1f, 1e-6);
    EXPECT_NEAR(crest.t, 0.1f, 1e-6);   // 0.1 x 1 x (1 + cos 90°)
}

class PartPictures : public ::testing::Test {
protected:
    void SetUp() override { testPlatform(); }
};

TEST_F(PartPictures, PartOneFadesInOverSixSeconds)
{
    applyPartRenderState(1);
    const GLuint white = makeFlatTexture(255, 255, 255);
    part1Frame(0, white);
    const std::vector<unsigned char> start = grabRed();
    EXPECT_EQ(*std::max_element(start.begin(), start.end()), 0);   // all black at t = 0

    // At t = 600 the black overlay is at alpha 0.5: the sheet at half brightness.
    part1Frame(600, white);
    const std::vector<unsigned char> faded = grabRed();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    gluLookAt(0.0, 0.0, 8.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
    drawPlasmaWave(white, 600);
    const std::vector<unsigned char> sheet = grabRed();
    int brightPixels = 0;
    for (std::size_t i = 0; i < sheet.size(); ++i) {
        ASSERT_NEAR(faded[i], sheet[i] / 2.0, 1.5) << "pixel " << i;
        brightPixels += sheet[i] > 200;
    }
    EXPECT_GT(brightPixels, 10000);   // the crests glow

    // At 1200 the overlay is still drawn, at alpha 0 (it leaves its own
    // modelview behind); from 1201 on it is not drawn at all.
    part1Frame(1200, white);
    GLfloat modelview[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    EXPECT_EQ(modelview[14], -250.0f);
    part1Frame(1201, white);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    EXPECT_FLOAT_EQ(modelview[14], -8.0f);
}

TEST_F(PartPictures, PartFiveLinesAreGreyAtFirstAndFadeByFourFifthsPerFrame)
{
    applyPartRenderState(5);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);   // white
    const GLuint white = makeFlatTexture(255, 255, 255);
    part5Frame(471, white);   // |sin(471 / 300)| ~ 1: the figure at its largest
    const std::vector<unsigned char> first = grabRed();
    // Black lines washed 20 % towards white show at 51; only lines nearer
    // the camera than the wash's depth stay black in their own frame.
    const auto grey = std::count_if(first.begin(), first.end(), [](unsigned char v) { return v >= 49 && v <= 53; });
    const auto dark = std::count_if(first.begin(), first.end(), [](unsigned char v) { return v < 200; });
    EXPECT_GT(grey, 2000);
    EXPECT_GT(grey, dark * 8 / 10);

    part5Frame(0, white);   // t = 0 draws a single point: only the wash
    const std::vector<unsigned char> second = grabRed();
    for (std::size_t i = 0; i < first.size(); ++i)
        ASSERT_NEAR(second[i], 255 - 0.8 * (255 - first[i]), 2) << "pixel " << i;
}

TEST_F(PartPictures, PartSixLayersSaturateBrightTexels)
{
    applyPartRenderState(6);
    BlurGrid grid;
    buildBlurGrid(grid);
    glColor4f(1.0f, 1.0f, 1.0f, 0.0f);
    part6Frame(100, grid, makeFlatTexture(51, 20, 0));   // 20 % and 8 % grey in two channels
    const Pixel centre = pixelAt(320, 240);
    EXPECT_EQ(centre.r, 255);                 // 0.2 x 5.5 saturates
    EXPECT_NEAR(centre.g, 20 * 5.5, 3);       // base plus 4.5 times the picture
    EXPECT_EQ(centre.b, 0);
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));   // lighting stays off after the frame
    GLint depthFunc = 0;
    glGetIntegerv(GL_DEPTH_FUNC, &depthFunc);
    EXPECT_EQ(depthFunc, GL_LESS);
}

TEST(BlurGrid, SpansMinusTenToEightWithTheTextureOnce)
{
    BlurGrid grid;
    buildBlurGrid(grid);
    ASSERT_EQ(grid.vertices.size(), 100u);
    EXPECT_EQ(grid.vertices[0].x, -10.0f);
    EXPECT_EQ(grid.vertices[99].x, 8.0f);
    EXPECT_EQ(grid.vertices[99].y, 8.0f);
    EXPECT_EQ(grid.vertices[10].y, -8.0f);   // row-major: entry 10 starts the second row
    EXPECT_NEAR(grid.texCoords[99].x, 1.0f, 1e-6);
    const Vec3 start = glowCentre(0);
    EXPECT_EQ(start.x, 0.0f);
    EXPECT_EQ(start.y, 7.0f);
    EXPECT_NEAR(glowCentre(157).y, 2.0f, 0.05f);   // a quarter turn: cos ~ 0
}

TEST(LineFigure, EndsEvenWhereItsStepsAreInfinite)
{
    testPlatform();
    for (float x : {0.0f, 314.159f, 942.4778f, 1e-30f, -471.0f})
        drawLineFigure(x);   // must return; a hang fails by the test's timeout
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace
