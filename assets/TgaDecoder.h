#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// An uncompressed 32-bit TGA picture: blue, green, red, alpha bytes per
// pixel, bottom row first.
struct TgaImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;   // width * height * 4 bytes
};

// Checks a TGA file and copies its pixels: it must have a complete header,
// no colour map, uncompressed true colour at 32 bits per pixel, a non-empty
// size and every pixel byte present.  Rows stored top first are turned
// round, so the result always runs bottom row first.  Nothing is read past
// size bytes; anything that fails the check gives nothing.
std::optional<TgaImage> decodeTga(const std::uint8_t* data, std::size_t size);
