#include "scene/Scene.h"

#include <GL/glu.h>

// Animation is sampled, one key per frame: a frame number picks keys
// directly.  Positions, targets and axes are stored Z-up and shown as
// (x, z, -y).

namespace {

// The position key of `frame` when the track has one, else the rest position.
KeyVec3 positionAt(bool hasTrack, const AnimTrack& track, const NodeTransform& rest, std::uint32_t frame)
{
    if (hasTrack && frame < track.positionKeys.size())
        return track.positionKeys[frame];
    return rest.position;
}

}  // namespace

void SceneCamera::apply(std::uint32_t frame) const
{
    glLoadIdentity();
    const KeyVec3 eye = positionAt(hasTrack, track, transform, frame);
    const KeyVec3 target = positionAt(hasTargetTrack, targetTrack, targetTransform, frame);
    // No roll: the up vector is always display +Y.
    gluLookAt(eye.x, eye.z, -eye.y, target.x, target.z, -target.y, 0.0, 1.0, 0.0);
}

void SceneObject::draw(std::uint32_t frame) const
{
    const bool animated = hasTrack && frame < track.keyCount;
    if (animated) {
        glPushMatrix();
        const KeyVec3& p = transform.position;
        if (frame < track.positionKeys.size()) {
            // The display-space offset from the rest position to the key.
            const KeyVec3& k = track.positionKeys[frame];
            glTranslatef(k.x - p.x, k.z - p.z, p.y - k.y);
        }
        const bool rotates = frame < track.rotationKeys.size();
        const bool scales = frame < track.scaleKeys.size();
        if (rotates || scales) {
            // Rotation and scale act about the rest position.
            glTranslatef(p.x, p.z, -p.y);
            if (rotates) {
                const RotationKey& r = track.rotationKeys[frame];
                glRotatef(r.degrees, r.x, r.z, -r.y);
            }
            if (scales) {
                const KeyVec3& s = track.scaleKeys[frame];
                glScalef(s.x, s.z, s.y);
            }
            glTranslatef(-p.x, -p.z, p.y);
        }
    }
    if (textured)
        glEnable(GL_TEXTURE_2D);
    glCallList(displayList);
    if (animated)
        glPopMatrix();
    glDisable(GL_TEXTURE_2D);
}

void SceneLight::apply(std::uint32_t frame) const
{
    const GLfloat rgba[4] = {colour[0], colour[1], colour[2], 1.0f};
    const KeyVec3 p = positionAt(hasTrack, track, transform, frame);
    const GLfloat position[4] = {p.x, p.z, -p.y, 1.0f};   // every light is positional
    glLightf(glLight, GL_SPOT_CUTOFF, 180.0f);
    if (type == 1) {
        const KeyVec3 t = positionAt(hasTargetTrack, targetTrack, targetTransform, frame);
        const GLfloat direction[3] = {t.x - p.x, t.z - p.z, p.y - t.y};
        glLightfv(glLight, GL_SPOT_DIRECTION, direction);
        glLightf(glLight, GL_SPOT_CUTOFF, coneAngle * 0.5f);
    }
    glLightfv(glLight, GL_DIFFUSE, rgba);
    glLightfv(glLight, GL_SPECULAR, rgba);
    glLightfv(glLight, GL_POSITION, position);
    if (enabled)
        glEnable(glLight);
    else
        glDisable(glLight);
}

bool Scene::hasView(std::uint32_t frame) const
{
    // A scene without a camera has no view to draw from.
    return frame < frameCount && activeCamera >= 0 && static_cast<std::size_t>(activeCamera) < cameras.size();
}

void Scene::applyLights(std::uint32_t frame) const
{
    for (std::size_t i = 0; i < lights.size() && i < static_cast<std::size_t>(kMaxSceneLights); ++i)
        lights[i].apply(frame);
}

void Scene::placeLights(std::uint32_t frame) const
{
    if (!hasView(frame))
        return;
    glPushMatrix();
    cameras[static_cast<std::size_t>(activeCamera)].apply(frame);
    applyLights(frame);
    glPopMatrix();
}

void Scene::renderFrame(std::uint32_t frame) const
{
    if (!hasView(frame))
        return;
    cameras[static_cast<std::size_t>(activeCamera)].apply(frame);
    for (const SceneObject& o : objects)
        if (!o.transparent)
            o.draw(frame);
    // Additive, without depth writes: no sorting needed, and opaque objects
    // still hide what lies behind them.
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glDepthMask(GL_FALSE);
    for (const SceneObject& o : objects)
        if (o.transparent)
            o.draw(frame);
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
    // Set after the objects: they are lit by the previous call's lights.
    applyLights(frame);
}
