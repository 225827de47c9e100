// Painted temple frieze: bands of mouldings, dentils, beads, a running
// key, egg-and-dart and rosette coffers, carved in one height field and lit.
// Every ornament period divides the width, so the band repeats sideways.
#include "noise.hpp"
#include "recipes.hpp"

namespace tex {

namespace {
struct Rect { float x0, y0, x1, y1; };

// Running key in cell units: a bottom rail plus one squared spiral per
// cell, strokes one unit wide, gaps one unit wide. Cell is 8 x 7 units.
const std::vector<Rect>& keyStrokes() {
    static const std::vector<Rect> r = [] {
        const float pts[][2] = {{0.5f, 6.5f}, {0.5f, 0.5f}, {6.5f, 0.5f}, {6.5f, 4.5f},
                                {2.5f, 4.5f}, {2.5f, 2.5f}, {4.5f, 2.5f}};
        std::vector<Rect> v{{0.0f, 6.0f, 8.0f, 7.0f}};
        for (size_t i = 1; i < 7; ++i) {
            float ax = pts[i - 1][0], ay = pts[i - 1][1], bx = pts[i][0], by = pts[i][1];
            v.push_back({std::min(ax, bx) - 0.5f, std::min(ay, by) - 0.5f, std::max(ax, bx) + 0.5f,
                         std::max(ay, by) + 0.5f});
        }
        return v;
    }();
    return r;
}

// Smooth dome of an ellipse: 1 at the centre, 0 on and outside the rim.
inline float dome(float dx, float dy, float ax, float ay) {
    float d = (dx / ax) * (dx / ax) + (dy / ay) * (dy / ay);
    return d < 1 ? std::sqrt(1 - d) : 0.0f;
}
}  // namespace

Image makeTempleFrieze(int n) {
    const float s = n / 512.0f;  // layout designed on a 512 grid
    const Col stone = rgb8(222, 208, 182), gold = rgb8(214, 168, 74), red = rgb8(150, 44, 30),
              blue = rgb8(44, 66, 116);
    Image paint(n, n);
    Gray hgt(n, n);
    for (int py = 0; py < n; ++py)
        for (int px = 0; px < n; ++px) {
            float x = (px + 0.5f) / s, y = (py + 0.5f) / s;  // design units
            float u = (px + 0.5f) / n, v = (py + 0.5f) / n;
            Col c = stone * (0.92f + 0.1f * fbm(u * 8, v * 8, 8, 4, 0xF0u));
            float h = 0;
            if (y < 28) {  // crowning moulding: cavetto and a round
                float t = y / 28;
                h = 12 - 8 * smooth(0.0f, 1.0f, t) + 3 * std::exp(-std::pow((t - 0.25f) / 0.12f, 2.0f));
            } else if (y < 64) {  // dentils
                float lx = std::fmod(x, 32.0f);
                bool block = lx > 6 && lx < 26 && y > 30 && y < 62;
                h = block ? 9 : 0;
                if (!block) c *= 0.7f;
            } else if (y < 76 || (y >= 196 && y < 208)) {  // bead rows
                float cy = y < 76 ? 70 : 202;
                float lx = std::fmod(x, 16.0f) - 8;
                h = 2 + 4 * dome(lx, y - cy, 6.5f, 5.0f);
            } else if (y < 196) {  // running key on red
                c = red * (0.9f + 0.15f * fbm(u * 16, v * 16, 16, 3, 0xF1u));
                h = 1;
                bool rule = (y > 80 && y < 86) || (y > 186 && y < 192);
                const float unit = 512.0f / 40;  // five cells across
                float ky = (y - 91.2f) / unit;
                float kx = std::fmod(x, unit * 8) / unit;
                bool key = false;
                if (ky >= 0 && ky < 7)
                    for (const Rect& r : keyStrokes())
                        if (kx >= r.x0 && kx < r.x1 && ky >= r.y0 && ky < r.y1) key = true;
                if (key || rule) {
                    c = gold * (0.92f + 0.12f * fbm(u * 24, v * 24, 24, 3, 0xF2u));
                    h = 4;
                }
            } else if (y < 300) {  // egg and dart on blue
                c = blue * (0.9f + 0.15f * fbm(u * 16, v * 16, 16, 3, 0xF3u));
                float lx = std::fmod(x, 64.0f) - 32, ly = y - 254;
                float shell = std::hypot(lx / 28, ly / 41);
                float egg = dome(lx, ly + 2, 20, 33);
                float dartX = std::fabs(std::fmod(x + 32, 64.0f) - 32);
                bool dartStem = dartX < 2.2f && y > 214 && y < 272;
                bool dartHead = y >= 266 && y < 292 && dartX < (292 - y) * 0.42f;
                if (std::fabs(shell - 1) < 0.11f) {
                    c = gold;
                    h = 3 + 2 * (1 - std::fabs(shell - 1) / 0.11f);
                } else if (egg > 0) {
                    c = stone * 1.03f;
                    h = 2 + 6 * egg;
                } else if (dartStem || dartHead) {
                    c = gold;
                    h = 4;
                }
            } else if (y < 316) {  // torus
                float t = (y - 308) / 8;
                h = 6 * std::sqrt(std::max(0.0f, 1 - t * t));
            } else if (y < 444) {  // coffers with rosettes
                float lx = std::fmod(x, 128.0f) - 64, ly = y - 380;
                float frame = 64 - std::max(std::fabs(lx), std::fabs(ly));
                if (frame < 10) {
                    h = 6;
                } else {
                    float step = smooth(10.0f, 14.0f, frame);
                    h = 6 - 5 * step;
                    c = mix(c, blue * (0.9f + 0.15f * fbm(u * 16, v * 16, 16, 3, 0xF4u)), step);
                    float r = std::hypot(lx, ly), a = std::atan2(ly, lx);
                    float petal = 38 * (0.55f + 0.45f * std::fabs(std::cos(4 * a)));
                    float inner = 20 * (0.6f + 0.4f * std::fabs(std::cos(4 * a + kPi / 4)));
                    if (r < petal) {
                        float k = std::sqrt(1 - (r / petal) * (r / petal));
                        c = mix(stone * 1.02f, gold, 0.3f);
                        h = 1 + 5 * k;
                    }
                    if (r < inner) {
                        c = mix(gold, stone, 0.2f);
                        h = 4 + 3 * std::sqrt(1 - (r / inner) * (r / inner));
                    }
                    if (r < 7) { c = gold; h = 8 + 1.5f * std::sqrt(1 - r * r / 49); }
                    // Small gold stars in the coffer corners.
                    float cx = std::fabs(lx) - 42, cy = std::fabs(ly) - 42;
                    float star = std::fabs(cx) + std::fabs(cy) * 0.35f;
                    float star2 = std::fabs(cy) + std::fabs(cx) * 0.35f;
                    if (std::min(star, star2) < 5) { c = gold; h = 2; }
                }
            } else {  // fascia with a round and a lower step
                if (y < 454) {
                    float t = (y - 449) / 5;
                    h = 4 + 4 * std::sqrt(std::max(0.0f, 1 - t * t));
                } else if (y < 500) {
                    h = 4;
                } else {
                    h = 1.5f;
                }
            }
            paint.at(px, py) = c;
            hgt.at(px, py) = h * s;
        }
    blur(hgt, 0.8f * s, true);
    Gray lit = relief(hgt, -0.55f, -0.6f, 0.75f, true);
    // Cavities catch less light: compare each height with its surroundings.
    Gray around = hgt;
    blur(around, 6.0f * s, true);
    for (int py = 0; py < n; ++py)
        for (int px = 0; px < n; ++px) {
            float u = (px + 0.5f) / n, v = (py + 0.5f) / n;
            float ao = clamp01(1 + 0.12f * (hgt.at(px, py) - around.at(px, py)) / s);
            float grime = 0.88f + 0.14f * fbm(u * 5, v * 5, 5, 5, 0xF5u);
            Cell chip = worley(u * 40, v * 40, 40, 0xF6u);
            float chipped = chip.id % 9 == 0 ? 1 - 0.12f * (1 - smooth(0.05f, 0.2f, chip.f1)) : 1.0f;
            Col& c = paint.at(px, py);
            c = c * ((0.3f + 0.8f * lit.at(px, py)) * ao * grime * chipped);
        }
    return paint;
}

}  // namespace tex
