#pragma once
#include <GL/gl.h>

// The pictures the parts draw with, loaded once at start-up and kept for
// the whole run.
extern GLuint texWhite;
extern GLuint texBlack;
extern GLuint texTestPattern;   // loaded, though no part draws with it
extern GLuint texPlasma;
extern GLuint texKolbar;
extern GLuint texMeridos;
extern GLuint texTwl;
extern GLuint texBlur;
extern GLuint texPart5Envi;
extern GLuint texMap;

// Loads the ten in their fixed order.
void loadDemoTextures();
