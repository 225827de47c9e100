// The knot scene's camera rides close to a tumbling knot: a path that runs
// through the tube shows the inside of the marble instead of the knot.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "assets/Resources.h"
#include "scene/SceneParser.h"

namespace {

struct V {
    double x, y, z;
};

V operator-(V a, V b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
V operator+(V a, V b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
double dot(V a, V b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
V cross(V a, V b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
V scaled(V a, double s) { return {a.x * s, a.y * s, a.z * s}; }
V normalised(V a) { return scaled(a, 1.0 / std::sqrt(dot(a, a))); }

// File coordinates to display space, as the renderer converts them.
V display(const KeyVec3& k) { return {k.x, k.z, -k.y}; }

// Turns v about a unit axis by the right-hand rule, as glRotate does.
V rotate(V v, V axis, double radians)
{
    const double c = std::cos(radians), s = std::sin(radians);
    return scaled(v, c) + scaled(cross(axis, v), s) + scaled(axis, dot(axis, v) * (1 - c));
}

Scene loadKnotScene()
{
    Scene scene;
    SceneTextureHooks hooks;
    hooks.enableSphereMap = [] {};
    hooks.loadTexture = [](const char*) { return 0u; };
    const Resource text = findResource("ZYT_SCENE", "PART3_SCENE");
    std::string problem;
    EXPECT_TRUE(text && parseScene(text.data, text.size, scene, hooks, problem)) << problem;
    return scene;
}

// The knot's surface points at one frame, moved as the renderer moves them:
// turned about the rest position by the rotation key, then carried by the
// offset of the position key from the rest position.
std::vector<V> knotSurfaceAt(const SceneObject& knot, std::size_t frame)
{
    const V rest = display(knot.transform.position);
    const V offset = display(knot.track.positionKeys[frame]) - rest;
    const RotationKey& r = knot.track.rotationKeys[frame];
    const V axis = normalised({r.x, r.z, -r.y});
    const double radians = r.degrees * std::acos(-1.0) / 180.0;
    std::vector<V> points;
    for (const SceneFace& f : knot.faces)
        for (const auto& corner : f.vertex)
            points.push_back(rest + offset + rotate(V{corner[0], corner[1], corner[2]} - rest, axis, radians));
    return points;
}

TEST(SceneCameraPath, TheKnotCameraStaysClearOfTheTubeAndKeepsTheKnotInView)
{
    const Scene scene = loadKnotScene();
    const SceneObject* knot = nullptr;
    for (const SceneObject& o : scene.objects)
        if (std::strcmp(o.name, "Torus Knot01") == 0)
            knot = &o;
    ASSERT_NE(knot, nullptr);
    ASSERT_EQ(scene.cameras.size(), 1u);
    const SceneCamera& camera = scene.cameras[0];
    const double halfHeight = std::tan(75.0 * std::acos(-1.0) / 180.0);   // the part's 150 degree view

    double nearest = 1e9;
    std::size_t nearestFrame = 0;
    for (std::size_t frame = 0; frame < 1200; ++frame) {
        const V eye = display(camera.track.positionKeys[frame]);
        const V target = display(camera.targetTrack.positionKeys[frame]);
        const std::vector<V> surface = knotSurfaceAt(*knot, frame);
        for (const V& p : surface) {
            const double d = std::sqrt(dot(p - eye, p - eye));
            if (d < nearest) {
                nearest = d;
                nearestFrame = frame;
            }
        }
        // The knot's middle lies well inside the picture.
        V middle{0, 0, 0};
        for (const V& p : surface)
            middle = middle + p;
        middle = scaled(middle, 1.0 / static_cast<double>(surface.size()));
        const V forward = normalised(target - eye);
        const V right = normalised(cross(forward, {0, 1, 0}));
        const V up = cross(right, forward);
        const double depth = dot(middle - eye, forward);
        ASSERT_GT(depth, 1.0) << "frame " << frame;
        EXPECT_LT(std::fabs(dot(middle - eye, right)) / (depth * halfHeight * 1.33), 0.5) << "frame " << frame;
        EXPECT_LT(std::fabs(dot(middle - eye, up)) / (depth * halfHeight), 0.5) << "frame " << frame;
    }
    EXPECT_GT(nearest, 20.0) << "the camera comes within " << nearest << " of the knot's surface at frame "
                             << nearestFrame;
}

}  // namespace
