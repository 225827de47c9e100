#include "ObjectMask.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>
#include <map>
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

SceneRaster rasterise(const Scene& scene, unsigned sceneFrame, const View& view,
                      const std::function<int(const SceneObject&, std::size_t)>& valueOf)
{
    const int w = view.width, h = view.height;
    const Camera cam = cameraAt(scene, sceneFrame, view);
    SceneRaster r{std::vector<double>(size_t(w) * h, std::numeric_limits<double>::infinity()),
                  std::vector<int>(size_t(w) * h, 0)};
    for (const SceneObject& o : scene.objects) {
        const ObjectPlacement place(o, sceneFrame);
        for (std::size_t i = 0; i < o.faces.size(); ++i) {
            double x[3], y[3], z[3];
            bool seen = true;
            for (int k = 0; k < 3 && seen; ++k)
                seen = cam.project(place.corner(o.faces[i], k), x[k], y[k], z[k]);
            if (!seen)
                continue;
            const double area = (x[1] - x[0]) * (y[2] - y[0]) - (x[2] - x[0]) * (y[1] - y[0]);
            if (area == 0)
                continue;
            const int x0 = std::max(0, int(std::floor(std::min({x[0], x[1], x[2]})))),
                      x1 = std::min(w - 1, int(std::ceil(std::max({x[0], x[1], x[2]})))),
                      y0 = std::max(0, int(std::floor(std::min({y[0], y[1], y[2]})))),
                      y1 = std::min(h - 1, int(std::ceil(std::max({y[0], y[1], y[2]}))));
            const int value = valueOf(o, i);
            for (int py = y0; py <= y1; ++py)
                for (int px = x0; px <= x1; ++px) {
                    const double cx = px + 0.5, cy = py + 0.5;
                    double b[3];
                    bool inside = true;
                    for (int e = 0; e < 3 && inside; ++e) {
                        const int a = (e + 1) % 3, c = (e + 2) % 3;
                        b[e] = ((x[c] - x[a]) * (cy - y[a]) - (y[c] - y[a]) * (cx - x[a])) / area;
                        inside = b[e] >= 0;
                    }
                    if (!inside)
                        continue;
                    // Depth between the corners as the perspective divides it.
                    const double d = 1.0 / (b[0] / z[0] + b[1] / z[1] + b[2] / z[2]);
                    const size_t at = size_t(py) * w + px;
                    if (d < r.depth[at]) {
                        r.depth[at] = d;
                        r.id[at] = value;
                    }
                }
        }
    }
    return r;
}

namespace {

// The scene's surfaces as the camera sees them: per pixel which object is
// nearest and how deep; past `farEnd` everything is the fog's (or the
// sky's) one colour, object 0.
SceneRaster sceneCover(const Scene& scene, unsigned sceneFrame, const View& view, double farEnd)
{
    std::map<const SceneObject*, int> number;
    for (const SceneObject& o : scene.objects)
        number.emplace(&o, int(number.size()) + 1);
    SceneRaster r = rasterise(scene, sceneFrame, view, [&](const SceneObject& o, std::size_t) { return number[&o]; });
    for (size_t at = 0; at < r.id.size(); ++at)
        if (r.depth[at] > farEnd)
            r.id[at] = 0, r.depth[at] = farEnd;
    return r;
}

// Two pixels show different surfaces: other objects, or the same one over
// `ratio` times deeper (a column before another of its own).
bool apart(const SceneRaster& r, size_t a, const SceneRaster& s, size_t b, double ratio)
{
    return r.id[a] != s.id[b] || std::max(r.depth[a], s.depth[b]) > ratio * std::min(r.depth[a], s.depth[b]);
}

void markAround(Mask& m, int x, int y, int rim)
{
    for (int dy = -rim; dy <= rim; ++dy)
        for (int dx = -rim; dx <= rim; ++dx) {
            const int nx = x + dx, ny = y + dy;
            if (nx >= 0 && ny >= 0 && nx < m.width && ny < m.height)
                m.on[size_t(ny) * m.width + nx] = 1;
        }
}

void markOutlines(Mask& m, const SceneRaster& r, int rim)
{
    const int w = m.width, h = m.height;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const size_t at = size_t(y) * w + x;
            // Side by side, 5 % deeper is already another surface.
            if ((x + 1 < w && apart(r, at, r, at + 1, 1.05)) || (y + 1 < h && apart(r, at, r, at + size_t(w), 1.05)))
                markAround(m, x, y, rim);
        }
}

}  // namespace

Mask sceneEdges(const std::string& scenePath, unsigned sceneFrame, const View& view, double farEnd, int rim)
{
    const Scene scene = readScene(scenePath);
    Mask edges{view.width, view.height, std::vector<unsigned char>(size_t(view.width) * view.height, 0)};
    markOutlines(edges, sceneCover(scene, sceneFrame, view, farEnd), rim);
    return edges;
}

Mask geometryChanges(const std::string& scenePath, const std::vector<unsigned>& sceneFrames, const View& view,
                     double farEnd, int rim)
{
    const Scene scene = readScene(scenePath);
    Mask changed{view.width, view.height, std::vector<unsigned char>(size_t(view.width) * view.height, 0)};
    std::vector<SceneRaster> covers;
    for (unsigned f : sceneFrames) {
        covers.push_back(sceneCover(scene, f, view, farEnd));
        markOutlines(changed, covers.back(), rim);
    }
    for (size_t k = 1; k < covers.size(); ++k)
        for (int y = 0; y < view.height; ++y)
            for (int x = 0; x < view.width; ++x) {
                const size_t at = size_t(y) * view.width + x;
                // From one frame to the next the camera moves: the same
                // surface comes nearer or goes further by a good part of
                // its depth when it is near, and its texture moving with it
                // is what is measured. Another object, or one a quarter
                // deeper or more, is another surface.
                if (apart(covers[k - 1], at, covers[k], at, 1.25))
                    markAround(changed, x, y, rim);
            }
    return changed;
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
