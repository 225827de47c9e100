// A scene text read as the demo reads it, and the part's camera looking
// through it: what ObjectMask and LampView share.
#pragma once
#include <cmath>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "ObjectMask.hpp"
#include "scene/SceneParser.h"

namespace frames {

struct V {
    double x, y, z;
};
inline V operator-(V a, V b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline V operator+(V a, V b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline V operator*(V a, double s) { return {a.x * s, a.y * s, a.z * s}; }
inline double dot(V a, V b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline V cross(V a, V b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
inline V unit(V a) { return a * (1.0 / std::sqrt(dot(a, a))); }

// Throws std::runtime_error when the file cannot be read or parsed.
Scene readScene(const std::string& path);

// Screen position (x right, y down, in pixels) of a display-space point.
struct Camera {
    V eye, forward, right, up;
    double focal, aspect;
    int width, height;

    // False for a point less than one unit in front of the eye (the near plane).
    bool project(V p, double& sx, double& sy, double& depth) const
    {
        const V d = p - eye;
        depth = dot(d, forward);
        if (depth < 1.0)
            return false;
        const double nx = dot(d, right) / depth * focal / aspect, ny = dot(d, up) / depth * focal;
        sx = (nx + 1) * 0.5 * width;
        sy = (1 - ny) * 0.5 * height;
        return true;
    }
};

// The scene's first camera at a scene frame; throws when there is none.
Camera cameraAt(const Scene& scene, unsigned sceneFrame, const View& view);

// Where the renderer puts corner `k` of face `f` of `object` at a scene
// frame: turned about the rest position by the rotation key, carried by the
// position key.
class ObjectPlacement {
public:
    ObjectPlacement(const SceneObject& object, unsigned sceneFrame);
    V corner(const SceneFace& f, int k) const;

private:
    V rest_, offset_{0, 0, 0}, axis_{0, 1, 0};
    double radians_ = 0;
};

// The scene drawn with a depth buffer from its camera at a scene frame: per
// pixel (top row first) the nearest depth (infinity where nothing is) and
// the value `valueOf` gives the object and face drawn there (0 where
// nothing is).
struct SceneRaster {
    std::vector<double> depth;
    std::vector<int> id;
};
SceneRaster rasterise(const Scene& scene, unsigned sceneFrame, const View& view,
                      const std::function<int(const SceneObject&, std::size_t)>& valueOf);

}  // namespace frames
