#include "platform/win32/Win32Platform.h"

#include <GL/gl.h>
#include <cstdio>
#include <cstdlib>
#include <mmsystem.h>

#include "platform/win32/WglContext.h"

namespace {

const char* const kMainWindowClass = "Application";
constexpr WPARAM kPartSwitchCode = 39;

Win32Platform* thePlatform = nullptr;   // for the window procedure

// Whether the display mode was changed and must be put back on the way
// out, whatever that way is: exit() from anywhere, or a crash.
bool displayModeChanged = false;

void putDisplayModeBack()
{
    if (displayModeChanged) {
        displayModeChanged = false;
        ChangeDisplaySettingsA(nullptr, 0);
    }
}

LONG WINAPI putDisplayModeBackOnCrash(EXCEPTION_POINTERS*)
{
    putDisplayModeBack();
    return EXCEPTION_CONTINUE_SEARCH;
}

void guardDisplayMode()
{
    static bool guarded = false;
    if (guarded)
        return;
    guarded = true;
    std::atexit(putDisplayModeBack);
    SetUnhandledExceptionFilter(putDisplayModeBackOnCrash);
}

HWND asWindow(PlatformWindow* window)
{
    return reinterpret_cast<HWND>(window);
}

void clientSize(HWND window, int& width, int& height)
{
    RECT client{};
    GetClientRect(window, &client);
    width = client.right - client.left;
    height = client.bottom - client.top;
}

// The frame the system really drew may differ from what AdjustWindowRectEx
// predicted (themes, styles the system adds itself): measure it and resize
// once more so that the client area is exactly the picture.
void fitClientToPicture(HWND window)
{
    int width = 0;
    int height = 0;
    clientSize(window, width, height);
    if (width == kPictureWidth && height == kPictureHeight)
        return;
    RECT outer{};
    GetWindowRect(window, &outer);
    SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left + kPictureWidth - width,
                 outer.bottom - outer.top + kPictureHeight - height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

Win32Platform::~Win32Platform()
{
    putDisplayModeBack();
    if (thePlatform == this)
        thePlatform = nullptr;
}

bool Win32Platform::init()
{
    thePlatform = this;
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_OWNDC;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    // Icon 165 is no system icon, so the class gets none of its own.
    windowClass.hIcon = LoadIconA(nullptr, MAKEINTRESOURCEA(165));
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));   // IDC_ARROW
    windowClass.hIconSm = LoadIconA(nullptr, MAKEINTRESOURCEA(32512));     // IDI_APPLICATION
    windowClass.lpszClassName = kMainWindowClass;
    return RegisterClassExA(&windowClass) != 0;
}

bool Win32Platform::askYesNo(PlatformWindow* owner, const char* text, const char* caption)
{
    return MessageBoxA(asWindow(owner), text, caption, MB_YESNO) == IDYES;
}

void Win32Platform::showMessage(PlatformWindow* owner, const char* text, const char* caption)
{
    std::fprintf(stderr, "%s: %s\n", caption, text);
    MessageBoxA(asWindow(owner), text, caption, MB_OK);
}

PlatformWindow* Win32Platform::createMainWindow(const char* title, bool fullScreen)
{
    // Windowed: an overlapped window (caption and border) without system
    // menu, whose client area is the picture, so it is shown 1:1; the frame
    // is added outside.  Full screen: a popup of exactly the picture's size.
    const DWORD style = (fullScreen ? WS_POPUP : WS_OVERLAPPED) | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    RECT outer{0, 0, kPictureWidth, kPictureHeight};
    if (!fullScreen)
        AdjustWindowRectEx(&outer, style | WS_CAPTION, FALSE, 0);
    window_ = CreateWindowExA(0, kMainWindowClass, title, style, 0, 0, outer.right - outer.left,
                              outer.bottom - outer.top, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (window_ != nullptr && !fullScreen)
        fitClientToPicture(window_);
    return reinterpret_cast<PlatformWindow*>(window_);
}

bool Win32Platform::createGLContext(PlatformWindow*)
{
    dc_ = GetDC(window_);
    context_ = createWglContext(dc_);
    if (context_ == nullptr)
        return false;
    if (!picture_.create(kPictureWidth, kPictureHeight))
        std::fprintf(stderr, "quittenhain: no framebuffer objects; drawing to the window directly\n");
    const bool vsync = setSwapInterval(pace_ ? 1 : 0) && pace_;
    if (pace_ && !vsync) {
        int refresh = GetDeviceCaps(dc_, VREFRESH);
        if (refresh <= 1)   // 0 and 1 mean "the hardware's default"
            refresh = 60;
        LARGE_INTEGER frequency{};
        QueryPerformanceFrequency(&frequency);
        counterPerFrame_ = frequency.QuadPart / refresh;
        paceBySleeping_ = true;
    }
    return true;
}

void Win32Platform::showWindow(PlatformWindow*, bool visible)
{
    ShowWindow(window_, visible ? SW_SHOW : SW_HIDE);
    UpdateWindow(window_);
}

std::uint32_t Win32Platform::tickCount()
{
    return timeGetTime();
}

void Win32Platform::queueSize(int clientWidth, int clientHeight)
{
    // With the persistent picture the demo always draws 640x480; the window
    // gets the picture scaled at each swap.
    PlatformEvent event;
    event.type = PlatformEvent::Type::Size;
    event.width = picture_.active() ? picture_.width() : clientWidth;
    event.height = picture_.active() ? picture_.height() : clientHeight;
    events_.push_back(event);
}

LRESULT CALLBACK Win32Platform::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Win32Platform* self = thePlatform;
    if (self == nullptr || (self->window_ != nullptr && window != self->window_))
        return DefWindowProcA(window, message, wParam, lParam);
    PlatformEvent event;
    switch (message) {
    case WM_DESTROY:
        event.type = PlatformEvent::Type::Destroy;
        self->events_.push_back(event);
        return 0;
    case WM_SIZE:
        self->queueSize(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_KEYDOWN:
        event.type = PlatformEvent::Type::KeyDown;
        event.key = static_cast<int>(wParam);   // VK_ESCAPE is 27, as the shell expects
        self->events_.push_back(event);
        return 0;
    case WM_USER:
        event.type = PlatformEvent::Type::User;
        event.code = static_cast<int>(wParam);
        self->events_.push_back(event);
        break;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool Win32Platform::pollEvent(PlatformEvent& event)
{
    if (events_.empty()) {
        MSG message;
        if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            return false;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    // A message taken counts as one event even when the shell has nothing
    // to do with it: the loop then goes round without drawing.
    event = PlatformEvent{};
    if (!events_.empty()) {
        event = events_.front();
        events_.pop_front();
    }
    return true;
}

void Win32Platform::postUserEvent(PlatformWindow*, int code)
{
    PostMessageA(window_, WM_USER, static_cast<WPARAM>(code), 0);
}

void Win32Platform::waitForNextFrame()
{
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    if (nextFrameAt_ == 0 || now.QuadPart > nextFrameAt_ + counterPerFrame_) {
        nextFrameAt_ = now.QuadPart + counterPerFrame_;   // first frame, or fell behind: start afresh
        return;
    }
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    // Sleep to within a millisecond of the deadline, then spin the rest.
    for (; now.QuadPart < nextFrameAt_; QueryPerformanceCounter(&now)) {
        const LONGLONG leftMs = (nextFrameAt_ - now.QuadPart) * 1000 / frequency.QuadPart;
        if (leftMs > 1)
            Sleep(static_cast<DWORD>(leftMs - 1));
    }
    nextFrameAt_ += counterPerFrame_;
}

void Win32Platform::swapBuffers(PlatformWindow*)
{
    if (picture_.active()) {
        int width = 0;
        int height = 0;
        clientSize(window_, width, height);
        picture_.presentTo(width, height);
    }
    if (paceBySleeping_)
        waitForNextFrame();
    SwapBuffers(dc_);
    picture_.bindForDrawing();
}

void Win32Platform::enterFullScreen(PlatformWindow*)
{
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
    mode.dmPelsWidth = kPictureWidth;
    mode.dmPelsHeight = kPictureHeight;
    guardDisplayMode();
    displayModeChanged = true;
    // The result is ignored: without a 640x480 mode the desktop's stays.
    ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN);
}

void Win32Platform::restoreDisplayMode()
{
    putDisplayModeBack();
}

void* Win32Platform::glFunction(const char* name) const
{
    return wglFunction(name);
}
