#include "jpeg.hpp"

#include <cstdio>
#include <stdexcept>

#include <turbojpeg.h>

namespace tex {

void writeJpeg(const std::string& path, const Image& img, int quality, bool subsample420) {
    std::vector<uint8_t> rgb = toRGB8(img);
    tjhandle tj = tjInitCompress();
    if (!tj) throw std::runtime_error("tjInitCompress failed");
    unsigned char* out = nullptr;
    unsigned long size = 0;
    // Accurate DCT keeps flat areas (pure black grounds) exactly flat.
    int rc = tjCompress2(tj, rgb.data(), img.w, 0, img.h, TJPF_RGB, &out, &size,
                         subsample420 ? TJSAMP_420 : TJSAMP_444, quality, TJFLAG_ACCURATEDCT);
    std::string err = rc ? tjGetErrorStr2(tj) : "";
    tjDestroy(tj);
    if (rc) {
        tjFree(out);
        throw std::runtime_error("JPEG compression failed: " + err);
    }
    FILE* f = std::fopen(path.c_str(), "wb");
    bool ok = f && std::fwrite(out, 1, size, f) == size;
    if (f) ok = (std::fclose(f) == 0) && ok;
    tjFree(out);
    if (!ok) throw std::runtime_error("cannot write " + path);
}

}  // namespace tex
