// libFuzzer target: any bytes given to the splash picture's TGA decoder are
// read without leaving them; a picture it accepts has all its pixels and
// mixes into a desktop copy of its size without touching anything else.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "app/SplashPicture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::optional<TgaImage> image = decodeTga(data, size);
    if (!image)
        return 0;
    if (image->width <= 0 || image->height <= 0 ||
        image->pixels.size() != static_cast<std::size_t>(image->width) * image->height * 4 ||
        image->pixels.size() > size)
        __builtin_trap();
    const ScreenRect rect = splashRectangle(1920, 1080, image->width, image->height);
    if (rect.width != image->width || rect.height != image->height)
        __builtin_trap();
    std::vector<std::uint8_t> desktop(screenRowBytes(image->width) * static_cast<std::size_t>(image->height), 0x80);
    composeSplash(*image, desktop);
    return 0;
}
