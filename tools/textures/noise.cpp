#include "noise.hpp"

#include <cmath>

namespace tex {

uint32_t hash2(int x, int y, uint32_t seed) {
    uint32_t h = uint32_t(x) * 0x8DA6B343u ^ uint32_t(y) * 0xD8163841u ^ seed * 0xCB1AB31Fu;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return h;
}

float hashf(int x, int y, uint32_t seed) { return float(hash2(x, y, seed) >> 8) * (1.0f / 16777216.0f); }

namespace {
inline int wrapi(int v, int period) {
    if (period <= 0) return v;
    v %= period;
    return v < 0 ? v + period : v;
}
inline float fade(float t) { return t * t * t * (t * (t * 6 - 15) + 10); }
inline float grad(int ix, int iy, uint32_t seed, float fx, float fy) {
    float a = hashf(ix, iy, seed) * 6.2831853f;
    return std::cos(a) * fx + std::sin(a) * fy;
}
}  // namespace

float noise(float x, float y, int period, uint32_t seed) { return noise(x, y, period, period, seed); }

float noise(float x, float y, int periodX, int periodY, uint32_t seed) {
    float fx0 = std::floor(x), fy0 = std::floor(y);
    int x0 = int(fx0), y0 = int(fy0);
    float fx = x - fx0, fy = y - fy0;
    int xa = wrapi(x0, periodX), xb = wrapi(x0 + 1, periodX);
    int ya = wrapi(y0, periodY), yb = wrapi(y0 + 1, periodY);
    float n00 = grad(xa, ya, seed, fx, fy);
    float n10 = grad(xb, ya, seed, fx - 1, fy);
    float n01 = grad(xa, yb, seed, fx, fy - 1);
    float n11 = grad(xb, yb, seed, fx - 1, fy - 1);
    float u = fade(fx), v = fade(fy);
    float a = n00 + (n10 - n00) * u;
    float b = n01 + (n11 - n01) * u;
    return 1.41f * (a + (b - a) * v);
}

float fbm(float x, float y, int period, int octaves, uint32_t seed, float gain) {
    float sum = 0, amp = 1, norm = 0;
    for (int o = 0; o < octaves; ++o) {
        sum += amp * noise(x, y, period, seed + uint32_t(o) * 977u);
        norm += amp;
        amp *= gain;
        x *= 2; y *= 2;
        if (period > 0) period *= 2;
    }
    return sum / norm;
}

float fbmXY(float x, float y, int periodX, int periodY, int octaves, uint32_t seed) {
    float sum = 0, amp = 1, norm = 0;
    for (int o = 0; o < octaves; ++o) {
        sum += amp * noise(x, y, periodX, periodY, seed + uint32_t(o) * 977u);
        norm += amp;
        amp *= 0.5f;
        x *= 2; y *= 2;
        periodX *= 2; periodY *= 2;
    }
    return sum / norm;
}

float turbulence(float x, float y, int period, int octaves, uint32_t seed) {
    float sum = 0, amp = 1, norm = 0;
    for (int o = 0; o < octaves; ++o) {
        sum += amp * std::fabs(noise(x, y, period, seed + uint32_t(o) * 977u));
        norm += amp;
        amp *= 0.5f;
        x *= 2; y *= 2;
        if (period > 0) period *= 2;
    }
    return sum / norm;
}

float veins(float x, float y, int period, float ax, float ay, float bend, uint32_t seed) {
    float span = period > 0 ? float(period) : 1.0f;
    float w = fbm(x, y, period, 4, seed) * bend + 0.35f * bend * turbulence(x * 2, y * 2, period > 0 ? period * 2 : 0, 5, seed + 1);
    return std::fabs(std::sin(6.2831853f * (ax * x + ay * y) / span + w));
}

Cell worley(float x, float y, int period, uint32_t seed, float jitter) {
    int ix = int(std::floor(x)), iy = int(std::floor(y));
    Cell c{1e9f, 1e9f, 0, 0, 0, 0, 0};
    for (int j = -1; j <= 1; ++j)
        for (int i = -1; i <= 1; ++i) {
            int cx = ix + i, cy = iy + j;
            int wx = wrapi(cx, period), wy = wrapi(cy, period);
            uint32_t h = hash2(wx, wy, seed);
            float px = cx + 0.5f + jitter * (hashf(wx, wy, seed ^ 0x51ED27u) - 0.5f);
            float py = cy + 0.5f + jitter * (hashf(wx, wy, seed ^ 0xA3C59Bu) - 0.5f);
            float dx = x - px, dy = y - py;
            float d = std::sqrt(dx * dx + dy * dy);
            if (d < c.f1) {
                c.f2 = c.f1;
                c.f1 = d; c.cx = wx; c.cy = wy; c.dx = dx; c.dy = dy; c.id = h;
            } else if (d < c.f2) {
                c.f2 = d;
            }
        }
    return c;
}

}  // namespace tex
