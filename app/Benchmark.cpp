#include "app/Benchmark.h"

#include <GL/gl.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

#include "app/Shell.h"
#include "app/StartupTimes.h"

namespace {

struct Summary {
    std::size_t frames = 0;
    double median = 0;
    double p95 = 0;
};

Summary summarise(std::vector<double> costs)
{
    Summary summary;
    summary.frames = costs.size();
    if (costs.empty())
        return summary;
    std::sort(costs.begin(), costs.end());
    summary.median = costs[costs.size() / 2];
    summary.p95 = costs[std::min(costs.size() - 1, costs.size() * 95 / 100)];
    return summary;
}

struct Measurements {
    std::map<int, std::vector<double>> costs;   // per part, milliseconds
    double lastFrameEnd = -1;
    double firstFrameAt = 0;
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
    std::printf("%-6s %7s %10s %10s %9s\n", "part", "frames", "median ms", "p95 ms", "frames/s");
    for (const auto& [part, costs] : measured.costs) {
        const Summary summary = summarise(costs);
        std::printf("%-6d %7zu %10.2f %10.2f %9.1f\n", part, summary.frames, summary.median, summary.p95,
                    framesPerSecond(summary));
    }
    std::printf("%-6s %7zu %10.2f %10.2f %9.1f\n", "empty", empty.frames, empty.median, empty.p95,
                framesPerSecond(empty));
    const StartupTimes& t = theStartupTimes;
    std::printf("\nstart-up, ms: scenes %.1f, textures %.1f, music %.1f, particles %.1f, blur grid %.1f, "
                "cloth %.1f, metaballs %.1f; total %.1f; first frame done at %.1f\n",
                t.scenes, t.textures, t.music, t.particles, t.blurGrid, t.cloth, t.metaballs, t.total,
                measured.firstFrameAt);
}

void printJson(const Summary& empty)
{
    std::printf("{\n  \"parts\": [\n");
    std::size_t index = 0;
    for (const auto& [part, costs] : measured.costs) {
        const Summary summary = summarise(costs);
        std::printf("    {\"part\": %d, \"frames\": %zu, \"median_ms\": %.3f, \"p95_ms\": %.3f, \"fps\": %.1f}%s\n",
                    part, summary.frames, summary.median, summary.p95, framesPerSecond(summary),
                    ++index < measured.costs.size() ? "," : "");
    }
    std::printf("  ],\n  \"empty_frame\": {\"frames\": %zu, \"median_ms\": %.3f, \"p95_ms\": %.3f, \"fps\": %.1f},\n",
                empty.frames, empty.median, empty.p95, framesPerSecond(empty));
    const StartupTimes& t = theStartupTimes;
    std::printf("  \"startup_ms\": {\"scenes\": %.2f, \"textures\": %.2f, \"music\": %.2f, \"particles\": %.2f, "
                "\"blur_grid\": %.2f, \"cloth\": %.2f, \"metaballs\": %.2f, \"total\": %.2f, "
                "\"first_frame\": %.2f}\n}\n",
                t.scenes, t.textures, t.music, t.particles, t.blurGrid, t.cloth, t.metaballs, t.total,
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
        if (frame == 0)
            measured.firstFrameAt = now;
    };
    options.atEnd = [json] {
        const Summary empty = summarise(measureEmptyFrames());
        json ? printJson(empty) : printTable(empty);
        std::fflush(stdout);
    };
}

namespace {

struct Checks {
    std::uint64_t frames = 0;
    std::uint64_t firstErrorFrame = 0;
    GLenum firstError = GL_NO_ERROR;
    long lists = -1;
    bool listsChanged = false;
    long baselineKb = -1;
    long largestKb = 0;
};
Checks checks;

// Display list names come in ascending order from 1; a scan past the
// highest one seen so far finds every live list.
long liveDisplayLists()
{
    static GLuint highest = 0;
    long live = 0;
    const GLuint end = highest + 4096;
    for (GLuint name = 1; name <= end; ++name) {
        if (glIsList(name)) {
            ++live;
            highest = std::max(highest, name);
        }
    }
    return live;
}

long residentKb()
{
    long pages = 0;
    long resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

constexpr bool kMemoryIsMeaningful =
#if defined(__SANITIZE_ADDRESS__)
    false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    false;
#else
    true;
#endif
#else
    true;
#endif

void checkFrame(std::uint64_t frame)
{
    checks.frames = frame + 1;
    const GLenum error = glGetError();
    if (error != GL_NO_ERROR && checks.firstError == GL_NO_ERROR) {
        checks.firstError = error;
        checks.firstErrorFrame = frame;
    }
    if (frame % 600 != 0)
        return;
    const long lists = liveDisplayLists();
    if (checks.lists < 0)
        checks.lists = lists;
    else if (lists != checks.lists)
        checks.listsChanged = true;
    const long kb = residentKb();
    if (frame >= 600 && checks.baselineKb < 0)
        checks.baselineKb = kb;   // after the first part's caches have filled
    checks.largestKb = std::max(checks.largestKb, kb);
}

void reportChecks()
{
    const double growthMb = checks.baselineKb < 0 ? 0.0 : (checks.largestKb - checks.baselineKb) / 1024.0;
    std::fprintf(stderr, "\nself-check: %llu frames; OpenGL errors: %s; display lists: %ld%s; memory growth: ",
                 static_cast<unsigned long long>(checks.frames),
                 checks.firstError == GL_NO_ERROR ? "none" : "YES",
                 checks.lists, checks.listsChanged ? " then CHANGED" : " throughout");
    if (kMemoryIsMeaningful)
        std::fprintf(stderr, "%.1f MB after the first 10 s\n", growthMb);
    else
        std::fprintf(stderr, "not measured under AddressSanitizer\n");
    bool failed = false;
    if (checks.firstError != GL_NO_ERROR) {
        std::fprintf(stderr, "self-check: OpenGL error 0x%x after frame %llu\n", checks.firstError,
                     static_cast<unsigned long long>(checks.firstErrorFrame));
        failed = true;
    }
    if (checks.listsChanged) {
        std::fprintf(stderr, "self-check: the number of live display lists changed\n");
        failed = true;
    }
    if (kMemoryIsMeaningful && growthMb > 32.0) {
        std::fprintf(stderr, "self-check: memory grew by %.1f MB\n", growthMb);
        failed = true;
    }
    if (failed)
        std::_Exit(4);
    std::fprintf(stderr, "self-check: passed\n");
}

}  // namespace

void checkHeadlessRun(HeadlessRunOptions& options)
{
    options.everyFrame = checkFrame;
    options.atEnd = reportChecks;
}
