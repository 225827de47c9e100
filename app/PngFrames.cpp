#include "app/PngFrames.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stb/stb_image_write.h>

#include "platform/OffscreenPicture.h"
#include "platform/SystemServices.h"

std::string captureFileName(std::uint64_t frame)
{
    char name[32];
    std::snprintf(name, sizeof name, "frame%05llu.png", static_cast<unsigned long long>(frame));
    return name;
}

bool PngFrames::open(std::string& error)
{
    if (!makeDirectory(directory_)) {
        error = "cannot use " + directory_ + " as capture directory: " + std::strerror(errno);
        return false;
    }
    stbi_write_png_compression_level = 2;   // fast; frames are many
    return true;
}

// The picture comes bottom-up as RGBA; PNG rows go top-down, without alpha
// (blending leaves meaningless values there).
bool PngFrames::write(const OffscreenPicture& picture, std::uint64_t frame, std::string& error)
{
    picture.readPixels(rgba_);
    const int width = picture.width();
    const int height = picture.height();
    rgb_.resize(static_cast<std::size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* from = rgba_.data() + static_cast<std::size_t>(height - 1 - y) * width * 4;
        std::uint8_t* to = rgb_.data() + static_cast<std::size_t>(y) * width * 3;
        for (int x = 0; x < width; ++x, from += 4, to += 3) {
            to[0] = from[0];
            to[1] = from[1];
            to[2] = from[2];
        }
    }
    const std::string path = directory_ + "/" + captureFileName(frame);
    if (stbi_write_png(path.c_str(), width, height, 3, rgb_.data(), width * 3) == 0) {
        error = "cannot write " + path + ": " + std::strerror(errno);
        return false;
    }
    return true;
}
