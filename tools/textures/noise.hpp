// Deterministic random numbers and tileable procedural noise. Nothing here
// depends on the standard library's generators, so the pictures come out
// byte-identical on every run and every platform with the same compiler.
#pragma once
#include <cstdint>

namespace tex {

// splitmix64: tiny, fast, and good enough for scattering decorations.
class Rng {
public:
    explicit Rng(uint64_t seed) : s_(seed) {}
    uint64_t next() {
        uint64_t z = (s_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    float uni() { return float(next() >> 40) * (1.0f / 16777216.0f); }
    float range(float a, float b) { return a + (b - a) * uni(); }
    int below(int n) { return int(next() % uint64_t(n)); }

private:
    uint64_t s_;
};

uint32_t hash2(int x, int y, uint32_t seed);
// Uniform in [0,1) for a lattice point.
float hashf(int x, int y, uint32_t seed);

// Gradient noise in about [-1,1]. Coordinates are in lattice cells; with
// period > 0 the lattice wraps, so a picture spanning exactly `period`
// cells tiles seamlessly.
float noise(float x, float y, int period, uint32_t seed);
// Same with separate periods along x and y (for stretched patterns).
float noise(float x, float y, int periodX, int periodY, uint32_t seed);
// Fractal sum: each octave doubles frequency and period, halves (gain) the
// amplitude. Result is normalised to about [-1,1].
float fbm(float x, float y, int period, int octaves, uint32_t seed, float gain = 0.5f);
float fbmXY(float x, float y, int periodX, int periodY, int octaves, uint32_t seed);
// Like fbm but sums |noise|: billowy, crease-lined, in about [0,1].
float turbulence(float x, float y, int period, int octaves, uint32_t seed);

// Marble veining: |sin| of a slanted ramp bent by smooth noise plus some
// turbulence; veins run where the result is near 0. The ramp advances
// (ax, ay) periods across `period` lattice cells, so with whole numbers
// and period > 0 the pattern tiles.
float veins(float x, float y, int period, float ax, float ay, float bend, uint32_t seed);

// Cellular noise: one jittered feature point per lattice cell.
struct Cell {
    float f1, f2;      // distance to the nearest and second-nearest point
    int cx, cy;        // lattice cell of the nearest point (wrapped)
    float dx, dy;      // offset from the nearest point to the sample
    uint32_t id;       // hash of the nearest cell, for per-cell variation
};
Cell worley(float x, float y, int period, uint32_t seed, float jitter = 0.85f);

}  // namespace tex
