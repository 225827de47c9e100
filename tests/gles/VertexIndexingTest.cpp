#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "gles/VertexIndexing.h"

namespace {

Vertex cornerAt(float x, float y)
{
    Vertex v{};
    v.position[0] = x;
    v.position[1] = y;
    v.position[3] = 1.0f;
    return v;
}

// The indices give back every vertex as given, bit for bit.
void expectSameVertices(const std::vector<Vertex>& given, const std::vector<Vertex>& unique,
                        const std::vector<std::uint32_t>& indices)
{
    ASSERT_EQ(indices.size(), given.size());
    for (std::size_t i = 0; i < given.size(); ++i) {
        ASSERT_LT(indices[i], unique.size());
        EXPECT_EQ(std::memcmp(&unique[indices[i]], &given[i], sizeof(Vertex)), 0) << "vertex " << i;
    }
}

// `quads` squares in a row, two triangles each, sharing their sides.
std::vector<Vertex> rowOfQuads(int quads)
{
    std::vector<Vertex> row;
    for (int q = 0; q < quads; ++q) {
        const auto x = static_cast<float>(q);
        for (const Vertex& v : {cornerAt(x, 0), cornerAt(x + 1, 0), cornerAt(x + 1, 1), cornerAt(x, 0),
                                cornerAt(x + 1, 1), cornerAt(x, 1)})
            row.push_back(v);
    }
    return row;
}

TEST(GlesVertexIndexing, SharedCornersAreKeptOnceAndTheOrderStays)
{
    const std::vector<Vertex> given = rowOfQuads(20);
    std::vector<Vertex> unique;
    std::vector<std::uint32_t> indices;
    EXPECT_TRUE(indexVertices(given, unique, indices));
    EXPECT_EQ(unique.size(), 42u);
    EXPECT_EQ(std::vector<std::uint32_t>(indices.begin(), indices.begin() + 12),
              (std::vector<std::uint32_t>{0, 1, 2, 0, 2, 3, 1, 4, 5, 1, 5, 2}));
    expectSameVertices(given, unique, indices);
}

TEST(GlesVertexIndexing, OnlyVerticesEqualBitForBitMerge)
{
    Vertex negativeZero = cornerAt(0, 0);
    negativeZero.position[0] = -0.0f;
    Vertex otherColour = cornerAt(0, 0);
    otherColour.colour[3] = 0.5f;
    Vertex marked = cornerAt(0, 0);
    marked.colour[0] = kTakenAtReplay;   // a colour taken at replay
    std::vector<Vertex> given = {cornerAt(0, 0), negativeZero, otherColour, marked, marked, cornerAt(0, 0)};
    const std::vector<Vertex> row = rowOfQuads(20);
    given.insert(given.end(), row.begin(), row.end());
    std::vector<Vertex> unique;
    std::vector<std::uint32_t> indices;
    EXPECT_TRUE(indexVertices(given, unique, indices));
    EXPECT_EQ(std::vector<std::uint32_t>(indices.begin(), indices.begin() + 7),
              (std::vector<std::uint32_t>{0, 1, 2, 3, 3, 0, 0}));
    EXPECT_TRUE(std::isnan(unique[3].colour[0]));
    expectSameVertices(given, unique, indices);
}

TEST(GlesVertexIndexing, SmallListsAndListsWithoutSharingAreLeftAsGiven)
{
    std::vector<Vertex> unique;
    std::vector<std::uint32_t> indices;
    EXPECT_FALSE(indexVertices(rowOfQuads(2), unique, indices));   // 12 vertices
    // Faces with a normal each: no corner is shared.
    std::vector<Vertex> faces = rowOfQuads(40);
    for (std::size_t i = 0; i < faces.size(); ++i)
        faces[i].normal[0] = static_cast<float>(i / 3);
    EXPECT_FALSE(indexVertices(faces, unique, indices));
    // A few shared at the start, too few over the whole list.
    faces[4] = faces[0];
    EXPECT_FALSE(indexVertices(faces, unique, indices));
    // Enough shared over the whole list.
    for (std::size_t i = 100; i < faces.size(); ++i)
        faces[i] = faces[i % 2];
    EXPECT_TRUE(indexVertices(faces, unique, indices));
    expectSameVertices(faces, unique, indices);
}

TEST(GlesVertexIndexing, AGridOfManyCellsKeepsEachCornerOnce)
{
    // 300 x 300 cells, two triangles each: far more vertices than the
    // table's first size, and many alike in all but one coordinate.
    std::vector<Vertex> given;
    const int cells = 300;
    for (int y = 0; y < cells; ++y)
        for (int x = 0; x < cells; ++x) {
            const auto fx = static_cast<float>(x);
            const auto fy = static_cast<float>(y);
            for (const Vertex& v : {cornerAt(fx, fy), cornerAt(fx + 1, fy), cornerAt(fx + 1, fy + 1), cornerAt(fx, fy), cornerAt(fx + 1, fy + 1),
                                    cornerAt(fx, fy + 1)})
                given.push_back(v);
        }
    std::vector<Vertex> unique;
    std::vector<std::uint32_t> indices;
    EXPECT_TRUE(indexVertices(given, unique, indices));
    EXPECT_EQ(unique.size(), static_cast<std::size_t>((cells + 1) * (cells + 1)));
    expectSameVertices(given, unique, indices);
    // Called again, the output is made afresh.
    EXPECT_TRUE(indexVertices(rowOfQuads(20), unique, indices));
    EXPECT_EQ(unique.size(), 42u);
}

}  // namespace
