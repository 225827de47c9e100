#pragma once
#include <functional>

#include "platform/EventQueue.h"
#include "platform/OffscreenPicture.h"
#include "platform/Platform.h"
#include "platform/VirtualClock.h"

// No display: an offscreen OpenGL context (EGL on Mesa's surfaceless
// platform on Linux, a hidden window's WGL context on Windows), a
// virtual clock that advances one frame per swap, and message boxes that
// print to stderr and take their default answer.
class HeadlessPlatform : public Platform {
public:
    // picture: the size rendered at, 640x480 unless asked otherwise.
    explicit HeadlessPlatform(int fps, PictureSize picture = {});
    ~HeadlessPlatform() override;

    bool init() override;
    bool askYesNo(PlatformWindow* owner, const char* text, const char* caption) override;
    void showMessage(PlatformWindow* owner, const char* text, const char* caption) override;
    PlatformWindow* createMainWindow(const char* title, bool fullScreen) override;
    bool createGLContext(PlatformWindow* window) override;
    void showWindow(PlatformWindow* window, bool visible) override;
    std::uint32_t tickCount() override { return clock_.ticks(); }
    bool pollEvent(PlatformEvent& event) override { return events_.take(event); }
    void postUserEvent(PlatformWindow*, int code) override { events_.pushUser(code); }
    void swapBuffers(PlatformWindow* window) override;
    void enterFullScreen(PlatformWindow*) override {}
    void restoreDisplayMode() override {}
    PictureSize pictureSize() const override { return size_; }
    void* glFunction(const char* name) const override;

    // Makes this platform's context the current one again.
    void makeCurrent();
    const VirtualClock& clock() const { return clock_; }
    const OffscreenPicture& picture() const { return picture_; }
    // Called at every swap with the index of the finished frame (from 0),
    // before the clock moves on.
    void onFrame(std::function<void(std::uint64_t)> callback) { onFrame_ = std::move(callback); }
    // Puts an event in the queue, as a window system would.
    void queueEvent(const PlatformEvent& event) { events_.push(event); }
    // Ends the demo as Escape does.
    void requestEnd() { events_.pushEscape(); }

private:
    VirtualClock clock_;
    PictureSize size_;
    OffscreenPicture picture_;
    EventQueue events_;
    std::function<void(std::uint64_t)> onFrame_;
    void* display_ = nullptr;
    void* context_ = nullptr;
};
