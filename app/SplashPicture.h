#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/Platform.h"

// The splash picture as read from its file and mixed over the desktop: pure
// computation on bytes, apart from the window that shows it.

// An uncompressed 32-bit TGA picture: blue, green, red, alpha bytes per
// pixel, bottom row first.
struct SplashImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;   // width * height * 4 bytes
};

// Checks a TGA file and copies its pixels: it must have a complete header,
// no colour map, uncompressed true colour at 32 bits per pixel, a non-empty
// size and every pixel byte present.  Rows stored top first are turned
// round, so the result always runs bottom row first.  Nothing is read past
// size bytes; anything that fails the check gives nothing.
std::optional<SplashImage> parseSplashTga(const std::uint8_t* data, std::size_t size);

// The splash rectangle, centred on a screen of the given size, in screen
// coordinates (right and bottom exclusive).  It is exactly the picture's
// size, also for odd sizes.
ScreenRect splashRectangle(int screenWidth, int screenHeight, int imageWidth, int imageHeight);

// One colour channel of the picture mixed over the desktop: (image * alpha +
// desktop * (255 - alpha)) >> 8, at most 255; alpha 0 keeps the desktop.
// The divisor is 256, so even full alpha never quite reaches the picture's
// own value (255 at alpha 255 gives 254).
std::uint8_t composeChannel(std::uint8_t image, std::uint8_t desktop, std::uint8_t alpha);

// Mixes the picture into a desktop copy of the same size (24-bit, bottom row
// first, rows padded to 4 bytes, as Platform::captureScreen gives it).
// Does nothing when the sizes disagree.
void composeSplash(const SplashImage& image, std::vector<std::uint8_t>& desktop);
