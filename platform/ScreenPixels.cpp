#include "platform/ScreenPixels.h"

#include "platform/Platform.h"

void screenPixelsFromRgba(const std::uint8_t* rgba, int width, int height, std::vector<std::uint8_t>& screen)
{
    const std::size_t rowBytes = screenRowBytes(width);
    screen.assign(rowBytes * static_cast<std::size_t>(height), 0);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* from = rgba + static_cast<std::size_t>(y) * width * 4;
        std::uint8_t* to = screen.data() + static_cast<std::size_t>(height - 1 - y) * rowBytes;
        for (int x = 0; x < width; ++x, from += 4, to += 3) {
            to[0] = from[2];
            to[1] = from[1];
            to[2] = from[0];
        }
    }
}

void rgbaFromScreenPixels(const std::uint8_t* screen, int width, int height, std::vector<std::uint8_t>& rgba)
{
    const std::size_t rowBytes = screenRowBytes(width);
    rgba.assign(static_cast<std::size_t>(width) * height * 4, 0);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* from = screen + static_cast<std::size_t>(height - 1 - y) * rowBytes;
        std::uint8_t* to = rgba.data() + static_cast<std::size_t>(y) * width * 4;
        for (int x = 0; x < width; ++x, from += 3, to += 4) {
            to[0] = from[2];
            to[1] = from[1];
            to[2] = from[0];
            to[3] = 255;
        }
    }
}
