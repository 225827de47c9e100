// The title picture shown while the demo loads: a dark rounded plate with
// a quince and the title in gold, on a transparent ground. The demo mixes it
// over the desktop with its alpha channel.
#include "compose.hpp"
#include "font.hpp"
#include "recipes.hpp"

namespace tex {

namespace {

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

    paintPlate(img, {x0, y0, x1, y1, radius, 7, 10, 6.0f, cx, 98.0f, 110.0f, 46.0f, 1.6f});
    paintQuince(img, cx, 54, 1.0f);

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
