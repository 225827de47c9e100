#include "scene/SceneSet.h"

#include <string>

#include "assets/JpegTexture.h"
#include "assets/Resources.h"
#include "platform/Platform.h"
#include "scene/SceneParser.h"

SceneSet theSceneSet;

SceneTextureHooks openGLSceneTextureHooks()
{
    SceneTextureHooks hooks;
    hooks.enableSphereMap = [] {
        glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
        glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
        glEnable(GL_TEXTURE_GEN_S);
        glEnable(GL_TEXTURE_GEN_T);
    };
    hooks.loadTexture = [](const char* resourceName) {
        GLuint texture = 0;
        loadJpegTexture(texture, resourceName);
        return texture;
    };
    return hooks;
}

bool createScene(const char* name, SceneSet& scenes)
{
    auto scene = std::make_unique<Scene>();
    const Resource text = findResource("ZYT_SCENE", name);
    std::string problem = "the resource is missing";
    if (!text || !parseScene(text.data, text.size, *scene, openGLSceneTextureHooks(), problem)) {
        const std::string message = "Scene " + std::string(name) + " cannot be read (" + problem + ").";
        platform().showMessage(nullptr, message.c_str(), "Error");
        *scene = Scene{};   // empty: frameCount 0, nothing to draw
    }
    scenes.push_back(std::move(scene));
    return true;
}

void loadScenes(SceneSet& scenes)
{
    for (const char* name : {"PART2_SCENE", "PART3_SCENE", "PART9_SCENE", "PART10_SCENE"}) {
        createScene(name, scenes);
        scenes.back()->buildDisplayLists();
    }
}

void renderSceneFrame(const SceneSet& scenes, std::size_t index, std::uint32_t frame)
{
    if (index < scenes.size() && scenes[index])
        scenes[index]->renderFrame(frame);
}

void placeSceneLights(const SceneSet& scenes, std::size_t index, std::uint32_t frame)
{
    if (index < scenes.size() && scenes[index])
        scenes[index]->placeLights(frame);
}
