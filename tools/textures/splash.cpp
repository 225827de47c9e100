// The title picture shown while the demo loads: a dark rounded plate with
// the title in gold, a light rim and a soft drop shadow, on a transparent
// ground. The demo mixes it over the desktop with its alpha channel, so the
// plate has to read on light and dark desktops alike: the shadow and the
// dark plate carry it on light ones, the rim and the gold on dark ones.
#include <functional>

#include "font.hpp"
#include "recipes.hpp"

namespace tex {

namespace {

// Coverage of whatever draw paints in white onto black.
Gray maskOf(int w, int h, const std::function<void(Image&)>& draw) {
    Image canvas(w, h);
    draw(canvas);
    Gray m(w, h);
    for (size_t i = 0; i < m.v.size(); ++i) m.v[i] = clamp01(canvas.px[i].r);
    return m;
}

// Anti-aliased rounded rectangle [x0,x1) x [y0,y1) with corner radius r.
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

// Porter-Duff "over" of one layer onto the picture, straight (not
// premultiplied) colour: colour(x, y) at coverage(x, y) * opacity.
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

// Stamps a text mask into a full-size coverage layer, top-left at (x, y).
Gray placed(int w, int h, const Gray& text, int x, int y) {
    Gray m(w, h);
    for (int j = 0; j < text.h; ++j)
        for (int i = 0; i < text.w; ++i)
            if (x + i >= 0 && y + j >= 0 && x + i < w && y + j < h) m.at(x + i, y + j) = text.at(i, j);
    return m;
}

}  // namespace

AlphaImage makeSplash(int w, int h) {
    AlphaImage img(w, h);
    const float x0 = 22, y0 = 18, x1 = w - 30.0f, y1 = h - 36.0f, radius = 16;
    const float cx = (x0 + x1) * 0.5f;

    // Drop shadow: the plate's outline, moved down and right, blurred.
    Gray shadow = shifted(roundedRect(w, h, x0, y0, x1, y1, radius), 7, 10);
    blur(shadow, 6.0f, false);
    over(img, shadow, 0.62f, [](int, int) { return Col(0.0f); });

    // The plate: dark leaf green, a warm glow behind the title.
    const Gray plate = roundedRect(w, h, x0, y0, x1, y1, radius);
    over(img, plate, 0.9f, [&](int x, int y) {
        const float t = (y - y0) / (y1 - y0);
        Col c = mix(rgb8(46, 60, 38), rgb8(12, 18, 14), smooth(0.0f, 1.0f, t));
        const float dx = (x - cx) / 110.0f, dy = (y - 98.0f) / 46.0f;
        c += Col(0.85f, 0.62f, 0.16f) * (0.22f * std::exp(-(dx * dx + dy * dy)));
        return c;
    });
    // A pale gold rim, brighter along the top edge.
    Gray rim = roundedRect(w, h, x0, y0, x1, y1, radius);
    const Gray inner = roundedRect(w, h, x0 + 1.6f, y0 + 1.6f, x1 - 1.6f, y1 - 1.6f, radius - 1.6f);
    for (size_t i = 0; i < rim.v.size(); ++i) rim.v[i] = clamp01(rim.v[i] - inner.v[i]);
    over(img, rim, 1.0f, [&](int, int y) { return mix(rgb8(250, 232, 170), rgb8(170, 150, 90), (y - y0) / (y1 - y0)); });

    // A quince above the title: a golden fruit, its leaf and stalk.
    const float fy = 54;
    const Gray fruit = maskOf(w, h, [&](Image& c) {
        disc(c, cx, fy + 6, 13, Col(1.0f));
        disc(c, cx, fy - 3, 9.5f, Col(1.0f));
    });
    over(img, fruit, 1.0f, [&](int x, int y) {
        const float d = std::hypot(x - (cx - 5.0f), y - (fy - 2.0f)) / 22.0f;
        return mix(rgb8(255, 236, 120), rgb8(196, 138, 24), clamp01(d));
    });
    const Gray stalk = maskOf(w, h, [&](Image& c) { line(c, cx, fy - 11, cx + 2, fy - 18, 2.0f, Col(1.0f)); });
    over(img, stalk, 1.0f, [](int, int) { return rgb8(90, 60, 30); });
    const Gray leaf = maskOf(w, h, [&](Image& c) {
        for (int k = 0; k <= 12; ++k) {
            const float t = k / 12.0f;
            disc(c, cx + 3 + 13 * t, fy - 16 - 5 * std::sin(t * kPi * 0.5f), 4.2f * std::sin(t * kPi) + 0.6f,
                 Col(1.0f));
        }
    });
    over(img, leaf, 1.0f, [](int, int y) { return mix(rgb8(140, 190, 80), rgb8(60, 110, 40), clamp01((y - 30) / 12.0f)); });

    // The title in gold with a dark halo under it.
    const Gray title = boldFont().fit("QUITTENHAIN", int((x1 - x0) * 0.84f), 36, 0.06f);
    const int tx = int(cx - title.w * 0.5f), ty = 82;
    Gray halo = shifted(placed(w, h, title, tx, ty), 1, 2);
    blur(halo, 2.0f, false);
    for (float& v : halo.v) v = clamp01(v * 1.6f);
    over(img, halo, 0.75f, [](int, int) { return Col(0.0f); });
    over(img, placed(w, h, title, tx, ty), 1.0f, [&](int, int y) {
        const float t = clamp01(float(y - ty) / title.h);
        return ramp({{0.0f, rgb8(255, 248, 200)}, {0.5f, rgb8(255, 214, 90)}, {1.0f, rgb8(214, 140, 30)}}, t);
    });

    // A rule that fades out at its ends, and the subtitle.
    const float ry = ty + title.h + 12.0f, half = (x1 - x0) * 0.36f;
    const Gray rule = maskOf(w, h, [&](Image& c) {
        for (int px = int(cx - half); px < int(cx + half); ++px) {
            const float d = std::fabs(px + 0.5f - cx) / half;
            fillRect(c, float(px), ry - 0.6f, px + 1.0f, ry + 0.6f, Col(1.0f), 1 - smooth(0.3f, 1.0f, d));
        }
    });
    over(img, rule, 0.9f, [](int, int) { return rgb8(240, 210, 130); });
    const Gray sub = plainFont().fit("real-time demo", int((x1 - x0) * 0.5f), 13, 0.12f);
    over(img, placed(w, h, sub, int(cx - sub.w * 0.5f), int(ry + 10)), 1.0f,
         [](int, int) { return rgb8(214, 226, 200); });

    // Three dots near the foot: the demo is loading.
    const Gray dots = maskOf(w, h, [&](Image& c) {
        for (int k = -1; k <= 1; ++k) disc(c, cx + k * 14.0f, y1 - 18, 2.6f, Col(1.0f));
    });
    over(img, dots, 1.0f, [](int, int) { return rgb8(255, 214, 90); });

    // Fully clear at the picture's border, whatever the blur left there.
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (x < 2 || y < 2 || x >= w - 2 || y >= h - 2) img.alpha.at(x, y) = 0;
    return img;
}

}  // namespace tex
