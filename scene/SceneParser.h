#pragma once
#include <GL/gl.h>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "scene/Scene.h"

// What the parser does to OpenGL while it reads the material blocks: switch
// sphere-map texture generation on (for an environment-mapped texture) and
// turn a texture's resource name into a texture.  Left empty, nothing is
// called and textures stay 0, so the text can be read without a context.
struct SceneTextureHooks {
    std::function<void()> enableSphereMap;
    std::function<GLuint(const char* resourceName)> loadTexture;
};

// The sphere map set up and textures decoded from "ZYT_JPEGTEX" resources
// (defined with the loading, in SceneSet.cpp).
SceneTextureHooks openGLSceneTextureHooks();

// Key (or frame) count of a sample count and step: the count itself, or
// count / step + 1 when the step, taken unsigned, is above 1.
std::uint32_t sampledKeyCount(std::int32_t samples, std::int32_t step);

// Reads a scene text into `scene`, never outside [data, data + size).  A text
// that breaks the format's limits (a negative count, a count or index past
// its data or array, a field over 99 bytes, no -1 before the end, a ninth
// light, a camera or light track shorter than frameCount) gives false with
// a description in `problem`; the scene then holds whatever was read.
bool parseScene(const unsigned char* data, std::size_t size, Scene& scene, const SceneTextureHooks& hooks,
                std::string& problem);
