#include "gles/RasterSizes.h"

#include <cmath>

float pointWidthInPixels(float size)
{
    constexpr int kOne = 256;   // sub-pixel steps per pixel
    const long steps = std::lround(size * kOne);
    const long rounded = (steps + kOne / 2 - 1) / kOne;
    return static_cast<float>(rounded < 1 ? 1 : rounded);
}

float lineWidthInPixels(float width)
{
    const long rounded = std::lround(width);
    return static_cast<float>(rounded < 1 ? 1 : rounded);
}
