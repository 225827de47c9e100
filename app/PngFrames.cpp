#include "app/PngFrames.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stb/stb_image_write.h>

#include "app/CaptureClaim.h"
#include "platform/Files.h"
#include "platform/SystemServices.h"

std::string captureFileName(std::uint64_t frame)
{
    char name[32];
    std::snprintf(name, sizeof name, "frame%05llu.png", static_cast<unsigned long long>(frame));
    return name;
}

const char* const kCaptureClaimName = ".quittenhain-capture";

bool PngFrames::open(std::string& error)
{
    if (!makeDirectory(directory_)) {
        const int why = errno;
        error = "cannot use " + directory_ + " as capture directory: " +
                (why == EEXIST ? std::string("it is not a folder") : std::strerror(why));
        return false;
    }
    // Claimed for the run, so that a second capture into the same folder
    // is refused instead of mixing its frames in.
    if (!claimForCapture(claim_, directory_ + "/" + kCaptureClaimName, "into " + directory_, error))
        return false;
    stbi_write_png_compression_level = 2;   // fast; frames are many
    return true;
}

bool PngFrames::finish(std::string&)
{
    claim_.release(true);
    return true;
}

void PngFrames::abandon()
{
    claim_.release(true);
}

// The picture comes bottom-up as RGBA; PNG rows go top-down, without alpha
// (blending leaves meaningless values there).
bool PngFrames::write(const FramePixels& pixels, std::string& error)
{
    const int width = pixels.width;
    const int height = pixels.height;
    rgb_.resize(static_cast<std::size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* from = pixels.rgba + static_cast<std::size_t>(height - 1 - y) * width * 4;
        std::uint8_t* to = rgb_.data() + static_cast<std::size_t>(y) * width * 3;
        for (int x = 0; x < width; ++x, from += 4, to += 3) {
            to[0] = from[0];
            to[1] = from[1];
            to[2] = from[2];
        }
    }
    png_.clear();
    const auto append = [](void* context, void* data, int size) {
        auto* bytes = static_cast<std::vector<std::uint8_t>*>(context);
        bytes->insert(bytes->end(), static_cast<std::uint8_t*>(data), static_cast<std::uint8_t*>(data) + size);
    };
    const std::string path = directory_ + "/" + captureFileName(pixels.frame);
    if (stbi_write_png_to_func(append, &png_, width, height, 3, rgb_.data(), width * 3) == 0) {
        error = "cannot encode " + path + "; " + leftBehind();
        return false;
    }
    // Written under a temporary name and renamed only once the whole file
    // is on disk: a full disk never leaves a short frame under its own name.
    // The temporary is made anew, never written through a link found there.
    const std::string temporary = path + ".part";
    std::string why;
    // A frame of an earlier capture under the same name is replaced.
    if (!writeNewFile(temporary, png_.data(), png_.size(), why) || !replaceFile(temporary, path, why)) {
        removeFile(temporary);
        error = "cannot write " + path + ": " + why + "; " + leftBehind();
        return false;
    }
    ++written_;
    return true;
}

std::string PngFrames::leftBehind() const
{
    if (written_ == 0)
        return "nothing written";
    return "the " + std::to_string(written_) + " frames written so far stay in " + directory_;
}
