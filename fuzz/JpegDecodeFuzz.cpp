// libFuzzer target: the texture loader's decoding step (JPEG bytes to padded
// RGB rows, everything but the upload to OpenGL).  Any bytes either give a
// picture whose rows fill its buffer exactly or are refused with no pixels.
#include <cstddef>
#include <cstdint>

#include "assets/JpegDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const JpegImage image = decodeJpeg(data, size);
    if (image.status == JpegImage::Status::HeaderUnreadable || image.status == JpegImage::Status::DecoderUnavailable) {
        if (image.width != 0 || image.height != 0 || !image.rgb.empty())
            __builtin_trap();
        return 0;
    }
    if (image.width <= 0 || image.height <= 0 || image.width > kLargestJpegSide || image.height > kLargestJpegSide ||
        image.pitch < static_cast<std::size_t>(image.width) * 3 || image.pitch % 4 != 0 ||
        image.rgb.size() != image.pitch * static_cast<std::size_t>(image.height))
        __builtin_trap();
    return 0;
}
