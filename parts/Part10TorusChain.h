#pragma once
#include <GL/gl.h>

#include "fx/Vec3.h"

class ParticleSystem;

// The turn of every link of the torus chain, in degrees; it goes on from
// part 10 into part 11.
extern float torusAngle;

// The angle one frame later: half a degree on, 360 replaced by 0.
float nextTorusAngle(float angle);

// Where the camera of parts 10 and 11 is at partTime, looking at the origin:
// on a tilted circle, 0.01 radians per tick.
Vec3 torusChainEye(int partTime);

// One torus in the xy plane around the z axis, as quad strips with unit
// normals.
void drawTorus(float tubeRadius, int sides, float ringRadius, int rings);

// Parts 10 (isPart11 0) and 11 (isPart11 1): a twisting chain of wireframe
// tori in the glow cloud, over the faded picture of the frames before.  The
// chain turns on by half a degree with every picture.
void part10And11Frame(int partTime, GLuint texMap, const ParticleSystem& particles, int isPart11);
