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

void writePng(const std::string& path, const AlphaImage& img) {
    const int w = img.colour.w, h = img.colour.h;
    std::vector<unsigned char> rgba;
    rgba.reserve(size_t(w) * h * 4);
    auto byte = [](float v) { return static_cast<unsigned char>(std::lround(clamp01(v) * 255)); };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Col& c = img.colour.at(x, y);
            for (float v : {c.r, c.g, c.b, img.alpha.at(x, y)}) rgba.push_back(byte(v));
        }
    if (!stbi_write_png(path.c_str(), w, h, 4, rgba.data(), w * 4))
        throw std::runtime_error("cannot write " + path);
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
