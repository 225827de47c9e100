// Building blocks of the scene generator: vectors, meshes made of simple
// solids, sampled tracks, and the writer of the demo's ASCII scene format.
#pragma once
#include <array>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace scenes {

constexpr double kPi = 3.14159265358979323846;
constexpr int kSamples = 1201;   // frames 0..1200, step 1

struct V3 {
    double x = 0, y = 0, z = 0;
};
inline V3 operator+(V3 a, V3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline V3 operator-(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline V3 operator*(V3 a, double s) { return {a.x * s, a.y * s, a.z * s}; }
inline double dot(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline V3 cross(V3 a, V3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
inline double length(V3 a) { return std::sqrt(dot(a, a)); }
inline V3 normalized(V3 a)
{
    const double l = length(a);
    return l > 0 ? a * (1.0 / l) : V3{0, 0, 1};
}

// A rotation as a 3x3 matrix; m[i] is the image of basis vector i (the
// "rows" of a node's transform as the format stores them).
struct Rotation {
    V3 m[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    V3 apply(V3 v) const { return m[0] * v.x + m[1] * v.y + m[2] * v.z; }
};
Rotation axisAngle(V3 axis, double radians);

struct Quaternion {
    double w = 1, x = 0, y = 0, z = 0;
};
Quaternion quaternionFromAxisAngle(V3 axis, double radians);
Quaternion operator*(Quaternion a, Quaternion b);
Quaternion conjugate(Quaternion q);
// Axis (unit) and angle in radians, angle in [0, pi].
void toAxisAngle(Quaternion q, V3& axis, double& radians);
Quaternion quaternionPower(Quaternion q, double t);   // q^t, the shortest way
Quaternion quaternionFromRotation(const Rotation& r);

struct Face {
    std::array<int, 3> v{};
    std::array<int, 3> t{};
    std::array<V3, 3> cornerNormal{};   // world directions; made local on output
};

// A mesh in world (file, Z-up) coordinates.  Solids add their own vertices,
// texture vertices and corner normals, so hard edges stay hard.
struct Mesh {
    std::vector<V3> vertices;
    std::vector<V3> texVertices;
    std::vector<Face> faces;

    int vertex(V3 p)
    {
        vertices.push_back(p);
        return static_cast<int>(vertices.size()) - 1;
    }
    int tex(double u, double v)
    {
        texVertices.push_back({u, v, 0});
        return static_cast<int>(texVertices.size()) - 1;
    }
    // A triangle with one normal at every corner.
    void triangle(int a, int b, int c, int ta, int tb, int tc, V3 na, V3 nb, V3 nc)
    {
        faces.push_back({{a, b, c}, {ta, tb, tc}, {na, nb, nc}});
    }
    // A flat quad a b c d (counter-clockwise seen from outside), texture
    // coordinates from the world position projected on the quad's plane.
    void quad(V3 a, V3 b, V3 c, V3 d, double tileSize);
    void append(const Mesh& other);
};

// Solids.  Boxes and quads are faceted; cylinders are smooth around.
void addBox(Mesh& mesh, V3 lo, V3 hi, double tileSize);
void addCylinder(Mesh& mesh, V3 base, double radius, double height, int sides, double uRepeat, double vRepeat);
void addSphere(Mesh& mesh, V3 centre, double radius, int slices, int stacks);
void addGroundGrid(Mesh& mesh, double half, int cells, double z, double tileSize);
void addGableRoof(Mesh& mesh, V3 lo, V3 hi, double ridgeHeight, double tileSize);

// Sampled paths through keyframes (frame, point), smooth between them.
struct PathKey {
    double frame;
    V3 point;
};
std::vector<V3> samplePath(const std::vector<PathKey>& keys, int samples = kSamples);

struct RotationSample {
    V3 axis;
    double radians;
};
// The orientation of a camera at `eye` looking at `target` with Z up, as
// the tool stores it (the camera looks along its own -Z).
RotationSample cameraRotation(V3 eye, V3 target);

struct Node {
    Rotation rotation;
    V3 translation;
    V3 position;
    V3 rotationAxis{0, 0, 1};
    double rotationAngle = 0;
};

struct Track {
    std::vector<V3> positions;
    std::vector<RotationSample> rotations;
};

struct Material {
    std::string name;
    V3 ambient, diffuse, specular;
    double shininess = 0.1, strength = 0.2, transparency = 0;
    double selfIllumination = 0;
    std::string texture;   // empty: none
    bool envMap = false;
    double uScale = 1, vScale = 1;
};

struct Object {
    std::string name;
    Node node;
    const Track* track = nullptr;
    int smooth = 1;
    Mesh mesh;
    int material = 0;
    int faceFlags = 2;
    // Corner normals of the first face as authored, when given.
    bool firstCornersGiven = false;
    std::array<V3, 3> firstCorners{};
};

struct Light {
    std::string name;
    Node node;
    const Track* track = nullptr;
    V3 colour;
};

struct Camera {
    std::string name;
    Node eye, target;
    const Track* eyeTrack = nullptr;
    const Track* targetTrack = nullptr;
};

struct SceneDescription {
    std::vector<Material> materials;
    std::vector<Object> objects;
    std::vector<Light> lights;
    std::vector<Camera> cameras;
};

// The text as the exporter writes it: one record per CR LF line, values
// joined by ";", four decimals, closed by "-1".
std::string writeScene(const SceneDescription& scene);

}  // namespace scenes
