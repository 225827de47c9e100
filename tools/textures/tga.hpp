// Uncompressed 32-bit TGA output, for the one picture with an alpha channel.
#pragma once
#include <string>

#include "image.hpp"

namespace tex {

// A colour picture with a coverage channel (0 transparent, 1 opaque).
struct AlphaImage {
    Image colour;
    Gray alpha;
    AlphaImage() = default;
    AlphaImage(int w, int h) : colour(w, h), alpha(w, h) {}
};

// Writes img upright-composed as a TGA: true colour, 32 bits per pixel,
// blue-green-red-alpha bytes, bottom row first, descriptor 0x08 (8 alpha
// bits). Alpha 1 is stored as maxAlpha. Throws on failure.
void writeTga(const std::string& path, const AlphaImage& img, int maxAlpha);

}  // namespace tex
