#include "gles/Unsupported.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <set>
#include <string>
#include <utility>

namespace {

std::mutex reportedMutex;
std::set<std::pair<std::string, unsigned>>& reported()
{
    static std::set<std::pair<std::string, unsigned>> pairs;
    return pairs;
}

}  // namespace

void reportUnsupported(const char* call, unsigned value)
{
    {
        const std::lock_guard<std::mutex> lock(reportedMutex);
        if (!reported().insert({call, value}).second)
            return;
    }
    std::fprintf(stderr, "quittenhain: OpenGL ES layer: %s with 0x%04x is not supported\n", call, value);
#ifndef NDEBUG
    std::abort();
#endif
}

int unsupportedReports()
{
    const std::lock_guard<std::mutex> lock(reportedMutex);
    return static_cast<int>(reported().size());
}
