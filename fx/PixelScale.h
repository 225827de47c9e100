#pragma once

// Pixels of the rendered picture per pixel of the 640x480 design: the
// picture's height / 480.  Sizes OpenGL takes in pixels (point sizes, line
// widths) are multiplied by it, so a larger picture is the same picture,
// only sharper.  1 unless a larger picture was asked for.
float pixelScale();
void setPixelScale(float scale);
