#pragma once
#include <GL/gl.h>

// Full-screen quads laid over a part's picture: fades, flashes, washes and
// picture cards.  Each leaves the projection as it was, the modelview
// holding the overlay's own translation, lighting on, blending off, depth
// writes on and texture generation for s and t off.

// The texture times the colour, blended by the colour's alpha.
void drawTexturedOverlay(GLuint texture, float red, float green, float blue, float alpha);
// A plain colour blended by its alpha; texturing left as it is.
void drawFlatOverlay(float red, float green, float blue, float alpha);
// Each texel's own colour is its opacity: black leaves the picture, white
// replaces it.
void drawColorKeyedOverlay(GLuint texture);
