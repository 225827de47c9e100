#include "app/Benchmark.h"

#include <GL/gl.h>
#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "app/Shell.h"
#include "app/StartupTimes.h"

namespace {

struct Summary {
    std::size_t frames = 0;
    double median = 0;
    double p95 = 0;
    double first = 0;   // the part's first frame: where new state meets the driver
    double worst = 0;
};

Summary summarise(std::vector<double> costs)
{
    Summary summary;
    summary.frames = costs.size();
    if (costs.empty())
        return summary;
    summary.first = costs.front();
    summary.worst = *std::max_element(costs.begin(), costs.end());
    std::sort(costs.begin(), costs.end());
    summary.median = costs[costs.size() / 2];
    summary.p95 = costs[std::min(costs.size() - 1, costs.size() * 95 / 100)];
    return summary;
}

struct Measurements {
    std::map<int, std::vector<double>> costs;   // per part, milliseconds
    double lastFrameEnd = -1;
    double firstFrameAt = 0;
    int width = 0;
    int height = 0;
};
Measurements measured;

std::vector<double> measureEmptyFrames()
{
    std::vector<double> costs;
    for (int i = 0; i < 300; ++i) {
        const double begin = millisecondsSinceProcessStart();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glFinish();
        costs.push_back(millisecondsSinceProcessStart() - begin);
    }
    return costs;
}

double framesPerSecond(const Summary& summary)
{
    return summary.median > 0 ? 1000.0 / summary.median : 0.0;
}

void printTable(const Summary& empty)
{
    std::printf("%-6s %7s %10s %10s %9s %9s %9s\n", "part", "frames", "median ms", "p95 ms", "frames/s",
                "first ms", "worst ms");
    for (const auto& [part, costs] : measured.costs) {
        const Summary summary = summarise(costs);
        std::printf("%-6d %7zu %10.2f %10.2f %9.1f %9.2f %9.2f\n", part, summary.frames, summary.median,
                    summary.p95, framesPerSecond(summary), summary.first, summary.worst);
    }
    std::printf("%-6s %7zu %10.2f %10.2f %9.1f %9.2f %9.2f\n", "empty", empty.frames, empty.median, empty.p95,
                framesPerSecond(empty), empty.first, empty.worst);
    const StartupTimes& t = theStartupTimes;
    std::printf("\npicture %dx%d\n", measured.width, measured.height);
    std::printf("start-up, ms: %s; first frame done at %.1f\n", describeStartupTimes(t).c_str(), measured.firstFrameAt);
}

void printJson(const Summary& empty)
{
    std::printf("{\n  \"parts\": [\n");
    std::size_t index = 0;
    for (const auto& [part, costs] : measured.costs) {
        const Summary summary = summarise(costs);
        std::printf("    {\"part\": %d, \"frames\": %zu, \"median_ms\": %.3f, \"p95_ms\": %.3f, \"fps\": %.1f, "
                    "\"first_ms\": %.3f, \"worst_ms\": %.3f}%s\n",
                    part, summary.frames, summary.median, summary.p95, framesPerSecond(summary), summary.first,
                    summary.worst, ++index < measured.costs.size() ? "," : "");
    }
    std::printf("  ],\n  \"empty_frame\": {\"frames\": %zu, \"median_ms\": %.3f, \"p95_ms\": %.3f, \"fps\": %.1f},\n",
                empty.frames, empty.median, empty.p95, framesPerSecond(empty));
    const StartupTimes& t = theStartupTimes;
    std::printf("  \"picture\": {\"width\": %d, \"height\": %d},\n", measured.width, measured.height);
    std::printf("  \"startup_ms\": {\"scenes\": %.2f, \"textures\": %.2f, \"music\": %.2f, \"particles\": %.2f, "
                "\"blur_grid\": %.2f, \"cloth\": %.2f, \"metaballs\": %.2f, \"warm_up\": %.2f, \"total\": %.2f, "
                "\"first_frame\": %.2f}\n}\n",
                t.scenes, t.textures, t.music, t.particles, t.blurGrid, t.cloth, t.metaballs, t.warmUp, t.total,
                measured.firstFrameAt);
}

}  // namespace

void measureHeadlessRun(HeadlessRunOptions& options, bool json)
{
    options.quiet = true;
    options.everyFrame = [](std::uint64_t frame) {
        glFinish();
        const double now = millisecondsSinceProcessStart();
        if (measured.lastFrameEnd < 0)
            measured.lastFrameEnd = theStartupTimes.total;
        measured.costs[partNumber].push_back(now - measured.lastFrameEnd);
        measured.lastFrameEnd = now;
        if (frame == 0) {
            measured.firstFrameAt = now;
            GLint viewport[4] = {};
            glGetIntegerv(GL_VIEWPORT, viewport);
            measured.width = viewport[2];
            measured.height = viewport[3];
        }
    };
    options.atEnd = [json] {
        const Summary empty = summarise(measureEmptyFrames());
        json ? printJson(empty) : printTable(empty);
        std::fflush(stdout);
    };
}
