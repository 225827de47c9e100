#pragma once
#include <memory>
#include <vector>

#include "scene/Scene.h"

// The loaded scenes in load order: 0 "PART2_SCENE", 1 "PART3_SCENE",
// 2 "PART9_SCENE", 3 "PART10_SCENE".
using SceneSet = std::vector<std::unique_ptr<Scene>>;

extern SceneSet theSceneSet;

// Parses the four scenes in order, compiling each one's display lists before
// the next is parsed.  Needs the OpenGL context.
void loadScenes(SceneSet& scenes);

// Parses the "ZYT_SCENE" resource `name` into a new Scene appended to
// `scenes`.  A missing resource or a text outside the format's limits shows
// a message box (caption "Error") naming the resource, and the appended
// scene is left empty: it draws nothing.  True when the scene was appended.
bool createScene(const char* name, SceneSet& scenes);

// Draws nothing when `index` names no scene.
void renderSceneFrame(const SceneSet& scenes, std::size_t index, std::uint32_t frame);
// Sets the lights as renderSceneFrame leaves them; nothing when `index`
// names no scene.
void placeSceneLights(const SceneSet& scenes, std::size_t index, std::uint32_t frame);
