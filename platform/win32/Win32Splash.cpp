#include "platform/win32/Win32Splash.h"

namespace {

const char* const kSplashClass = "MegaSplash";

// The composed picture, for the window procedure's WM_PAINT.
struct SplashPicture {
    BITMAPINFO info{};
    std::vector<std::uint8_t> pixels;
};
SplashPicture thePicture;

BITMAPINFO bitmapInfo(int width, int height)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;   // positive: bottom row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

void paintSplash(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    const BITMAPINFOHEADER& header = thePicture.info.bmiHeader;
    SetDIBitsToDevice(dc, 0, 0, header.biWidth, header.biHeight, 0, 0, 0, header.biHeight,
                      thePicture.pixels.data(), &thePicture.info, DIB_RGB_COLORS);
    EndPaint(window, &paint);
}

}  // namespace

bool Win32Splash::screenArea(ScreenRect& area)
{
    HDC screen = GetDC(nullptr);
    if (screen == nullptr)
        return false;
    area = ScreenRect{0, 0, GetDeviceCaps(screen, HORZRES), GetDeviceCaps(screen, VERTRES)};
    ReleaseDC(nullptr, screen);
    return area.width > 0 && area.height > 0;
}

bool Win32Splash::capture(const ScreenRect& rect, std::vector<std::uint8_t>& pixels)
{
    // The window in front now is the one to give its active look back later.
    previousForeground_ = GetForegroundWindow();
    if (rect.width <= 0 || rect.height <= 0)
        return false;
    HDC screen = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    if (screen == nullptr)
        return false;
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, rect.width, rect.height);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    const bool copied = BitBlt(memory, 0, 0, rect.width, rect.height, screen, rect.left, rect.top, SRCCOPY) != 0;
    SelectObject(memory, previous);
    // Always 24 bits, whatever the display's depth: the composition needs it.
    BITMAPINFO info = bitmapInfo(rect.width, rect.height);
    pixels.assign(screenRowBytes(rect.width) * static_cast<std::size_t>(rect.height), 0);
    const bool converted = copied && GetDIBits(memory, bitmap, 0, static_cast<UINT>(rect.height), pixels.data(),
                                               &info, DIB_RGB_COLORS) == rect.height;
    DeleteObject(bitmap);
    DeleteDC(memory);
    DeleteDC(screen);
    return converted;
}

LRESULT CALLBACK Win32Splash::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        paintSplash(window);
        return 0;
    case WM_CLOSE:
        PostMessageA(window, WM_DESTROY, 0, 0);
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE)
            PostMessageA(window, WM_DESTROY, 0, 0);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

bool Win32Splash::show(const ScreenRect& rect, const std::vector<std::uint8_t>& pixels, const char* title)
{
    thePicture.info = bitmapInfo(rect.width, rect.height);
    thePicture.pixels = pixels;

    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_VREDRAW | CS_HREDRAW;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hIcon = LoadIconA(nullptr, MAKEINTRESOURCEA(32512));     // IDI_APPLICATION
    windowClass.hIconSm = windowClass.hIcon;
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));   // IDC_ARROW
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = kSplashClass;
    RegisterClassExA(&windowClass);

    // The outer rectangle whose client area is exactly the splash rectangle.
    RECT outer{rect.left, rect.top, rect.left + rect.width, rect.top + rect.height};
    AdjustWindowRect(&outer, WS_OVERLAPPEDWINDOW, FALSE);
    window_ = CreateWindowExA(0, kSplashClass, title, WS_OVERLAPPEDWINDOW | WS_DISABLED, outer.left, outer.top,
                              outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    if (window_ == nullptr)
        return false;
    // Cut frame and caption away: only the client area remains visible.
    const int left = rect.left - outer.left;
    const int top = rect.top - outer.top;
    SetWindowRgn(window_, CreateRectRgn(left, top, left + rect.width, top + rect.height), TRUE);
    ShowWindow(window_, SW_SHOW);
    UpdateWindow(window_);
    if (previousForeground_ != nullptr)
        SendMessageA(previousForeground_, WM_ACTIVATE, WA_ACTIVE, 0);
    return true;
}

void Win32Splash::hide()
{
    if (window_ != nullptr) {
        ShowWindow(window_, SW_HIDE);
        DestroyWindow(window_);
        window_ = nullptr;
    }
}
