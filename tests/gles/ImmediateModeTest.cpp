#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <utility>
#include <vector>

#include "gles/ImmediateMode.h"
#include "gles/WideLines.h"

namespace {

// Vertices numbered through their x coordinate, so the output says which
// input each one came from.
std::vector<Vertex> numbered(int count)
{
    std::vector<Vertex> vertices(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        vertices[static_cast<std::size_t>(i)] = Vertex{{static_cast<float>(i), 0.0f, 0.0f, 1.0f}, {}, {}, {}};
    return vertices;
}

std::vector<int> indices(const std::vector<Vertex>& out)
{
    std::vector<int> result;
    for (const Vertex& v : out)
        result.push_back(static_cast<int>(v.position[0]));
    return result;
}

using Edge = std::pair<int, int>;

std::multiset<Edge> undirectedEdges(const std::vector<int>& lines)
{
    std::multiset<Edge> edges;
    for (std::size_t i = 0; i + 1 < lines.size(); i += 2)
        edges.insert({std::min(lines[i], lines[i + 1]), std::max(lines[i], lines[i + 1])});
    return edges;
}

std::vector<int> assemble(GLenum mode, bool edges, int count, DrawnAs expected)
{
    const std::vector<Vertex> in = numbered(count);
    std::vector<Vertex> out;
    EXPECT_EQ(assemblePrimitive(mode, edges ? Fill::Outlines : Fill::Polygons, in.data(), in.size(), out), expected);
    return indices(out);
}

TEST(GlesImmediateMode, QuadsBecomeTwoTrianglesEndingWithTheQuadsLastVertex)
{
    // (0,1,3) and (1,2,3): the last vertex gives a flat quad its colour.
    EXPECT_EQ(assemble(GL_QUADS, false, 8, DrawnAs::Triangles),
              (std::vector<int>{0, 1, 3, 1, 2, 3, 4, 5, 7, 5, 6, 7}));
    // A trailing incomplete quad is dropped.
    EXPECT_EQ(assemble(GL_QUADS, false, 6, DrawnAs::Triangles).size(), 6u);
    EXPECT_TRUE(assemble(GL_QUADS, false, 3, DrawnAs::Nothing).empty());
}

TEST(GlesImmediateMode, QuadStripsKeepWindingAndEndEachQuadWithItsLastVertex)
{
    // Quad i is 2i, 2i+1, 2i+3, 2i+2 around; both triangles end with 2i+3.
    EXPECT_EQ(assemble(GL_QUAD_STRIP, false, 6, DrawnAs::Triangles),
              (std::vector<int>{2, 0, 3, 0, 1, 3, 4, 2, 5, 2, 3, 5}));
    EXPECT_EQ(assemble(GL_QUAD_STRIP, false, 5, DrawnAs::Triangles).size(), 6u);   // one odd vertex left over
}

TEST(GlesImmediateMode, StripsFansAndPolygonsTriangulateWithTheirFlatVertexLast)
{
    // Every other strip triangle swaps its first two vertices to keep the winding.
    EXPECT_EQ(assemble(GL_TRIANGLE_STRIP, false, 5, DrawnAs::Triangles),
              (std::vector<int>{0, 1, 2, 2, 1, 3, 2, 3, 4}));
    EXPECT_EQ(assemble(GL_TRIANGLE_FAN, false, 5, DrawnAs::Triangles), (std::vector<int>{0, 1, 2, 0, 2, 3, 0, 3, 4}));
    // A polygon's flat colour is its first vertex's, so each triangle ends with it.
    EXPECT_EQ(assemble(GL_POLYGON, false, 5, DrawnAs::Triangles), (std::vector<int>{1, 2, 0, 2, 3, 0, 3, 4, 0}));
}

TEST(GlesImmediateMode, IndexedPrimitivesNameTheTrianglesAndSegmentsAssemblyCopies)
{
    // Drawn through indices, each mode must give the very triangles (order
    // and flat vertex included) or segments that copying the vertices
    // gives, moved on by the primitive's first vertex in the batch.
    // Outlines (polygon mode GL_LINE) likewise give the very edges.
    for (Fill fill : {Fill::Polygons, Fill::Outlines}) {
        for (GLenum mode : {GL_LINES, GL_LINE_STRIP, GL_LINE_LOOP, GL_TRIANGLES, GL_TRIANGLE_STRIP, GL_TRIANGLE_FAN,
                            GL_QUADS, GL_QUAD_STRIP, GL_POLYGON}) {
            for (int count : {1, 2, 3, 5, 8, 9}) {
                const std::vector<Vertex> in = numbered(count);
                std::vector<Vertex> assembled;
                assemblePrimitive(mode, fill, in.data(), in.size(), assembled);
                std::vector<int> copied = indices(assembled);
                for (int& index : copied)
                    index += 100;
                std::vector<std::uint32_t> out{7};   // indices already in the batch stay
                const std::size_t added = assembleIndices(mode, fill, static_cast<std::size_t>(count), 100, out);
                ASSERT_EQ(added, copied.size()) << "mode " << mode << ", " << count << " vertices";
                EXPECT_EQ(out.front(), 7u);
                EXPECT_EQ(std::vector<int>(out.begin() + 1, out.end()), copied) << "mode " << mode << ", " << count;
            }
            EXPECT_TRUE(assemblyIndexes(mode, fill));
        }
    }
    // A flat outline recolours its edges, so it is copied unless that
    // changes nothing; points are drawn as given.
    EXPECT_FALSE(assemblyIndexes(GL_TRIANGLES, Fill::FlatOutlines));
    EXPECT_FALSE(assemblyIndexes(GL_POINTS, Fill::Polygons));
}

TEST(GlesImmediateMode, FlatOutlinesGoThroughIndicesOnlyWhereTheFlatColourIsEveryVertexs)
{
    std::vector<Vertex> quad = numbered(4);
    for (Vertex& v : quad) {
        v.colour[0] = 0.5f;
        v.colour[3] = 1.0f;
    }
    EXPECT_TRUE(flatOutlineMayIndex(GL_QUAD_STRIP, false));
    EXPECT_FALSE(flatOutlineMayIndex(GL_QUAD_STRIP, true));
    EXPECT_FALSE(flatOutlineMayIndex(GL_LINE_STRIP, false));
    EXPECT_TRUE(flatOutlineIndexes(quad.data(), quad.size(), false));
    EXPECT_FALSE(flatOutlineIndexes(quad.data(), quad.size(), true));   // lit: the flat normal shades every edge
    quad[3].colour[3] = 0.5f;   // only the flat vertex differs
    EXPECT_FALSE(flatOutlineIndexes(quad.data(), quad.size(), false));
    quad[3].colour[3] = 1.0f;
    quad[1].colour[2] = 0.25f;
    EXPECT_FALSE(flatOutlineIndexes(quad.data(), quad.size(), false));

    // Where it holds, the indices name the edges the copies would have.
    quad[1].colour[2] = 0.0f;
    std::vector<Vertex> assembled;
    assemblePrimitive(GL_QUADS, Fill::FlatOutlines, quad.data(), quad.size(), assembled);
    std::vector<std::uint32_t> out;
    assembleIndices(GL_QUADS, Fill::FlatOutlines, quad.size(), 0, out);
    EXPECT_EQ(std::vector<int>(out.begin(), out.end()), indices(assembled));
}

TEST(GlesImmediateMode, WireframeQuadsDrawTheirFourEdgesButNoDiagonal)
{
    const std::vector<int> quad = assemble(GL_QUADS, true, 4, DrawnAs::Lines);
    EXPECT_EQ(undirectedEdges(quad), (std::multiset<Edge>{{0, 1}, {1, 2}, {2, 3}, {0, 3}}));
    // In the driver's order, each edge ending where its flat colour comes from.
    EXPECT_EQ(quad, (std::vector<int>{3, 0, 0, 1, 1, 2, 2, 3}));

    // Quad strips: each quad its own outline, so inner edges come twice
    // (additive wireframes are brighter there, as with the driver).
    const std::multiset<Edge> strip = undirectedEdges(assemble(GL_QUAD_STRIP, true, 6, DrawnAs::Lines));
    EXPECT_EQ(strip, (std::multiset<Edge>{{0, 2}, {0, 1}, {1, 3}, {2, 3}, {2, 4}, {2, 3}, {3, 5}, {4, 5}}));
    EXPECT_EQ(strip.count({0, 3}) + strip.count({1, 2}) + strip.count({2, 5}) + strip.count({3, 4}), 0u);
}

TEST(GlesImmediateMode, WireframeTrianglesAndPolygonsDrawTheirOutlines)
{
    EXPECT_EQ(assemble(GL_TRIANGLES, true, 3, DrawnAs::Lines), (std::vector<int>{2, 0, 0, 1, 1, 2}));
    EXPECT_EQ(undirectedEdges(assemble(GL_TRIANGLE_STRIP, true, 4, DrawnAs::Lines)),
              (std::multiset<Edge>{{0, 2}, {0, 1}, {1, 2}, {1, 2}, {1, 3}, {2, 3}}));
    EXPECT_EQ(undirectedEdges(assemble(GL_POLYGON, true, 5, DrawnAs::Lines)),
              (std::multiset<Edge>{{0, 1}, {1, 2}, {2, 3}, {3, 4}, {0, 4}}));
    // Line mode leaves lines and points alone.
    EXPECT_EQ(assemble(GL_LINE_STRIP, true, 3, DrawnAs::Lines), (std::vector<int>{0, 1, 1, 2}));
    EXPECT_EQ(assemble(GL_POINTS, true, 2, DrawnAs::Points), (std::vector<int>{0, 1}));
}

TEST(GlesImmediateMode, LinesStripsAndLoopsBecomeSegments)
{
    EXPECT_EQ(assemble(GL_LINES, false, 5, DrawnAs::Lines), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(assemble(GL_LINE_LOOP, false, 3, DrawnAs::Lines), (std::vector<int>{0, 1, 1, 2, 2, 0}));
    EXPECT_TRUE(assemble(GL_LINE_STRIP, false, 1, DrawnAs::Nothing).empty());
    EXPECT_TRUE(assemble(GL_TRIANGLES + 100, false, 3, DrawnAs::Nothing).empty());
}

TEST(GlesImmediateMode, WideLineSegmentsBecomeBandsEndingAtTheSecondEnd)
{
    const std::vector<Vertex> segment = numbered(2);
    std::vector<WideLineVertex> band;
    expandWideLines(segment.data(), segment.size(), band);
    ASSERT_EQ(band.size(), 6u);
    // Two triangles, both ending on the segment's second end (its flat colour).
    EXPECT_EQ(band[2].vertex.position[0], 1.0f);
    EXPECT_EQ(band[5].vertex.position[0], 1.0f);
    // Each corner knows the other end and lies on one side; the four
    // corners are distinct (end, side) pairs.
    std::set<std::pair<float, float>> corners;
    for (const WideLineVertex& corner : band) {
        EXPECT_EQ(corner.otherEnd[0], 1.0f - corner.vertex.position[0]);
        EXPECT_EQ(std::abs(corner.side), 1.0f);
        corners.insert({corner.vertex.position[0], corner.side});
    }
    EXPECT_EQ(corners.size(), 4u);
}

}  // namespace

namespace {

TEST(GlesImmediateMode, FlatOutlinesColourEveryEdgeWithThePolygonsFlatVertex)
{
    std::vector<Vertex> quad = numbered(4);
    for (int i = 0; i < 4; ++i) {
        quad[static_cast<std::size_t>(i)].colour[0] = 0.25f * static_cast<float>(i);
        quad[static_cast<std::size_t>(i)].normal[1] = static_cast<float>(i);
    }
    std::vector<Vertex> out;
    ASSERT_EQ(assemblePrimitive(GL_QUADS, Fill::FlatOutlines, quad.data(), quad.size(), out), DrawnAs::Lines);
    ASSERT_EQ(out.size(), 8u);
    for (const Vertex& v : out) {
        EXPECT_EQ(v.colour[0], 0.75f);   // the last vertex's, on all four edges
        EXPECT_EQ(v.normal[1], 3.0f);    // lit with its normal too
    }
    EXPECT_EQ(indices(out), (std::vector<int>{3, 0, 0, 1, 1, 2, 2, 3}));   // positions stay the edges'

    // Smooth outlines keep each end's own colour.
    out.clear();
    ASSERT_EQ(assemblePrimitive(GL_QUADS, Fill::Outlines, quad.data(), quad.size(), out), DrawnAs::Lines);
    EXPECT_EQ(out[1].colour[0], 0.0f);
}

}  // namespace

#include "gles/RasterSizes.h"

namespace {

TEST(GlesImmediateMode, PointSizesAndLineWidthsRoundToWholePixelsAsTheDriverDoes)
{
    // Measured on the driver: 1.5 and 2.5 draw 1 and 2 pixels wide, 3.6 draws 4.
    EXPECT_EQ(pointWidthInPixels(1.0f), 1.0f);
    EXPECT_EQ(pointWidthInPixels(1.5f), 1.0f);
    EXPECT_EQ(pointWidthInPixels(2.5f), 2.0f);
    EXPECT_EQ(pointWidthInPixels(2.51f), 3.0f);
    EXPECT_EQ(pointWidthInPixels(3.4f), 3.0f);
    EXPECT_EQ(pointWidthInPixels(3.6f), 4.0f);
    EXPECT_EQ(pointWidthInPixels(0.2f), 1.0f);   // never less than a pixel
    EXPECT_EQ(pointWidthInPixels(12.8f), 13.0f);

    // Lines round their halves up: 1.5 is 2 pixels wide, 1.49 one.
    EXPECT_EQ(lineWidthInPixels(1.49f), 1.0f);
    EXPECT_EQ(lineWidthInPixels(1.5f), 2.0f);
    EXPECT_EQ(lineWidthInPixels(2.5f), 3.0f);
    EXPECT_EQ(lineWidthInPixels(4.5f), 5.0f);
    EXPECT_EQ(lineWidthInPixels(0.3f), 1.0f);
}

}  // namespace
