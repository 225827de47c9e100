#include "app/StartupTimes.h"

#include <cstdio>

StartupTimes theStartupTimes;

namespace {
// Static initialisation runs before main: as close to the process start as it gets.
const std::chrono::steady_clock::time_point processStart = std::chrono::steady_clock::now();
}

double millisecondsSinceProcessStart()
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - processStart).count();
}

std::string describeStartupTimes(const StartupTimes& t)
{
    char text[256];
    std::snprintf(text, sizeof text,
                  "scenes %.1f, textures %.1f, music %.1f, particles %.1f, blur grid %.1f, cloth %.1f, "
                  "metaballs %.1f, warm-up %.1f; total %.1f",
                  t.scenes, t.textures, t.music, t.particles, t.blurGrid, t.cloth, t.metaballs, t.warmUp, t.total);
    return text;
}
