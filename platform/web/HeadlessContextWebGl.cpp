#include "platform/HeadlessPlatform.h"

#include "platform/web/CanvasContext.h"

// The headless context in a page: WebGL 2 on the page's canvas at the
// picture's size, drawing only into the persistent picture.

HeadlessPlatform::~HeadlessPlatform() = default;

bool HeadlessPlatform::init()
{
    return true;
}

bool HeadlessPlatform::createGLContext(PlatformWindow*)
{
    return createCanvasContext(size_.width, size_.height) && picture_.create(size_.width, size_.height);
}

void HeadlessPlatform::makeCurrent()
{
    makeCanvasContextCurrent();
    picture_.bindForDrawing();
}

void* HeadlessPlatform::glFunction(const char* name) const
{
    return webGlFunction(name);
}
