#include "parts/SceneParts.h"

#include <GL/gl.h>

std::uint32_t sceneFrameFor(int partTime)
{
    return static_cast<std::uint32_t>((partTime / 5) % 1200);
}

namespace {

void sceneOnlyFrame(const SceneSet& scenes, std::size_t index, int partTime)
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glPushMatrix();
    renderSceneFrame(scenes, index, sceneFrameFor(partTime));
    glPopMatrix();
    glFlush();
}

}  // namespace

void part3Frame(const SceneSet& scenes, int partTime)
{
    sceneOnlyFrame(scenes, 1, partTime);
}

void part9Frame(const SceneSet& scenes, int partTime)
{
    sceneOnlyFrame(scenes, 2, partTime);
}
