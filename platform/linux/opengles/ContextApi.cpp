#include "platform/linux/ContextApi.h"

#include <GL/gl.h>
#include <SDL2/SDL.h>

#include "gles/GlesLayerStart.h"
#include "platform/DrawingLayer.h"

// OpenGL ES 3.0, the feature set WebGL 2 also has.  The program's OpenGL 1.1
// and GLU calls are answered by its own layer, which reaches the driver
// through the context's entry points.

namespace contextApi {

EGLenum eglApi()
{
    return EGL_OPENGL_ES_API;
}

EGLint eglRenderableType()
{
    return EGL_OPENGL_ES3_BIT;
}

const EGLint* eglContextAttributes()
{
    static const EGLint attributes[] = {EGL_CONTEXT_MAJOR_VERSION, 3, EGL_CONTEXT_MINOR_VERSION, 0, EGL_NONE};
    return attributes;
}

void askSdl()
{
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_ES);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 0);
}

bool startDrawing(Lookup lookup)
{
    registerDrawingLayer(glesLayerShaderPrograms);
    return glesLayerStart(lookup);
}

void beforeSwap()
{
    // The layer gathers consecutive primitives and draws them at the next
    // other call; a frame drawn straight into the window may end with none.
    glFlush();
}

}  // namespace contextApi
