#pragma once
#include <vector>

#include "parts/PartTurn.h"

// Part 8: three moving point sources define a field on a 21 x 21 x 11 grid;
// the surface where the field is 0.2 is polygonised by marching cubes each
// frame and drawn solid and as an additive wireframe.

// One field source; position in grid steps, velocity in grid steps per frame.
struct MetaBall {
    float x, y, z;
    float vx, vy, vz;
    int sign;   // 1 adds 1/d², any other value subtracts it
};

constexpr int kMetaBallCount = 3;
constexpr int kFieldSizeX = 21;
constexpr int kFieldSizeY = 21;
constexpr int kFieldSizeZ = 11;
constexpr int kFieldValueCount = kFieldSizeX * kFieldSizeY * kFieldSizeZ;   // 4851

// Point (x, y, z) of the grid, x-major.
constexpr int fieldIndex(int x, int y, int z)
{
    return x * kFieldSizeY * kFieldSizeZ + y * kFieldSizeZ + z;
}

// The program-wide balls and field, alive for the whole run.
extern MetaBall metaBalls[kMetaBallCount];
extern float metaballField[kFieldValueCount];

// A surface vertex in twentieths of a grid step.
struct SurfacePoint {
    int x, y, z;
};
// Vertices in drawing order and their flat, unnormalised normal.
struct SurfaceTriangle {
    SurfacePoint p, q, r;
    SurfacePoint normal;
};

// Where the level 0.2 crosses one coordinate of an edge running from `lower`
// (value a) to lower + 1 (value b), in twentieths, truncated towards zero.
int crossingCoordinate(int lower, double a, double b);
// The cell case: bit n set when corner n is not above the level.
int cellCase(const float cornerValues[8]);
// Polygonises the cells with lower corner x 0..18, y 0..18, z 0..8.
void polygoniseField(const float* field, std::vector<SurfaceTriangle>& triangles);

void clearField(float* field);
void accumulateField(const MetaBall* balls, int ballCount, float* field);
void moveBalls(MetaBall* balls, int ballCount);

// How far the surface is turned at partTime: a twentieth of a degree per
// tick about y, then a fortieth about x.
PartTurn metaballTurn(int partTime);

// The operations the demo runs, on the program-wide balls and field.
void initMetaBalls();
void drawMetaballSurface();   // polygonises the current field, draws it twice
void clearMetaballField();
void accumulateMetaballField();
void moveMetaBalls();
