// Start-up cost of the scenes: parsing the four scene texts (reported as
// bytes per second of scene text), and parsing plus compiling them into
// display lists on the headless OpenGL context.
#include <benchmark/benchmark.h>

#include <string>

#include "assets/Resources.h"
#include "platform/HeadlessPlatform.h"
#include "scene/SceneParser.h"
#include "scene/SceneSet.h"

namespace {

const char* const kScenes[] = {"PART2_SCENE", "PART3_SCENE", "PART9_SCENE", "PART10_SCENE"};

void parseAllScenes(benchmark::State& state)
{
    std::size_t bytes = 0;
    for (auto _ : state) {
        for (const char* name : kScenes) {
            const Resource text = findResource("ZYT_SCENE", name);
            Scene scene;
            std::string problem;
            if (!parseScene(text.data, text.size, scene, SceneTextureHooks{}, problem))
                state.SkipWithError(problem.c_str());
            benchmark::DoNotOptimize(scene.objects.data());
            bytes += text.size;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
}
BENCHMARK(parseAllScenes)->Unit(benchmark::kMillisecond);

void loadAndCompileAllScenes(benchmark::State& state)
{
    static HeadlessPlatform headless(60);
    static bool ready = [] {
        setPlatform(&headless);
        return headless.init() && headless.createGLContext(headless.createMainWindow("bench", false)) != false;
    }();
    if (!ready) {
        state.SkipWithError("no headless OpenGL context");
        return;
    }
    for (auto _ : state) {
        SceneSet scenes;
        loadScenes(scenes);
        benchmark::DoNotOptimize(scenes.data());
    }
}
BENCHMARK(loadAndCompileAllScenes)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
