// Float RGB image buffer, grey masks and the drawing helpers the picture
// recipes share. Pictures are composed upright: row 0 is the top.
#pragma once
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace tex {

constexpr float kPi = 3.14159265358979f;
constexpr float kTwoPi = 2.0f * kPi;

struct Col {
    float r = 0, g = 0, b = 0;
    constexpr Col() = default;
    constexpr Col(float r_, float g_, float b_) : r(r_), g(g_), b(b_) {}
    constexpr explicit Col(float v) : r(v), g(v), b(v) {}
};
inline Col operator+(Col a, Col b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
inline Col operator-(Col a, Col b) { return {a.r - b.r, a.g - b.g, a.b - b.b}; }
inline Col operator*(Col a, Col b) { return {a.r * b.r, a.g * b.g, a.b * b.b}; }
inline Col operator*(Col a, float s) { return {a.r * s, a.g * s, a.b * s}; }
inline Col operator*(float s, Col a) { return a * s; }
inline Col& operator+=(Col& a, Col b) { return a = a + b; }
inline Col& operator*=(Col& a, float s) { return a = a * s; }

inline float clamp01(float v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }
inline float mixf(float a, float b, float t) { return a + (b - a) * t; }
inline Col mix(Col a, Col b, float t) { return a + (b - a) * t; }
inline float smooth(float e0, float e1, float x) {
    float t = clamp01((x - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}
inline float fract(float v) { return v - std::floor(v); }
inline float luma(Col c) { return 0.299f * c.r + 0.587f * c.g + 0.114f * c.b; }
inline Col rgb8(int r, int g, int b) { return {r / 255.0f, g / 255.0f, b / 255.0f}; }
// Hue wraps around [0,1); saturation and value in [0,1].
Col hsv(float h, float s, float v);
// Piecewise-linear colour ramp through (position, colour) stops.
struct Stop { float t; Col c; };
Col ramp(const std::vector<Stop>& stops, float t);
// Soft highlight roll-off instead of hard clipping for bright (HDR) values.
Col tonemap(Col c, float exposure);

struct Gray {
    int w = 0, h = 0;
    std::vector<float> v;
    Gray() = default;
    Gray(int w_, int h_, float fill = 0) : w(w_), h(h_), v(size_t(w_) * h_, fill) {}
    float& at(int x, int y) { return v[size_t(y) * w + x]; }
    float at(int x, int y) const { return v[size_t(y) * w + x]; }
    float wrap(int x, int y) const {
        x %= w; y %= h;
        return at(x < 0 ? x + w : x, y < 0 ? y + h : y);
    }
};

struct Image {
    int w = 0, h = 0;
    std::vector<Col> px;
    Image() = default;
    Image(int w_, int h_, Col fill = Col()) : w(w_), h(h_), px(size_t(w_) * h_, fill) {}
    Col& at(int x, int y) { return px[size_t(y) * w + x]; }
    const Col& at(int x, int y) const { return px[size_t(y) * w + x]; }
    Col wrap(int x, int y) const {
        x %= w; y %= h;
        return at(x < 0 ? x + w : x, y < 0 ? y + h : y);
    }
    // Alpha blend one pixel; silently ignores coordinates off the picture.
    void blend(int x, int y, Col c, float a) {
        if (x < 0 || y < 0 || x >= w || y >= h || a <= 0) return;
        Col& d = at(x, y);
        d = mix(d, c, std::min(a, 1.0f));
    }
    void add(int x, int y, Col c) {
        if (x < 0 || y < 0 || x >= w || y >= h) return;
        at(x, y) += c;
    }
};

// Calls f(u, v) for every pixel with u, v in (0,1) at pixel centres
// (v = 0 at the top) and stores the result; n*n samples per pixel.
template <class F>
void shade(Image& img, F f, int n = 1) {
    for (int y = 0; y < img.h; ++y)
        for (int x = 0; x < img.w; ++x) {
            Col sum;
            for (int j = 0; j < n; ++j)
                for (int i = 0; i < n; ++i)
                    sum += f((x + (i + 0.5f) / n) / img.w, (y + (j + 0.5f) / n) / img.h);
            img.at(x, y) = sum * (1.0f / (n * n));
        }
}
template <class F>
void shadeGray(Gray& g, F f) {
    for (int y = 0; y < g.h; ++y)
        for (int x = 0; x < g.w; ++x) g.at(x, y) = f((x + 0.5f) / g.w, (y + 0.5f) / g.h);
}

// Anti-aliased shapes in pixel coordinates (pixel x covers [x, x+1)).
void fillRect(Image& img, float x0, float y0, float x1, float y1, Col c, float a = 1);
void disc(Image& img, float cx, float cy, float r, Col c, float a = 1);
void ring(Image& img, float cx, float cy, float r, float width, Col c, float a = 1);
void line(Image& img, float x0, float y0, float x1, float y1, float width, Col c, float a = 1);
// Additive soft light: c * exp(-(d/r)^2).
void glowSpot(Image& img, float cx, float cy, float r, Col c);
// Four-pointed twinkle: a bright dot with thin horizontal/vertical streaks.
void sparkle(Image& img, float cx, float cy, float size, Col c);
// Blend colour c through a coverage mask placed with its top-left at (x, y).
void stamp(Image& img, const Gray& mask, int x, int y, Col c, float a = 1);

// Separable Gaussian blur; wrap=true treats the picture as a tile.
void blur(Image& img, float sigma, bool wrap);
void blur(Gray& g, float sigma, bool wrap);
// Lambert lighting factor of a height field (heights in pixels), light
// direction (lx, ly, lz) in picture space with y pointing down.
Gray relief(const Gray& height, float lx, float ly, float lz, bool wrap);

Image flipVertical(const Image& img);
std::vector<uint8_t> toRGB8(const Image& img);

}  // namespace tex
