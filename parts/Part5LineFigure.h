#pragma once
#include <GL/gl.h>

#include "parts/PartTurn.h"

// Draws the tumbling figure of line strips for time x (partTime as float)
// with the current colour and modelview.
void drawLineFigure(float x);

// How far the figure is turned at partTime: a ninth of a degree per tick
// about x, then a third about y.
PartTurn lineFigureTurn(int partTime);

// Part 5: black lines on a picture that is never cleared, washed 20 %
// towards white each frame, so older lines linger as grey trails.
void part5Frame(int partTime, GLuint texWhite);
