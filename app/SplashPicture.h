#pragma once
#include <cstdint>
#include <vector>

#include "assets/TgaDecoder.h"
#include "platform/Platform.h"

// The splash picture (a TGA, assets/TgaDecoder.h) placed on the screen and
// mixed over the desktop: pure computation on bytes, apart from the window
// that shows it.

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
void composeSplash(const TgaImage& image, std::vector<std::uint8_t>& desktop);
