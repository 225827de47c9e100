// Writes the demo's four scene texts: the temple of part 2, the torus knot
// of part 3, the temple town of part 9 and the one-object scene loaded for
// part 10.  Deterministic: the same texts on every run.
//
//   scene-generator OUTPUT_DIR
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>

#include "SceneText.hpp"

using namespace scenes;

namespace {

Material material(const std::string& name, V3 ambient, V3 diffuse, V3 specular, double shininess, double strength,
                  const std::string& texture, bool envMap = false)
{
    Material m;
    m.name = name;
    m.ambient = ambient;
    m.diffuse = diffuse;
    m.specular = specular;
    m.shininess = shininess;
    m.strength = strength;
    m.texture = texture;
    m.envMap = envMap;
    return m;
}

Node placedAt(V3 position)
{
    Node n;
    n.translation = position;
    n.position = position;
    return n;
}

// The one omni light every scene has, standing at `position`.
Light omniLight(V3 position, V3 colour)
{
    Light omni;
    omni.name = "Omni01";
    omni.node = placedAt(position);
    omni.colour = colour;
    return omni;
}

// "Camera01", placed and animated by its eye and target tracks.
Camera flyingCamera(Track& eyeTrack, Track& targetTrack)
{
    Camera camera;
    camera.name = "Camera01";
    camera.eye = placedAt(eyeTrack.positions[0]);
    camera.target = placedAt(targetTrack.positions[0]);
    camera.eyeTrack = &eyeTrack;
    camera.targetTrack = &targetTrack;
    return camera;
}

Object object(const std::string& name, Mesh mesh, int materialIndex, V3 pivot, int smooth)
{
    Object o;
    o.name = name;
    o.mesh = std::move(mesh);
    o.material = materialIndex;
    o.node = placedAt(pivot);
    o.smooth = smooth;
    return o;
}

// ---------------------------------------------------------------- part 2

// A four-sided chrome flame: five square rings rising from a neck to a bulb
// and a point, capped at both ends (20 vertices, 36 faces).
Mesh flame(const Rotation& turn, V3 base)
{
    const double half[5] = {7, 7, 13, 6, 0.8};
    const double height[5] = {0, 10, 30, 55, 75};
    const double corner[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    Mesh m;
    for (int r = 0; r < 5; ++r)
        for (int p = 0; p < 4; ++p)
            m.vertex(base + turn.apply({corner[p][0] * half[r], corner[p][1] * half[r], height[r]}));
    for (int r = 0; r < 4; ++r)
        for (int p = 0; p <= 4; ++p)
            m.tex(p / 4.0, r / 3.0);
    for (int i = 0; i < 4; ++i)
        m.tex(corner[i][0] * 0.5 + 0.5, corner[i][1] * 0.5 + 0.5);
    auto radial = [&](int p) { return turn.apply(normalized({corner[p][0], corner[p][1], 0.3})); };
    auto texIndex = [](int r, int p) { return (r < 3 ? r : 3) * 5 + p; };
    for (int r = 0; r < 4; ++r)
        for (int p = 0; p < 4; ++p) {
            const int q = (p + 1) % 4;
            const int a = r * 4 + p, b = r * 4 + q, c = (r + 1) * 4 + q, d = (r + 1) * 4 + p;
            const int ta = texIndex(r, p), tb = texIndex(r, p + 1), tc = texIndex(r + 1, p + 1),
                      td = texIndex(r + 1, p);
            m.triangle(a, b, c, ta, tb, tc, radial(p), radial(q), radial(q));
            m.triangle(a, c, d, ta, tc, td, radial(p), radial(q), radial(p));
        }
    const V3 down = turn.apply({0, 0, -1}), up = turn.apply({0, 0, 1});
    m.triangle(0, 3, 2, 20, 23, 22, down, down, down);
    m.triangle(0, 2, 1, 20, 22, 21, down, down, down);
    m.triangle(16, 17, 18, 20, 21, 22, up, up, up);
    m.triangle(16, 18, 19, 20, 22, 23, up, up, up);
    return m;
}

void writeFile(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
    std::printf("%s: %zu bytes\n", path.c_str(), text.size());
}

SceneDescription part2Temple(Track& eyeTrack, Track& targetTrack)
{
    SceneDescription s;
    Material chrome = material("Material #7", {0.0641, 0.1582, 0.1817}, {1, 1, 1}, {0.9, 0.9, 0.9}, 0.54, 0.84,
                               "enviblum.jpg", true);
    s.materials.push_back(chrome);
    s.materials.push_back(material("Material #2", {0.25, 0.22, 0.2}, {0.95, 0.9, 0.82}, {0.6, 0.6, 0.6}, 0.25, 0.35,
                                   "tempelcolumn.jpg"));
    s.materials.push_back(material("Material #3", {0.2, 0.18, 0.16}, {0.9, 0.85, 0.78}, {0.2, 0.2, 0.2}, 0.1, 0.1,
                                   "tempelground.jpg"));
    s.materials.push_back(material("Material #4", {0.25, 0.2, 0.2}, {1.0, 0.95, 0.9}, {0.3, 0.3, 0.3}, 0.2, 0.2,
                                   "tempeldecal.jpg"));
    // Dark ashlar for the wall that closes the temple's back: it takes the
    // key light only on its inner face and stays near black outside.
    s.materials.push_back(material("Material #5", {0.04, 0.035, 0.035}, {0.32, 0.28, 0.26}, {0.05, 0.05, 0.05}, 0.1,
                                   0.05, "mtground.jpg"));

    // Six chrome flames on pedestals along the aisle, turned 2.5 degrees.
    // The first flame's first corner sits at (69.1564, 2.1613, 100).
    const double turnRadians = 2.5 * kPi / 180;
    const Rotation turn = axisAngle({0, 0, 1}, turnRadians);
    const V3 firstCorner{69.1564, 2.1613, 100.0};
    const V3 firstBase = firstCorner - turn.apply({-7, -7, 0});
    const double rowY[3] = {0, -170, 170};
    const double pedestalTop = 100, floor = 12;
    Mesh pedestals;
    int line = 1;
    for (double side : {1.0, -1.0})
        for (double dy : rowY) {
            const V3 base{side * firstBase.x, firstBase.y + dy, pedestalTop};
            char name[16];
            std::snprintf(name, sizeof name, "Line%02d", line++);
            Object o = object(name, flame(turn, base), 0, base, 0);
            o.node.rotation = turn;
            o.node.rotationAxis = {0, 0, 1};
            o.node.rotationAngle = turnRadians;
            s.objects.push_back(o);
            addBox(pedestals, {base.x - 14, base.y - 14, floor}, {base.x + 14, base.y + 14, pedestalTop - 6}, 40);
            addBox(pedestals, {base.x - 18, base.y - 18, pedestalTop - 6}, {base.x + 18, base.y + 18, pedestalTop},
                   40);
        }
    // The authored corner normals of the first face.
    s.objects[0].firstCornersGiven = true;
    s.objects[0].firstCorners = {V3{-0.9588, 0.2842, 0}, V3{0, -1, 0}, V3{-0.4794, -0.8776, 0}};

    Mesh ground;
    addGroundGrid(ground, 2400, 32, 0, 120);
    s.objects.push_back(object("Ground01", ground, 2, {0, 0, 0}, 0));

    Mesh stylobate;
    addBox(stylobate, {-190, -310, 0}, {190, 310, 4}, 60);
    addBox(stylobate, {-180, -300, 4}, {180, 300, 8}, 60);
    for (int j = 0; j < 10; ++j)   // the floor in tiles, for even lighting
        for (int i = 0; i < 6; ++i) {
            const double x0 = -170 + i * 340.0 / 6, y0 = -290 + j * 58.0;
            const double x1 = x0 + 340.0 / 6, y1 = y0 + 58;
            stylobate.quad({x0, y0, floor}, {x1, y0, floor}, {x1, y1, floor}, {x0, y1, floor}, 60);
        }
    s.objects.push_back(object("Stylobate01", stylobate, 2, {0, 0, 0}, 0));

    const double columnTop = 160;
    auto column = [&](Mesh& m, double x, double y) {
        addBox(m, {x - 15, y - 15, floor}, {x + 15, y + 15, floor + 6}, 30);
        addCylinder(m, {x, y, floor + 6}, 11, columnTop - floor - 14, 14, 2, 3);
        addBox(m, {x - 16, y - 16, columnTop - 8}, {x + 16, y + 16, columnTop}, 30);
    };
    Mesh left, right, ends;
    for (int k = 0; k < 9; ++k) {
        column(left, -150, -260 + k * 65.0);
        column(right, 150, -260 + k * 65.0);
    }
    for (double y : {-260.0, 260.0})
        for (double x : {-75.0, 75.0})
            column(ends, x, y);
    s.objects.push_back(object("Columns01", left, 1, {-150, 0, 80}, 1));
    s.objects.push_back(object("Columns02", right, 1, {150, 0, 80}, 1));
    s.objects.push_back(object("Columns03", ends, 1, {0, 0, 80}, 1));
    // The back wall runs through the back row of columns, which stand half
    // out of it, from corner to corner up to the beams.
    Mesh backWall;
    addBox(backWall, {-150, 254, floor}, {150, 266, columnTop}, 70);
    s.objects.push_back(object("BackWall01", backWall, 4, {0, 260, 86}, 0));
    s.objects.push_back(object("Pedestals01", pedestals, 3, {0, 0, 50}, 0));

    const double beamTop = 185;
    Mesh architrave;
    addBox(architrave, {-168, -278, columnTop}, {-132, 278, beamTop}, 50);
    addBox(architrave, {132, -278, columnTop}, {168, 278, beamTop}, 50);
    addBox(architrave, {-132, -278, columnTop}, {132, -242, beamTop}, 50);
    addBox(architrave, {-132, 242, columnTop}, {132, 278, beamTop}, 50);
    s.objects.push_back(object("Architrave01", architrave, 1, {0, 0, 172}, 0));

    // Decorated bands on the outer faces of the beams.
    Mesh frieze;
    const double f0 = columnTop + 4, f1 = beamTop - 4, o = 0.6;
    frieze.quad({-168 - o, 278, f0}, {-168 - o, -278, f0}, {-168 - o, -278, f1}, {-168 - o, 278, f1}, 21);
    frieze.quad({168 + o, -278, f0}, {168 + o, 278, f0}, {168 + o, 278, f1}, {168 + o, -278, f1}, 21);
    frieze.quad({-168, -278 - o, f0}, {168, -278 - o, f0}, {168, -278 - o, f1}, {-168, -278 - o, f1}, 21);
    frieze.quad({168, 278 + o, f0}, {-168, 278 + o, f0}, {-168, 278 + o, f1}, {168, 278 + o, f1}, 21);
    s.objects.push_back(object("Frieze01", frieze, 3, {0, 0, 172}, 0));

    Mesh roof;
    addGableRoof(roof, {-180, -295, beamTop}, {180, 295, beamTop + 6}, 55, 80);
    s.objects.push_back(object("Roof01", roof, 1, {0, 0, 210}, 0));

    // Inlaid panels down the aisle and along the way up to the temple.
    Mesh inlays, path;
    for (int k = 0; k < 5; ++k) {
        const double y = -220 + k * 110.0, z = floor + 0.4;
        inlays.quad({-40, y - 40, z}, {40, y - 40, z}, {40, y + 40, z}, {-40, y + 40, z}, 80);
    }
    for (int k = 0; k < 8; ++k) {
        const double y = -400 - k * 120.0, z = 0.5;
        path.quad({-45, y - 45, z}, {45, y - 45, z}, {45, y + 45, z}, {-45, y + 45, z}, 90);
    }
    s.objects.push_back(object("Decal01", inlays, 3, {0, 0, floor}, 0));
    s.objects.push_back(object("Decal02", path, 3, {0, -820, 0}, 0));

    Mesh orb;
    addSphere(orb, {0, 225, 150}, 22, 16, 10);
    s.objects.push_back(object("Sphere01", orb, 0, {0, 225, 150}, 1));

    s.lights.push_back(omniLight(V3{60, -460, 190}, V3{1.0, 0.92, 0.85}));

    // Far out in the fog, then swooping in so that the temple stands out of
    // the red within two seconds, round to the front and in at the entrance,
    // down the aisle, out between two columns of the right-hand row and round
    // the corner to the temple's back wall, then up and round to look back at
    // the temple. While a name is on screen the view rests on the dim aisle
    // or, for the third, close on the dark back wall, where the names read
    // best.
    eyeTrack.positions = samplePath({{0, {1053.0469, -1440.5504, 234.7582}},
                                     {60, {420, -900, 180}},
                                     {150, {170, -700, 110}},
                                     {330, {40, -520, 72}},
                                     {440, {0, -380, 62}},
                                     {560, {0, -250, 58}},
                                     {680, {20, 60, 62}},
                                     {730, {150, 97, 66}},
                                     {770, {235, 190, 74}},
                                     {800, {200, 330, 80}},
                                     {826, {45, 340, 86}},
                                     {870, {20, 390, 100}},
                                     {930, {150, 480, 150}},
                                     {1040, {460, 330, 230}},
                                     {1200, {620, -120, 300}}});
    targetTrack.positions = samplePath({{0, {-2.6579, -0.0, 131.0586}},
                                        {60, {0, -100, 110}},
                                        {150, {0, -150, 100}},
                                        {330, {0, -60, 70}},
                                        {440, {0, 150, 64}},
                                        {560, {0, 150, 62}},
                                        {680, {120, 110, 64}},
                                        {730, {170, 300, 72}},
                                        {770, {60, 320, 78}},
                                        {785, {60, 380, 80}},
                                        {800, {60, 360, 84}},
                                        {813, {28, 292, 85}},
                                        {826, {30, 262, 86}},
                                        {870, {0, 262, 90}},
                                        {930, {0, 180, 100}},
                                        {1040, {0, 40, 110}},
                                        {1200, {0, 0, 110}}});
    targetTrack.positions[0] = {-2.6579, -0.0, 131.0586};
    for (int f = 0; f < kSamples; ++f)
        eyeTrack.rotations.push_back(cameraRotation(eyeTrack.positions[f], targetTrack.positions[f]));
    s.cameras.push_back(flyingCamera(eyeTrack, targetTrack));
    return s;
}

// ---------------------------------------------------------------- part 3

// The knot's size: ring, winding and tube radius.
constexpr double kKnotRing = 62, kKnotWinding = 24, kKnotTube = 15;

// Centre line of a (2, 3) torus knot around the origin in the xy plane.
V3 knotCurve(double ringRadius, double knotRadius, double t)
{
    const double r = ringRadius + knotRadius * std::cos(3 * t);
    return V3{r * std::cos(2 * t), r * std::sin(2 * t), knotRadius * std::sin(3 * t)};
}

// A (2, 3) torus knot tube around the origin in the xy plane.
Mesh torusKnot(double ringRadius, double knotRadius, double tubeRadius, int steps, int sides)
{
    auto curve = [&](double t) { return knotCurve(ringRadius, knotRadius, t); };
    Mesh m;
    std::vector<std::vector<int>> v(steps + 1), tx(steps + 1);
    std::vector<std::vector<V3>> n(steps + 1);
    for (int i = 0; i <= steps; ++i) {
        const double t = 2 * kPi * (i % steps) / steps;
        const V3 c = curve(t);
        const V3 tangent = normalized(curve(t + 1e-4) - curve(t - 1e-4));
        const V3 centre{ringRadius * std::cos(2 * t), ringRadius * std::sin(2 * t), 0};
        V3 out = c - centre;
        out = normalized(out - tangent * dot(out, tangent));
        const V3 side = cross(tangent, out);
        for (int j = 0; j <= sides; ++j) {
            const double a = 2 * kPi * (j % sides) / sides;
            const V3 d = out * std::cos(a) + side * std::sin(a);
            n[i].push_back(d);
            v[i].push_back(m.vertex(c + d * tubeRadius));
            tx[i].push_back(m.tex(static_cast<double>(i) / steps, static_cast<double>(j) / sides));
        }
    }
    for (int i = 0; i < steps; ++i)
        for (int j = 0; j < sides; ++j) {
            m.triangle(v[i][j], v[i + 1][j], v[i + 1][j + 1], tx[i][j], tx[i + 1][j], tx[i + 1][j + 1], n[i][j],
                       n[i + 1][j], n[i + 1][j + 1]);
            m.triangle(v[i][j], v[i + 1][j + 1], v[i][j + 1], tx[i][j], tx[i + 1][j + 1], tx[i][j + 1], n[i][j],
                       n[i + 1][j + 1], n[i][j + 1]);
        }
    return m;
}

// A tube along y with its normals facing inwards, seen from inside.
Mesh glassTube(V3 axisPoint, double radius, double y0, double y1, int segments, int sides)
{
    Mesh m;
    std::vector<std::vector<int>> v(segments + 1), tx(segments + 1);
    std::vector<V3> inward;
    for (int j = 0; j <= sides; ++j) {
        const double a = 2 * kPi * (j % sides) / sides;
        inward.push_back({-std::cos(a), 0, -std::sin(a)});
    }
    for (int i = 0; i <= segments; ++i) {
        const double y = y0 + (y1 - y0) * i / segments;
        for (int j = 0; j <= sides; ++j) {
            v[i].push_back(m.vertex(axisPoint + V3{0, y, 0} - inward[j] * radius));
            tx[i].push_back(m.tex(static_cast<double>(j) / sides, i * 0.5));
        }
    }
    for (int i = 0; i < segments; ++i)
        for (int j = 0; j < sides; ++j) {
            m.triangle(v[i][j], v[i][j + 1], v[i + 1][j + 1], tx[i][j], tx[i][j + 1], tx[i + 1][j + 1], inward[j],
                       inward[j + 1], inward[j + 1]);
            m.triangle(v[i][j], v[i + 1][j + 1], v[i + 1][j], tx[i][j], tx[i + 1][j + 1], tx[i + 1][j], inward[j],
                       inward[j + 1], inward[j]);
        }
    // Both ends closed: the wide view reaches far down the tube, and an open
    // end shows the black beyond it. Each wedge of a lid keeps the normals
    // of the wall it closes, so the reflection runs on into the lid instead
    // of lighting up a flat disc facing the camera.
    for (const double y : {y0, y1}) {
        const int centre = m.vertex(axisPoint + V3{0, y, 0});
        const int middle = m.tex(0.5, 0.5);
        const int ring = y == y0 ? 0 : segments;
        for (int j = 0; j < sides; ++j) {
            const int a = y == y0 ? j + 1 : j, b = y == y0 ? j : j + 1;   // counter-clockwise seen from inside
            const V3 mid = normalized(inward[a] + inward[b]);
            m.triangle(centre, v[ring][a], v[ring][b], middle, tx[ring][a], tx[ring][b], mid, inward[a], inward[b]);
        }
    }
    return m;
}

// The part's view is very wide (150 degrees), so the camera must come close
// for the knot to fill the picture: from frame `kFaceOn` on it rides on the
// knot's ring axis, some 60 units in front (the knot reaches about 100 from
// its centre), where the tube never passes near, and sees the knot face-on
// as it spins about that axis. Before that it swings in from outside the
// knot's reach.
constexpr int kFaceOn = 100;

void knotCamera(const Track& knotTrack, V3 ringAxis, Track& eyeTrack, Track& targetTrack)
{
    const V3 start = normalized(V3{0, -1, 0.5}), onAxis = ringAxis * -1;
    for (int f = 0; f < kSamples; ++f) {
        const double s = std::clamp(f / 130.0, 0.0, 1.0), ease = s * s * (3 - 2 * s);
        const double swing = std::clamp(f / double(kFaceOn), 0.0, 1.0);
        const V3 direction = normalized(start * (1 - swing * swing * (3 - 2 * swing)) +
                                        onAxis * (swing * swing * (3 - 2 * swing)));
        const double near = 60 + 5 * std::sin(2 * kPi * f / 480);
        const double distance = 125 + (near - 125) * ease;
        eyeTrack.positions.push_back(knotTrack.positions[f] + direction * distance);
        targetTrack.positions.push_back(knotTrack.positions[f]);
    }
}

SceneDescription part3Knot(Track& knotTrack, Track& lightTrack, Track& fillTrack, Track& eyeTrack, Track& targetTrack)
{
    SceneDescription s;
    Material marble = material("Material #1", {0.3, 0.28, 0.27}, {1, 0.97, 0.94}, {1, 1, 1}, 0.6, 0.7,
                               "Marmorit.jpg");
    marble.uScale = 10;
    marble.vScale = 1.3;
    s.materials.push_back(marble);
    Material glass = material("Material #2", {0.1, 0.15, 0.3}, {0.55, 0.7, 1.0}, {1, 1, 1}, 0.7, 0.9,
                              "part3envi2.jpg", true);
    glass.transparency = 0.3;
    // The glass glows faintly of itself: the part's first frame is drawn
    // before the scene's lights are set, and the tube's own glow is what
    // shows there instead of a black picture.
    glass.selfIllumination = 0.5;
    s.materials.push_back(glass);

    // The knot rests turned a quarter about -x at its start position and
    // tumbles at a steady rate along +y, bobbing a little.
    const V3 rest{-0.5056, -1470.8340, -2.5170};
    const V3 restAxis{-1, 0, 0};
    const double restRadians = 1.5708;
    const Rotation restTurn = axisAngle(restAxis, restRadians);
    Mesh knot = torusKnot(kKnotRing, kKnotWinding, kKnotTube, 180, 12);
    for (V3& p : knot.vertices)
        p = rest + restTurn.apply(p);
    for (Face& f : knot.faces)
        for (V3& n : f.cornerNormal)
            n = restTurn.apply(n);
    Object knotObject = object("Torus Knot01", knot, 0, rest, 1);
    knotObject.node.rotation = restTurn;
    knotObject.node.rotationAxis = restAxis;
    knotObject.node.rotationAngle = restRadians;
    knotObject.track = &knotTrack;
    s.objects.push_back(knotObject);

    s.objects.push_back(object("Tube01", glassTube({-0.5056, 0, -2.5170}, 200, -2000, 1800, 38, 24), 1,
                               {-0.5056, -100, -2.5170}, 1));

    const Quaternion q0 = quaternionFromAxisAngle(restAxis, restRadians);
    const Quaternion q100 = quaternionFromAxisAngle({0.0303, 0.4903, -0.8710}, 2.0255);
    const Quaternion step = q100 * conjugate(q0);
    // The ring's axis as frame 100's key leaves it; after that frame the
    // knot spins about this axis, a third of a turn every 100 frames.
    const V3 ringAxis = axisAngle({0.0303, 0.4903, -0.8710}, 2.0255).apply({0, 1, 0});
    for (int f = 0; f < kSamples; ++f) {
        const V3 p{-0.5056 + 30 * std::sin(kPi * f / 100), -1470.8340 + 2.35661865 * f,
                   -2.5170 + 22 * std::sin(2 * kPi * f / 200)};
        knotTrack.positions.push_back(p);
        RotationSample r;
        const Quaternion q = f <= kFaceOn
                                 ? quaternionPower(step, f / 100.0) * q0
                                 : quaternionFromAxisAngle(ringAxis, 2 * kPi / 3 * (f - kFaceOn) / 100.0) * q100;
        toAxisAngle(q, r.axis, r.radians);
        knotTrack.rotations.push_back(r);
    }
    knotTrack.positions[0] = rest;
    knotTrack.positions[100] = {-0.5056, -1235.1721, -2.5170};
    knotTrack.rotations[0] = {restAxis, restRadians};
    knotTrack.rotations[100] = {{0.0303, 0.4903, -0.8710}, 2.0255};

    knotCamera(knotTrack, ringAxis, eyeTrack, targetTrack);
    for (int f = 0; f < kSamples; ++f) {
        const V3 k = knotTrack.positions[f];
        const double b = 2 * kPi * f / 300;
        lightTrack.positions.push_back(k + V3{140 * std::cos(b), 60 * std::sin(0.5 * b) - 40, 120 * std::sin(b)});
    }

    Light omni = omniLight(lightTrack.positions[0], V3{1.0, 0.95, 0.9});
    omni.track = &lightTrack;
    s.lights.push_back(omni);
    // A dim cool fill riding above the camera lights the side of the knot
    // that faces away from the orbiting key light, so the knot never sinks
    // into the dark ground; the key still models it.
    for (int f = 0; f < kSamples; ++f)
        fillTrack.positions.push_back(eyeTrack.positions[f] + V3{-30, 0, 50});
    Light fill = omniLight(fillTrack.positions[0], V3{0.3, 0.34, 0.42});
    fill.name = "Omni02";
    fill.track = &fillTrack;
    s.lights.push_back(fill);

    s.cameras.push_back(flyingCamera(eyeTrack, targetTrack));
    return s;
}

// ---------------------------------------------------------------- part 9

// 0 at 0, 1 at 1, level at both ends.
double smoothStep(double s)
{
    return s * s * (3 - 2 * s);
}

// A small deterministic generator for the town's variations.
struct Lcg {
    unsigned state;
    double next()
    {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) / 16777216.0;
    }
};

SceneDescription part9Town(Track& eyeTrack, Track& targetTrack, Track& lanternTrack)
{
    SceneDescription s;
    // The streets in dark basalt cobbles: near by they lie dark under the
    // pale fog, below the pale gates and the fog at the end of the street,
    // and the lantern's gold shows on them.
    s.materials.push_back(material("Material #1", {0.1, 0.1, 0.1}, {0.21, 0.22, 0.23}, {0.1, 0.1, 0.1}, 0.1, 0.1,
                                   "mground.jpg"));
    s.materials.push_back(material("Material #2", {0.2, 0.2, 0.2}, {0.9, 0.88, 0.84}, {0.2, 0.2, 0.2}, 0.1, 0.2,
                                   "mtground.jpg"));
    s.materials.push_back(material("Material #3", {0.25, 0.25, 0.25}, {1, 0.98, 0.95}, {0.5, 0.5, 0.5}, 0.3, 0.4,
                                   "mtcolumn.jpg"));
    s.materials.push_back(material("Material #4", {0.2, 0.15, 0.12}, {0.85, 0.6, 0.45}, {0.3, 0.3, 0.3}, 0.2, 0.3,
                                   "mtroof.jpg"));
    // Dark weathered bronze for the gates and dark stone for the temples'
    // inner walls: near by they stand almost black against the pale fog and
    // the lit columns, and pale into the fog with distance.
    s.materials.push_back(material("Material #5", {0.02, 0.018, 0.016}, {0.06, 0.052, 0.045}, {0.4, 0.35, 0.3}, 0.3,
                                   0.4, "mtcolumn.jpg"));
    s.materials.push_back(material("Material #6", {0.04, 0.04, 0.045}, {0.13, 0.13, 0.15}, {0.05, 0.05, 0.05}, 0.1, 0.1,
                                   "mtground.jpg"));
    // The lamps are globes of warm frosted glass: they glow a little by
    // themselves, the lantern and the sun shade them round, and a white
    // highlight sits on each.
    Material lamp = material("Material #7", {0.3, 0.24, 0.14}, {1, 0.82, 0.5}, {1, 1, 1}, 0.7, 0.9, "");
    lamp.selfIllumination = 0.4;
    s.materials.push_back(lamp);
    // The pale stone of the gates glows faintly of itself, as limestone
    // holds the last of the evening light: they stand pale between the dark
    // bronze ones even where no light reaches them, as in the part's first
    // frame, which is drawn before the scene's lights are set.
    Material paleStone = material("Material #8", {0.25, 0.25, 0.25}, {1, 0.98, 0.95}, {0.5, 0.5, 0.5}, 0.3, 0.4,
                                  "mtcolumn.jpg");
    paleStone.selfIllumination = 0.25;
    s.materials.push_back(paleStone);

    Mesh ground;
    addGroundGrid(ground, 2600, 40, 0, 130);
    s.objects.push_back(object("Ground01", ground, 0, {0, 0, 0}, 0));

    // Twenty-four temples on a 6 x 4 grid, with streets between them.
    Lcg random{20011};
    Mesh cellas;
    int number = 1;
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 6; ++col) {
            const double cx = -800 + col * 320.0, cy = -570 + row * 380.0;
            const double hw = 58 + 20 * random.next(), hd = 80 + 28 * random.next();
            const double height = 60 + 30 * random.next();
            const int across = 3 + static_cast<int>(random.next() * 2.99), along = 4 + static_cast<int>(random.next() * 3.99);
            char name[32];
            Mesh base;
            addBox(base, {cx - hw - 8, cy - hd - 8, 0}, {cx + hw + 8, cy + hd + 8, 4}, 40);
            addBox(base, {cx - hw - 2, cy - hd - 2, 4}, {cx + hw + 2, cy + hd + 2, 9}, 40);
            std::snprintf(name, sizeof name, "Base%02d", number);
            s.objects.push_back(object(name, base, 1, {cx, cy, 4}, 0));

            Mesh columns;
            const double inset = 8;
            auto column = [&](double x, double y) { addCylinder(columns, {x, y, 9}, 6.5, height, 10, 1, 2); };
            for (int i = 0; i < across; ++i) {
                const double x = cx - hw + inset + (2 * (hw - inset)) * i / (across - 1);
                column(x, cy - hd + inset);
                column(x, cy + hd - inset);
            }
            for (int j = 1; j + 1 < along; ++j) {
                const double y = cy - hd + inset + (2 * (hd - inset)) * j / (along - 1);
                column(cx - hw + inset, y);
                column(cx + hw - inset, y);
            }
            std::snprintf(name, sizeof name, "Columns%02d", number);
            s.objects.push_back(object(name, columns, 2, {cx, cy, 9 + height / 2}, 1));

            // The inner chamber, behind the colonnade.
            addBox(cellas, {cx - hw + 24, cy - hd + 30, 9}, {cx + hw - 24, cy + hd - 30, 9 + height}, 40);

            Mesh roof;
            addGableRoof(roof, {cx - hw - 4, cy - hd - 4, 9 + height}, {cx + hw + 4, cy + hd + 4, 9 + height + 10},
                         18 + 14 * random.next(), 50);
            std::snprintf(name, sizeof name, "Roof%02d", number);
            s.objects.push_back(object(name, roof, 3, {cx, cy, 9 + height + 15}, 0));
            ++number;
        }

    s.objects.push_back(object("Cellas01", cellas, 5, {0, 0, 40}, 0));

    // Low along the streets: east, north up the middle, east again, south.
    const std::vector<PathKey> route = {{0, {-1150, -380, 40}},   {250, {-260, -380, 34}}, {330, {-40, -310, 38}},
                                        {420, {0, -120, 42}},     {560, {0, 250, 45}},     {640, {90, 380, 40}},
                                        {800, {500, 380, 34}},    {880, {635, 300, 40}},   {1000, {640, -90, 46}},
                                        {1200, {640, -640, 60}},  {1300, {640, -900, 70}}};
    const std::vector<V3> path = samplePath(route, kSamples + 60);
    // Gates across the streets the camera takes: pillars and beams stand
    // against the fog in the middle of the view, one behind the other, each
    // a little paler, so the eye reads the depth of the town. No two are
    // alike: their spacing, height, beam and pillars vary, and a band runs
    // along each beam. A lamp hangs on a bracket outside
    // each pillar at about the camera's height, as do the lamps of the posts
    // along the kerbs: seen from the street, wherever the camera is, the
    // lamps run in rows along the horizon, never one above the other, and
    // the camera passes beside them, never under one.
    const double kLampHeight = 40;
    Mesh gates, paleGates, lamps, bands, darkBands;
    int gateCount = 0;
    bool firstStreet = true;   // its gates take the other turn of pale and dark
    const V3 kTurns[3] = {{0, -380, 0}, {0, 380, 0}, {640, 380, 0}};   // the crossings where the camera turns
    auto awayFromPath = [&](V3 p, double clearance) {
        for (const V3& q : path)
            if (length(q - p) < clearance)
                return false;
        return true;
    };
    Lcg variety{4711};
    auto gate = [&](V3 centre, bool acrossY, Lcg& dice) {
        const double half = 46 + 6 * dice.next(), post = 9 + 4 * dice.next();
        const double top = 60 + 16 * dice.next(), beam = 20 + 14 * dice.next();
        // (along, across) to the town's (x, y).
        auto at = [&](double along, double across, double z) {
            return acrossY ? V3{centre.x + along, centre.y + across, z} : V3{centre.x + across, centre.y + along, z};
        };
        auto box = [&](Mesh& m, double a0, double c0, double z0, double a1, double c1, double z1) {
            const V3 p = at(a0, c0, z0), q = at(a1, c1, z1);
            addBox(m, {std::min(p.x, q.x), std::min(p.y, q.y), z0}, {std::max(p.x, q.x), std::max(p.y, q.y), z1}, 40);
        };
        // Every other gate is of pale stone with a dark band, the rest of
        // dark bronze with a pale one: down the street they stand light
        // against dark against the fog. The first street opens with a pale
        // one, which frames the part's first view.
        const bool pale = (gateCount++ % 2 == 1) != firstStreet;
        Mesh& body = pale ? paleGates : gates;
        for (const double side : {-1.0, 1.0})
            box(body, -post, side * half - post, 0, post, side * half + post, top);
        const double reach = half + post + 14, depth = post + 2;
        box(body, -depth, -reach, top, depth, reach, top + beam);
        // The band, standing proud of both faces of the beam.
        box(pale ? darkBands : bands, -depth - 0.6, -reach + 6, top + beam * 0.3, depth + 0.6, reach - 6,
            top + beam * 0.7);
        for (const double side : {-1.0, 1.0}) {
            const double across = side * (half + post + 9);
            const V3 lamp = at(0, across, kLampHeight);
            if (!awayFromPath(lamp, 45))
                continue;
            box(gates, -1, side * (half + post), kLampHeight + 6, 1, across + side, kLampHeight + 8);
            addSphere(lamps, lamp, 7, 16, 10);
        }
    };
    // Gates along one street from `from` to `to` (x along the street when
    // acrossY), 90 to 140 apart, and a pair of lamp posts halfway between
    // each two of them.
    std::vector<std::pair<V3, V3>> kerbs;   // between which gates the posts stand
    auto street = [&](V3 from, V3 to, bool acrossY, Lcg& dice) {
        const double span = length(to - from);
        const V3 step = normalized(to - from);
        double done = 0, previous = -1;
        while (done <= span) {
            gate(from + step * done, acrossY, dice);
            if (previous >= 0)
                kerbs.push_back({from + step * previous, from + step * done});
            previous = done;
            done += 90 + 50 * dice.next();
        }
        return from + step * previous;   // the last gate
    };
    // The first street's gates run on to where the camera turns, so that
    // down the whole street a gate stands in the middle of the view; those
    // last ones take their own measures and leave the pale and dark turns
    // of the other streets as they were.
    const V3 last = street({-1060, -380, 0}, {-400, -380, 0}, true, variety);
    const int counted = gateCount;
    Lcg lastVariety{1709};
    const V3 next = last + V3{90 + 50 * lastVariety.next(), 0, 0};
    kerbs.push_back({last, next});
    street(next, {-290, -380, 0}, true, lastVariety);
    gateCount = counted;
    firstStreet = false;
    street({0, -120, 0}, {0, 200, 0}, false, variety);
    street({200, 380, 0}, {420, 380, 0}, true, variety);
    street({640, 200, 0}, {640, -680, 0}, false, variety);
    // Lamp posts along both kerbs between the gates and at the corners of
    // the crossings where the camera turns: at a turn the view sweeps across
    // the crossing, and their lights and dark posts are what it finds there.
    // None stands within reach of the camera's way.
    auto lampPost = [&](V3 foot) {
        for (const V3& p : path)
            if (std::hypot(p.x - foot.x, p.y - foot.y) < 35)
                return;
        addBox(gates, {foot.x - 2, foot.y - 2, 0}, {foot.x + 2, foot.y + 2, kLampHeight - 7}, 40);
        addSphere(lamps, {foot.x, foot.y, kLampHeight}, 7, 16, 10);
    };
    const double kerb = 62;
    for (const auto& [a, b] : kerbs) {
        const V3 middle = (a + b) * 0.5, along = normalized(b - a);
        const V3 across{-along.y, along.x, 0};
        for (const double side : {-kerb, kerb})
            lampPost(middle + across * side);
    }
    for (const double side : {-kerb, kerb})
        for (const V3 crossing : kTurns)
            for (const double other : {-kerb, kerb})
                lampPost({crossing.x + side, crossing.y + other, 0});
    // In the middle of each of those crossings an obelisk on a dark stepped
    // plinth, its shaft in pale and dark stone, four lamps on arms around
    // it: the camera turns the corner around it.
    for (const V3 c : kTurns) {
        addBox(gates, {c.x - 20, c.y - 20, 0}, {c.x + 20, c.y + 20, 8}, 40);
        addBox(gates, {c.x - 14, c.y - 14, 8}, {c.x + 14, c.y + 14, 26}, 40);
        const double half[3] = {9, 7.5, 6}, z[4] = {26, 70, 110, 140};
        for (int k = 0; k < 3; ++k)
            addBox(k == 1 ? gates : paleGates, {c.x - half[k], c.y - half[k], z[k]},
                   {c.x + half[k], c.y + half[k], z[k + 1]}, 40);
        addBox(gates, {c.x - 3, c.y - 3, 140}, {c.x + 3, c.y + 3, 148}, 40);
        for (const V3 arm : {V3{1, 0, 0}, V3{-1, 0, 0}, V3{0, 1, 0}, V3{0, -1, 0}}) {
            const V3 tip = c + arm * 17;
            addBox(gates, {std::min(c.x, tip.x) - 1, std::min(c.y, tip.y) - 1, 62},
                   {std::max(c.x, tip.x) + 1, std::max(c.y, tip.y) + 1, 64}, 40);
            addSphere(lamps, {tip.x, tip.y, 58}, 5, 12, 8);
        }
    }
    // The lamps before the gates: the material of the last object drawn
    // stays set when part 10 draws its first frame, and a glowing one would
    // light that frame's chain.
    s.objects.push_back(object("Lamps01", lamps, 6, {0, 0, 53}, 1));
    s.objects.push_back(object("Gates01", gates, 4, {0, 0, 50}, 0));
    s.objects.push_back(object("Gates02", paleGates, 7, {0, 0, 50}, 0));
    s.objects.push_back(object("Bands01", bands, 2, {0, 0, 80}, 0));
    s.objects.push_back(object("Bands02", darkBands, 4, {0, 0, 80}, 0));

    s.lights.push_back(omniLight(V3{900, -1300, 900}, V3{1.0, 0.97, 0.9}));

    // Looking a little down the street: more of the paving near by, and the
    // gates' beams across the middle of the picture. Near a crossing where it
    // turns, the camera turns towards the obelisk while it lies ahead and lets
    // go of it as it passes, so it never looks back; the direction is then
    // averaged over two seconds so the turns stay slow.
    std::vector<V3> looks;
    for (int f = 0; f < kSamples; ++f) {
        const V3 eye = path[f], ahead = path[f + 45] - V3{0, 0, 10};
        const V3 forward = normalized(ahead - eye);
        V3 look = forward;
        for (const V3 c : kTurns) {
            const V3 toObelisk = normalized(V3{c.x, c.y, 55} - eye);
            const double near = std::clamp((300 - std::hypot(eye.x - c.x, eye.y - c.y)) / 140, 0.0, 1.0);
            const double facing = std::clamp(dot(forward, toObelisk) / 0.7, 0.0, 1.0);
            look = look + (toObelisk - forward) * (smoothStep(near) * smoothStep(facing));
        }
        looks.push_back(normalized(look) * length(ahead - eye));
    }
    const int kSteady = 40;
    for (int f = 0; f < kSamples; ++f) {
        V3 look;
        for (int k = std::max(0, f - kSteady); k <= std::min(kSamples - 1, f + kSteady); ++k)
            look = look + looks[k];
        const V3 target = path[f] + normalized(look) * length(looks[f]);
        eyeTrack.positions.push_back(path[f]);
        targetTrack.positions.push_back(target);
        eyeTrack.rotations.push_back(cameraRotation(path[f], target));
    }
    // A warm lantern carried just above the camera: what lies near by is
    // lit golden and pales into the blue fog with distance, which gives the
    // town its depth, and the gate ahead is the brightest thing in view.
    for (int f = 0; f < kSamples; ++f)
        lanternTrack.positions.push_back(eyeTrack.positions[f] + V3{0, 0, 15});
    Light lantern = omniLight(lanternTrack.positions[0], V3{1.0, 0.85, 0.6});
    lantern.name = "Omni02";
    lantern.track = &lanternTrack;
    s.lights.push_back(lantern);
    s.cameras.push_back(flyingCamera(eyeTrack, targetTrack));
    return s;
}

// ---------------------------------------------------------------- part 10

SceneDescription part10Orb(Track& eyeTrack)
{
    SceneDescription s;
    s.materials.push_back(material("Material #1", {0.1, 0.1, 0.3}, {0.3, 0.4, 0.9}, {1, 1, 1}, 0.5, 0.8, ""));
    Mesh orb;
    addSphere(orb, {0, 0, 0}, 40, 20, 12);
    s.objects.push_back(object("Sphere01", orb, 0, {0, 0, 0}, 1));
    s.lights.push_back(omniLight(V3{150, -200, 200}, V3{1, 1, 1}));
    for (int f = 0; f < kSamples; ++f) {
        const double a = 2 * kPi * f / 1200;
        const V3 eye{220 * std::sin(a), -220 * std::cos(a), 60};
        eyeTrack.positions.push_back(eye);
        eyeTrack.rotations.push_back(cameraRotation(eye, {0, 0, 0}));
    }
    Camera camera;
    camera.name = "Camera01";
    camera.eye = placedAt(eyeTrack.positions[0]);
    camera.target = placedAt({0, 0, 0});
    camera.eyeTrack = &eyeTrack;
    s.cameras.push_back(camera);
    return s;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    {
        Track eye, target;
        writeFile(dir + "/part2.scene", writeScene(part2Temple(eye, target)));
    }
    {
        Track knot, light, fill, eye, target;
        writeFile(dir + "/part3.scene", writeScene(part3Knot(knot, light, fill, eye, target)));
    }
    {
        Track eye, target, lantern;
        writeFile(dir + "/part9.scene", writeScene(part9Town(eye, target, lantern)));
    }
    {
        Track eye;
        writeFile(dir + "/part10.scene", writeScene(part10Orb(eye)));
    }
    return 0;
}
