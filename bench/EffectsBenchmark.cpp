#include <benchmark/benchmark.h>

#include <vector>

#include "fx/Cloth.h"
#include "fx/ParticleSystem.h"
#include "parts/Part7RipplingCloth.h"
#include "parts/Part8Metaballs.h"

namespace {

// One step of part 7's sheet with a push on it (goal: under 0.1 ms).
void clothStep(benchmark::State& state)
{
    Cloth cloth;
    setUpCloth(cloth);
    ClothImpulses impulses;
    RandomSequence sequence;
    // Ten seconds of part 7 at 60 frames per second: rippling, not at rest.
    for (int frame = 0; frame < 600; ++frame) {
        updateClothImpulses(impulses, cloth, frame * 10 / 3, [&sequence] { return sequence.next(); });
        cloth.step();
    }
    for (auto _ : state) {
        cloth.step();
        benchmark::DoNotOptimize(cloth.positions.data());
    }
}
BENCHMARK(clothStep);

// The CPU side of one part-8 frame (goal: under 0.5 ms): clear, accumulate,
// move, and polygonise into triangles.
void metaballFrame(benchmark::State& state)
{
    MetaBall balls[kMetaBallCount] = {{5.0f, 5.0f, 5.0f, 0.3f, -0.2f, -0.2f, 1},
                                      {5.0f, 5.0f, 5.0f, -0.2f, 0.2f, 0.3f, 1},
                                      {5.0f, 5.0f, 5.0f, -0.4f, 0.1f, -0.1f, 1}};
    std::vector<float> field(kFieldValueCount);
    std::vector<SurfaceTriangle> triangles;
    for (int i = 0; i < 30; ++i)   // apart, as most of the part shows them
        moveBalls(balls, kMetaBallCount);
    std::size_t count = 0;
    for (auto _ : state) {
        polygoniseField(field.data(), triangles);
        clearField(field.data());
        accumulateField(balls, kMetaBallCount, field.data());
        moveBalls(balls, kMetaBallCount);
        count = triangles.size();
        benchmark::DoNotOptimize(triangles.data());
    }
    state.counters["triangles"] = static_cast<double>(count);
}
BENCHMARK(metaballFrame);

// The CPU side of drawing parts 10 and 11's cloud: the billboard matrix
// and the live sprites with their opacities.
void particleDrawCpu(benchmark::State& state)
{
    RandomSequence sequence;
    ParticleSystem cloud;
    configureGlow2Particles(cloud);
    cloud.random = [&sequence] { return sequence.next(); };
    cloud.init();
    const GLfloat modelview[16] = {0.8f, 0.1f, -0.6f, 0, 0, 0.98f, 0.2f, 0, 0.6f, -0.15f, 0.78f, 0, 1, 2, -20, 1};
    std::vector<ParticleSystem::Sprite> sprites;
    for (auto _ : state) {
        const std::array<GLfloat, 16> billboard = billboardMatrix(modelview);
        cloud.collectSprites(sprites);
        benchmark::DoNotOptimize(billboard.data());
        benchmark::DoNotOptimize(sprites.data());
    }
}
BENCHMARK(particleDrawCpu);

}  // namespace
