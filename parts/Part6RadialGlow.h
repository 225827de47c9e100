#pragma once
#include <GL/gl.h>
#include <vector>

#include "fx/Vec3.h"

// Part 6's 10 x 10 grid, row-major: positions 2 x column - 10, 2 x row - 10
// and texture coordinates column / 9, row / 9, built once at start-up.
struct BlurGrid {
    std::vector<Vec3> vertices;
    std::vector<Vec3> texCoords;
};

extern BlurGrid theBlurGrid;

void buildBlurGrid(BlurGrid& grid);
void drawBlurGrid(const BlurGrid& grid);
// The grid with each texture coordinate pulled towards `towards` by
// `factor` times the vertex's world-space distance to it.
void drawBlurGridShifted(Vec3 towards, float factor, const BlurGrid& grid);
// The point the glow streams away from at partTime: a figure of eight.
Vec3 glowCentre(int partTime);

// Part 6: the blur picture with ten additive copies magnified about a
// moving point, a zoom-blur glow.
void part6Frame(int partTime, const BlurGrid& grid, GLuint texBlur);
