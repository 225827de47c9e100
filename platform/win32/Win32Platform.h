#pragma once
#include <windows.h>

#include <deque>

#include "platform/OffscreenPicture.h"
#include "platform/Platform.h"
#include "platform/win32/Win32Splash.h"

// A real window through Win32 and WGL: class "Application", message boxes,
// the main window, a PeekMessageA loop whose window procedure turns the
// messages the shell cares about into PlatformEvents, the part-switch
// message WM_USER, buffer swapping and ChangeDisplaySettingsA.  Swaps wait
// for vsync (WGL_EXT_swap_control); without it frames are paced to the
// display's refresh rate, unless pacing is off.  The clock is timeGetTime
// at 1 ms resolution (prepareProcess asks for it).
class Win32Platform : public Platform {
public:
    explicit Win32Platform(bool pace) : pace_(pace) {}
    ~Win32Platform() override;

    bool init() override;
    bool askYesNo(PlatformWindow* owner, const char* text, const char* caption) override;
    void showMessage(PlatformWindow* owner, const char* text, const char* caption) override;
    PlatformWindow* createMainWindow(const char* title, bool fullScreen) override;
    bool createGLContext(PlatformWindow* window) override;
    void showWindow(PlatformWindow* window, bool visible) override;
    std::uint32_t tickCount() override;
    bool pollEvent(PlatformEvent& event) override;
    void postUserEvent(PlatformWindow* window, int code) override;
    void swapBuffers(PlatformWindow* window) override;
    void enterFullScreen(PlatformWindow* window) override;
    void restoreDisplayMode() override;
    void* glFunction(const char* name) const override;
    bool screenArea(ScreenRect& area) override { return splash_.screenArea(area); }
    bool captureScreen(const ScreenRect& rect, std::vector<std::uint8_t>& pixels) override
    {
        return splash_.capture(rect, pixels);
    }
    bool showSplash(const ScreenRect& rect, const std::vector<std::uint8_t>& pixels, const char* title) override
    {
        return splash_.show(rect, pixels, title);
    }
    void hideSplash() override { splash_.hide(); }

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void queueSize(int clientWidth, int clientHeight);
    void waitForNextFrame();

    bool pace_;
    bool paceBySleeping_ = false;
    LONGLONG counterPerFrame_ = 0;   // performance-counter ticks per frame when pacing by hand
    LONGLONG nextFrameAt_ = 0;
    HWND window_ = nullptr;
    HDC dc_ = nullptr;
    HGLRC context_ = nullptr;
    OffscreenPicture picture_;
    std::deque<PlatformEvent> events_;   // what the window procedure saw, for pollEvent
    Win32Splash splash_;
};
