#include "tga.hpp"

#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <vector>

namespace tex {

namespace {
uint8_t toByte(float v, int top) { return uint8_t(std::lround(clamp01(v) * top)); }
}  // namespace

void writeTga(const std::string& path, const AlphaImage& img, int maxAlpha) {
    const int w = img.colour.w, h = img.colour.h;
    if (w <= 0 || h <= 0 || w > 65535 || h > 65535 || img.alpha.w != w || img.alpha.h != h)
        throw std::runtime_error(path + ": bad picture size");
    std::vector<uint8_t> out(18, 0);
    out[2] = 2;  // uncompressed true colour
    out[12] = uint8_t(w & 0xFF);
    out[13] = uint8_t(w >> 8);
    out[14] = uint8_t(h & 0xFF);
    out[15] = uint8_t(h >> 8);
    out[16] = 32;
    out[17] = 0x08;  // 8 alpha bits, bottom row first
    out.reserve(out.size() + size_t(w) * h * 4);
    for (int y = h - 1; y >= 0; --y)
        for (int x = 0; x < w; ++x) {
            const Col& c = img.colour.at(x, y);
            out.push_back(toByte(c.b, 255));
            out.push_back(toByte(c.g, 255));
            out.push_back(toByte(c.r, 255));
            out.push_back(toByte(img.alpha.at(x, y), maxAlpha));
        }
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) throw std::runtime_error("cannot write " + path);
    const bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
    if (std::fclose(f) != 0 || !ok) throw std::runtime_error("cannot write " + path);
}

}  // namespace tex
