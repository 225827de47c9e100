#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// What the shell needs of the windowing system: one 640x480 OpenGL window,
// message boxes, a millisecond clock, an event queue it can post to, buffer
// swapping and the full-screen display mode.  Two implementations:
// DesktopPlatform (SDL2, a real window) and HeadlessPlatform (an offscreen
// Mesa context with a virtual clock).

struct PlatformWindow;   // opaque; the main window, or null for "no owner"

constexpr int kPictureWidth = 640;
constexpr int kPictureHeight = 480;
constexpr int kKeyEscape = 27;

// The size the picture is rendered at: 640x480 unless asked otherwise.
struct PictureSize {
    int width = kPictureWidth;
    int height = kPictureHeight;
};

struct PlatformEvent {
    enum class Type { Destroy, Size, KeyDown, User, Other };
    Type type = Type::Other;
    int width = 0;    // Size: the drawing area
    int height = 0;
    int key = 0;      // KeyDown: 27 for Escape, other values for other keys
    bool resized = false;   // Size: the picture itself now has this size
    int code = 0;     // User: the code given to postUserEvent
};

// A rectangle on the screen, in pixels from the screen's top-left corner.
struct ScreenRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// Bytes in one row of a 24-bit picture: 3 per pixel, padded to 4.
inline std::size_t screenRowBytes(int width)
{
    return (static_cast<std::size_t>(width) * 3 + 3) & ~static_cast<std::size_t>(3);
}

class Platform {
public:
    virtual ~Platform() = default;

    // Prepares the windowing system; false when there is no usable display.
    virtual bool init() = 0;
    // A yes/no question; true for Yes.
    virtual bool askYesNo(PlatformWindow* owner, const char* text, const char* caption) = 0;
    // An OK message box.
    virtual void showMessage(PlatformWindow* owner, const char* text, const char* caption) = 0;
    // The main window, created hidden; null on failure.
    virtual PlatformWindow* createMainWindow(const char* title, bool fullScreen) = 0;
    // A double-buffered RGB context (16-bit colour and depth asked for),
    // made current; false when no framebuffer format fits.
    virtual bool createGLContext(PlatformWindow* window) = 0;
    virtual void showWindow(PlatformWindow* window, bool visible) = 0;
    virtual std::uint32_t tickCount() = 0;
    // Takes one pending event, if any; never blocks.
    virtual bool pollEvent(PlatformEvent& event) = 0;
    virtual void postUserEvent(PlatformWindow* window, int code) = 0;
    virtual void swapBuffers(PlatformWindow* window) = 0;
    // Switches the display to 640x480 full screen (or the closest mode).
    virtual void enterFullScreen(PlatformWindow* window) = 0;
    virtual void restoreDisplayMode() = 0;
    // The size of the picture the demo draws into, once the context exists.
    virtual PictureSize pictureSize() const { return {}; }
    // The entry point of an OpenGL function beyond 1.1, looked up by name
    // once the context exists; null where the system gives none.  A non-null
    // answer does not prove the driver supports the function: ask the
    // context's version or extensions first.
    virtual void* glFunction(const char* name) const
    {
        (void)name;
        return nullptr;
    }

    // The splash window.  A platform without a desktop shows none: these
    // defaults report no screen and show nothing.
    // The area of the (primary) screen; false when there is no screen.
    virtual bool screenArea(ScreenRect& area)
    {
        (void)area;
        return false;
    }
    // What the screen shows in rect: blue, green, red bytes per pixel, bottom
    // row first, rows padded to 4 bytes.  False when the screen cannot be read.
    virtual bool captureScreen(const ScreenRect& rect, std::vector<std::uint8_t>& pixels)
    {
        (void)rect;
        (void)pixels;
        return false;
    }
    // Shows a frameless window that takes no input at exactly rect, with the
    // given title, painted once with pixels (laid out as captureScreen gives
    // them).  False when nothing could be shown.
    virtual bool showSplash(const ScreenRect& rect, const std::vector<std::uint8_t>& pixels, const char* title)
    {
        (void)rect;
        (void)pixels;
        (void)title;
        return false;
    }
    virtual void hideSplash() {}

    // Runs the program's loop: calls pass again and again and never
    // returns.  Here at once, one pass after the other; a browser, which
    // must get control back to show anything, calls it once per display
    // frame instead.
    [[noreturn]] virtual void runLoop(void (*pass)())
    {
        for (;;)
            pass();
    }
};

// The platform the program runs on, chosen once at start-up.
Platform& platform();
void setPlatform(Platform* chosen);
