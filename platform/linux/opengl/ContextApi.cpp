#include "platform/linux/ContextApi.h"

#include <SDL2/SDL.h>

// Desktop OpenGL: a compatibility context, whose driver has the whole
// fixed-function pipeline.

namespace contextApi {

EGLenum eglApi()
{
    return EGL_OPENGL_API;
}

EGLint eglRenderableType()
{
    return EGL_OPENGL_BIT;
}

const EGLint* eglContextAttributes()
{
    static const EGLint attributes[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK, EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT,
                                        EGL_NONE};
    return attributes;
}

void askSdl()
{
    // SDL's default: the driver's compatibility context.
}

bool startDrawing(Lookup)
{
    return true;
}

void beforeSwap()
{
    // The driver draws every call as it comes.
}

}  // namespace contextApi
