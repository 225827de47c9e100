#include "assets/TgaDecoder.h"

#include <cstring>

namespace {

constexpr std::size_t kTgaHeaderSize = 18;
constexpr std::uint8_t kTgaTrueColour = 2;
constexpr std::uint8_t kTgaTopFirst = 0x20;   // descriptor bit: rows stored top row first

int readShort(const std::uint8_t* bytes)
{
    return bytes[0] | (bytes[1] << 8);
}

}  // namespace

std::optional<TgaImage> decodeTga(const std::uint8_t* data, std::size_t size)
{
    if (data == nullptr || size < kTgaHeaderSize)
        return std::nullopt;
    const std::size_t idLength = data[0];
    const std::uint8_t colourMapType = data[1];
    const std::uint8_t imageType = data[2];
    const int width = readShort(data + 12);
    const int height = readShort(data + 14);
    const std::uint8_t bitsPerPixel = data[16];
    const std::uint8_t descriptor = data[17];
    if (colourMapType != 0 || imageType != kTgaTrueColour || bitsPerPixel != 32 || width == 0 || height == 0)
        return std::nullopt;
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 4;
    const std::size_t pixelBytes = rowBytes * static_cast<std::size_t>(height);
    const std::size_t offset = kTgaHeaderSize + idLength;
    if (size < offset || size - offset < pixelBytes)
        return std::nullopt;

    TgaImage image;
    image.width = width;
    image.height = height;
    image.pixels.resize(pixelBytes);
    const std::uint8_t* stored = data + offset;
    if ((descriptor & kTgaTopFirst) == 0) {
        std::memcpy(image.pixels.data(), stored, pixelBytes);
    } else {
        for (int row = 0; row < height; ++row)
            std::memcpy(image.pixels.data() + static_cast<std::size_t>(height - 1 - row) * rowBytes,
                        stored + static_cast<std::size_t>(row) * rowBytes, rowBytes);
    }
    return image;
}
