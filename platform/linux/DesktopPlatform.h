#pragma once
#include <SDL2/SDL.h>

#include "platform/linux/DesktopSplash.h"
#include "platform/OffscreenPicture.h"
#include "platform/Platform.h"

// A real window through SDL2: message boxes, the OpenGL window, events,
// ticks, full screen.  Swaps wait for vsync; where the driver cannot, frames
// are paced to the display's refresh rate (60 Hz when unknown), unless
// pacing is turned off.
class DesktopPlatform : public Platform {
public:
    // picture: the size to render at; screenPicture: instead the largest 4:3
    // area of the screen.  A picture other than 640x480 is shown full screen
    // without switching the display's mode, with black bars.
    explicit DesktopPlatform(bool pace, PictureSize picture = {}, bool screenPicture = false)
        : pace_(pace), size_(picture), screenPicture_(screenPicture)
    {
    }
    ~DesktopPlatform() override;

    bool init() override;
    bool askYesNo(PlatformWindow* owner, const char* text, const char* caption) override;
    void showMessage(PlatformWindow* owner, const char* text, const char* caption) override;
    PlatformWindow* createMainWindow(const char* title, bool fullScreen) override;
    bool createGLContext(PlatformWindow* window) override;
    void showWindow(PlatformWindow* window, bool visible) override;
    std::uint32_t tickCount() override { return SDL_GetTicks(); }
    bool pollEvent(PlatformEvent& event) override;
    void postUserEvent(PlatformWindow* window, int code) override;
    void swapBuffers(PlatformWindow* window) override;
    void enterFullScreen(PlatformWindow* window) override;
    void restoreDisplayMode() override;
    PictureSize pictureSize() const override { return size_; }
    void* glFunction(const char* name) const override { return SDL_GL_GetProcAddress(name); }
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
    PlatformEvent sizeEvent() const;
    bool keepsDisplayMode() const;
    void chooseWindowSize(bool fullScreen, int& width, int& height);
    void waitForNextFrame();

    bool pace_;
    PictureSize size_;
    bool screenPicture_;
    bool paceBySleeping_ = false;
    Uint64 frameCounterTicks_ = 0;   // performance-counter ticks per frame when pacing by hand
    Uint64 nextFrameAt_ = 0;
    Uint32 userEventType_ = 0;
    SDL_Window* window_ = nullptr;
    SDL_GLContext context_ = nullptr;
    OffscreenPicture picture_;
    DesktopSplash splash_;
};
