#pragma once
#include "platform/EventQueue.h"
#include "platform/OffscreenPicture.h"
#include "platform/Platform.h"

// The demo in a web page: the page's canvas as the window (WebGL 2), keys
// from the browser window, the page's message box, the splash over the
// page, and a loop driven by the browser's display frames.  The picture
// follows the canvas's size on screen (its device pixels, 4:3, capped at
// 1920x1440) unless a fixed size was asked for.
class WebPlatform : public Platform {
public:
    // fixedPicture: render at this size whatever the canvas; null follows the canvas.
    explicit WebPlatform(const PictureSize* fixedPicture);

    bool init() override;
    bool askYesNo(PlatformWindow* owner, const char* text, const char* caption) override;
    void showMessage(PlatformWindow* owner, const char* text, const char* caption) override;
    PlatformWindow* createMainWindow(const char* title, bool fullScreen) override;
    bool createGLContext(PlatformWindow* window) override;
    void showWindow(PlatformWindow* window, bool visible) override;
    std::uint32_t tickCount() override;
    bool pollEvent(PlatformEvent& event) override;
    void postUserEvent(PlatformWindow*, int code) override { events_.pushUser(code); }
    void swapBuffers(PlatformWindow* window) override;
    void enterFullScreen(PlatformWindow* window) override;
    void restoreDisplayMode() override;
    PictureSize pictureSize() const override { return size_; }
    void* glFunction(const char* name) const override;

    bool screenArea(ScreenRect& area) override;
    bool captureScreen(const ScreenRect& rect, std::vector<std::uint8_t>& pixels) override;
    bool showSplash(const ScreenRect& rect, const std::vector<std::uint8_t>& pixels, const char* title) override;
    void hideSplash() override;

    [[noreturn]] void runLoop(void (*pass)()) override;

    // Ends the demo as Escape does (the page's way when the viewer leaves
    // full screen, which the browser does on Escape itself).
    void requestEnd() { events_.pushEscape(); }
    void windowResized() { resizeDue_ = true; }
    void queueEvent(const PlatformEvent& event) { events_.push(event); }

private:
    PictureSize canvasPicture() const;
    void followCanvas();

    bool followsCanvas_;
    bool resizeDue_ = false;
    PictureSize size_;
    OffscreenPicture picture_;
    EventQueue events_;
};
