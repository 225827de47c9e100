#include "fx/PixelScale.h"

namespace {
float currentScale = 1.0f;
}

float pixelScale()
{
    return currentScale;
}

void setPixelScale(float scale)
{
    currentScale = scale;
}
