#include "platform/AudioBackend.h"

#include <cassert>

namespace {
AudioBackend* currentAudio = nullptr;
}

AudioBackend& audio()
{
    assert(currentAudio != nullptr);
    return *currentAudio;
}

void setAudio(AudioBackend* chosen)
{
    currentAudio = chosen;
}
