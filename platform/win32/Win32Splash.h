#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

#include "platform/Platform.h"

// The splash window with GDI: the screen is copied with BitBlt into a
// 24-bit device-independent bitmap; the composed picture is shown 1:1 in a
// window of class "MegaSplash" that is disabled (no input) and clipped by
// a window region to its client area (no frame, no caption), painted once
// with SetDIBitsToDevice.  The window that was in the foreground before
// is told it is still active.
class Win32Splash {
public:
    Win32Splash() = default;
    Win32Splash(const Win32Splash&) = delete;
    Win32Splash& operator=(const Win32Splash&) = delete;

    bool screenArea(ScreenRect& area);
    bool capture(const ScreenRect& rect, std::vector<std::uint8_t>& pixels);
    bool show(const ScreenRect& rect, const std::vector<std::uint8_t>& pixels, const char* title);
    // Hides and destroys the window.
    void hide();

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    HWND previousForeground_ = nullptr;
};
