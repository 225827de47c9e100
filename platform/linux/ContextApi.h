#pragma once
#include <EGL/egl.h>

// Which OpenGL the Linux contexts speak, headless (EGL) and in a window
// (SDL).  The build links one of platform/linux/opengl/ (desktop OpenGL with
// the fixed-function pipeline) and platform/linux/opengles/ (OpenGL ES 3,
// with the program's own fixed-function layer answering the OpenGL 1.1 calls).
namespace contextApi {

// The address of an OpenGL entry point by name; null when there is none.
using Lookup = void* (*)(const char* name);

// For eglBindAPI.
EGLenum eglApi();
// For the EGL_RENDERABLE_TYPE of the config.
EGLint eglRenderableType();
// eglCreateContext's attributes, ending with EGL_NONE.
const EGLint* eglContextAttributes();
// Asks SDL for the matching context; called before the window is created.
void askSdl();
// Called once a new context is current, before anything draws: gets what
// answers the program's OpenGL 1.1 calls ready.  False when it cannot be.
bool startDrawing(Lookup lookup);
// Called before the window's buffers are swapped: whatever is still
// gathered for drawing must reach the driver first.
void beforeSwap();

}  // namespace contextApi
