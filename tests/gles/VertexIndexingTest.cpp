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

TEST(VertexIndexing, SharedCornersAreKeptOnceAndTheOrderStays)
{
    // Two triangles of a quad: the diagonal's corners come twice.
    const std::vector<Vertex> given = {cornerAt(0, 0), cornerAt(1, 0), cornerAt(1, 1), cornerAt(0, 0), cornerAt(1, 1), cornerAt(0, 1)};
    std::vector<Vertex> unique;
    std::vector<std::uint32_t> indices;
    indexVertices(given, unique, indices);
    EXPECT_EQ(unique.size(), 4u);
    EXPECT_EQ(indices, (std::vector<std::uint32_t>{0, 1, 2, 0, 2, 3}));
    expectSameVertices(given, unique, indices);
}

TEST(VertexIndexing, OnlyVerticesEqualBitForBitMerge)
{
    Vertex negativeZero = cornerAt(0, 0);
    negativeZero.position[0] = -0.0f;
    Vertex otherColour = cornerAt(0, 0);
    otherColour.colour[3] = 0.5f;
    Vertex marked = cornerAt(0, 0);
    marked.colour[0] = kTakenAtReplay;   // a colour taken at replay
    const std::vector<Vertex> given = {cornerAt(0, 0), negativeZero, otherColour, marked, marked, cornerAt(0, 0)};
    std::vector<Vertex> unique;
    std::vector<std::uint32_t> indices;
    indexVertices(given, unique, indices);
    EXPECT_EQ(unique.size(), 4u);
    EXPECT_EQ(indices, (std::vector<std::uint32_t>{0, 1, 2, 3, 3, 0}));
    EXPECT_TRUE(std::isnan(unique[3].colour[0]));
    expectSameVertices(given, unique, indices);
}

TEST(VertexIndexing, AGridOfManyCellsKeepsEachCornerOnce)
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
    indexVertices(given, unique, indices);
    EXPECT_EQ(unique.size(), static_cast<std::size_t>((cells + 1) * (cells + 1)));
    expectSameVertices(given, unique, indices);
    // Called again, the output is made afresh.
    indexVertices({cornerAt(5, 5)}, unique, indices);
    EXPECT_EQ(unique.size(), 1u);
    EXPECT_EQ(indices, (std::vector<std::uint32_t>{0}));
}

}  // namespace
