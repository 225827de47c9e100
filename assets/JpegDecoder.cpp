#include "assets/JpegDecoder.h"

#include <turbojpeg.h>

namespace {

struct Decompressor {
    tjhandle handle = tjInitDecompress();
    ~Decompressor()
    {
        if (handle != nullptr)
            tjDestroy(handle);
    }
};

}  // namespace

JpegImage decodeJpeg(const unsigned char* data, std::size_t size)
{
    JpegImage image;
    Decompressor decompressor;
    if (decompressor.handle == nullptr) {
        image.status = JpegImage::Status::DecoderUnavailable;
        return image;
    }
    int width = 0;
    int height = 0;
    int subsampling = 0;
    int colourspace = 0;
    if (data == nullptr || size == 0 ||
        tjDecompressHeader3(decompressor.handle, data, static_cast<unsigned long>(size), &width, &height,
                            &subsampling, &colourspace) != 0 ||
        width <= 0 || height <= 0 || width > kLargestJpegSide || height > kLargestJpegSide) {
        image.status = JpegImage::Status::HeaderUnreadable;
        return image;
    }
    image.width = width;
    image.height = height;
    image.pitch = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    image.rgb.assign(image.pitch * static_cast<std::size_t>(height), 0);
    const int result = tjDecompress2(decompressor.handle, data, static_cast<unsigned long>(size), image.rgb.data(),
                                     width, static_cast<int>(image.pitch), height, TJPF_RGB, 0);
    image.status = result == 0 ? JpegImage::Status::Decoded : JpegImage::Status::DataDamaged;
    return image;
}
