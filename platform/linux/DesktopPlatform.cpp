#include "platform/linux/DesktopPlatform.h"

#include <GL/gl.h>
#include <X11/Xlib.h>
#include <csignal>
#include <pthread.h>
#include <signal.h>
#include <sys/prctl.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

#include "platform/linux/ContextApi.h"

namespace {

// The window whose display mode must be put back on the way out, whatever
// that way is: exit() from anywhere, or a crash.
SDL_Window* fullScreenWindow = nullptr;

void leaveFullScreen()
{
    if (fullScreenWindow != nullptr) {
        SDL_SetWindowFullscreen(fullScreenWindow, 0);
        SDL_Window* window = fullScreenWindow;
        fullScreenWindow = nullptr;
        SDL_HideWindow(window);
        SDL_PumpEvents();
    }
}

void leaveFullScreenOnCrash(int signal)
{
    leaveFullScreen();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void guardDisplayMode()
{
    static bool guarded = false;
    if (guarded)
        return;
    guarded = true;
    std::atexit(leaveFullScreen);
    for (int signal : {SIGSEGV, SIGABRT, SIGFPE, SIGILL, SIGBUS, SIGTERM, SIGINT, SIGHUP})
        std::signal(signal, leaveFullScreenOnCrash);
}

// The X connection is gone (the X server ended, the session closed).  Xlib
// would call exit(), whose handlers tear SDL down over the dead connection
// and can wait on it forever; nothing may talk to the display any more, so
// the process ends here, at once, with the demo's status.
int displayLost(Display*)
{
    static const char message[] = "quittenhain: the connection to the display was lost\n";
    ssize_t ignored = write(STDERR_FILENO, message, sizeof message - 1);
    (void)ignored;
    _exit(1);
}

// SDL shows a message box on X from a child process of its own; a box
// left behind by a demo that has ended would stay on screen.  While a box is
// up, every child made is ended with this process.
volatile bool boxShowing = false;

void childEndsWithTheBox()
{
    if (boxShowing)
        prctl(PR_SET_PDEATHSIG, SIGKILL);
}

// SDL turns Ctrl-C and termination requests into a quit event, which no one
// reads while a modal message box waits for its button.  For that time they
// end the process as they end any program, the display mode put back first.
class SignalsEndTheProcess {
public:
    SignalsEndTheProcess()
    {
        static const bool registered = pthread_atfork(nullptr, nullptr, childEndsWithTheBox) == 0;
        (void)registered;
        boxShowing = true;
        struct sigaction action {};
        action.sa_handler = leaveFullScreenOnCrash;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, &savedInterrupt_);
        sigaction(SIGTERM, &action, &savedTermination_);
    }
    ~SignalsEndTheProcess()
    {
        boxShowing = false;
        sigaction(SIGINT, &savedInterrupt_, nullptr);
        sigaction(SIGTERM, &savedTermination_, nullptr);
    }
    SignalsEndTheProcess(const SignalsEndTheProcess&) = delete;
    SignalsEndTheProcess& operator=(const SignalsEndTheProcess&) = delete;

private:
    struct sigaction savedInterrupt_ {};
    struct sigaction savedTermination_ {};
};

// A quit asked for before a box comes up (a signal while loading) is not
// held up by the box: the box is left out and the quit is taken next.
bool quitPending()
{
    SDL_PumpEvents();
    return SDL_HasEvent(SDL_QUIT) == SDL_TRUE;
}

SDL_Window* asSdlWindow(PlatformWindow* window)
{
    return reinterpret_cast<SDL_Window*>(window);
}

int keyCode(SDL_Keycode key)
{
    if (key == SDLK_ESCAPE)
        return kKeyEscape;
    // Other keys only need to differ from Escape.
    return key == kKeyEscape ? 0 : static_cast<int>(key);
}

}  // namespace

DesktopPlatform::~DesktopPlatform()
{
    leaveFullScreen();
    if (context_ != nullptr)
        SDL_GL_DeleteContext(context_);
    if (window_ != nullptr)
        SDL_DestroyWindow(window_);
    SDL_Quit();
}

bool DesktopPlatform::init()
{
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER) != 0) {
        std::fprintf(stderr, "quittenhain: no display: %s\n", SDL_GetError());
        return false;
    }
    // SDL may fall back to drivers that show nothing; the demo would then
    // play invisibly.  Without a real display, say so instead.
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver != nullptr && std::strcmp(driver, "x11") == 0) {
        XSetIOErrorHandler(displayLost);
        // A write to a connection the server has closed would otherwise end
        // the process by SIGPIPE before Xlib sees the error and calls
        // displayLost.
        std::signal(SIGPIPE, SIG_IGN);
    }
    if (driver == nullptr || std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0) {
        std::fprintf(stderr, "quittenhain: no display (video driver %s)\n", driver ? driver : "none");
        SDL_Quit();
        return false;
    }
    userEventType_ = SDL_RegisterEvents(1);
    return userEventType_ != static_cast<Uint32>(-1);
}

bool DesktopPlatform::askYesNo(PlatformWindow* owner, const char* text, const char* caption)
{
    const SDL_MessageBoxButtonData buttons[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "Yes"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, "No"},
    };
    const SDL_MessageBoxData box = {SDL_MESSAGEBOX_INFORMATION, asSdlWindow(owner), caption, text, 2, buttons,
                                    nullptr};
    int answer = 0;
    if (quitPending())
        return false;
    const SignalsEndTheProcess whileAsking;
    if (SDL_ShowMessageBox(&box, &answer) != 0) {
        std::fprintf(stderr, "%s: %s [No: %s]\n", caption, text, SDL_GetError());
        return false;
    }
    return answer == 1;
}

void DesktopPlatform::showMessage(PlatformWindow* owner, const char* text, const char* caption)
{
    std::fprintf(stderr, "%s: %s\n", caption, text);
    // Without a display (init failed) there is nothing to show the box on.
    if (SDL_WasInit(SDL_INIT_VIDEO) != 0 && !quitPending()) {
        const SignalsEndTheProcess whileShown;
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, caption, text, asSdlWindow(owner));
    }
}

PlatformWindow* DesktopPlatform::createMainWindow(const char* title, bool fullScreen)
{
    // 16-bit colour and depth asked for; the driver may give more.
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 5);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 6);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 5);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    contextApi::askSdl();
    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN;
    if (fullScreen)
        flags |= SDL_WINDOW_BORDERLESS;
    const int position = fullScreen ? 0 : SDL_WINDOWPOS_CENTERED;
    int width = kPictureWidth;
    int height = kPictureHeight;
    chooseWindowSize(fullScreen, width, height);
    window_ = SDL_CreateWindow(title, position, position, width, height, flags);
    return reinterpret_cast<PlatformWindow*>(window_);
}

bool DesktopPlatform::createGLContext(PlatformWindow*)
{
    context_ = SDL_GL_CreateContext(window_);
    if (context_ == nullptr)
        return false;
    SDL_GL_MakeCurrent(window_, context_);
    if (!contextApi::startDrawing(SDL_GL_GetProcAddress))
        return false;
    if (!picture_.create(size_.width, size_.height))
        std::fprintf(stderr, "quittenhain: no framebuffer objects; drawing to the window directly\n");
    const bool vsync = pace_ && SDL_GL_SetSwapInterval(1) == 0;
    if (!pace_)
        SDL_GL_SetSwapInterval(0);
    if (pace_ && !vsync) {
        SDL_DisplayMode mode{};
        int refresh = 60;
        if (SDL_GetDesktopDisplayMode(0, &mode) == 0 && mode.refresh_rate > 0)
            refresh = mode.refresh_rate;
        paceBySleeping_ = true;
        frameCounterTicks_ = SDL_GetPerformanceFrequency() / static_cast<Uint64>(refresh);
    }
    return true;
}

bool DesktopPlatform::keepsDisplayMode() const
{
    return screenPicture_ || size_.width != kPictureWidth || size_.height != kPictureHeight;
}

// The screen's own resolution replaces the asked-for one first.  A window
// shows the picture at its size where the screen has room for it; full
// screen covers the screen at its current mode.
void DesktopPlatform::chooseWindowSize(bool fullScreen, int& width, int& height)
{
    if (!keepsDisplayMode())
        return;
    SDL_DisplayMode desktop{};
    if (SDL_GetDesktopDisplayMode(0, &desktop) != 0) {
        desktop.w = size_.width;
        desktop.h = size_.height;
    }
    if (screenPicture_)
        size_ = largestFourByThree(desktop.w, desktop.h);
    SDL_Rect usable{0, 0, desktop.w, desktop.h};
    SDL_GetDisplayUsableBounds(0, &usable);
    const FitRect fit = fitPicture(size_.width, size_.height, usable.w, usable.h);
    const bool fits = size_.width <= usable.w && size_.height <= usable.h;
    width = fullScreen ? desktop.w : fits ? size_.width : fit.width;
    height = fullScreen ? desktop.h : fits ? size_.height : fit.height;
}

PlatformEvent DesktopPlatform::sizeEvent() const
{
    PlatformEvent event;
    event.type = PlatformEvent::Type::Size;
    if (picture_.active()) {
        event.width = picture_.width();
        event.height = picture_.height();
    } else {
        SDL_GL_GetDrawableSize(window_, &event.width, &event.height);
    }
    return event;
}

void DesktopPlatform::showWindow(PlatformWindow*, bool visible)
{
    if (!visible) {
        SDL_HideWindow(window_);
        return;
    }
    SDL_ShowWindow(window_);
    SDL_RaiseWindow(window_);
    // A window system reports the size of a window when it is first shown.
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = SDL_WINDOWEVENT_SIZE_CHANGED;
    event.window.windowID = SDL_GetWindowID(window_);
    SDL_PushEvent(&event);
}

bool DesktopPlatform::pollEvent(PlatformEvent& event)
{
    SDL_Event sdl;
    if (!SDL_PollEvent(&sdl))
        return false;
    event = PlatformEvent{};
    if (sdl.type == SDL_QUIT ||
        (sdl.type == SDL_WINDOWEVENT && sdl.window.event == SDL_WINDOWEVENT_CLOSE)) {
        event.type = PlatformEvent::Type::Destroy;
    } else if (sdl.type == SDL_WINDOWEVENT && sdl.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
        event = sizeEvent();
    } else if (sdl.type == SDL_KEYDOWN) {
        event.type = PlatformEvent::Type::KeyDown;
        event.key = keyCode(sdl.key.keysym.sym);
    } else if (sdl.type == userEventType_) {
        event.type = PlatformEvent::Type::User;
        event.code = sdl.user.code;
    }
    return true;
}

void DesktopPlatform::postUserEvent(PlatformWindow*, int code)
{
    SDL_Event event{};
    event.type = userEventType_;
    event.user.code = code;
    SDL_PushEvent(&event);
}

void DesktopPlatform::waitForNextFrame()
{
    const Uint64 now = SDL_GetPerformanceCounter();
    if (nextFrameAt_ == 0 || now > nextFrameAt_ + frameCounterTicks_) {
        nextFrameAt_ = now + frameCounterTicks_;   // first frame, or fell behind: start afresh
        return;
    }
    // Sleep to within a millisecond of the deadline, then spin the rest.
    for (Uint64 counter = now; counter < nextFrameAt_; counter = SDL_GetPerformanceCounter()) {
        const Uint64 leftMs = (nextFrameAt_ - counter) * 1000 / SDL_GetPerformanceFrequency();
        if (leftMs > 1)
            SDL_Delay(static_cast<Uint32>(leftMs - 1));
    }
    nextFrameAt_ += frameCounterTicks_;
}

void DesktopPlatform::swapBuffers(PlatformWindow*)
{
    contextApi::beforeSwap();
    if (picture_.active()) {
        int width = 0;
        int height = 0;
        SDL_GL_GetDrawableSize(window_, &width, &height);
        picture_.presentTo(width, height);
    }
    if (paceBySleeping_)
        waitForNextFrame();
    SDL_GL_SwapWindow(window_);
    picture_.bindForDrawing();
}

void DesktopPlatform::enterFullScreen(PlatformWindow*)
{
    guardDisplayMode();
    fullScreenWindow = window_;
    if (keepsDisplayMode()) {
        SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
        return;
    }
    const int display = SDL_GetWindowDisplayIndex(window_);
    SDL_DisplayMode wanted{};
    wanted.w = kPictureWidth;
    wanted.h = kPictureHeight;
    SDL_DisplayMode closest{};
    if (SDL_GetClosestDisplayMode(display < 0 ? 0 : display, &wanted, &closest) != nullptr)
        SDL_SetWindowDisplayMode(window_, &closest);
    SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN);
}

void DesktopPlatform::restoreDisplayMode()
{
    leaveFullScreen();
}
