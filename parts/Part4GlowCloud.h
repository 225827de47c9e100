#pragma once
#include <GL/gl.h>

#include "fx/Vec3.h"

class ParticleSystem;

// Where part 4's camera is at partTime: circling the vertical axis through
// (5, ., 5) on a radius that swells and shrinks, bobbing between heights 0
// and 10, always looking at the origin.
Vec3 part4Eye(int partTime);

// Part 4: the camera flies around the glowing cloud, darkened by a tenth.
void part4Frame(int partTime, GLuint texBlack, const ParticleSystem& particles);
