#include "platform/win32/WglContext.h"

HGLRC createWglContext(HDC dc)
{
    PIXELFORMATDESCRIPTOR descriptor{};
    descriptor.nSize = sizeof descriptor;
    descriptor.nVersion = 1;
    descriptor.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    descriptor.iPixelType = PFD_TYPE_RGBA;
    descriptor.cColorBits = 16;
    descriptor.cDepthBits = 16;
    descriptor.iLayerType = PFD_MAIN_PLANE;
    const int format = ChoosePixelFormat(dc, &descriptor);
    if (format == 0)
        return nullptr;
    SetPixelFormat(dc, format, &descriptor);
    HGLRC context = wglCreateContext(dc);
    wglMakeCurrent(dc, context);
    return context;
}

bool setSwapInterval(int interval)
{
    using SwapInterval = BOOL(WINAPI*)(int);
    auto swapInterval =
        reinterpret_cast<SwapInterval>(reinterpret_cast<void*>(wglGetProcAddress("wglSwapIntervalEXT")));
    return swapInterval != nullptr && swapInterval(interval) != FALSE;
}

void* wglFunction(const char* name)
{
    const auto address = reinterpret_cast<INT_PTR>(wglGetProcAddress(name));
    if (address == 0 || address == 1 || address == 2 || address == 3 || address == -1)
        return nullptr;
    return reinterpret_cast<void*>(address);
}
