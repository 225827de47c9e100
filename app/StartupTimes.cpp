#include "app/StartupTimes.h"

StartupTimes theStartupTimes;

namespace {
// Static initialisation runs before main: as close to the process start as it gets.
const std::chrono::steady_clock::time_point processStart = std::chrono::steady_clock::now();
}

double millisecondsSinceProcessStart()
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - processStart).count();
}
