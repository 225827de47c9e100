#include <gtest/gtest.h>

#include <GL/gl.h>
#include <cmath>
#include <limits>
#include <set>

#include "app/PartRenderState.h"
#include "app/Timeline.h"
#include "parts/MarchingCubesTable.h"
#include "parts/Part8Metaballs.h"
#include "tests/TestPlatform.h"

namespace {

constexpr int kEdgeCorners[12][2] = {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {4, 5}, {5, 6},
                                     {6, 7}, {7, 4}, {0, 4}, {1, 5}, {2, 6}, {3, 7}};

std::vector<int> rowOf(int cellCase)
{
    std::vector<int> row;
    for (int i = 0; i < 16 && kMarchingCubesTriangles[cellCase][i] >= 0; ++i)
        row.push_back(kMarchingCubesTriangles[cellCase][i]);
    return row;
}

TEST(MarchingCubesTable, TellingRowsAndTriangleCount)
{
    EXPECT_TRUE(rowOf(0).empty());
    EXPECT_TRUE(rowOf(255).empty());
    EXPECT_EQ(rowOf(1), (std::vector<int>{0, 8, 3}));
    EXPECT_EQ(rowOf(2), (std::vector<int>{0, 1, 9}));
    EXPECT_EQ(rowOf(3), (std::vector<int>{1, 8, 3, 9, 8, 1}));
    EXPECT_EQ(rowOf(4), (std::vector<int>{1, 2, 10}));
    EXPECT_EQ(rowOf(7), (std::vector<int>{2, 8, 3, 2, 10, 8, 10, 9, 8}));
    EXPECT_EQ(rowOf(254), (std::vector<int>{0, 3, 8}));
    int triangles = 0;
    for (int c = 0; c < 256; ++c) {
        const std::vector<int> row = rowOf(c);
        ASSERT_EQ(row.size() % 3, 0u) << "case " << c;
        for (std::size_t i = row.size(); i < 16; ++i)
            ASSERT_EQ(kMarchingCubesTriangles[c][i], -1) << "case " << c;
        triangles += static_cast<int>(row.size() / 3);
    }
    EXPECT_EQ(triangles, 820);
}

TEST(MarchingCubesTable, EveryCaseUsesExactlyTheEdgesItsCornersSplit)
{
    for (int c = 0; c < 256; ++c) {
        std::set<int> split;
        for (int e = 0; e < 12; ++e) {
            if (((c >> kEdgeCorners[e][0]) & 1) != ((c >> kEdgeCorners[e][1]) & 1))
                split.insert(e);
        }
        const std::vector<int> row = rowOf(c);
        EXPECT_EQ(std::set<int>(row.begin(), row.end()), split) << "case " << c;
    }
}

TEST(MetaballCrossings, AreTruncatedAndMeasuredFromTheLowerCorner)
{
    // (0.2 - 0) x 20 / b = 17.9 twentieths past grid point 1: 37, not 38.
    EXPECT_EQ(crossingCoordinate(1, 0.0, 4.0 / 17.9), 37);
    EXPECT_EQ(crossingCoordinate(0, 0.0, 1.0), 4);      // near the low, outside end
    EXPECT_EQ(crossingCoordinate(0, 1.0, 0.0), 16);     // inside at the low end
    EXPECT_EQ(crossingCoordinate(2, 0.2, 1.0), 40);     // on the level: the outside corner
}

TEST(MetaballCrossings, UnplaceableCrossingsStayOnTheirEdge)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (double a : {inf, -inf, nan, 0.0}) {
        for (double b : {inf, -inf, nan, 1.0}) {
            const int x = crossingCoordinate(3, a, b);
            EXPECT_GE(x, 60);
            EXPECT_LE(x, 80);
        }
    }
}

TEST(MetaballCells, InsideMeansAboveTheLevelInDoublePrecision)
{
    const float allInside[8] = {1, 1, 1, 1, 1, 1, 1, 1};
    const float allOutside[8] = {0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(cellCase(allInside), 0);
    EXPECT_EQ(cellCase(allOutside), 255);
    const float nearestFloat[8] = {0.2f, 0.2f, 0.2f, 0.2f, 0.2f, 0.2f, 0.2f, 0.2f};
    EXPECT_EQ(cellCase(nearestFloat), 0);   // 0.200000003 > 0.2
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float oneNaN[8] = {nan, 1, 1, 1, 1, 1, 1, 1};
    EXPECT_EQ(cellCase(oneNaN), 1);
}

TEST(MetaballSurface, OneRaisedPointIsWrappedByEightInwardFacingTriangles)
{
    std::vector<float> field(kFieldValueCount, 0.0f);
    field[fieldIndex(1, 1, 1)] = 1.0f;
    std::vector<SurfaceTriangle> triangles;
    polygoniseField(field.data(), triangles);
    ASSERT_EQ(triangles.size(), 8u);   // one corner of each of its eight cells

    // The cell below-left-front of the point: crossings 0.2 of the way from
    // each outside neighbour, in twentieths.
    const SurfaceTriangle& first = triangles.front();
    std::set<std::tuple<int, int, int>> corners;
    for (const SurfacePoint& p : {first.p, first.q, first.r})
        corners.insert({p.x, p.y, p.z});
    EXPECT_EQ(corners, (std::set<std::tuple<int, int, int>>{{4, 20, 20}, {20, 4, 20}, {20, 20, 4}}));

    // All eight normals point in, towards the raised point: under part 8's
    // light from below it is the blobs' upper sides that catch the light.
    for (const SurfaceTriangle& t : triangles) {
        const int away[3] = {t.p.x + t.q.x + t.r.x - 60, t.p.y + t.q.y + t.r.y - 60, t.p.z + t.q.z + t.r.z - 60};
        EXPECT_LT(t.normal.x * away[0] + t.normal.y * away[1] + t.normal.z * away[2], 0);
    }
}

TEST(MetaballSurface, TheLastGridLayersAreNeverPolygonised)
{
    std::vector<float> field(kFieldValueCount, 0.0f);
    field[fieldIndex(20, 20, 10)] = 1.0f;
    field[fieldIndex(20, 5, 5)] = 1.0f;
    field[fieldIndex(5, 5, 10)] = 1.0f;
    std::vector<SurfaceTriangle> triangles;
    polygoniseField(field.data(), triangles);
    EXPECT_TRUE(triangles.empty());
    field[fieldIndex(19, 5, 5)] = 1.0f;
    polygoniseField(field.data(), triangles);
    EXPECT_EQ(triangles.size(), 4u);   // the four cells on its x = 18 side
}

TEST(MetaballMotion, BouncesBackInsideItsBoxWithoutSticking)
{
    initMetaBalls();
    std::vector<float> z;
    for (int i = 0; i < 4; ++i) {
        moveMetaBalls();
        z.push_back(metaBalls[1].z);
    }
    EXPECT_NEAR(z[0], 5.3f, 1e-5f);
    EXPECT_NEAR(z[1], 5.6f, 1e-5f);
    EXPECT_NEAR(z[2], 5.9f, 1e-5f);
    EXPECT_NEAR(z[3], 6.2f, 1e-5f);
    EXPECT_EQ(metaBalls[1].vz, -0.3f);
    moveMetaBalls();
    EXPECT_NEAR(metaBalls[1].z, 5.9f, 1e-5f);

    for (int frame = 0; frame < 10000; ++frame) {
        moveMetaBalls();
        for (const MetaBall& ball : metaBalls) {
            ASSERT_GE(ball.x, 4.0f - 0.4f);
            ASSERT_LE(ball.x, 16.0f + 0.4f);
            ASSERT_GE(ball.z, 4.0f - 0.4f);
            ASSERT_LE(ball.z, 6.0f + 0.4f);
        }
    }
}

TEST(MetaballField, SumsOneOverSquaredDistanceAndSubtractsNegativeSources)
{
    MetaBall balls[2] = {{1.0f, 2.0f, 3.0f, 0, 0, 0, 1}, {10.0f, 2.0f, 3.0f, 0, 0, 0, 1}};
    std::vector<float> field(kFieldValueCount, 7.0f);
    clearField(field.data());
    accumulateField(balls, 2, field.data());
    EXPECT_FLOAT_EQ(field[fieldIndex(3, 2, 3)], 1.0f / 4.0f + 1.0f / 49.0f);
    EXPECT_TRUE(std::isinf(field[fieldIndex(1, 2, 3)]));   // a source right on a grid point
    balls[1].sign = -1;
    clearField(field.data());
    accumulateField(balls, 2, field.data());
    EXPECT_FLOAT_EQ(field[fieldIndex(3, 2, 3)], 1.0f / 4.0f - 1.0f / 49.0f);
}

class MetaballPart : public ::testing::Test {
protected:
    void SetUp() override
    {
        testPlatform();
        applyPartRenderState(8);
        initMetaBalls();
        clearMetaballField();
    }
    static int brightPixels()
    {
        std::vector<unsigned char> rgba(640 * 480 * 4);
        glReadPixels(0, 0, 640, 480, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        int bright = 0;
        for (std::size_t i = 0; i < rgba.size(); i += 4)
            bright += rgba[i] + rgba[i + 1] + rgba[i + 2] > 0;
        return bright;
    }
};

TEST_F(MetaballPart, FirstFrameIsBlackAndTheSecondShowsTheBlobs)
{
    beginPartSteps(8, 0);
    renderPartFrame(8, 0, nullptr);
    EXPECT_EQ(brightPixels(), 0);
    renderPartFrame(8, 3, nullptr);   // the next 60 Hz frame: one step on
    EXPECT_GT(brightPixels(), 1000);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    GLint polygonMode[2];
    glGetIntegerv(GL_POLYGON_MODE, polygonMode);
    EXPECT_EQ(polygonMode[0], GL_FILL);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace
