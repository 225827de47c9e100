#include "platform/HeadlessPlatform.h"

#include <windows.h>

#include <GL/gl.h>
#include <cstdio>

#include "platform/win32/WglContext.h"

// The headless context on Windows: WGL needs a window, so this is a window
// that is never shown; every frame goes to the persistent picture.
// display_ holds the window, context_ the WGL context.

namespace {

const char* const kHiddenWindowClass = "QuittenhainOffscreen";

HWND asWindow(void* window)
{
    return static_cast<HWND>(window);
}

}  // namespace

HeadlessPlatform::~HeadlessPlatform()
{
    if (context_ != nullptr) {
        wglMakeCurrent(nullptr, nullptr);
        wglDeleteContext(static_cast<HGLRC>(context_));
    }
    if (display_ != nullptr)
        DestroyWindow(asWindow(display_));
}

bool HeadlessPlatform::init()
{
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_OWNDC;
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kHiddenWindowClass;
    // A second headless platform in the same process finds the class there.
    if (RegisterClassExA(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        std::fprintf(stderr, "quittenhain: cannot register the offscreen window class\n");
        return false;
    }
    return true;
}

bool HeadlessPlatform::createGLContext(PlatformWindow*)
{
    HWND window = CreateWindowExA(0, kHiddenWindowClass, "Quittenhain offscreen", WS_POPUP, 0, 0, kPictureWidth,
                                  kPictureHeight, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (window == nullptr)
        return false;
    display_ = window;
    HGLRC context = createWglContext(GetDC(window));
    if (context == nullptr)
        return false;
    context_ = context;
    // The window is never shown, so the persistent picture is the only target.
    return picture_.create(size_.width, size_.height);
}

void HeadlessPlatform::makeCurrent()
{
    if (display_ != nullptr && context_ != nullptr) {
        wglMakeCurrent(GetDC(asWindow(display_)), static_cast<HGLRC>(context_));
        picture_.bindForDrawing();
    }
}

void* HeadlessPlatform::glFunction(const char* name) const
{
    return wglFunction(name);
}
