#include "app/SplashPicture.h"

#include <algorithm>

ScreenRect splashRectangle(int screenWidth, int screenHeight, int imageWidth, int imageHeight)
{
    ScreenRect rect;
    rect.left = screenWidth / 2 - imageWidth / 2;
    rect.top = screenHeight / 2 - imageHeight / 2;
    rect.width = imageWidth;
    rect.height = imageHeight;
    return rect;
}

std::uint8_t composeChannel(std::uint8_t image, std::uint8_t desktop, std::uint8_t alpha)
{
    if (alpha == 0)
        return desktop;
    const unsigned mixed = (image * alpha + desktop * (255u - alpha)) >> 8;
    return static_cast<std::uint8_t>(std::min(mixed, 255u));
}

void composeSplash(const TgaImage& image, std::vector<std::uint8_t>& desktop)
{
    const std::size_t stride = screenRowBytes(image.width);
    if (desktop.size() != stride * static_cast<std::size_t>(image.height) ||
        image.pixels.size() != static_cast<std::size_t>(image.width) * image.height * 4)
        return;
    const std::uint8_t* source = image.pixels.data();
    for (int row = 0; row < image.height; ++row) {
        std::uint8_t* target = desktop.data() + static_cast<std::size_t>(row) * stride;
        for (int x = 0; x < image.width; ++x, source += 4, target += 3) {
            const std::uint8_t alpha = source[3];
            for (int channel = 0; channel < 3; ++channel)
                target[channel] = composeChannel(source[channel], target[channel], alpha);
        }
    }
}
