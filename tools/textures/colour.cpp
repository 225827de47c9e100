// Colour fields and sprites: the map, the plasma, the glows, the marble
// and the abstract maps.
#include "noise.hpp"
#include "recipes.hpp"

namespace tex {

Image makeMap(int n) {
    Image img(n, n);
    // A night sea chart in flat tints, as printed charts are: deep sea, a
    // teal shelf along the coasts and slate land, with dashed graticule,
    // dotted tracks and harbour lights.
    //
    // Parts 10 and 11 never clear the picture; each frame blends 0.1 (then
    // 0.05) of this chart, at 0.6 brightness and through the fog left on
    // from part 9, over it, in 8 bits a channel. A pixel moves only while
    // the blend's rounded share of the chart differs from its rounded share
    // of the pixel, so it comes to rest at the edge of a window about 20
    // levels wide (10 in part 10) around the chart's value, and every chart
    // value inside one window gives the same resting colour. A smooth
    // gradient would rest as flat bands 20 levels apart. So each tint is one
    // flat colour whose every channel sits in the middle of a texel range
    // that rests on the same level in both parts whatever came before (see
    // kTint), and two tints that meet differ by two windows in some channel:
    // a clear edge, not a band. Everything finer (dashes, dots, lights) is a
    // few pixels across.
    Gray hgt(n, n);
    shadeGray(hgt, [](float u, float v) {
        float h = fbm(u * 4, v * 4, 4, 8, 0xC0A57u, 0.52f);
        float warp = 0.25f * fbm(u * 2 + 7.3f, v * 2 + 1.1f, 2, 3, 0x77u);
        return h + warp * 0.6f + 0.04f;
    });
    // Texel values and where the finale's picture comes to rest with them:
    // sea (24, 30, 84) rests at (29, 49, 88), shelf (24, 129, 132) at
    // (29, 88, 107), land (123, 78, 84) at (68, 68, 88).
    const Col sea = rgb8(24, 30, 84), shelf = rgb8(24, 129, 132), land = rgb8(123, 78, 84);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            float h = hgt.at(x, y);
            img.at(x, y) = h < 0.02f ? sea : h < 0.08f ? shelf : land;
        }
    // Graticule every 64 pixels, in short dashes.
    const Col pale = rgb8(175, 178, 180);
    for (int k = 0; k < n; k += n / 8)
        for (int t = 0; t < n; ++t) {
            if (t % 8 >= 3) continue;
            img.at(k, t) = pale;
            img.at(t, k) = pale;
        }
    // Tracks between harbour lights, only on dry land, dotted.
    Rng rng(0x40ADu);
    std::vector<std::pair<float, float>> towns;
    for (int tries = 0; towns.size() < 26 && tries < 2000; ++tries) {
        float x = rng.range(8, n - 8.0f), y = rng.range(8, n - 8.0f);
        float h = hgt.at(int(x), int(y));
        if (h > 0.12f && h < 0.4f) towns.push_back({x, y});
    }
    for (size_t i = 0; i < towns.size(); ++i) {
        // Head for the nearest other town, wandering a little.
        size_t best = i;
        float bd = 1e9f;
        for (size_t j = 0; j < towns.size(); ++j) {
            float d = std::hypot(towns[j].first - towns[i].first, towns[j].second - towns[i].second);
            if (j != i && d < bd) { bd = d; best = j; }
        }
        float x = towns[i].first, y = towns[i].second;
        float tx = towns[best].first, ty = towns[best].second;
        for (int step = 0; step < 400; ++step) {
            float dx = tx - x, dy = ty - y, d = std::hypot(dx, dy);
            if (d < 3) break;
            float a = std::atan2(dy, dx) + 0.9f * noise(x * 0.03f, y * 0.03f, 0, 0x12u + uint32_t(i));
            float nx = x + 2.5f * std::cos(a), ny = y + 2.5f * std::sin(a);
            int ix = std::clamp(int(nx), 0, n - 1), iy = std::clamp(int(ny), 0, n - 1);
            if (hgt.at(ix, iy) < 0.09f) break;
            if (step % 2 == 0) img.at(ix, iy) = pale;
            x = nx; y = ny;
        }
    }
    for (auto& t : towns) {
        disc(img, t.first, t.second, 1.6f, rgb8(230, 236, 255));
    }
    return img;
}

Image makePlasma(int n) {
    Image img(n, n);
    // Sum of sines with whole numbers of periods across the tile, so the
    // plasma wraps; nested sines bend the bands into blobs. The bands run
    // through the splash's quince gold, olive and amber (a cyclic ramp, so
    // neighbouring bands blend without a seam) rather than the colour wheel.
    const std::vector<Stop> quince = {
        {0.00f, rgb8(46, 54, 14)},   {0.22f, rgb8(122, 132, 36)}, {0.45f, rgb8(232, 182, 44)},
        {0.62f, rgb8(255, 238, 170)}, {0.80f, rgb8(204, 116, 28)}, {1.00f, rgb8(46, 54, 14)}};
    shade(img, [&](float u, float v) {
        float a = u * kTwoPi, b = v * kTwoPi;
        float s = std::sin(2 * a + 1.7f * std::sin(b) + 0.3f) + std::sin(3 * b + 1.4f * std::cos(a + 2 * b)) +
                  std::sin(a + b + 2.1f * std::sin(2 * a - b)) + 0.8f * std::sin(3 * a - 2 * b + 1.5f * std::cos(b));
        s /= 3.8f;  // about [-1, 1]
        return ramp(quince, fract(1.3f * s + 0.4f));
    }, 2);
    return img;
}

namespace {
// Round glow: a colour halo falling to exactly zero at 85% of the radius,
// with a white-hot core. Only the brightness matters for the sprites.
Image glow(int n, Col halo, Col core) {
    Image img(n, n);
    shade(img, [&](float u, float v) {
        float r = std::hypot(u - 0.5f, v - 0.5f) * 2.0f;
        float t = clamp01(1 - r / 0.85f);
        float f = t * t * (3 - 2 * t);
        f = f * f;
        float hot = std::exp(-r * r / 0.02f);
        Col c = halo * f + core * (hot * 0.85f) + Col(1.0f) * (f * f * f * 0.4f);
        return t > 0 ? c : Col(0.0f);
    }, 2);
    return img;
}
}  // namespace

Image makeGlowWarm(int n) { return glow(n, Col(1.0f, 0.62f, 0.22f), Col(1.0f, 0.95f, 0.85f)); }
Image makeGlowCool(int n) { return glow(n, Col(0.45f, 0.65f, 1.0f), Col(0.9f, 0.95f, 1.0f)); }

Image makeMarble(int n) {
    Image img(n, n);
    shade(img, [](float u, float v) {
        float cloud = fbm(u * 3, v * 3, 3, 6, 0x91u);
        float main = veins(u * 2, v * 2, 2, 1, 1, 5.5f, 0x3A8u);
        float cross = veins(u * 3, v * 3, 3, -1, 2, 6.0f, 0x5Eu);
        float fine = veins(u * 6, v * 6, 6, 2, -1, 8.0f, 0x61u);
        Col base = mix(rgb8(242, 240, 234), rgb8(206, 212, 208), smooth(-0.4f, 0.6f, cloud));
        base = mix(base, rgb8(234, 222, 202), smooth(0.1f, 0.7f, fbm(u * 2, v * 2, 2, 3, 0x4u)) * 0.4f);
        // Soft grey-green clouding around the veins, then dark cores;
        // the crossing set is fainter, hairlines finer still.
        Col c = mix(base, rgb8(150, 164, 158), (1 - smooth(0.0f, 0.6f, main)) * 0.5f);
        c = mix(c, rgb8(170, 180, 176), (1 - smooth(0.0f, 0.4f, cross)) * 0.3f);
        c = mix(c, rgb8(58, 72, 68), (1 - smooth(0.02f, 0.14f, main)) * 0.85f);
        c = mix(c, rgb8(90, 104, 100), (1 - smooth(0.01f, 0.08f, cross)) * 0.55f);
        c = mix(c, rgb8(130, 140, 136), (1 - smooth(0.0f, 0.05f, fine)) * 0.35f);
        return c;
    }, 2);
    return img;
}

Image makeAbstractCells(int n) {
    Image img(n, n);
    // Leaded glass: each cell a saturated colour, darker towards its rim.
    shade(img, [](float u, float v) {
        Cell c = worley(u * 7, v * 7, 7, 0x6A55u, 0.9f);
        float edge = c.f2 - c.f1;
        Col glass = hsv(float(c.id % 1000) / 1000.0f, 0.8f, 0.95f);
        glass *= 0.65f + 0.45f * (1 - c.f1) + 0.1f * fbm(u * 16, v * 16, 16, 3, 0x9u);
        float lead = 1 - smooth(0.03f, 0.07f, edge);
        return mix(glass, rgb8(25, 22, 30), lead);
    }, 2);
    return img;
}

Image makeAbstractRings(int n) {
    Image img(n, n);
    // Interference of three ring sources, wrapped so the tile repeats.
    const float src[3][2] = {{0.3f, 0.35f}, {0.72f, 0.28f}, {0.5f, 0.78f}};
    shade(img, [&](float u, float v) {
        float s = 0;
        for (auto& p : src) {
            float dx = std::fabs(u - p[0]), dy = std::fabs(v - p[1]);
            dx = std::min(dx, 1 - dx); dy = std::min(dy, 1 - dy);
            s += std::sin(std::sqrt(dx * dx + dy * dy) * 70.0f);
        }
        s /= 3;
        return ramp({{-1.0f, rgb8(10, 10, 60)}, {-0.3f, rgb8(40, 80, 200)}, {0.2f, rgb8(240, 190, 60)},
                     {0.7f, rgb8(255, 250, 220)}, {1.0f, Col(1.0f)}}, s);
    }, 2);
    return img;
}

Image makeAbstractAgate(int n) {
    Image img(n, n);
    // Banded agate: contour bands of a warped field through a stone palette.
    shade(img, [](float u, float v) {
        float w = fbm(u * 3, v * 3, 3, 4, 0xA9A7u);
        float f = fbm(u * 2 + w * 0.6f, v * 2 - w * 0.4f, 2, 6, 0x1234u);
        float band = fract(f * 9.0f);
        Col c = ramp({{0.0f, rgb8(90, 30, 20)}, {0.25f, rgb8(200, 90, 40)}, {0.45f, rgb8(245, 220, 180)},
                      {0.6f, rgb8(120, 140, 170)}, {0.8f, rgb8(50, 60, 110)}, {1.0f, rgb8(90, 30, 20)}}, band);
        return c * (0.85f + 0.2f * fbm(u * 20, v * 20, 20, 2, 0x77u));
    }, 2);
    return img;
}

Image makeAbstractHex(int n) {
    Image img(n, n);
    // Glowing honeycomb; 8 columns and an even row count keep it tileable.
    const float cols = 8, rows = 8 * 2 / std::sqrt(3.0f);
    const float rowsI = std::round(rows / 2) * 2;
    shade(img, [&](float u, float v) {
        float x = u * cols, y = v * rowsI * std::sqrt(3.0f) / 2;
        // Nearest centre of two offset rectangular lattices.
        float ax = std::floor(x) + 0.5f, ay = (std::floor(y / std::sqrt(3.0f)) + 0.5f) * std::sqrt(3.0f);
        float bx = std::floor(x + 0.5f), by = (std::floor(y / std::sqrt(3.0f) + 0.5f)) * std::sqrt(3.0f);
        float da = std::hypot(x - ax, y - ay), db = std::hypot(x - bx, y - by);
        float cx = da < db ? ax : bx, cy = da < db ? ay : by;
        float dx = std::fabs(x - cx), dy = std::fabs(y - cy);
        float hexd = std::max(dx, dx * 0.5f + dy * std::sqrt(3.0f) / 2);  // 0.5 at the rim
        float edge = 0.5f - hexd;
        uint32_t id = hash2(int(std::floor(cx * 2)), int(std::floor(cy * 2)), 0x4E7u);
        Col fill = mix(rgb8(10, 14, 40), rgb8(30, 20, 70), float(id % 100) / 100.0f);
        if (id % 7 == 0) fill = rgb8(60, 30, 110);
        Col lineC = (id % 3 == 0) ? rgb8(255, 80, 200) : rgb8(60, 220, 255);
        Col c = fill + lineC * (0.5f * std::exp(-edge * 18.0f));
        c = mix(c, Col(1.0f), 1 - smooth(0.0f, 0.03f, edge));
        return c;
    }, 2);
    return img;
}

}  // namespace tex
