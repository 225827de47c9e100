#include "app/SplashWindow.h"

#include "assets/Resources.h"

SplashWindow::SplashWindow(const char* imageName)
{
    const Resource resource = findResource("ZYT_JPEGTEX", imageName);
    std::optional<TgaImage> parsed = decodeTga(resource.data, resource.size);
    if (!parsed)
        return;
    image_ = std::move(*parsed);

    Platform& system = platform();
    ScreenRect screen;
    if (!system.screenArea(screen) || image_.width > screen.width || image_.height > screen.height)
        return;
    ScreenRect rect = splashRectangle(screen.width, screen.height, image_.width, image_.height);
    rect.left += screen.left;
    rect.top += screen.top;

    // Where the screen cannot be read, the picture is mixed over black.
    std::vector<std::uint8_t> picture;
    if (!system.captureScreen(rect, picture) ||
        picture.size() != screenRowBytes(rect.width) * static_cast<std::size_t>(rect.height))
        picture.assign(screenRowBytes(rect.width) * static_cast<std::size_t>(rect.height), 0);
    composeSplash(image_, picture);
    shown_ = system.showSplash(rect, picture, "Bildo.exe");
}

SplashWindow::~SplashWindow()
{
    if (shown_)
        platform().hideSplash();
    image_.pixels.clear();
    image_.pixels.shrink_to_fit();
}
