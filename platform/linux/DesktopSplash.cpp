#include "platform/linux/DesktopSplash.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/shape.h>
#include <cstdlib>
#include <cstring>

namespace {

Display* asDisplay(void* display)
{
    return static_cast<Display*>(display);
}

// Xlib's default error handler ends the process.  A failed request of the
// splash (a capture outside the screen, a missing extension) must not: the
// demo goes on without it.  Errors are counted while a guard is alive.
int xErrors = 0;

int countError(Display*, XErrorEvent*)
{
    ++xErrors;
    return 0;
}

class ErrorGuard {
public:
    explicit ErrorGuard(Display* display) : display_(display)
    {
        XSync(display_, False);
        xErrors = 0;
        previous_ = XSetErrorHandler(countError);
    }
    ~ErrorGuard()
    {
        XSync(display_, False);
        XSetErrorHandler(previous_);
    }
    bool failed()
    {
        XSync(display_, False);
        return xErrors != 0;
    }

private:
    Display* display_;
    int (*previous_)(Display*, XErrorEvent*) = nullptr;
};

// How one colour channel sits in a TrueColor pixel value.
struct ChannelMask {
    unsigned long mask = 0;
    int shift = 0;
    unsigned long maximum = 0;

    ChannelMask() = default;
    explicit ChannelMask(unsigned long channelMask) : mask(channelMask)
    {
        if (mask == 0)
            return;
        while (((mask >> shift) & 1) == 0)
            ++shift;
        maximum = mask >> shift;
    }
    std::uint8_t read(unsigned long pixel) const
    {
        if (maximum == 0)
            return 0;
        return static_cast<std::uint8_t>(((pixel & mask) >> shift) * 255 / maximum);
    }
    unsigned long write(std::uint8_t value) const
    {
        if (maximum == 0)
            return 0;
        return ((value * maximum + 127) / 255) << shift;
    }
};

struct PixelFormat {
    ChannelMask red, green, blue;
};

// The screen's pixel layout; false for visuals without direct colour
// channels (palettes), which the splash does not handle.
bool trueColourFormat(Display* display, PixelFormat& format)
{
    const int screen = DefaultScreen(display);
    Visual* visual = DefaultVisual(display, screen);
    if (visual->c_class != TrueColor || DefaultDepth(display, screen) < 15)
        return false;
    format = PixelFormat{ChannelMask(visual->red_mask), ChannelMask(visual->green_mask),
                         ChannelMask(visual->blue_mask)};
    return true;
}

bool insideScreen(Display* display, const ScreenRect& rect)
{
    const int screen = DefaultScreen(display);
    return rect.width > 0 && rect.height > 0 && rect.left >= 0 && rect.top >= 0 &&
           rect.left + rect.width <= DisplayWidth(display, screen) &&
           rect.top + rect.height <= DisplayHeight(display, screen);
}

bool waylandSession()
{
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return wayland != nullptr && wayland[0] != '\0';
}

}  // namespace

DesktopSplash::~DesktopSplash()
{
    if (display_ == nullptr)
        return;
    hide();
    if (window_ != 0)
        XDestroyWindow(asDisplay(display_), window_);
    XCloseDisplay(asDisplay(display_));
}

bool DesktopSplash::open()
{
    if (!triedToOpen_) {
        triedToOpen_ = true;
        display_ = XOpenDisplay(nullptr);
    }
    return display_ != nullptr;
}

bool DesktopSplash::screenArea(ScreenRect& area)
{
    if (!open())
        return false;
    Display* display = asDisplay(display_);
    area = ScreenRect{0, 0, DisplayWidth(display, DefaultScreen(display)),
                      DisplayHeight(display, DefaultScreen(display))};
    return true;
}

bool DesktopSplash::capture(const ScreenRect& rect, std::vector<std::uint8_t>& pixels)
{
    if (waylandSession() || !open())
        return false;
    Display* display = asDisplay(display_);
    PixelFormat format;
    if (!trueColourFormat(display, format) || !insideScreen(display, rect))
        return false;
    ErrorGuard guard(display);
    XImage* image = XGetImage(display, DefaultRootWindow(display), rect.left, rect.top,
                              static_cast<unsigned>(rect.width), static_cast<unsigned>(rect.height), AllPlanes,
                              ZPixmap);
    if (image == nullptr || guard.failed()) {
        if (image != nullptr)
            XDestroyImage(image);
        return false;
    }
    const std::size_t stride = screenRowBytes(rect.width);
    pixels.assign(stride * static_cast<std::size_t>(rect.height), 0);
    for (int y = 0; y < rect.height; ++y) {
        std::uint8_t* row = pixels.data() + static_cast<std::size_t>(rect.height - 1 - y) * stride;
        for (int x = 0; x < rect.width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            row[3 * x] = format.blue.read(pixel);
            row[3 * x + 1] = format.green.read(pixel);
            row[3 * x + 2] = format.red.read(pixel);
        }
    }
    XDestroyImage(image);
    return true;
}

bool DesktopSplash::show(const ScreenRect& rect, const std::vector<std::uint8_t>& pixels, const char* title)
{
    if (!open())
        return false;
    Display* display = asDisplay(display_);
    PixelFormat format;
    const std::size_t stride = screenRowBytes(rect.width);
    if (rect.width <= 0 || rect.height <= 0 || pixels.size() != stride * static_cast<std::size_t>(rect.height) ||
        !trueColourFormat(display, format))
        return false;
    hide();

    const int screen = DefaultScreen(display);
    const Window root = RootWindow(display, screen);
    const unsigned depth = static_cast<unsigned>(DefaultDepth(display, screen));
    const unsigned width = static_cast<unsigned>(rect.width);
    const unsigned height = static_cast<unsigned>(rect.height);
    ErrorGuard guard(display);

    // The picture goes into a pixmap once; as the window's background the
    // server paints it whenever the window needs it.
    XImage* image = XCreateImage(display, DefaultVisual(display, screen), depth, ZPixmap, 0, nullptr, width,
                                 height, 32, 0);
    if (image == nullptr)
        return false;
    image->data = static_cast<char*>(std::malloc(static_cast<std::size_t>(image->bytes_per_line) * height));
    if (image->data == nullptr) {
        XDestroyImage(image);
        return false;
    }
    for (int y = 0; y < rect.height; ++y) {
        const std::uint8_t* row = pixels.data() + static_cast<std::size_t>(rect.height - 1 - y) * stride;
        for (int x = 0; x < rect.width; ++x)
            XPutPixel(image, x, y,
                      format.red.write(row[3 * x + 2]) | format.green.write(row[3 * x + 1]) |
                          format.blue.write(row[3 * x]));
    }
    pixmap_ = XCreatePixmap(display, root, width, height, depth);
    GC gc = XCreateGC(display, pixmap_, 0, nullptr);
    XPutImage(display, pixmap_, gc, image, 0, 0, 0, 0, width, height);
    XFreeGC(display, gc);
    XDestroyImage(image);

    if (window_ == 0) {
        XSetWindowAttributes attributes{};
        attributes.override_redirect = True;
        attributes.background_pixmap = pixmap_;
        attributes.event_mask = NoEventMask;
        window_ = XCreateWindow(display, root, rect.left, rect.top, width, height, 0, CopyFromParent,
                                InputOutput, CopyFromParent, CWOverrideRedirect | CWBackPixmap | CWEventMask,
                                &attributes);
        XStoreName(display, window_, title);
        const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
        XChangeProperty(display, window_, XInternAtom(display, "_NET_WM_NAME", False), utf8, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(title), static_cast<int>(std::strlen(title)));
        const Atom splashType = XInternAtom(display, "_NET_WM_WINDOW_TYPE_SPLASH", False);
        XChangeProperty(display, window_, XInternAtom(display, "_NET_WM_WINDOW_TYPE", False), XA_ATOM, 32,
                        PropModeReplace, reinterpret_cast<const unsigned char*>(&splashType), 1);
        // An empty input shape: pointer events pass through to what lies
        // below, as if the window were not there.
        int eventBase = 0;
        int errorBase = 0;
        if (XShapeQueryExtension(display, &eventBase, &errorBase))
            XShapeCombineRectangles(display, window_, ShapeInput, 0, 0, nullptr, 0, ShapeSet, Unsorted);
    } else {
        XMoveResizeWindow(display, window_, rect.left, rect.top, width, height);
        XSetWindowBackgroundPixmap(display, window_, pixmap_);
    }
    XMapRaised(display, window_);
    XClearWindow(display, window_);
    if (guard.failed()) {
        hide();
        return false;
    }
    return true;
}

void DesktopSplash::hide()
{
    if (display_ == nullptr)
        return;
    Display* display = asDisplay(display_);
    if (window_ != 0) {
        XUnmapWindow(display, window_);
        XSetWindowBackgroundPixmap(display, window_, None);
    }
    if (pixmap_ != 0) {
        XFreePixmap(display, pixmap_);
        pixmap_ = 0;
    }
    XSync(display, False);
}
