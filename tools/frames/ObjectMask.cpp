#include "ObjectMask.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

#include "SceneView.hpp"

namespace frames {

namespace {

// File coordinates (Z up) to display space, as the renderer converts them.
V display(const KeyVec3& k) { return {k.x, k.z, -k.y}; }

void fillTriangle(Mask& mask, const double (&x)[3], const double (&y)[3])
{
    const double area = (x[1] - x[0]) * (y[2] - y[0]) - (x[2] - x[0]) * (y[1] - y[0]);
    if (area == 0)
        return;
    const int x0 = std::max(0, int(std::floor(std::min({x[0], x[1], x[2]})))),
              x1 = std::min(mask.width - 1, int(std::ceil(std::max({x[0], x[1], x[2]})))),
              y0 = std::max(0, int(std::floor(std::min({y[0], y[1], y[2]})))),
              y1 = std::min(mask.height - 1, int(std::ceil(std::max({y[0], y[1], y[2]}))));
    for (int py = y0; py <= y1; ++py)
        for (int px = x0; px <= x1; ++px) {
            const double cx = px + 0.5, cy = py + 0.5;
            bool inside = true;
            for (int e = 0; e < 3 && inside; ++e) {
                const int a = e, b = (e + 1) % 3;
                const double side = (x[b] - x[a]) * (cy - y[a]) - (y[b] - y[a]) * (cx - x[a]);
                inside = side * area >= 0;
            }
            if (inside)
                mask.on[size_t(py) * mask.width + px] = 1;
        }
}

Mask withoutRim(const Mask& m)
{
    Mask inner = m;
    for (int y = 0; y < m.height; ++y)
        for (int x = 0; x < m.width; ++x)
            if (m.at(x, y))
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        const int nx = x + dx, ny = y + dy;
                        if (nx < 0 || ny < 0 || nx >= m.width || ny >= m.height || !m.at(nx, ny))
                            inner.on[size_t(y) * m.width + x] = 0;
                    }
    return inner;
}

}  // namespace

Scene readScene(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    const std::vector<unsigned char> text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (text.empty())
        throw std::runtime_error("cannot read " + path);
    Scene scene;
    SceneTextureHooks hooks;
    hooks.enableSphereMap = [] {};
    hooks.loadTexture = [](const char*) { return 0u; };
    std::string problem;
    if (!parseScene(text.data(), text.size(), scene, hooks, problem))
        throw std::runtime_error(path + ": " + problem);
    return scene;
}

Camera cameraAt(const Scene& scene, unsigned sceneFrame, const View& view)
{
    if (scene.cameras.empty())
        throw std::runtime_error("the scene has no camera");
    const SceneCamera& c = scene.cameras[0];
    auto keyOr = [&](bool has, const AnimTrack& t, const NodeTransform& rest) {
        return has && sceneFrame < t.positionKeys.size() ? t.positionKeys[sceneFrame] : rest.position;
    };
    Camera cam;
    cam.eye = display(keyOr(c.hasTrack, c.track, c.transform));
    const V target = display(keyOr(c.hasTargetTrack, c.targetTrack, c.targetTransform));
    cam.forward = unit(target - cam.eye);
    cam.right = unit(cross(cam.forward, {0, 1, 0}));
    cam.up = cross(cam.right, cam.forward);
    cam.focal = 1.0 / std::tan(view.fovyDegrees * std::acos(-1.0) / 360.0);
    cam.aspect = double(1.33f);
    cam.width = view.width;
    cam.height = view.height;
    return cam;
}

ObjectPlacement::ObjectPlacement(const SceneObject& object, unsigned sceneFrame)
    : rest_(display(object.transform.position))
{
    if (object.hasTrack && sceneFrame < object.track.positionKeys.size())
        offset_ = display(object.track.positionKeys[sceneFrame]) - rest_;
    if (object.hasTrack && sceneFrame < object.track.rotationKeys.size()) {
        const RotationKey& r = object.track.rotationKeys[sceneFrame];
        axis_ = unit({r.x, r.z, -r.y});
        radians_ = r.degrees * std::acos(-1.0) / 180.0;
    }
}

V ObjectPlacement::corner(const SceneFace& f, int k) const
{
    const V v = V{f.vertex[k][0], f.vertex[k][1], f.vertex[k][2]} - rest_;
    const double c = std::cos(radians_), s = std::sin(radians_);
    return rest_ + offset_ + v * c + cross(axis_, v) * s + axis_ * (dot(axis_, v) * (1 - c));
}

Mask objectMask(const std::string& scenePath, const std::string& objectName, unsigned sceneFrame, const View& view)
{
    const Scene scene = readScene(scenePath);
    const SceneObject* object = nullptr;
    for (const SceneObject& o : scene.objects)
        if (objectName == o.name)
            object = &o;
    if (object == nullptr || scene.cameras.empty())
        throw std::runtime_error(scenePath + ": no object " + objectName + " or no camera");

    const Camera cam = cameraAt(scene, sceneFrame, view);
    const ObjectPlacement place(*object, sceneFrame);
    Mask mask{view.width, view.height, std::vector<unsigned char>(size_t(view.width) * view.height, 0)};
    for (const SceneFace& f : object->faces) {
        double sx[3], sy[3];
        bool seen = true;
        for (int k = 0; k < 3 && seen; ++k) {
            double depth;
            seen = cam.project(place.corner(f, k), sx[k], sy[k], depth);
        }
        if (seen)
            fillTriangle(mask, sx, sy);
    }
    return withoutRim(mask);
}

}  // namespace frames
