#pragma once
#include <vector>

#include "fx/Vec3.h"

// A square sheet of point masses on a grid, each joined by springs to its
// four direct neighbours and pulled back towards its home position.  One
// explicit integration step per call, every force computed from the
// positions at the start of the step.  Point (row j, column i) has index
// j * (cols + 1) + i.
class Cloth {
public:
    int cols = 0;            // cells across; a row has cols + 1 points
    int rows = 0;            // cells down
    float spacing = 0.0f;    // start grid spacing, rest length of every spring
    float stiffness = 0.0f;  // summed force to velocity change per step
    float damping = 0.0f;    // velocity factor per step
    Vec3 origin{};           // centre of the sheet at start
    Vec3 gravity{};          // added to the velocity of every free point per step

    std::vector<Vec3> positions;
    std::vector<Vec3> homePositions;
    std::vector<Vec3> externalForces;
    std::vector<Vec3> nextPositions;
    std::vector<Vec3> velocities;
    std::vector<int> freeFlags;   // 1 free, 0 pinned

    int pointCount() const { return (cols + 1) * (rows + 1); }
    int indexOf(int row, int column) const { return row * (cols + 1) + column; }

    // Lays the sheet out flat around origin, at rest, every point free.
    void init();
    // 0 pins the point; forces and gravity move only points flagged 1.
    // Indices outside the sheet are ignored.
    void setFree(int index, int value);
    void setExternalForce(int index, Vec3 force);
    Vec3 getExternalForce(int index) const;   // zero outside the sheet
    // Does nothing until init has laid the sheet out for cols and rows.
    void step();
    // Quad strips row by row with one normal per column; sets no colour,
    // material, texture or polygon mode.
    void draw() const;

private:
    void computeSpringForces();
    Vec3 forceOn(int row, int column) const;
    // The pull of every spring on its left (upper) end for this step; its
    // other end feels exactly the opposite.  Kept to spare an allocation per step.
    std::vector<Vec3> springsAcross_;   // (rows + 1) x cols
    std::vector<Vec3> springsDown_;     // rows x (cols + 1)
    bool contains(int index) const { return index >= 0 && index < static_cast<int>(freeFlags.size()); }
};

extern Cloth theCloth;

// Part 7's sheet: 50 x 50 cells of 0.5, stiffness 0.25, damping 0.95,
// held at points 0, 2401, 2352 and 49.
void setUpCloth(Cloth& cloth);
