#pragma once

// Sets the OpenGL state a demo part starts with: lights 0-7 off, then the
// part's clear colour, shading, projection, viewport, modelview, light,
// material and its own further settings.  Everything else is left as the
// earlier parts left it; later parts build on that carry-over.
void applyPartRenderState(int partNumber);

// The size of the picture the parts draw into: the viewport each part
// starts with, and the scale of point sizes and line widths (height / 480).
// 640x480 until told otherwise.
void setPictureSize(int width, int height);
