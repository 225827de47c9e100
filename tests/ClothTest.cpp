#include <gtest/gtest.h>

#include <GL/gl.h>
#include <cmath>

#include "fx/Cloth.h"
#include "tests/TestPlatform.h"

namespace {

Cloth configuredCloth()
{
    Cloth cloth;
    setUpCloth(cloth);
    return cloth;
}

bool samePosition(Vec3 a, Vec3 b)
{
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

TEST(Cloth, IsLaidOutFlatFromCornerToCorner)
{
    const Cloth cloth = configuredCloth();
    ASSERT_EQ(cloth.positions.size(), 2601u);
    const Vec3 first = cloth.positions[0];
    const Vec3 last = cloth.positions[2600];
    EXPECT_EQ(first.x, -12.5f);
    EXPECT_EQ(first.z, -12.5f);
    EXPECT_EQ(last.x, 12.5f);
    EXPECT_EQ(last.z, 12.5f);
    EXPECT_EQ(cloth.positions[cloth.indexOf(3, 7)].x, -12.5f + 7 * 0.5f);   // columns run along x
    EXPECT_EQ(cloth.positions[cloth.indexOf(3, 7)].z, -12.5f + 3 * 0.5f);   // rows along z
    for (std::size_t i = 0; i < cloth.positions.size(); ++i) {
        EXPECT_EQ(cloth.positions[i].y, 0.0f);
        const bool pinned = i == 0 || i == 49 || i == 2352 || i == 2401;
        EXPECT_EQ(cloth.freeFlags[i], pinned ? 0 : 1) << "point " << i;
    }
}

TEST(Cloth, AtRestStaysExactlyAtRest)
{
    Cloth cloth = configuredCloth();
    const auto home = cloth.positions;
    for (int i = 0; i < 200; ++i)
        cloth.step();
    for (std::size_t i = 0; i < home.size(); ++i)
        ASSERT_TRUE(samePosition(cloth.positions[i], home[i])) << "point " << i;
}

TEST(Cloth, AnUpwardForceLiftsOnlyItsPointInTheFirstStep)
{
    Cloth cloth = configuredCloth();
    const int point = cloth.indexOf(20, 30);
    cloth.setExternalForce(point, {0.0f, 20.0f, 0.0f, 0.0f});
    cloth.step();
    EXPECT_EQ(cloth.positions[static_cast<std::size_t>(point)].y, 5.0f);   // 20 x stiffness
    int moved = 0;
    for (std::size_t i = 0; i < cloth.positions.size(); ++i)
        moved += !samePosition(cloth.positions[i], cloth.homePositions[i]);
    EXPECT_EQ(moved, 1);   // the neighbours read the positions of the step's start

    cloth.step();
    for (int neighbour : {point - 1, point + 1, point - 51, point + 51})
        EXPECT_GT(cloth.positions[static_cast<std::size_t>(neighbour)].y, 0.0f) << "point " << neighbour;
    EXPECT_EQ(cloth.positions[static_cast<std::size_t>(point + 2)].y, 0.0f);
}

TEST(Cloth, PinnedPointsNeverMoveWhileTheFreeCornersDo)
{
    Cloth cloth = configuredCloth();
    cloth.gravity = {0.0f, -0.01f, 0.0f, 0.0f};
    for (int i = 0; i < 2601; ++i)
        cloth.setExternalForce(i, {0.3f, 2.0f, -0.1f, 0.0f});
    for (int i = 0; i < 50; ++i)
        cloth.step();
    for (int pinned : {0, 49, 2352, 2401})
        EXPECT_TRUE(samePosition(cloth.positions[static_cast<std::size_t>(pinned)],
                                 cloth.homePositions[static_cast<std::size_t>(pinned)]))
            << "point " << pinned;
    for (int corner : {50, 2550, 2600})
        EXPECT_FALSE(samePosition(cloth.positions[static_cast<std::size_t>(corner)],
                                  cloth.homePositions[static_cast<std::size_t>(corner)]))
            << "point " << corner;
}

TEST(Cloth, BorderPointsHaveNoSpringAcrossTheSheet)
{
    // Pulling the last point of row 0 to the right stretches only its left
    // spring; the first point of row 1 (next in memory) stays put after a step.
    Cloth cloth = configuredCloth();
    cloth.positions[50].x += 1.0f;
    cloth.step();
    EXPECT_EQ(cloth.positions[51].x, cloth.homePositions[51].x);
    EXPECT_EQ(cloth.positions[51].y, 0.0f);
    // Its own pull back: the left spring (1.5 - 0.5), the slanted spring
    // to the point below (its x share), and home (1), times 0.25.
    const double below = std::sqrt(1.25);
    EXPECT_NEAR(cloth.positions[50].x, 13.5 - 0.25 * (1.0 + (below - 0.5) / below + 1.0), 1e-5);
}

TEST(Cloth, CoincidentPointsPushNothingInsteadOfSpreadingNaN)
{
    Cloth cloth = configuredCloth();
    cloth.positions[cloth.indexOf(10, 11)] = cloth.positions[cloth.indexOf(10, 10)];
    for (int i = 0; i < 20; ++i)
        cloth.step();
    for (const Vec3& p : cloth.positions)
        ASSERT_FALSE(std::isnan(p.x) || std::isnan(p.y) || std::isnan(p.z));
}

TEST(Cloth, ForcesOutsideTheSheetAreIgnored)
{
    Cloth cloth = configuredCloth();
    cloth.setExternalForce(2601, {0.0f, 20.0f, 0.0f, 0.0f});
    cloth.setExternalForce(-1, {0.0f, 20.0f, 0.0f, 0.0f});
    cloth.setFree(5000, 0);
    EXPECT_EQ(cloth.getExternalForce(2601).y, 0.0f);
    Cloth empty;
    empty.step();   // not laid out: nothing to do
    empty.draw();
}

class ClothDrawing : public ::testing::Test {
protected:
    void SetUp() override { testPlatform(); }

    // The vertices and normals one draw sends, through feedback.
    static std::vector<GLfloat> feedback(const Cloth& cloth)
    {
        std::vector<GLfloat> buffer(200000);
        glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR, buffer.data());
        glRenderMode(GL_FEEDBACK);
        cloth.draw();
        const GLint used = glRenderMode(GL_RENDER);
        buffer.resize(static_cast<std::size_t>(used > 0 ? used : 0));
        return buffer;
    }
};

TEST_F(ClothDrawing, FlatSheetIsLitFromAboveAndNothingWithoutRows)
{
    glViewport(0, 0, 640, 480);
    glDisable(GL_BLEND);
    glDisable(GL_FOG);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-20, 20, -20, 20, -20, 20);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRotatef(90.0f, 1.0f, 0.0f, 0.0f);   // look down on the xz plane
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);

    Cloth cloth;
    cloth.cols = 4;
    cloth.rows = 0;
    cloth.spacing = 1.0f;
    cloth.init();
    EXPECT_TRUE(feedback(cloth).empty());

    cloth.rows = 4;
    cloth.init();
    // 4 strips of 4 quads, each fed back as two triangles or one polygon.
    EXPECT_FALSE(feedback(cloth).empty());

    // With lighting on and a light straight above, an upward normal shines.
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    const GLfloat above[4] = {0.0f, 0.0f, 1.0f, 0.0f};   // eye space: the sheet faces +z here
    const GLfloat white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, white);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
    glPushMatrix();
    glLoadIdentity();
    glLightfv(GL_LIGHT0, GL_POSITION, above);
    glPopMatrix();
    cloth.draw();
    EXPECT_GT(pixelAt(320, 240).r, 100);
    glDisable(GL_LIGHT0);
}

}  // namespace
