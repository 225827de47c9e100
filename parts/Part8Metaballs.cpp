#include "parts/Part8Metaballs.h"

#include <GL/gl.h>

#include <cmath>

#include "parts/MarchingCubesTable.h"

MetaBall metaBalls[kMetaBallCount];
float metaballField[kFieldValueCount];

namespace {

constexpr double kLevel = 0.2;
constexpr int kCellsX = 19;
constexpr int kCellsY = 19;
constexpr int kCellsZ = 9;

// Offsets (dx, dy, dz) of the cell corners and the corner pairs of the edges.
constexpr int kCorners[8][3] = {{0, 1, 1}, {1, 1, 1}, {1, 1, 0}, {0, 1, 0},
                                {0, 0, 1}, {1, 0, 1}, {1, 0, 0}, {0, 0, 0}};
constexpr int kEdges[12][2] = {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {4, 5}, {5, 6},
                               {6, 7}, {7, 4}, {0, 4}, {1, 5}, {2, 6}, {3, 7}};

bool outside(double value)
{
    return !(value > kLevel);   // on the level, below it or NaN
}

// The crossing point of one edge of the cell with lower corner `cell`.
SurfacePoint edgeCrossing(const int cell[3], const float values[8], int edge)
{
    int from = kEdges[edge][0];
    int to = kEdges[edge][1];
    int axis = 0;
    while (kCorners[from][axis] == kCorners[to][axis])
        ++axis;
    if (kCorners[from][axis] > kCorners[to][axis]) {
        const int swapped = from;
        from = to;
        to = swapped;
    }
    int point[3];
    for (int i = 0; i < 3; ++i)
        point[i] = 20 * (cell[i] + kCorners[from][i]);
    point[axis] = crossingCoordinate(cell[axis], values[from], values[to]);
    return {point[0], point[1], point[2]};
}

SurfacePoint minus(SurfacePoint a, SurfacePoint b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

SurfaceTriangle makeTriangle(SurfacePoint p, SurfacePoint q, SurfacePoint r)
{
    const SurfacePoint u = minus(r, q);
    const SurfacePoint v = minus(p, q);
    return {p, q, r, {u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x}};
}

void polygoniseCell(const float* field, int x, int y, int z, std::vector<SurfaceTriangle>& triangles)
{
    const int cell[3] = {x, y, z};
    float values[8];
    for (int c = 0; c < 8; ++c)
        values[c] = field[fieldIndex(x + kCorners[c][0], y + kCorners[c][1], z + kCorners[c][2])];
    const signed char* row = kMarchingCubesTriangles[cellCase(values)];
    if (row[0] < 0)
        return;
    SurfacePoint crossings[12];
    for (int e = 0; e < 12; ++e) {
        if (outside(values[kEdges[e][0]]) != outside(values[kEdges[e][1]]))
            crossings[e] = edgeCrossing(cell, values, e);
    }
    for (int t = 0; t < 15 && row[t] >= 0; t += 3)
        triangles.push_back(makeTriangle(crossings[row[t]], crossings[row[t + 1]], crossings[row[t + 2]]));
}

void vertex(SurfacePoint p)
{
    glVertex3f(static_cast<float>(p.x - 200) * 0.2f, static_cast<float>(p.y - 200) * 0.2f,
               static_cast<float>(p.z) * 0.2f);
}

// Every triangle in a begin/end pair of its own, with its flat normal.
GLuint compileSurface(const std::vector<SurfaceTriangle>& triangles)
{
    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    for (const SurfaceTriangle& triangle : triangles) {
        glBegin(GL_TRIANGLES);
        glNormal3f(static_cast<float>(triangle.normal.x), static_cast<float>(triangle.normal.y),
                   static_cast<float>(triangle.normal.z));
        vertex(triangle.p);
        vertex(triangle.q);
        vertex(triangle.r);
        glEnd();
    }
    glEndList();
    return list;
}

}  // namespace

int crossingCoordinate(int lower, double a, double b)
{
    const double offset = (kLevel - a) * 20.0 / (b - a);
    // An infinite or NaN corner (a ball right on a grid point, a source
    // that subtracts) gives no usable fraction; such a crossing is put in
    // the middle of its edge rather than converted from a NaN.
    if (!(offset >= 0.0 && offset <= 20.0))
        return 20 * lower + (offset > 20.0 ? 20 : (offset < 0.0 ? 0 : 10));
    return static_cast<int>(20 * lower + offset);
}

int cellCase(const float cornerValues[8])
{
    int index = 0;
    for (int c = 0; c < 8; ++c) {
        if (outside(cornerValues[c]))
            index |= 1 << c;
    }
    return index;
}

void polygoniseField(const float* field, std::vector<SurfaceTriangle>& triangles)
{
    triangles.clear();
    for (int y = 0; y < kCellsY; ++y) {
        for (int x = 0; x < kCellsX; ++x) {
            for (int z = 0; z < kCellsZ; ++z)
                polygoniseCell(field, x, y, z, triangles);
        }
    }
}

void clearField(float* field)
{
    for (int i = 0; i < kFieldValueCount; ++i)
        field[i] = 0.0f;
}

void accumulateField(const MetaBall* balls, int ballCount, float* field)
{
    for (int y = 0; y < kFieldSizeY; ++y) {
        for (int x = 0; x < kFieldSizeX; ++x) {
            for (int z = 0; z < kFieldSizeZ; ++z) {
                float& value = field[fieldIndex(x, y, z)];
                for (int b = 0; b < ballCount; ++b) {
                    const float dx = static_cast<float>(x) - balls[b].x;
                    const float dy = static_cast<float>(y) - balls[b].y;
                    const float dz = static_cast<float>(z) - balls[b].z;
                    const float contribution = 1.0f / (dx * dx + dy * dy + dz * dz);
                    value = balls[b].sign == 1 ? value + contribution : value - contribution;
                }
            }
        }
    }
}

namespace {

// One axis of a ball's step: move, then turn back once past a bound.
void stepAxis(float& position, float& velocity, float low, float high)
{
    position += velocity;
    if (position < low || position > high)
        velocity = -velocity;
}

}  // namespace

void moveBalls(MetaBall* balls, int ballCount)
{
    for (int b = 0; b < ballCount; ++b) {
        stepAxis(balls[b].x, balls[b].vx, 4.0f, 16.0f);
        stepAxis(balls[b].y, balls[b].vy, 4.0f, 16.0f);
        stepAxis(balls[b].z, balls[b].vz, 4.0f, 6.0f);
    }
}

PartTurn metaballTurn(int partTime)
{
    const auto t = static_cast<float>(partTime);
    return {t * 0.025f, t * 0.05f};
}

void initMetaBalls()
{
    metaBalls[0] = {5.0f, 5.0f, 5.0f, 0.3f, -0.2f, -0.2f, 1};
    metaBalls[1] = {5.0f, 5.0f, 5.0f, -0.2f, 0.2f, 0.3f, 1};
    metaBalls[2] = {5.0f, 5.0f, 5.0f, -0.4f, 0.1f, -0.1f, 1};
}

void drawMetaballSurface()
{
    static std::vector<SurfaceTriangle> triangles;   // kept to reuse its storage
    polygoniseField(metaballField, triangles);
    const GLuint list = compileSurface(triangles);

    glCallList(list);   // solid and lit, as the part set it up

    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glDisable(GL_LIGHTING);
    glColor3f(0.2f, 0.4f, 0.6f);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glCallList(list);   // an additive blue wireframe on top

    glDisable(GL_BLEND);
    glEnable(GL_LIGHTING);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glDeleteLists(list, 1);
}

void clearMetaballField()
{
    clearField(metaballField);
}

void accumulateMetaballField()
{
    accumulateField(metaBalls, kMetaBallCount, metaballField);
}

void moveMetaBalls()
{
    moveBalls(metaBalls, kMetaBallCount);
}
