#pragma once
#include <cstdint>
#include <vector>

#include "platform/Platform.h"

// The splash window on X11, through Xlib on a connection of its own (SDL
// keeps its own).  The screen is read from the root window; the window is
// override-redirect (no frame, no window manager placement), has an empty
// input shape (clicks fall through) and carries its picture as background
// pixmap, so the X server repaints it without any event handling here.
// Under Wayland the root window holds no desktop, so nothing is captured.
class DesktopSplash {
public:
    DesktopSplash() = default;
    ~DesktopSplash();
    DesktopSplash(const DesktopSplash&) = delete;
    DesktopSplash& operator=(const DesktopSplash&) = delete;

    // The X screen's size; false without an X display.
    bool screenArea(ScreenRect& area);
    bool capture(const ScreenRect& rect, std::vector<std::uint8_t>& pixels);
    bool show(const ScreenRect& rect, const std::vector<std::uint8_t>& pixels, const char* title);
    // Unmaps the window and frees its picture; the (empty) window stays
    // until the connection closes.
    void hide();

private:
    bool open();

    void* display_ = nullptr;          // Display*
    unsigned long window_ = 0;         // Window
    unsigned long pixmap_ = 0;         // Pixmap
    bool triedToOpen_ = false;
};
