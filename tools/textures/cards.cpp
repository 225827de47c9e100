// Flat graphics: plain fills, the test card, the name cards and the title.
#include <algorithm>
#include <cmath>

#include "font.hpp"
#include "noise.hpp"
#include "recipes.hpp"

namespace tex {

Image makeWhite(int n) { return Image(n, n, Col(1.0f)); }
Image makeBlack(int n) { return Image(n, n, Col(0.0f)); }

Image makeTestPattern(int n) {
    const float s = n / 512.0f;  // layout is designed on a 512 grid
    Image img(n, n, Col(0.20f));
    // Background squares with a faint two-tone checker, then the grid.
    for (int j = 0; j < 16; ++j)
        for (int i = 0; i < 16; ++i)
            if ((i + j) & 1) fillRect(img, i * 32 * s, j * 32 * s, (i + 1) * 32 * s, (j + 1) * 32 * s, Col(0.25f));
    for (int k = 0; k <= 16; ++k) {
        fillRect(img, k * 32 * s - 1, 0, k * 32 * s + 1, float(n), Col(0.78f));
        fillRect(img, 0, k * 32 * s - 1, float(n), k * 32 * s + 1, Col(0.78f));
    }
    // Corner targets: rings with cross hairs and a fine-line resolution patch.
    const float corners[4][2] = {{64, 64}, {448, 64}, {64, 448}, {448, 448}};
    for (auto& c : corners) {
        float cx = c[0] * s, cy = c[1] * s;
        fillRect(img, cx - 28 * s, cy - 28 * s, cx + 28 * s, cy + 28 * s, Col(0.0f));
        for (int k = 0; k < 14; ++k)
            if (k & 1) fillRect(img, cx - 28 * s + k * 4 * s, cy - 28 * s, cx - 28 * s + (k + 1) * 4 * s, cy, Col(1.0f));
        for (int k = 0; k < 28; ++k)
            if (k & 1) fillRect(img, cx - 28 * s, cy + k * 2 * s, cx, cy + (k + 1) * 2 * s, Col(1.0f));
        ring(img, cx, cy, 40 * s, 3 * s, Col(1.0f));
        line(img, cx - 52 * s, cy, cx + 52 * s, cy, 2 * s, Col(1.0f));
        line(img, cx, cy - 52 * s, cx, cy + 52 * s, 2 * s, Col(1.0f));
    }
    // Edge arrows pointing at the centre of each border.
    for (int k = 0; k < 4; ++k) {
        float cx = n * 0.5f;
        for (int t = 0; t < 14; ++t) {
            float w = (14 - t) * s;
            float a = t * s;
            if (k == 0) fillRect(img, cx - w, a, cx + w, a + s, Col(1.0f));
            if (k == 1) fillRect(img, cx - w, n - a - s, cx + w, n - a, Col(1.0f));
            if (k == 2) fillRect(img, a, cx - w, a + s, cx + w, Col(1.0f));
            if (k == 3) fillRect(img, n - a - s, cx - w, n - a, cx + w, Col(1.0f));
        }
    }
    const float x0 = 96 * s, x1 = 416 * s, wd = x1 - x0;
    // Upper cap: pale-to-dark blue sky ramp.
    for (int y = int(48 * s); y < int(96 * s); ++y)
        fillRect(img, x0, float(y), x1, y + 1.0f, mix(rgb8(20, 40, 110), rgb8(90, 170, 235), (y - 48 * s) / (48 * s)));
    // 75% colour bars.
    const Col bars[8] = {Col(0.75f), {0.75f, 0.75f, 0}, {0, 0.75f, 0.75f}, {0, 0.75f, 0},
                         {0.75f, 0, 0.75f}, {0.75f, 0, 0}, {0, 0, 0.75f}, Col(0.0f)};
    for (int i = 0; i < 8; ++i) fillRect(img, x0 + wd * i / 8, 96 * s, x0 + wd * (i + 1) / 8, 200 * s, bars[i]);
    // Grey step wedge.
    for (int i = 0; i < 8; ++i) fillRect(img, x0 + wd * i / 8, 200 * s, x0 + wd * (i + 1) / 8, 236 * s, Col(i / 7.0f));
    // Name strip.
    fillRect(img, x0, 236 * s, x1, 276 * s, Col(0.0f));
    Gray label = boldFont().fit("QUITTENHAIN", int(wd * 0.8f), int(24 * s), 0.08f);
    stamp(img, label, int(n * 0.5f - label.w * 0.5f), int(256 * s - label.h * 0.5f), Col(1.0f));
    // Primary ramps and a hue sweep.
    for (int x = int(x0); x < int(x1); ++x) {
        float t = (x + 0.5f - x0) / wd;
        fillRect(img, float(x), 276 * s, x + 1.0f, 300 * s, Col(t, 0, 0));
        fillRect(img, float(x), 300 * s, x + 1.0f, 324 * s, Col(0, t, 0));
        fillRect(img, float(x), 324 * s, x + 1.0f, 348 * s, Col(0, 0, t));
        fillRect(img, float(x), 348 * s, x + 1.0f, 372 * s, hsv(t, 1, 1));
    }
    // Frequency gratings: sine stripes, coarse to fine.
    for (int x = int(x0); x < int(x1); ++x) {
        int band = int((x - x0) / wd * 5);
        float period = 16.0f / (1 << band) * s + (band == 4 ? 1 : 0);
        float v = 0.5f + 0.5f * std::cos(kTwoPi * (x - x0) / std::max(period, 2.0f));
        fillRect(img, float(x), 372 * s, x + 1.0f, 420 * s, Col(v));
    }
    // Lower cap: warm ramp.
    for (int y = int(420 * s); y < int(464 * s); ++y)
        fillRect(img, x0, float(y), x1, y + 1.0f, mix(rgb8(250, 200, 60), rgb8(120, 20, 10), (y - 420 * s) / (44 * s)));
    // Framing circle and centre cross.
    ring(img, n * 0.5f, n * 0.5f, 214 * s, 4 * s, Col(1.0f));
    ring(img, n * 0.5f, n * 0.5f, 219 * s, 2 * s, Col(0.0f));
    line(img, n * 0.5f - 10 * s, 218 * s, n * 0.5f + 10 * s, 218 * s, 2 * s, Col(0.0f));
    return img;
}

namespace {
// The demo lays a name card over the temple so that each texel's own value is
// its opacity: a texel g leaves g * g + picture * (1 - g). White letters thus
// replace the picture with white; black leaves the picture untouched. Under
// part 2's fog the card itself is drawn a quarter fog-red, so even pure white
// letters reach only about 0.6 of luminance, and the flash that brings a name
// in lifts letters and surround alike. What the name needs is a dark picture
// behind it (the scene sees to that) and letters whose texels are white right
// to their edges: the cards are drawn at 512 texels, so the blur of the
// texture's magnification is a thin seam, not a grey rim.
//
// A dark-grey halo g dims a picture of brightness p only where p is above
// about 2 g (g * g + p * (1 - g) < p); over a dark picture it brightens it.
// So a name that comes up over the lit temple gets a halo, one that comes up
// over the temple's dark back does not.
constexpr float kHaloOverLitTemple = 0.2f;
constexpr float kNoHalo = 0.0f;

// The two rules are ornament, a step below the name: a light grey that keys
// in softly, so the name stays the one white thing on the card.
constexpr float kRuleGrey = 0.75f;

// The three names share one letter size, the one at which the longest,
// MERIDOS, spans 0.82 of the card: a short name stays short and covers less
// of the temple around it.
constexpr float kTracking = 0.04f;

int nameLetterSize(int n) {
    auto width = [](int size) { return boldFont().render("MERIDOS", size, int(std::lround(kTracking * size))).w; };
    int size = int(100 * n * 0.82f / width(100));
    while (size > 4 && width(size) > int(n * 0.82f))
        --size;
    return size;
}

// The name and two fine rules with a diamond on each, as grey levels 0..1.
Gray creditInk(int n, const char* name) {
    Gray ink(n, n);
    const int size = nameLetterSize(n);
    const Gray m = boldFont().render(name, size, int(std::lround(kTracking * size)));
    int x = (n - m.w) / 2, y = (n - m.h) / 2;
    for (int j = 0; j < m.h; ++j)
        for (int i = 0; i < m.w; ++i)
            if (x + i >= 0 && x + i < n && y + j >= 0 && y + j < n) ink.at(x + i, y + j) = m.at(i, j);
    auto put = [&](int px, int py, float a) {
        if (px >= 0 && py >= 0 && px < n && py < n) ink.at(px, py) = std::max(ink.at(px, py), kRuleGrey * clamp01(a));
    };
    // Rules fade out towards their ends; a small diamond sits on each.
    const float gap = n * 0.075f, half = n * 0.36f, cx = n * 0.5f, width = n / 256.0f;
    for (float ry : {y - gap, y + m.h + gap}) {
        for (int px = int(cx - half); px < int(cx + half); ++px) {
            float d = std::fabs(px + 0.5f - cx) / half;
            float a = 1 - smooth(0.35f, 1.0f, d);
            if (std::fabs(px + 0.5f - cx) < n * 0.035f) a = 0;
            for (int py = int(ry - 2 * width); py <= int(ry + 2 * width); ++py)
                put(px, py, a * clamp01(0.5f + width - std::fabs(py + 0.5f - ry)));
        }
        float r = n * 0.018f;
        for (int py = int(ry - r - 1); py <= int(ry + r + 1); ++py)
            for (int px = int(cx - r - 1); px <= int(cx + r + 1); ++px)
                put(px, py, (r - (std::fabs(px + 0.5f - cx) + std::fabs(py + 0.5f - ry))) / width + 0.5f);
    }
    return ink;
}

// The ink on a soft dark-grey halo of the given grey; the ground stays
// exactly black.
Image creditCard(int n, const char* name, float halo) {
    const Gray ink = creditInk(n, name);
    Gray spread = ink;
    blur(spread, n * 0.03f, false);
    Image img(n, n, Col(0.0f));
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            const float around = halo * smooth(0.004f, 0.06f, spread.at(x, y));
            img.at(x, y) = Col(mixf(around, 1.0f, ink.at(x, y)));
        }
    return img;
}
}  // namespace

// TWL and KOLBAR come up while the camera looks into the lit temple, MERIDOS
// while it rests on the temple's dark back wall.
Image makeCreditKolbar(int n) { return creditCard(n, "KOLBAR", kHaloOverLitTemple); }
Image makeCreditMeridos(int n) { return creditCard(n, "MERIDOS", kNoHalo); }
Image makeCreditTwl(int n) { return creditCard(n, "TWL", kHaloOverLitTemple); }

Image makeBlurTitle(int n) {
    Image img(n, n);
    // Part 6 draws this picture and adds ten fading copies on top, four and a
    // half times the picture in all: a texel adds up to 5.5 times its value.
    // So the ground is nearly black, the lettering dim enough to stay below
    // white after the stack, and only thin lines and star points are bright.
    // The camera shows u 0.04..0.96 and v 0.10..0.79 (v from the top); the
    // blur centre travels a figure-of-eight over u 0.42..0.69, v 0.06..0.61.
    // The title sits at the foot of the eight: the copies, magnified about
    // the blur centre, streak it downwards, and that streak must stay on
    // screen. Where the centre crosses the title they pile up to gold.
    shade(img, [&](float u, float v) {
        float dx = u - 0.55f, dy = v - 0.35f;
        float r = std::sqrt(dx * dx + dy * dy);
        float a = std::atan2(dy, dx);
        Col c = mix(rgb8(3, 4, 13), rgb8(1, 1, 4), smooth(0.0f, 0.6f, r));
        // Faint rays from the middle of the eight, quince gold and olive.
        float wob = 0.35f * noise(a * 3.0f, 0.5f, 0, 11u);
        float rays = std::pow(0.5f + 0.5f * std::cos(a * 14 + wob), 12.0f);
        float fall = std::exp(-r * 4.0f);
        c += mix(rgb8(200, 160, 40), rgb8(110, 130, 40), 0.5f + 0.5f * std::sin(a * 3)) * (rays * fall * 0.05f);
        return c;
    }, 3);
    // Thin bright rings around the eight's path: the only lines that burn white.
    ring(img, 0.55f * n, 0.35f * n, 0.22f * n, 0.9f, rgb8(150, 140, 90), 0.8f);
    ring(img, 0.55f * n, 0.35f * n, 0.12f * n, 0.7f, rgb8(120, 120, 150), 0.6f);
    // Scattered star points, small and few.
    Rng rng(0x51A7u);
    for (int i = 0; i < 40; ++i) {
        float x = rng.range(0, float(n)), y = rng.range(0, float(n) * 0.6f);
        float sz = n * (rng.uni() < 0.15f ? rng.range(0.025f, 0.04f) : rng.range(0.008f, 0.018f));
        sparkle(img, x, y, sz, hsv(rng.range(0.1f, 0.2f), rng.range(0.1f, 0.4f), rng.range(0.3f, 0.6f)));
    }
    // Title: dim quince gold, so that even where all eleven copies meet it
    // adds up to gold, not white; a dark band keeps the ground behind it clean.
    // The copies streak the title away from the blur centre, furthest at its
    // ends: there the last letters' copies would pile into a solid bar that
    // stops at a hard edge. So the ink thins out over the outer letters, and
    // the streak of each end fades out instead of stopping.
    Gray m = boldFont().fit("QUITTENHAIN", int(n * 0.70f), int(n * 0.10f), 0.04f);
    int tx = (n - m.w) / 2 + int(n * 0.03f), ty = int(n * 0.60f - m.h * 0.5f);
    fillRect(img, 0, ty - m.h * 0.6f, float(n), ty + m.h * 1.6f, rgb8(1, 1, 4), 0.8f);
    for (int j = 0; j < m.h; ++j) {
        float t = float(j) / m.h;
        Col c = ramp({{0.0f, rgb8(46, 42, 22)}, {0.5f, rgb8(44, 36, 10)}, {1.0f, rgb8(40, 26, 6)}}, t);
        for (int i = 0; i < m.w; ++i) {
            const float fromMiddle = std::fabs(2.0f * (i + 0.5f) / m.w - 1.0f);
            const float ink = 1.0f - 0.8f * smooth(0.45f, 1.0f, fromMiddle);
            img.blend(tx + i, ty + j, c, m.at(i, j) * ink);
        }
    }
    return img;
}

}  // namespace tex
