#pragma once
#include <GL/gl.h>

// Draws the tumbling figure of line strips for time x (partTime as float)
// with the current colour and modelview.
void drawLineFigure(float x);

// Part 5: black lines on a picture that is never cleared, washed 20 %
// towards white each frame, so older lines linger as grey trails.
void part5Frame(int partTime, GLuint texWhite);
