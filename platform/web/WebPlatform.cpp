#include "platform/web/WebPlatform.h"

#include <GL/gl.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <emscripten.h>
#include <emscripten/html5.h>

#include "platform/ScreenPixels.h"
#include "platform/web/CanvasContext.h"
#include "platform/web/Page.h"

namespace {

// The largest picture drawn in a page: the canvas's device pixels beyond it
// are filled by scaling.
constexpr PictureSize kLargestPagePicture{1920, 1440};

struct PageWindow {};
PageWindow thePageWindow;

WebPlatform* thePlatform = nullptr;
void (*loopPass)() = nullptr;
int passesToWait = 0;

EM_BOOL keyDown(int, const EmscriptenKeyboardEvent* key, void*)
{
    PlatformEvent event;
    event.type = PlatformEvent::Type::KeyDown;
    const bool escape = std::strcmp(key->key, "Escape") == 0;
    // Other keys only need to differ from Escape.
    event.key = escape ? kKeyEscape : (key->keyCode == kKeyEscape ? 0 : static_cast<int>(key->keyCode));
    thePlatform->queueEvent(event);
    return escape ? EM_TRUE : EM_FALSE;
}

EM_BOOL resized(int, const EmscriptenUiEvent*, void*)
{
    thePlatform->windowResized();
    return EM_FALSE;
}

EM_BOOL fullScreenChanged(int, const EmscriptenFullscreenChangeEvent*, void*)
{
    thePlatform->windowResized();
    return EM_FALSE;
}

// The browser paints only between passes: the first pass waits a frame, so
// that whatever start-up put on the page (the splash) is on screen before
// the long loading of the next pass.
void browserPass()
{
    if (passesToWait > 0) {
        --passesToWait;
        return;
    }
    loopPass();
}

}  // namespace

WebPlatform::WebPlatform(const PictureSize* fixedPicture) : followsCanvas_(fixedPicture == nullptr)
{
    if (fixedPicture != nullptr)
        size_ = *fixedPicture;
    thePlatform = this;
}

namespace {

// An ended module must not be called by the page's events any more: the
// page may make a new one ("Play again") on the same page.
void stopListening()
{
    emscripten_html5_remove_all_event_listeners();
}

}  // namespace

bool WebPlatform::init()
{
    std::atexit(stopListening);
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, keyDown);
    emscripten_set_resize_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_FALSE, resized);
    emscripten_set_fullscreenchange_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, nullptr, EM_FALSE, fullScreenChanged);
    return true;
}

bool WebPlatform::askYesNo(PlatformWindow*, const char* text, const char* caption)
{
    // The page asks the viewer before the module starts and passes the
    // answer on; without one the demo plays in the page.
    std::fprintf(stderr, "%s: %s [No: the page asks]\n", caption, text);
    return false;
}

void WebPlatform::showMessage(PlatformWindow*, const char* text, const char* caption)
{
    std::fprintf(stderr, "%s: %s\n", caption, text);
    page::showMessage(text, caption);
}

PlatformWindow* WebPlatform::createMainWindow(const char*, bool)
{
    return reinterpret_cast<PlatformWindow*>(&thePageWindow);
}

PictureSize WebPlatform::canvasPicture() const
{
    int width = 0;
    int height = 0;
    page::canvasDeviceSize(width, height);
    return pictureForArea(width, height, kLargestPagePicture);
}

bool WebPlatform::createGLContext(PlatformWindow*)
{
    if (followsCanvas_)
        size_ = canvasPicture();
    if (!createCanvasContext(size_.width, size_.height)) {
        // Said in a viewer's words before the shell's own message, which
        // the page then keeps to the console: the page shows the first reason.
        page::showMessage("This browser gave the demo no WebGL 2, which it draws its pictures with. Try a current "
                          "Firefox, Chrome, Edge or Safari; in this one, switch on hardware (graphics) acceleration "
                          "in its settings, or update the computer's graphics driver.",
                          "This browser cannot show the demo");
        return false;
    }
    return picture_.create(size_.width, size_.height);
}

void WebPlatform::showWindow(PlatformWindow*, bool visible)
{
    if (!visible)
        return;
    // A window system reports the size of a window when it is first shown.
    events_.pushSize(size_.width, size_.height);
}

std::uint32_t WebPlatform::tickCount()
{
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(emscripten_get_now()));
}

// A new canvas size becomes a new picture of that size, announced like a
// window's new size; the picture starts black again.
void WebPlatform::followCanvas()
{
    resizeDue_ = false;
    if (!followsCanvas_)
        return;
    const PictureSize wanted = canvasPicture();
    if (wanted.width == size_.width && wanted.height == size_.height)
        return;
    size_ = wanted;
    page::setCanvasSize(size_.width, size_.height);
    picture_.release();
    picture_.create(size_.width, size_.height);
    events_.pushSize(size_.width, size_.height, true);
}

bool WebPlatform::pollEvent(PlatformEvent& event)
{
    if (resizeDue_)
        followCanvas();
    return events_.take(event);
}

void WebPlatform::swapBuffers(PlatformWindow*)
{
    // The browser shows the canvas when the pass returns.
    glFlush();
    picture_.presentTo(size_.width, size_.height);
}

void WebPlatform::enterFullScreen(PlatformWindow*)
{
    page::requestFullScreen();
}

void WebPlatform::restoreDisplayMode()
{
    page::leaveFullScreen();
}

void* WebPlatform::glFunction(const char* name) const
{
    return webGlFunction(name);
}

bool WebPlatform::screenArea(ScreenRect& area)
{
    area = {};
    page::viewportSize(area.width, area.height);
    return area.width > 0 && area.height > 0;
}

bool WebPlatform::captureScreen(const ScreenRect& rect, std::vector<std::uint8_t>& pixels)
{
    std::vector<std::uint8_t> rgba;
    if (!page::backdrop(rect.left, rect.top, rect.width, rect.height, rgba))
        return false;
    screenPixelsFromRgba(rgba.data(), rect.width, rect.height, pixels);
    return true;
}

bool WebPlatform::showSplash(const ScreenRect& rect, const std::vector<std::uint8_t>& pixels, const char*)
{
    if (pixels.size() < screenRowBytes(rect.width) * static_cast<std::size_t>(rect.height))
        return false;
    std::vector<std::uint8_t> rgba;
    rgbaFromScreenPixels(pixels.data(), rect.width, rect.height, rgba);
    page::showSplash(rect.left, rect.top, rect.width, rect.height, rgba.data());
    return true;
}

void WebPlatform::hideSplash()
{
    page::hideSplash();
}

void WebPlatform::runLoop(void (*pass)())
{
    loopPass = pass;
    passesToWait = 1;
    // Once per display frame (requestAnimationFrame); main returns to the
    // browser here and the passes follow.
    emscripten_set_main_loop(browserPass, 0, 1);
    __builtin_unreachable();
}
