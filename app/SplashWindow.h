#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/Platform.h"

// The title picture shown while the demo loads.  It looks as if it floated
// over the desktop: before the window appears, the screen area it is about
// to cover is copied, the picture is mixed into that copy with its alpha
// channel, and the result is shown 1:1 in a frameless window that takes no
// input.  The window is painted once and does not follow later changes of
// the desktop behind it.

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

class SplashWindow {
public:
    // Loads the picture (type "ZYT_JPEGTEX"), composes it over the screen
    // and shows it.  Without a screen, with a picture that fails the check,
    // or with one larger than the screen, nothing is shown.
    explicit SplashWindow(const char* imageName);
    // Hides the window and frees the picture.
    ~SplashWindow();
    SplashWindow(const SplashWindow&) = delete;
    SplashWindow& operator=(const SplashWindow&) = delete;

    bool shown() const { return shown_; }

private:
    SplashImage image_;
    bool shown_ = false;
};
