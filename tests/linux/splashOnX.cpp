// The splash window on a real X display (run by splashOnX.sh under Xvfb).
//   splash_on_x check RRGGBB  paints the root window in one colour, shows the
//                             splash and checks its window: place, title, no
//                             input, and every pixel equal to the picture
//                             composed over that colour; then that teardown
//                             unmaps it.
//   splash_on_x shot FILE     paints light and dark bands on the root window,
//                             shows the splash and saves a screenshot of the
//                             whole screen (ImageMagick's import).
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/shape.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/SplashWindow.h"
#include "assets/Resources.h"
#include "platform/linux/DesktopPlatform.h"

namespace {

int failures = 0;

void fail(const std::string& what)
{
    std::printf("FAIL: %s\n", what.c_str());
    ++failures;
}

unsigned long colourPixel(Display* display, unsigned rgb)
{
    XColor colour{};
    colour.red = static_cast<unsigned short>(((rgb >> 16) & 0xFF) * 257);
    colour.green = static_cast<unsigned short>(((rgb >> 8) & 0xFF) * 257);
    colour.blue = static_cast<unsigned short>((rgb & 0xFF) * 257);
    XAllocColor(display, DefaultColormap(display, DefaultScreen(display)), &colour);
    return colour.pixel;
}

void paintRootSolid(Display* display, unsigned rgb)
{
    const Window root = DefaultRootWindow(display);
    XSetWindowBackground(display, root, colourPixel(display, rgb));
    XClearWindow(display, root);
    XSync(display, False);
}

// Light bands on the left half, dark ones on the right: the splash has to
// read on both.
void paintRootBands(Display* display)
{
    const int screen = DefaultScreen(display);
    const int width = DisplayWidth(display, screen);
    const int height = DisplayHeight(display, screen);
    const Window root = RootWindow(display, screen);
    const Pixmap pixmap = XCreatePixmap(display, root, static_cast<unsigned>(width), static_cast<unsigned>(height),
                                        static_cast<unsigned>(DefaultDepth(display, screen)));
    GC gc = XCreateGC(display, pixmap, 0, nullptr);
    const unsigned light[] = {0xF2F0E6, 0xD8E4EE, 0xFFFFFF};
    const unsigned dark[] = {0x1C2230, 0x3A1E2A, 0x000000};
    const int band = 48;
    for (int y = 0, k = 0; y < height; y += band, ++k) {
        XSetForeground(display, gc, colourPixel(display, light[k % 3]));
        XFillRectangle(display, pixmap, gc, 0, y, static_cast<unsigned>(width / 2), band);
        XSetForeground(display, gc, colourPixel(display, dark[k % 3]));
        XFillRectangle(display, pixmap, gc, width / 2, y, static_cast<unsigned>(width - width / 2), band);
    }
    XFreeGC(display, gc);
    XSetWindowBackgroundPixmap(display, root, pixmap);
    XClearWindow(display, root);
    XFreePixmap(display, pixmap);
    XSync(display, False);
}

// The top-level window with this name, or 0.
Window windowNamed(Display* display, const char* name)
{
    Window rootReturn = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    Window found = 0;
    if (!XQueryTree(display, DefaultRootWindow(display), &rootReturn, &parent, &children, &count))
        return 0;
    for (unsigned i = 0; i < count && found == 0; ++i) {
        char* title = nullptr;
        if (XFetchName(display, children[i], &title) && title != nullptr) {
            if (std::strcmp(title, name) == 0)
                found = children[i];
            XFree(title);
        }
    }
    if (children != nullptr)
        XFree(children);
    return found;
}

int mapState(Display* display, Window window)
{
    XWindowAttributes attributes{};
    XGetWindowAttributes(display, window, &attributes);
    return attributes.map_state;
}

void checkWindow(Display* display, unsigned rgb)
{
    const Window window = windowNamed(display, "Bildo.exe");
    if (window == 0) {
        fail("no window titled Bildo.exe");
        return;
    }
    XWindowAttributes attributes{};
    XGetWindowAttributes(display, window, &attributes);
    const int screen = DefaultScreen(display);
    const ScreenRect rect = splashRectangle(DisplayWidth(display, screen), DisplayHeight(display, screen), 320, 240);
    if (attributes.map_state != IsViewable)
        fail("the splash window is not visible");
    if (attributes.x != rect.left || attributes.y != rect.top || attributes.width != 320 || attributes.height != 240)
        fail("the splash window is at " + std::to_string(attributes.x) + "," + std::to_string(attributes.y) + " " +
             std::to_string(attributes.width) + "x" + std::to_string(attributes.height));
    if (!attributes.override_redirect)
        fail("the splash window is left to the window manager (it would get a frame)");
    int count = 0;
    int ordering = 0;
    XRectangle* input = XShapeGetRectangles(display, window, ShapeInput, &count, &ordering);
    if (count != 0)
        fail("the splash window takes input");
    if (input != nullptr)
        XFree(input);

    // The expected content: the picture over the root colour.
    const Resource resource = findResource("ZYT_JPEGTEX", "SPLASH.TGA");
    const std::optional<TgaImage> image = decodeTga(resource.data, resource.size);
    if (!image) {
        fail("SPLASH.TGA does not parse");
        return;
    }
    const std::size_t stride = screenRowBytes(320);
    std::vector<std::uint8_t> expected(stride * 240);
    for (std::size_t i = 0; i < expected.size(); i += 3) {
        expected[i] = rgb & 0xFF;
        expected[i + 1] = (rgb >> 8) & 0xFF;
        expected[i + 2] = (rgb >> 16) & 0xFF;
    }
    composeSplash(*image, expected);

    XImage* shown = XGetImage(display, window, 0, 0, 320, 240, AllPlanes, ZPixmap);
    if (shown == nullptr) {
        fail("cannot read the splash window");
        return;
    }
    const Visual* visual = DefaultVisual(display, screen);
    int wrong = 0;
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x) {
            const unsigned long pixel = XGetPixel(shown, x, y);
            const std::uint8_t* want = expected.data() + static_cast<std::size_t>(239 - y) * stride + 3 * x;
            const unsigned red = static_cast<unsigned>((pixel & visual->red_mask) >> 16);
            const unsigned green = static_cast<unsigned>((pixel & visual->green_mask) >> 8);
            const unsigned blue = static_cast<unsigned>(pixel & visual->blue_mask);
            if (red != want[2] || green != want[1] || blue != want[0]) {
                if (wrong++ < 5)
                    std::printf("pixel %d,%d is %02x%02x%02x, expected %02x%02x%02x\n", x, y, red, green, blue,
                                want[2], want[1], want[0]);
            }
        }
    XDestroyImage(shown);
    if (wrong != 0)
        fail(std::to_string(wrong) + " pixels differ from the composition");
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3 || (std::strcmp(argv[1], "check") != 0 && std::strcmp(argv[1], "shot") != 0)) {
        std::fprintf(stderr, "usage: %s check RRGGBB | shot FILE\n", argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "cannot open the display\n");
        return 1;
    }
    const int screen = DefaultScreen(display);
    if (DefaultDepth(display, screen) != 24 || DefaultVisual(display, screen)->red_mask != 0xFF0000) {
        std::fprintf(stderr, "needs a 24-bit screen\n");
        return 1;
    }
    DesktopPlatform desktop(false);
    setPlatform(&desktop);

    if (std::strcmp(argv[1], "shot") == 0) {
        paintRootBands(display);
        {
            SplashWindow splash("SPLASH.TGA");
            if (!splash.shown())
                fail("no splash shown");
            const std::string command = std::string("import -window root '") + argv[2] + "'";
            if (std::system(command.c_str()) != 0)
                fail("import failed");
        }
    } else {
        const unsigned rgb = static_cast<unsigned>(std::strtoul(argv[2], nullptr, 16));
        paintRootSolid(display, rgb);
        {
            SplashWindow splash("SPLASH.TGA");
            if (!splash.shown())
                fail("no splash shown");
            checkWindow(display, rgb);
        }
        const Window window = windowNamed(display, "Bildo.exe");
        if (window != 0 && mapState(display, window) != IsUnmapped)
            fail("the splash window is still mapped after teardown");
    }
    XCloseDisplay(display);
    if (failures == 0)
        std::printf("splash on X (%s %s) passed\n", argv[1], argv[2]);
    return failures == 0 ? 0 : 1;
}
