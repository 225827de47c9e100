#include "platform/Platform.h"

#include <cassert>

namespace {
Platform* currentPlatform = nullptr;
}

Platform& platform()
{
    assert(currentPlatform != nullptr);
    return *currentPlatform;
}

void setPlatform(Platform* chosen)
{
    currentPlatform = chosen;
}
