// Stone and building surfaces: columns, floors, paving and roof tiles.
// All of them wrap horizontally and vertically so they can repeat.
#include "noise.hpp"
#include "recipes.hpp"

namespace tex {

namespace {
// Common light for carved surfaces: from the upper left, towards the viewer.
constexpr float kLx = -0.55f, kLy = -0.6f, kLz = 0.75f;

// The demo samples these pictures with a linear filter and no smaller
// levels, so a screen pixel that covers several texels picks one of them:
// detail finer than that flickers from frame to frame as the camera moves.
// Each picture ends with a soft low-pass that takes out what only a few
// texels wide, which keeps the carving and the joints and still looks sharp
// where a screen pixel covers a texel or two (1920 x 1440).
Image forLinearFilter(Image img, float sigma = 1.6f) {
    blur(img, sigma, true);
    return img;
}

struct ColumnStyle {
    float flutes;      // channels around the shaft (the picture wraps once)
    float fillet;      // width of the flat ridge between channels, 0..1
    int drums;         // horizontal joints per picture height
    Col stone, stain;  // clean stone colour and the colour of run-off streaks
    float weathering;  // 0 = clean, 1 = heavily streaked and pitted
    uint32_t seed;
    // The light on the shaft (base plus the channels' shading), how wide
    // the fillet's edge is rounded (share of a channel), how dark the drum
    // joints are and how bright their lip, how many rain streaks run round, and how wide the
    // joints are (times their narrowest).
    float lightBase = 0.78f, channelShade = 0.3f, rounding = 0.0f, seamDepth = 0.65f, lipLight = 0.08f;
    float streaks = 40, seamWidth = 1.0f;
};

// Fluted shaft: concave channels lit as half-cylinders, with grain,
// vertical rain streaks, small pits and drum joints.
Image fluted(int n, const ColumnStyle& st) {
    Image img(n, n);
    const float ll = std::sqrt(kLx * kLx + kLy * kLy + kLz * kLz);
    shade(img, [&](float u, float v) {
        float s = fract(u * st.flutes);
        float nx = 0, nz = 1;
        float half = st.fillet * 0.5f;
        if (s > half && s < 1 - half) {
            float q = (s - half) / (1 - st.fillet);
            nx = (1 - 2 * q) * 0.97f;
            // Rounded into the fillet rather than breaking off at its edge.
            if (st.rounding > 0) nx *= smooth(0.0f, st.rounding, std::min(q, 1 - q));
            nz = std::sqrt(1 - nx * nx);
        }
        // The channels are shaded softly: the camera skims the shafts close
        // by, where a strongly shaded channel sweeping half its width across
        // a pixel between two frames would flash from dark to light.
        float diffuse = std::max(0.0f, (nx * kLx + nz * kLz) / ll);
        float ao = 0.9f + 0.1f * nz;
        float light = (st.lightBase + st.channelShade * diffuse) * ao;
        // Stone body: broad mottling plus fine grain.
        float mottle = fbm(u * 6, v * 6, 6, 4, st.seed);
        Col c = st.stone * (0.93f + 0.1f * mottle);
        c = mix(c, st.stone * Col(1.04f, 1.0f, 0.94f), smooth(0.2f, 0.8f, fbm(u * 3, v * 3, 3, 3, st.seed + 9)) * 0.3f);
        // Rain streaks: noise stretched along the shaft, channels hold more dirt.
        float streak = fbmXY(u * st.streaks, v * 3, int(st.streaks), 3, 4, st.seed + 21);
        float dirt = smooth(0.05f, 0.5f, streak) * st.weathering * (0.6f + 0.4f * (1 - nz));
        c = mix(c, st.stain, dirt * 0.6f);
        // Pits, few and broad enough to survive the filter.
        Cell pit = worley(u * 20, v * 20, 20, st.seed + 33);
        if (pit.id % 5 == 0) c *= 1 - 0.3f * st.weathering * (1 - smooth(0.05f, 0.2f, pit.f1));
        Col out = c * light;
        // Drum joints: a dark seam with a lit lower lip.
        if (st.drums > 0) {
            float jy = fract(v * st.drums);
            float px = 1.0f / n * st.drums * st.seamWidth;
            float seam = 1 - smooth(px * 0.8f, px * 2.2f, std::min(jy, 1 - jy));
            float lip = smooth(px * 2.0f, px * 3.0f, jy) * (1 - smooth(px * 3.0f, px * 5.0f, jy));
            out = out * (1 - st.seamDepth * seam) + Col(st.lipLight) * lip;
        }
        return out;
    }, 2);
    return img;
}
}  // namespace

Image makeTempleColumn(int n) {
    // The camera glides past these shafts close by: the channels are shaded
    // softly and round into their fillets, the drum joints are broad and
    // shallow and the rain streaks broad, so no edge is sharp enough to
    // flash as it crosses a pixel between two frames.
    return forLinearFilter(fluted(n, {12, 0.12f, 2, rgb8(206, 196, 174), rgb8(150, 130, 105), 0.45f, 0x7E3Bu, 0.82f,
                                      0.2f, 0.25f, 0.35f, 0.04f, 20, 2.0f}),
                           1.6f);
}

Image makeCityColumn(int n) {
    return forLinearFilter(fluted(n, {12, 0.1f, 4, rgb8(160, 164, 168), rgb8(80, 86, 92), 0.9f, 0xC17Cu}), 1.6f);
}

Image makeTempleFloor(int n) {
    const int tiles = 4;
    const float tw = float(n) / tiles;
    Image paint(n, n);
    Gray hgt(n, n);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            int ti = int(x / tw), tj = int(y / tw);
            float lx = x + 0.5f - ti * tw, ly = y + 0.5f - tj * tw;
            float edge = std::min(std::min(lx, tw - lx), std::min(ly, tw - ly));
            // Marble slab; the noise is offset per slab so veins break at joints.
            float ox = ti * 7.31f + tj * 3.17f, oy = tj * 5.23f - ti * 1.9f;
            float u = lx / tw, v = ly / tw;
            bool light = ((ti + tj) & 1) == 0;
            float vein = veins(u * 1.2f + ox, v * 1.2f + oy, 0, light ? 0.55f : -0.4f, 0.35f, 7.0f, 0xF100u);
            float cloud = fbm(u * 3 + ox, v * 3 + oy, 0, 4, 0xF200u);
            float tone = hashf(ti, tj, 0xF3u);
            Col base = light ? mix(rgb8(232, 224, 206), rgb8(214, 204, 186), 0.5f + 0.5f * cloud)
                             : mix(rgb8(168, 92, 74), rgb8(128, 62, 52), 0.5f + 0.5f * cloud);
            base *= 0.95f + 0.1f * tone;
            Col veinC = light ? rgb8(120, 115, 110) : rgb8(235, 205, 180);
            Col c = mix(base, mix(base, veinC, 0.5f), (1 - smooth(0.0f, 0.4f, vein)) * 0.5f);
            c = mix(c, veinC, (1 - smooth(0.01f, 0.1f, vein)) * (light ? 0.7f : 0.6f));
            // Dark green inlay diamonds where four slabs meet.
            float dx = std::min(std::fmod(x + 0.5f, tw), tw - std::fmod(x + 0.5f, tw));
            float dy = std::min(std::fmod(y + 0.5f, tw), tw - std::fmod(y + 0.5f, tw));
            float dia = dx + dy;
            float h = smooth(1.5f, 4.5f, edge);
            if (dia < 22) {
                float g = fbm(x * 0.08f, y * 0.08f, 0, 3, 0xF4u);
                c = mix(rgb8(30, 70, 55), rgb8(60, 110, 90), 0.5f + 0.5f * g);
                c = mix(c, rgb8(200, 190, 150), 1 - smooth(0.5f, 2.0f, 22 - dia));
                h = smooth(0.5f, 3.0f, 22 - dia) * 0.8f;
            }
            // Joints: dark mortar.
            if (edge < 1.6f && dia >= 22) c = rgb8(70, 62, 55);
            // Wear: broad grime and fine scratches.
            c *= 0.9f + 0.12f * fbm(x * 0.01f, y * 0.01f, 0, 4, 0xF5u);
            paint.at(x, y) = c;
            hgt.at(x, y) = h * 3.0f;
        }
    Gray lit = relief(hgt, kLx, kLy, kLz, true);
    Rng rng(0xF6u);
    for (int i = 0; i < 40; ++i) {
        float x = rng.range(0, float(n)), y = rng.range(0, float(n)), a = rng.range(0, kTwoPi), l = rng.range(10, 50);
        line(paint, x, y, x + l * std::cos(a), y + l * std::sin(a), 0.8f, Col(1.0f), 0.12f);
    }
    for (size_t i = 0; i < paint.px.size(); ++i) paint.px[i] *= 0.3f + 0.85f * lit.v[i];
    return forLinearFilter(paint);
}

Image makeCobbleGround(int n) {
    const int cells = 14;
    Image paint(n, n);
    Gray hgt(n, n);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            float u = (x + 0.5f) / n, v = (y + 0.5f) / n;
            Cell c = worley(u * cells, v * cells, cells, 0xC0B1u, 0.8f);
            float edge = c.f2 - c.f1;
            float stone = smooth(0.04f, 0.16f, edge);
            float tone = float(c.id % 1000) / 1000.0f;
            Col sc = mix(rgb8(120, 124, 134), rgb8(160, 152, 138), tone);
            if (c.id % 11 == 0) sc = rgb8(98, 104, 118);
            sc *= 0.9f + 0.15f * fbm(u * 64, v * 64, 64, 3, 0xC0B2u);
            Col mortar = mix(rgb8(72, 70, 66), rgb8(96, 94, 86), 0.5f + 0.5f * fbm(u * 40, v * 40, 40, 3, 0xC0B3u));
            paint.at(x, y) = mix(mortar, sc, stone);
            float dome = std::sqrt(std::max(0.0f, 1 - c.f1 * c.f1 * 1.3f));
            hgt.at(x, y) = stone * (4.0f + 6.0f * dome) + 1.2f * fbm(u * 96, v * 96, 96, 2, 0xC0B4u);
        }
    Gray lit = relief(hgt, kLx, kLy, kLz, true);
    // Soft relief: the street right under the camera sweeps by fast, and
    // deep shading of the joints would flash there from frame to frame.
    for (size_t i = 0; i < paint.px.size(); ++i) paint.px[i] *= 0.55f + 0.5f * lit.v[i];
    return forLinearFilter(paint);
}

Image makeFlagstoneGround(int n) {
    const int rows = 8;
    const float rh = float(n) / rows;
    Rng rng(0xF1A6u);
    // Each row: slab boundaries across the width, shifted by a random offset.
    std::vector<std::vector<float>> cuts(rows);
    std::vector<float> shift(rows);
    for (int r = 0; r < rows; ++r) {
        float pos = 0;
        cuts[r].push_back(0);
        while (true) {
            float w = rng.range(rh * 1.0f, rh * 2.4f);
            if (n - (pos + w) < rh * 0.9f) break;
            pos += w;
            cuts[r].push_back(pos);
        }
        cuts[r].push_back(float(n));
        shift[r] = rng.range(0, float(n));
    }
    Image paint(n, n);
    Gray hgt(n, n);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            int r = int(y / rh);
            float xx = std::fmod(x + 0.5f - shift[r] + n, float(n));
            size_t k = 1;
            while (k + 1 < cuts[r].size() && cuts[r][k] <= xx) ++k;
            float left = cuts[r][k - 1], right = cuts[r][k];
            float ly = y + 0.5f - r * rh;
            float edge = std::min(std::min(xx - left, right - xx), std::min(ly, rh - ly));
            uint32_t id = hash2(r, int(k), 0xF1A7u);
            float tone = float(id % 1000) / 1000.0f;
            float u = (x + 0.5f) / n, v = (y + 0.5f) / n;
            Col sc = mix(rgb8(150, 146, 136), rgb8(186, 176, 156), tone);
            if (id % 7 == 0) sc = rgb8(128, 130, 134);
            float grain = fbm(u * 32, v * 32, 32, 4, 0xF1A8u);
            sc *= 0.88f + 0.16f * grain;
            // Lichen blotches on some slabs, grime gathering near the joints.
            float lichen = smooth(0.35f, 0.6f, fbm(u * 10, v * 10, 10, 4, 0xF1A9u + id % 3));
            sc = mix(sc, rgb8(110, 120, 90), lichen * 0.35f);
            sc *= 0.8f + 0.2f * smooth(0.0f, 10.0f, edge);
            float stone = smooth(1.0f, 3.0f, edge);
            Col joint = mix(rgb8(50, 52, 44), rgb8(70, 80, 56), 0.5f + 0.5f * grain);
            paint.at(x, y) = mix(joint, sc, stone);
            hgt.at(x, y) = stone * 3.0f + 0.8f * grain + 0.6f * fbm(u * 128, v * 128, 128, 1, 0xF1ABu);
        }
    Gray lit = relief(hgt, kLx, kLy, kLz, true);
    for (size_t i = 0; i < paint.px.size(); ++i) paint.px[i] *= 0.3f + 0.85f * lit.v[i];
    // A few hairline cracks wandering across single slabs.
    for (int i = 0; i < 14; ++i) {
        float x = rng.range(0, float(n)), y = rng.range(0, float(n));
        float a = rng.range(0, kTwoPi);
        int len = 10 + rng.below(25);
        for (int k = 0; k < len; ++k) {
            a += rng.range(-0.6f, 0.6f);
            float nx = x + 2.0f * std::cos(a), ny = y + 2.0f * std::sin(a);
            line(paint, x, y, nx, ny, 1.1f, rgb8(40, 40, 36), 0.55f);
            x = nx; y = ny;
        }
    }
    return forLinearFilter(paint);
}

Image makeRoofTiles(int n) {
    // Fish-scale clay tiles: 16 per row, each row hangs over the one below
    // and is offset by half a tile. Rows run top (ridge) to bottom (eaves).
    const int per = 16;
    const float tw = float(n) / per, rh = tw;
    const float hang = rh * 1.5f;  // tile length; the rounded end overlaps
    Image img(n, n);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            float fy = y + 0.5f, fx = x + 0.5f;
            int r = int(fy / rh);
            // Which tile is on top here: the row above (if its rounded end
            // reaches this far) or this row.
            int row = r;
            float ty = 0, tx = 0;
            int col = 0;
            float shadow = 1;
            for (int cand : {r - 1, r}) {
                float off = (cand & 1) ? tw * 0.5f : 0;
                float lx = std::fmod(fx + off, float(n));
                int c = int(lx / tw);
                float cx = lx - c * tw;
                float cy = fy - cand * rh;
                float rad = tw * 0.5f;
                float endY = hang - rad;
                bool inside = cy >= 0 && (cy < endY || std::hypot(cx - rad, cy - endY) < rad);
                if (cand == r - 1) {
                    if (inside) { row = cand; tx = cx; ty = cy; col = c; break; }
                    // Shadow cast just below the rounded end of the tile above.
                    float d = std::hypot(cx - rad, cy - endY) - rad;
                    shadow = 0.45f + 0.55f * smooth(0.0f, rh * 0.28f, d);
                } else {
                    row = cand; tx = cx; ty = cy; col = c;
                }
            }
            int rowW = ((row % per) + per) % per;
            uint32_t id = hash2(col, rowW, 0x800Fu);
            float tone = float(id % 1000) / 1000.0f;
            Col clay = mix(rgb8(168, 72, 42), rgb8(196, 104, 58), tone);
            if (id % 9 == 0) clay = rgb8(132, 58, 40);
            if (id % 13 == 0) clay = rgb8(186, 120, 72);
            // Barrel shading across the tile, brighter lip at the rounded end.
            float nx = (tx - tw * 0.5f) / (tw * 0.5f);
            float barrel = std::sqrt(std::max(0.0f, 1 - 0.8f * nx * nx));
            float light = 0.45f + 0.55f * barrel - 0.12f * nx;
            light *= 0.75f + 0.25f * smooth(0.0f, hang, ty);
            float rim = std::hypot(tx - tw * 0.5f, ty - (hang - tw * 0.5f)) - tw * 0.5f;
            if (ty > hang - tw * 0.5f) light *= 1 - 0.35f * (1 - smooth(-3.0f, 0.0f, rim)) * smooth(-6.0f, -3.0f, rim);
            light *= 0.8f + 0.2f * smooth(0.0f, 1.5f, std::min(tx, tw - tx));
            float u = fx / n, v = fy / n;
            clay *= 0.9f + 0.15f * fbm(u * 48, v * 48, 48, 3, 0x8010u);
            float moss = smooth(0.3f, 0.65f, fbm(u * 6, v * 6, 6, 5, 0x8011u));
            clay = mix(clay, rgb8(96, 100, 60), moss * 0.45f);
            img.at(x, y) = clay * (light * shadow);
        }
    return forLinearFilter(img);
}

}  // namespace tex
