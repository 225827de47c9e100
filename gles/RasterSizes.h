#pragma once

// Point sizes and line widths in whole pixels, rounded as the driver
// rounds them for points and lines without antialiasing.  ES draws them
// at the exact size given, so the layer hands it these rounded sizes.

// At least one pixel; halves rounded down in the driver's 8-bit sub-pixel
// steps (1.5 draws 1 pixel wide, 2.5 draws 2, 3.6 draws 4).
float pointWidthInPixels(float size);

// At least one pixel; halves rounded up (1.49 draws 1, 1.5 draws 2).
float lineWidthInPixels(float width);
