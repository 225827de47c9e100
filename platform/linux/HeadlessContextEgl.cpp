#include "platform/HeadlessPlatform.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <cstdio>

#include "platform/linux/ContextApi.h"

// The headless context on Linux: EGL on Mesa's surfaceless platform.

namespace {

void* eglFunction(const char* name)
{
    return reinterpret_cast<void*>(eglGetProcAddress(name));
}

}  // namespace

HeadlessPlatform::~HeadlessPlatform()
{
    // The display stays initialised: it is one per process, shared by every
    // headless context in it.
    if (display_ != nullptr && context_ != nullptr) {
        eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        eglDestroyContext(display_, context_);
    }
}

bool HeadlessPlatform::init()
{
    // Mesa's surfaceless platform needs no display server at all.
    auto getPlatformDisplay =
        reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (getPlatformDisplay == nullptr) {
        std::fprintf(stderr, "quittenhain: EGL has no eglGetPlatformDisplayEXT\n");
        return false;
    }
    EGLDisplay display = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (display == EGL_NO_DISPLAY || !eglInitialize(display, nullptr, nullptr)) {
        std::fprintf(stderr, "quittenhain: cannot open Mesa's surfaceless EGL display (0x%x)\n", eglGetError());
        return false;
    }
    display_ = display;
    if (!eglBindAPI(contextApi::eglApi())) {
        std::fprintf(stderr, "quittenhain: EGL cannot bind the OpenGL API (0x%x)\n", eglGetError());
        return false;
    }
    return true;
}

bool HeadlessPlatform::createGLContext(PlatformWindow*)
{
    const EGLint configAttributes[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE,
                                       contextApi::eglRenderableType(), EGL_NONE};
    EGLConfig config = nullptr;
    EGLint configCount = 0;
    if (!eglChooseConfig(display_, configAttributes, &config, 1, &configCount) || configCount < 1)
        return false;
    context_ = eglCreateContext(display_, config, EGL_NO_CONTEXT, contextApi::eglContextAttributes());
    if (context_ == EGL_NO_CONTEXT) {
        context_ = nullptr;
        return false;
    }
    if (!eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, context_) ||
        !contextApi::startDrawing(eglFunction))
        return false;
    // There is no window to draw to, so the persistent picture is the only target.
    return picture_.create(size_.width, size_.height);
}

void HeadlessPlatform::makeCurrent()
{
    if (display_ != nullptr && context_ != nullptr) {
        eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, context_);
        picture_.bindForDrawing();
    }
}

void* HeadlessPlatform::glFunction(const char* name) const
{
    return eglFunction(name);
}
