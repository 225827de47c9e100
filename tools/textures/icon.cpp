#include "icon.hpp"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <vector>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>


namespace tex {

namespace {

// The quince at scale 1 spans x from cx - 13 to cx + 17 and y from fy - 25
// (the leaf) to fy + 19 (the fruit's foot).
constexpr float kQuinceHeight = 44, kQuinceMidX = 2, kQuinceMidY = -3;

std::vector<unsigned char> rgbaOf(const AlphaImage& img) {
    const int w = img.colour.w, h = img.colour.h;
    std::vector<unsigned char> rgba;
    rgba.reserve(size_t(w) * h * 4);
    auto byte = [](float v) { return static_cast<unsigned char>(std::lround(clamp01(v) * 255)); };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Col& c = img.colour.at(x, y);
            for (float v : {c.r, c.g, c.b, img.alpha.at(x, y)}) rgba.push_back(byte(v));
        }
    return rgba;
}

void writePng(const std::string& path, const AlphaImage& img) {
    const int w = img.colour.w, h = img.colour.h;
    if (!stbi_write_png(path.c_str(), w, h, 4, rgbaOf(img).data(), w * 4))
        throw std::runtime_error("cannot write " + path);
}

void putLittleEndian(std::vector<unsigned char>& out, unsigned value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

}  // namespace

IconLayout iconLayout(int n) {
    const float x0 = n * 0.05f, y0 = n * 0.05f, x1 = n * 0.92f, y1 = n * 0.92f;
    const float cx = (x0 + x1) * 0.5f, cy = (y0 + y1) * 0.5f;
    // Offsets of at least a pixel keep the shadow and rim visible at 48.
    const int shadow = std::max(1, int(std::lround(n * 0.025f)));
    const float s = (y1 - y0) * 0.7f / kQuinceHeight;
    return {{x0, y0, x1, y1, n * 0.17f, shadow, shadow, n * 0.02f, cx, cy, n * 0.36f, n * 0.36f,
             std::max(1.0f, n / 150.0f)},
            cx - kQuinceMidX * s, cy - kQuinceMidY * s, s};
}

AlphaImage makeIcon(int n) {
    AlphaImage img(n, n);
    const IconLayout layout = iconLayout(n);
    paintPlate(img, layout.plate);
    paintQuince(img, layout.quinceX, layout.quinceY, layout.quinceScale);
    return img;
}

void writeIcons(const std::string& dir) {
    for (int n : {48, 128, 256}) {
        const std::string size = std::to_string(n) + "x" + std::to_string(n);
        const std::filesystem::path folder = std::filesystem::path(dir) / "hicolor" / size / "apps";
        std::filesystem::create_directories(folder);
        writePng((folder / "quittenhain.png").string(), makeIcon(n));
    }
    const std::filesystem::path scalable = std::filesystem::path(dir) / "hicolor" / "scalable" / "apps";
    std::filesystem::create_directories(scalable);
    const std::string svg = iconSvg();
    FILE* f = std::fopen((scalable / "quittenhain.svg").c_str(), "wb");
    const bool written = f && std::fwrite(svg.data(), 1, svg.size(), f) == svg.size();
    if (!f || std::fclose(f) != 0 || !written) throw std::runtime_error("cannot write quittenhain.svg");
}

}  // namespace tex

namespace tex {

void writeWindowsIcon(const std::string& path) {
    // An .ico file: a directory of images, each stored as a PNG (which every
    // Windows since Vista reads at any size).
    const int sizes[] = {16, 32, 48, 256};
    std::vector<std::vector<unsigned char>> pngs;
    for (int n : sizes) {
        int length = 0;
        unsigned char* png = stbi_write_png_to_mem(rgbaOf(makeIcon(n)).data(), n * 4, n, n, 4, &length);
        if (png == nullptr) throw std::runtime_error("cannot encode the icon at " + std::to_string(n));
        pngs.emplace_back(png, png + length);
        STBIW_FREE(png);
    }
    std::vector<unsigned char> ico;
    putLittleEndian(ico, 0, 2);   // reserved
    putLittleEndian(ico, 1, 2);   // type: icon
    putLittleEndian(ico, unsigned(pngs.size()), 2);
    unsigned offset = 6 + 16 * unsigned(pngs.size());
    for (size_t i = 0; i < pngs.size(); ++i) {
        const unsigned side = sizes[i] == 256 ? 0 : unsigned(sizes[i]);   // 0 stands for 256
        putLittleEndian(ico, side, 1);
        putLittleEndian(ico, side, 1);
        putLittleEndian(ico, 0, 2);    // no palette, reserved
        putLittleEndian(ico, 1, 2);    // planes
        putLittleEndian(ico, 32, 2);   // bits per pixel
        putLittleEndian(ico, unsigned(pngs[i].size()), 4);
        putLittleEndian(ico, offset, 4);
        offset += unsigned(pngs[i].size());
    }
    for (const auto& png : pngs) ico.insert(ico.end(), png.begin(), png.end());
    FILE* f = std::fopen(path.c_str(), "wb");
    const bool written = f && std::fwrite(ico.data(), 1, ico.size(), f) == ico.size();
    if (!f || std::fclose(f) != 0 || !written) throw std::runtime_error("cannot write " + path);
}

}  // namespace tex
