#include "Picture.hpp"

#include <cstring>
#include <stdexcept>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#include <stb/stb_image.h>

namespace frames {

Picture loadPicture(const std::string& path)
{
    Picture p;
    int channels = 0;
    unsigned char* data = stbi_load(path.c_str(), &p.width, &p.height, &channels, 3);
    if (data == nullptr)
        throw std::runtime_error("cannot read " + path);
    p.rgb.assign(data, data + size_t(p.width) * p.height * 3);
    stbi_image_free(data);
    return p;
}

}  // namespace frames
