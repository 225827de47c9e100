#include "platform/HeadlessPlatform.h"

#include <cstdio>

namespace {

struct HeadlessWindow {};
HeadlessWindow theHeadlessWindow;

PlatformWindow* asPlatformWindow(HeadlessWindow* window)
{
    return reinterpret_cast<PlatformWindow*>(window);
}

}  // namespace

HeadlessPlatform::HeadlessPlatform(int fps, PictureSize picture) : size_(picture)
{
    clock_.fps = fps > 0 ? fps : 60;
}

bool HeadlessPlatform::askYesNo(PlatformWindow*, const char* text, const char* caption)
{
    std::fprintf(stderr, "%s: %s [Yes]\n", caption, text);
    return true;
}

void HeadlessPlatform::showMessage(PlatformWindow*, const char* text, const char* caption)
{
    std::fprintf(stderr, "%s: %s\n", caption, text);
}

PlatformWindow* HeadlessPlatform::createMainWindow(const char*, bool)
{
    return asPlatformWindow(&theHeadlessWindow);
}

void HeadlessPlatform::showWindow(PlatformWindow*, bool visible)
{
    if (visible)
        events_.pushSize(size_.width, size_.height);
}

void HeadlessPlatform::swapBuffers(PlatformWindow*)
{
    if (onFrame_)
        onFrame_(clock_.frames);
    ++clock_.frames;
}
