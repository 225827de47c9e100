#pragma once
#include <cstdint>

#include "scene/SceneSet.h"

// The animation frame a scene part shows at partTime: one frame per 5 ticks
// (40 per second), starting again at 0 every 6000 ticks, so 0 to 1199.
std::uint32_t sceneFrameFor(int partTime);

// Parts 3 and 9 play scenes 1 and 2 and nothing else; camera, lights and
// animation all come from the scene.
void part3Frame(const SceneSet& scenes, int partTime);
void part9Frame(const SceneSet& scenes, int partTime);
