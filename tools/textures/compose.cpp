#include "compose.hpp"

#include <cmath>

namespace tex {

Gray maskOf(int w, int h, const std::function<void(Image&)>& draw) {
    Image canvas(w, h);
    draw(canvas);
    Gray m(w, h);
    for (size_t i = 0; i < m.v.size(); ++i) m.v[i] = clamp01(canvas.px[i].r);
    return m;
}

Gray roundedRect(int w, int h, float x0, float y0, float x1, float y1, float r) {
    Gray m(w, h);
    const float hx = (x1 - x0) * 0.5f - r, hy = (y1 - y0) * 0.5f - r;
    shadeGray(m, [&](float u, float v) {
        // Signed distance to the rounded outline, negative inside.
        const float qx = std::fabs(u * w - (x0 + x1) * 0.5f) - hx;
        const float qy = std::fabs(v * h - (y0 + y1) * 0.5f) - hy;
        const float d = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f)) + std::min(std::max(qx, qy), 0.0f) - r;
        return clamp01(0.5f - d);
    });
    return m;
}

Gray shifted(const Gray& m, int dx, int dy) {
    Gray out(m.w, m.h);
    for (int y = 0; y < m.h; ++y)
        for (int x = 0; x < m.w; ++x) {
            const int sx = x - dx, sy = y - dy;
            if (sx >= 0 && sy >= 0 && sx < m.w && sy < m.h) out.at(x, y) = m.at(sx, sy);
        }
    return out;
}

void over(AlphaImage& dst, const Gray& coverage, float opacity, const std::function<Col(int, int)>& colour) {
    for (int y = 0; y < dst.colour.h; ++y)
        for (int x = 0; x < dst.colour.w; ++x) {
            const float a = clamp01(coverage.at(x, y) * opacity);
            if (a <= 0) continue;
            float& da = dst.alpha.at(x, y);
            Col& dc = dst.colour.at(x, y);
            const float outA = a + da * (1 - a);
            dc = (colour(x, y) * a + dc * (da * (1 - a))) * (1.0f / outA);
            da = outA;
        }
}

void paintPlate(AlphaImage& img, const Plate& p) {
    const int w = img.colour.w, h = img.colour.h;
    const Gray outline = roundedRect(w, h, p.x0, p.y0, p.x1, p.y1, p.radius);

    // Drop shadow: the plate's outline, moved down and right, blurred.
    Gray shadow = shifted(outline, p.shadowDx, p.shadowDy);
    blur(shadow, p.shadowBlur, false);
    over(img, shadow, kShadowOpacity, [](int, int) { return Col(0.0f); });

    over(img, outline, kPlateOpacity, [&](int x, int y) {
        const float t = (y - p.y0) / (p.y1 - p.y0);
        Col c = mix(palette::plateTop, palette::plateFoot, smooth(0.0f, 1.0f, t));
        const float dx = (x - p.glowX) / p.glowRx, dy = (y - p.glowY) / p.glowRy;
        c += palette::glow * (kGlowStrength * std::exp(-(dx * dx + dy * dy)));
        return c;
    });
    // The rim is brighter along the top edge.
    Gray rim = outline;
    const float in = p.rimWidth;
    const Gray inner = roundedRect(w, h, p.x0 + in, p.y0 + in, p.x1 - in, p.y1 - in, p.radius - in);
    for (size_t i = 0; i < rim.v.size(); ++i) rim.v[i] = clamp01(rim.v[i] - inner.v[i]);
    over(img, rim, 1.0f, [&](int, int y) {
        return mix(palette::rimTop, palette::rimFoot, (y - p.y0) / (p.y1 - p.y0));
    });
}

LeafPoint leafPoint(float cx, float fy, float s, float t) {
    return {cx + 3 * s + 13 * s * t, fy - 16 * s - 5 * s * std::sin(t * kPi * 0.5f),
            4.2f * s * std::sin(t * kPi) + 0.6f * s};
}

void paintQuince(AlphaImage& img, float cx, float fy, float s) {
    const int w = img.colour.w, h = img.colour.h;
    const Gray fruit = maskOf(w, h, [&](Image& c) {
        disc(c, cx, fy + 6 * s, 13 * s, Col(1.0f));
        disc(c, cx, fy - 3 * s, 9.5f * s, Col(1.0f));
    });
    over(img, fruit, 1.0f, [&](int x, int y) {
        const float d = std::hypot(x - (cx - 5.0f * s), y - (fy - 2.0f * s)) / (22.0f * s);
        return mix(palette::fruitLight, palette::fruitDeep, clamp01(d));
    });
    const Gray stalk = maskOf(w, h, [&](Image& c) {
        line(c, cx, fy - 11 * s, cx + 2 * s, fy - 18 * s, 2.0f * s, Col(1.0f));
    });
    over(img, stalk, 1.0f, [](int, int) { return palette::stalk; });
    // The leaf: a chain of discs along a curve, thick in the middle; more
    // discs when larger, so its edge stays smooth.
    const int steps = 12 * std::max(1, int(std::lround(s)));
    const Gray leaf = maskOf(w, h, [&](Image& c) {
        for (int k = 0; k <= steps; ++k) {
            const LeafPoint p = leafPoint(cx, fy, s, float(k) / steps);
            disc(c, p.x, p.y, p.r, Col(1.0f));
        }
    });
    over(img, leaf, 1.0f, [&](int, int y) {
        return mix(palette::leafTop, palette::leafFoot, clamp01((y - (fy - 24 * s)) / (12 * s)));
    });
}

}  // namespace tex
