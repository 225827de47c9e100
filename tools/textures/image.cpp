#include "image.hpp"

namespace tex {

Col hsv(float h, float s, float v) {
    h = fract(h) * 6.0f;
    int i = int(h) % 6;
    float f = h - std::floor(h);
    float p = v * (1 - s), q = v * (1 - s * f), t = v * (1 - s * (1 - f));
    switch (i) {
    case 0: return {v, t, p};
    case 1: return {q, v, p};
    case 2: return {p, v, t};
    case 3: return {p, q, v};
    case 4: return {t, p, v};
    default: return {v, p, q};
    }
}

Col ramp(const std::vector<Stop>& stops, float t) {
    if (t <= stops.front().t) return stops.front().c;
    for (size_t i = 1; i < stops.size(); ++i)
        if (t <= stops[i].t) {
            float k = (t - stops[i - 1].t) / (stops[i].t - stops[i - 1].t);
            return mix(stops[i - 1].c, stops[i].c, k);
        }
    return stops.back().c;
}

Col tonemap(Col c, float exposure) {
    auto f = [exposure](float v) { return 1.0f - std::exp(-std::max(v, 0.0f) * exposure); };
    return {f(c.r), f(c.g), f(c.b)};
}

namespace {
// Length of the overlap of [a0,a1] with pixel [p, p+1].
inline float overlap(float a0, float a1, int p) {
    return std::max(0.0f, std::min(a1, p + 1.0f) - std::max(a0, float(p)));
}
inline int lo(float v) { return int(std::floor(v)); }
inline int hi(float v) { return int(std::ceil(v)); }
}  // namespace

void fillRect(Image& img, float x0, float y0, float x1, float y1, Col c, float a) {
    for (int y = std::max(0, lo(y0)); y < std::min(img.h, hi(y1)); ++y) {
        float cy = overlap(y0, y1, y);
        for (int x = std::max(0, lo(x0)); x < std::min(img.w, hi(x1)); ++x)
            img.blend(x, y, c, a * cy * overlap(x0, x1, x));
    }
}

void disc(Image& img, float cx, float cy, float r, Col c, float a) {
    for (int y = lo(cy - r - 1); y <= hi(cy + r + 1); ++y)
        for (int x = lo(cx - r - 1); x <= hi(cx + r + 1); ++x) {
            float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy);
            img.blend(x, y, c, a * clamp01(r - d + 0.5f));
        }
}

void ring(Image& img, float cx, float cy, float r, float width, Col c, float a) {
    float ro = r + width * 0.5f;
    for (int y = lo(cy - ro - 1); y <= hi(cy + ro + 1); ++y)
        for (int x = lo(cx - ro - 1); x <= hi(cx + ro + 1); ++x) {
            float d = std::fabs(std::hypot(x + 0.5f - cx, y + 0.5f - cy) - r);
            img.blend(x, y, c, a * clamp01(width * 0.5f - d + 0.5f));
        }
}

void line(Image& img, float x0, float y0, float x1, float y1, float width, Col c, float a) {
    float hw = width * 0.5f;
    float dx = x1 - x0, dy = y1 - y0, len2 = dx * dx + dy * dy;
    for (int y = lo(std::min(y0, y1) - hw - 1); y <= hi(std::max(y0, y1) + hw + 1); ++y)
        for (int x = lo(std::min(x0, x1) - hw - 1); x <= hi(std::max(x0, x1) + hw + 1); ++x) {
            float px = x + 0.5f - x0, py = y + 0.5f - y0;
            float t = len2 > 0 ? std::clamp((px * dx + py * dy) / len2, 0.0f, 1.0f) : 0.0f;
            float d = std::hypot(px - t * dx, py - t * dy);
            img.blend(x, y, c, a * clamp01(hw - d + 0.5f));
        }
}

void glowSpot(Image& img, float cx, float cy, float r, Col c) {
    float ext = r * 3.0f;
    for (int y = lo(cy - ext); y <= hi(cy + ext); ++y)
        for (int x = lo(cx - ext); x <= hi(cx + ext); ++x) {
            float dx = (x + 0.5f - cx) / r, dy = (y + 0.5f - cy) / r;
            img.add(x, y, c * std::exp(-(dx * dx + dy * dy)));
        }
}

void sparkle(Image& img, float cx, float cy, float size, Col c) {
    glowSpot(img, cx, cy, size * 0.18f, c);
    float ext = size;
    for (int y = lo(cy - ext); y <= hi(cy + ext); ++y)
        for (int x = lo(cx - ext); x <= hi(cx + ext); ++x) {
            float dx = x + 0.5f - cx, dy = y + 0.5f - cy;
            float fx = std::exp(-dy * dy / 0.5f) * std::pow(std::max(0.0f, 1 - std::fabs(dx) / size), 2.0f);
            float fy = std::exp(-dx * dx / 0.5f) * std::pow(std::max(0.0f, 1 - std::fabs(dy) / size), 2.0f);
            img.add(x, y, c * (0.8f * (fx + fy)));
        }
}

void stamp(Image& img, const Gray& mask, int x, int y, Col c, float a) {
    for (int j = 0; j < mask.h; ++j)
        for (int i = 0; i < mask.w; ++i) img.blend(x + i, y + j, c, a * mask.at(i, j));
}

namespace {
std::vector<float> kernel(float sigma) {
    int r = std::max(1, int(std::ceil(sigma * 3)));
    std::vector<float> k(2 * r + 1);
    float sum = 0;
    for (int i = -r; i <= r; ++i) sum += k[i + r] = std::exp(-0.5f * i * i / (sigma * sigma));
    for (float& v : k) v /= sum;
    return k;
}

// One blur pass over n lines of length len; get/put address the samples.
template <class T, class Get, class Put>
void blurPass(int lines, int len, const std::vector<float>& k, bool wrap, Get get, Put put) {
    int r = int(k.size() / 2);
    std::vector<T> buf(len);
    for (int l = 0; l < lines; ++l) {
        for (int i = 0; i < len; ++i) {
            T sum{};
            for (int j = -r; j <= r; ++j) {
                int p = i + j;
                if (wrap) p = ((p % len) + len) % len;
                else p = std::clamp(p, 0, len - 1);
                sum = sum + get(l, p) * k[j + r];
            }
            buf[i] = sum;
        }
        for (int i = 0; i < len; ++i) put(l, i, buf[i]);
    }
}
}  // namespace

void blur(Image& img, float sigma, bool wrap) {
    auto k = kernel(sigma);
    blurPass<Col>(img.h, img.w, k, wrap, [&](int l, int p) { return img.at(p, l); },
                  [&](int l, int i, Col c) { img.at(i, l) = c; });
    blurPass<Col>(img.w, img.h, k, wrap, [&](int l, int p) { return img.at(l, p); },
                  [&](int l, int i, Col c) { img.at(l, i) = c; });
}

void blur(Gray& g, float sigma, bool wrap) {
    auto k = kernel(sigma);
    blurPass<float>(g.h, g.w, k, wrap, [&](int l, int p) { return g.at(p, l); },
                    [&](int l, int i, float c) { g.at(i, l) = c; });
    blurPass<float>(g.w, g.h, k, wrap, [&](int l, int p) { return g.at(l, p); },
                    [&](int l, int i, float c) { g.at(l, i) = c; });
}

Gray relief(const Gray& hgt, float lx, float ly, float lz, bool wrap) {
    float ll = std::sqrt(lx * lx + ly * ly + lz * lz);
    lx /= ll; ly /= ll; lz /= ll;
    Gray out(hgt.w, hgt.h);
    auto H = [&](int x, int y) {
        if (wrap) return hgt.wrap(x, y);
        return hgt.at(std::clamp(x, 0, hgt.w - 1), std::clamp(y, 0, hgt.h - 1));
    };
    for (int y = 0; y < hgt.h; ++y)
        for (int x = 0; x < hgt.w; ++x) {
            float hx = 0.5f * (H(x + 1, y) - H(x - 1, y));
            float hy = 0.5f * (H(x, y + 1) - H(x, y - 1));
            float n = std::sqrt(hx * hx + hy * hy + 1);
            out.at(x, y) = std::max(0.0f, (-hx * lx - hy * ly + lz) / n);
        }
    return out;
}

Image flipVertical(const Image& img) {
    Image out(img.w, img.h);
    for (int y = 0; y < img.h; ++y)
        std::copy_n(&img.at(0, img.h - 1 - y), img.w, &out.at(0, y));
    return out;
}

std::vector<uint8_t> toRGB8(const Image& img) {
    std::vector<uint8_t> out(size_t(img.w) * img.h * 3);
    auto q = [](float v) { return uint8_t(std::lround(clamp01(v) * 255.0f)); };
    for (size_t i = 0; i < img.px.size(); ++i) {
        out[i * 3 + 0] = q(img.px[i].r);
        out[i * 3 + 1] = q(img.px[i].g);
        out[i * 3 + 2] = q(img.px[i].b);
    }
    return out;
}

}  // namespace tex
