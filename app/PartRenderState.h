#pragma once

// Sets the OpenGL state a demo part starts with: lights 0-7 off, then the
// part's clear colour, shading, projection, viewport, modelview, light,
// material and its own further settings.  Everything else is left as the
// earlier parts left it; later parts build on that carry-over.
void applyPartRenderState(int partNumber);
