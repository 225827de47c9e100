#pragma once
// A PNG read back as RGB bytes, top row first.
#include <filesystem>
#include <stb/stb_image.h>
#include <vector>

struct Image {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;
};

inline Image loadPng(const std::filesystem::path& path)
{
    Image image;
    int channels = 0;
    unsigned char* pixels = stbi_load(path.string().c_str(), &image.width, &image.height, &channels, 3);
    if (pixels != nullptr) {
        image.rgb.assign(pixels, pixels + static_cast<std::size_t>(image.width) * image.height * 3);
        stbi_image_free(pixels);
    }
    return image;
}
