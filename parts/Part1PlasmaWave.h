#pragma once
#include <GL/gl.h>

// One vertex of the plasma sheet: its height (also its grey level) and its
// wave-distorted texture coordinates.
struct PlasmaVertex {
    float height;
    float s;
    float t;
};

// The sheet's vertex at column c and row r, given the column and row angles.
PlasmaVertex plasmaVertex(float columnAngle, float rowAngle, int column, int row);

// The angle both wave directions start from at partTime: 0.0125 radians per tick.
float plasmaPhase(int partTime);
// The black veil over the opening: opaque at 0, gone at 1200 ticks.
float part1VeilAlpha(int partTime);

// Draws the 79 x 80 quad sheet rippling at partTime with the current modelview.
void drawPlasmaWave(GLuint texPlasma, int partTime);

// The opening part: the plasma sheet, fading in from black over 6 s.
void part1Frame(int partTime, GLuint texPlasma);
