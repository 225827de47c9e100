#pragma once
#include <cstdint>
#include <vector>

// Converting between the two ways pictures of the screen are laid out: the
// desktop's (blue, green, red bytes, bottom row first, rows padded to 4
// bytes, as Platform::captureScreen gives them) and a page's (red, green,
// blue, alpha, top row first, unpadded).

// rgba holds width * height * 4 bytes; screen gets the desktop layout.
void screenPixelsFromRgba(const std::uint8_t* rgba, int width, int height, std::vector<std::uint8_t>& screen);

// screen holds at least screenRowBytes(width) * height bytes; rgba gets
// opaque pixels.
void rgbaFromScreenPixels(const std::uint8_t* screen, int width, int height, std::vector<std::uint8_t>& rgba);
