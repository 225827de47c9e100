// Reflection maps in sphere-map layout: the picture shows a mirror ball
// seen head-on, so each pixel holds the environment in the direction a
// view ray bounces to off the ball. Outside the ball the rim continues.
#include "noise.hpp"
#include "recipes.hpp"

namespace tex {

namespace {
struct Dir { float x, y, z; };  // y up, z towards the viewer

inline Dir normalise(Dir d) {
    float l = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
    return {d.x / l, d.y / l, d.z / l};
}
inline float dot(Dir a, Dir b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// Paints env(direction) in sphere-map layout, 3x3 samples per pixel.
template <class Env>
Image sphereMap(int n, Env env) {
    Image img(n, n);
    shade(img, [&](float u, float v) {
        float x = u * 2 - 1, y = 1 - v * 2;
        float r2 = x * x + y * y;
        if (r2 > 0.998f) {
            float k = std::sqrt(0.998f / r2);
            x *= k; y *= k; r2 = 0.998f;
        }
        float z = std::sqrt(1 - r2);
        // Reflect the view ray (0,0,-1) about the ball normal (x,y,z).
        Dir d{2 * z * x, 2 * z * y, 2 * z * z - 1};
        return env(d);
    }, 3);
    return img;
}

// Light blob around direction l: sharp core plus wide halo.
inline float lobe(Dir d, Dir l, float sharp, float wide) {
    float c = std::max(0.0f, dot(d, l));
    return std::pow(c, sharp) + 0.25f * std::pow(c, wide);
}

// Clouds for a sky: noise on the plane the ray meets above the viewer.
inline float clouds(Dir d, uint32_t seed) {
    if (d.y <= 0.02f) return 0;
    float px = d.x / (d.y + 0.15f), pz = d.z / (d.y + 0.15f);
    return smooth(0.05f, 0.6f, fbm(px * 0.8f, pz * 0.8f, 0, 5, seed));
}
}  // namespace

Image makeChromeEnv(int n) {
    const Dir sun = normalise({-0.45f, 0.65f, 0.6f});
    return sphereMap(n, [&](Dir d) {
        Col c;
        if (d.y > 0) {
            // Deep blue zenith to a near-white horizon, with clouds.
            c = mix(rgb8(235, 245, 255), rgb8(20, 70, 170), std::pow(d.y, 0.55f));
            c = mix(c, Col(1.0f), clouds(d, 0xC10Du) * 0.6f * smooth(0.0f, 0.3f, d.y));
        } else {
            // Dark band right under the horizon, lightening towards the
            // ground below: the classic chrome split.
            float g = -d.y;
            c = mix(rgb8(45, 35, 30), rgb8(190, 160, 120), std::pow(g, 0.7f));
            float px = d.x / (g + 0.05f), pz = d.z / (g + 0.05f);
            float tiles = (int(std::floor(px * 1.5f)) + int(std::floor(pz * 1.5f))) & 1;
            c *= 0.85f + 0.15f * tiles * smooth(0.05f, 0.4f, g);
        }
        c += Col(1.0f) * (2.0f * std::exp(-d.y * d.y / 0.0004f));  // horizon glint
        c += Col(1.0f, 0.97f, 0.9f) * (3.0f * lobe(d, sun, 400, 12));
        return tonemap(c, 1.6f) * 1.08f;
    });
}

Image makeBloomEnv(int n) {
    const Dir lights[4] = {normalise({0.3f, 0.6f, 0.7f}), normalise({-0.7f, 0.3f, 0.4f}),
                           normalise({0.8f, -0.1f, 0.3f}), normalise({-0.2f, 0.9f, -0.3f})};
    const float power[4] = {3.0f, 1.5f, 1.2f, 1.0f};
    Image img = sphereMap(n, [&](Dir d) {
        Col c = ramp({{-1.0f, rgb8(60, 22, 8)}, {-0.2f, rgb8(140, 60, 20)}, {0.0f, rgb8(255, 170, 80)},
                      {0.4f, rgb8(250, 200, 130)}, {1.0f, rgb8(200, 150, 110)}}, d.y);
        c = c * 0.6f;
        c += Col(1.0f, 0.9f, 0.7f) * (0.6f * clouds(d, 0xB1Fu));
        for (int i = 0; i < 4; ++i) c += Col(1.0f, 0.85f, 0.6f) * (power[i] * lobe(d, lights[i], 60, 6));
        return c;
    });
    // Bloom: a wide blur of everything added back, then a soft roll-off.
    Image wide = img;
    blur(wide, n * 0.04f, false);
    Image soft = img;
    blur(soft, n * 0.006f, false);
    for (size_t i = 0; i < img.px.size(); ++i) img.px[i] = tonemap(soft.px[i] * 0.8f + wide.px[i] * 0.7f, 1.3f);
    return img;
}

Image makeSteelEnv(int n) {
    // A cool studio: blue-grey room, two tall softboxes, a small overhead
    // light and a gridded floor; gives brushed-steel looking reflections.
    return sphereMap(n, [](Dir d) {
        float az = std::atan2(d.x, d.z), el = std::asin(std::clamp(d.y, -1.0f, 1.0f));
        Col c = ramp({{-1.0f, rgb8(8, 10, 16)}, {-0.05f, rgb8(40, 52, 70)}, {0.0f, rgb8(150, 175, 205)},
                      {0.15f, rgb8(80, 100, 130)}, {1.0f, rgb8(30, 40, 60)}}, d.y);
        auto box = [&](float a0, float e0, float ha, float he) {
            float fa = smooth(ha + 0.08f, ha, std::fabs(az - a0));
            float fe = smooth(he + 0.08f, he, std::fabs(el - e0));
            return fa * fe;
        };
        c += rgb8(220, 235, 255) * (1.8f * box(-1.0f, 0.25f, 0.16f, 0.45f));
        c += rgb8(200, 220, 255) * (1.2f * box(1.35f, 0.2f, 0.1f, 0.5f));
        c += rgb8(255, 255, 255) * (2.0f * box(0.3f, 1.05f, 0.35f, 0.12f));
        c += rgb8(120, 160, 220) * (0.5f * std::exp(-el * el / 0.002f));
        if (d.y < 0) {
            float px = d.x / (-d.y + 0.05f), pz = d.z / (-d.y + 0.05f);
            float grid = std::max(1 - smooth(0.0f, 0.05f, std::fabs(fract(px) - 0.5f)),
                                  1 - smooth(0.0f, 0.05f, std::fabs(fract(pz) - 0.5f)));
            c += rgb8(60, 90, 130) * (0.3f * grid * smooth(0.0f, 0.3f, -d.y));
        }
        c *= 0.92f + 0.08f * noise(az * 40, el * 2, 0, 0x57u);  // faint brushing
        return tonemap(c, 1.5f);
    });
}

Image makeSunsetEnv(int n) {
    const Dir sun = normalise({0.2f, 0.08f, 0.95f});
    return sphereMap(n, [&](Dir d) {
        Col c;
        if (d.y >= 0) {
            c = ramp({{0.0f, rgb8(255, 150, 60)}, {0.12f, rgb8(230, 90, 90)}, {0.35f, rgb8(120, 50, 120)},
                      {1.0f, rgb8(25, 20, 70)}}, d.y);
            c = mix(c, rgb8(255, 190, 150), clouds(d, 0x5E7u) * 0.5f * smooth(0.0f, 0.2f, d.y));
        } else {
            // Sea: dark water with a glittering path towards the sun.
            float g = -d.y;
            c = mix(rgb8(90, 50, 80), rgb8(15, 15, 40), std::pow(g, 0.5f));
            float glitter = std::pow(std::max(0.0f, dot(normalise({d.x, 0, d.z}), normalise({sun.x, 0, sun.z}))), 60.0f);
            float ripple = 0.5f + 0.5f * noise(d.x / (g + 0.02f) * 4, d.z / (g + 0.02f) * 4, 0, 0x3u);
            c += rgb8(255, 170, 80) * (glitter * ripple * 1.2f * std::exp(-g * 3));
        }
        c += rgb8(255, 220, 150) * (3.0f * lobe(d, sun, 600, 20));
        return tonemap(c, 1.4f) * 1.1f;
    });
}

}  // namespace tex
