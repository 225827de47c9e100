#include "SceneText.hpp"

#include <algorithm>

namespace scenes {

Rotation axisAngle(V3 axis, double radians)
{
    const V3 a = normalized(axis);
    const double c = std::cos(radians), s = std::sin(radians), t = 1 - c;
    Rotation r;
    // Column i of the rotation matrix is the image of basis vector i.
    r.m[0] = {t * a.x * a.x + c, t * a.x * a.y + s * a.z, t * a.x * a.z - s * a.y};
    r.m[1] = {t * a.x * a.y - s * a.z, t * a.y * a.y + c, t * a.y * a.z + s * a.x};
    r.m[2] = {t * a.x * a.z + s * a.y, t * a.y * a.z - s * a.x, t * a.z * a.z + c};
    return r;
}

Quaternion quaternionFromAxisAngle(V3 axis, double radians)
{
    const V3 a = normalized(axis);
    const double s = std::sin(radians / 2);
    return {std::cos(radians / 2), a.x * s, a.y * s, a.z * s};
}

Quaternion operator*(Quaternion a, Quaternion b)
{
    return {a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z, a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y,
            a.w * b.y - a.x * b.z + a.y * b.w + a.z * b.x, a.w * b.z + a.x * b.y - a.y * b.x + a.z * b.w};
}

Quaternion conjugate(Quaternion q) { return {q.w, -q.x, -q.y, -q.z}; }

void toAxisAngle(Quaternion q, V3& axis, double& radians)
{
    if (q.w < 0)
        q = {-q.w, -q.x, -q.y, -q.z};
    const double s = std::sqrt(q.x * q.x + q.y * q.y + q.z * q.z);
    radians = 2 * std::atan2(s, q.w);
    axis = s > 1e-12 ? V3{q.x / s, q.y / s, q.z / s} : V3{0, 0, 1};
}

Quaternion quaternionPower(Quaternion q, double t)
{
    V3 axis;
    double radians;
    toAxisAngle(q, axis, radians);
    return quaternionFromAxisAngle(axis, radians * t);
}

Quaternion quaternionFromRotation(const Rotation& r)
{
    // Matrix entries: R[row][col], column i = r.m[i].
    const double m00 = r.m[0].x, m10 = r.m[0].y, m20 = r.m[0].z;
    const double m01 = r.m[1].x, m11 = r.m[1].y, m21 = r.m[1].z;
    const double m02 = r.m[2].x, m12 = r.m[2].y, m22 = r.m[2].z;
    const double trace = m00 + m11 + m22;
    Quaternion q;
    if (trace > 0) {
        const double s = std::sqrt(trace + 1) * 2;
        q = {s / 4, (m21 - m12) / s, (m02 - m20) / s, (m10 - m01) / s};
    } else if (m00 > m11 && m00 > m22) {
        const double s = std::sqrt(1 + m00 - m11 - m22) * 2;
        q = {(m21 - m12) / s, s / 4, (m01 + m10) / s, (m02 + m20) / s};
    } else if (m11 > m22) {
        const double s = std::sqrt(1 + m11 - m00 - m22) * 2;
        q = {(m02 - m20) / s, (m01 + m10) / s, s / 4, (m12 + m21) / s};
    } else {
        const double s = std::sqrt(1 + m22 - m00 - m11) * 2;
        q = {(m10 - m01) / s, (m02 + m20) / s, (m12 + m21) / s, s / 4};
    }
    return q;
}

void Mesh::quad(V3 a, V3 b, V3 c, V3 d, double tileSize)
{
    const V3 n = normalized(cross(b - a, d - a));
    const V3 uAxis = normalized(b - a);
    const V3 vAxis = cross(n, uAxis);
    auto uv = [&](V3 p) { return tex(dot(p, uAxis) / tileSize, dot(p, vAxis) / tileSize); };
    const int ia = vertex(a), ib = vertex(b), ic = vertex(c), id = vertex(d);
    const int ta = uv(a), tb = uv(b), tc = uv(c), td = uv(d);
    triangle(ia, ib, ic, ta, tb, tc, n, n, n);
    triangle(ia, ic, id, ta, tc, td, n, n, n);
}

void Mesh::append(const Mesh& other)
{
    const int vBase = static_cast<int>(vertices.size());
    const int tBase = static_cast<int>(texVertices.size());
    vertices.insert(vertices.end(), other.vertices.begin(), other.vertices.end());
    texVertices.insert(texVertices.end(), other.texVertices.begin(), other.texVertices.end());
    for (Face f : other.faces) {
        for (int i = 0; i < 3; ++i) {
            f.v[i] += vBase;
            f.t[i] += tBase;
        }
        faces.push_back(f);
    }
}

void addBox(Mesh& mesh, V3 lo, V3 hi, double tileSize)
{
    const V3 p[8] = {{lo.x, lo.y, lo.z}, {hi.x, lo.y, lo.z}, {hi.x, hi.y, lo.z}, {lo.x, hi.y, lo.z},
                     {lo.x, lo.y, hi.z}, {hi.x, lo.y, hi.z}, {hi.x, hi.y, hi.z}, {lo.x, hi.y, hi.z}};
    mesh.quad(p[0], p[1], p[5], p[4], tileSize);   // -y
    mesh.quad(p[1], p[2], p[6], p[5], tileSize);   // +x
    mesh.quad(p[2], p[3], p[7], p[6], tileSize);   // +y
    mesh.quad(p[3], p[0], p[4], p[7], tileSize);   // -x
    mesh.quad(p[4], p[5], p[6], p[7], tileSize);   // top
    mesh.quad(p[3], p[2], p[1], p[0], tileSize);   // bottom
}

void addCylinder(Mesh& mesh, V3 base, double radius, double height, int sides, double uRepeat, double vRepeat)
{
    std::vector<int> bottom, top, tb, tt;
    std::vector<V3> normals;
    for (int i = 0; i <= sides; ++i) {
        const double a = 2 * kPi * i / sides;
        const V3 n{std::cos(a), std::sin(a), 0};
        normals.push_back(n);
        bottom.push_back(mesh.vertex(base + n * radius));
        top.push_back(mesh.vertex(base + n * radius + V3{0, 0, height}));
        tb.push_back(mesh.tex(uRepeat * i / sides, 0));
        tt.push_back(mesh.tex(uRepeat * i / sides, vRepeat));
    }
    for (int i = 0; i < sides; ++i) {
        mesh.triangle(bottom[i], bottom[i + 1], top[i + 1], tb[i], tb[i + 1], tt[i + 1], normals[i], normals[i + 1],
                      normals[i + 1]);
        mesh.triangle(bottom[i], top[i + 1], top[i], tb[i], tt[i + 1], tt[i], normals[i], normals[i + 1], normals[i]);
    }
}

void addSphere(Mesh& mesh, V3 centre, double radius, int slices, int stacks)
{
    std::vector<std::vector<int>> v(stacks + 1), t(stacks + 1);
    std::vector<std::vector<V3>> n(stacks + 1);
    for (int j = 0; j <= stacks; ++j) {
        const double phi = kPi * j / stacks - kPi / 2;
        for (int i = 0; i <= slices; ++i) {
            const double theta = 2 * kPi * i / slices;
            const V3 d{std::cos(phi) * std::cos(theta), std::cos(phi) * std::sin(theta), std::sin(phi)};
            n[j].push_back(d);
            v[j].push_back(mesh.vertex(centre + d * radius));
            t[j].push_back(mesh.tex(static_cast<double>(i) / slices, static_cast<double>(j) / stacks));
        }
    }
    for (int j = 0; j < stacks; ++j)
        for (int i = 0; i < slices; ++i) {
            mesh.triangle(v[j][i], v[j][i + 1], v[j + 1][i + 1], t[j][i], t[j][i + 1], t[j + 1][i + 1], n[j][i],
                          n[j][i + 1], n[j + 1][i + 1]);
            mesh.triangle(v[j][i], v[j + 1][i + 1], v[j + 1][i], t[j][i], t[j + 1][i + 1], t[j + 1][i], n[j][i],
                          n[j + 1][i + 1], n[j + 1][i]);
        }
}

void addGroundGrid(Mesh& mesh, double half, int cells, double z, double tileSize)
{
    const double step = 2 * half / cells;
    for (int j = 0; j < cells; ++j)
        for (int i = 0; i < cells; ++i) {
            const double x0 = -half + i * step, y0 = -half + j * step;
            mesh.quad({x0, y0, z}, {x0 + step, y0, z}, {x0 + step, y0 + step, z}, {x0, y0 + step, z}, tileSize);
        }
}

void addGableRoof(Mesh& mesh, V3 lo, V3 hi, double ridgeHeight, double tileSize)
{
    // Ridge along y, eaves at hi.z, ridge at hi.z + ridgeHeight; lo.z is
    // the ceiling seen from below.
    const double cx = (lo.x + hi.x) / 2, top = hi.z + ridgeHeight;
    const V3 e0{lo.x, lo.y, hi.z}, e1{hi.x, lo.y, hi.z}, e2{hi.x, hi.y, hi.z}, e3{lo.x, hi.y, hi.z};
    const V3 r0{cx, lo.y, top}, r1{cx, hi.y, top};
    mesh.quad(e1, e2, r1, r0, tileSize);   // +x slope
    mesh.quad(e3, e0, r0, r1, tileSize);   // -x slope
    auto gable = [&](V3 a, V3 b, V3 c) {
        const V3 n = normalized(cross(b - a, c - a));
        const int ia = mesh.vertex(a), ib = mesh.vertex(b), ic = mesh.vertex(c);
        const int ta = mesh.tex(0, 0), tb = mesh.tex(1, 0), tc = mesh.tex(0.5, 0.5);
        mesh.triangle(ia, ib, ic, ta, tb, tc, n, n, n);
    };
    gable(e0, e1, r0);
    gable(e2, e3, r1);
    addBox(mesh, {lo.x, lo.y, lo.z}, {hi.x, hi.y, hi.z}, tileSize);
}

std::vector<V3> samplePath(const std::vector<PathKey>& keys, int samples)
{
    const std::size_t n = keys.size();
    std::vector<V3> tangents(n);
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t a = i == 0 ? 0 : i - 1, b = i + 1 == n ? n - 1 : i + 1;
        tangents[i] = (keys[b].point - keys[a].point) * (1.0 / (keys[b].frame - keys[a].frame));
    }
    std::vector<V3> out;
    for (int f = 0; f < samples; ++f) {
        std::size_t i = 0;
        while (i + 2 < n && f > keys[i + 1].frame)
            ++i;
        const double h = keys[i + 1].frame - keys[i].frame;
        const double s = std::clamp((f - keys[i].frame) / h, 0.0, 1.0);
        const double s2 = s * s, s3 = s2 * s;
        out.push_back(keys[i].point * (2 * s3 - 3 * s2 + 1) + tangents[i] * (h * (s3 - 2 * s2 + s)) +
                      keys[i + 1].point * (-2 * s3 + 3 * s2) + tangents[i + 1] * (h * (s3 - s2)));
    }
    return out;
}

RotationSample cameraRotation(V3 eye, V3 target)
{
    const V3 forward = normalized(target - eye);
    const V3 right = normalized(cross(forward, {0, 0, 1}));
    const V3 up = cross(right, forward);
    Rotation r;
    r.m[0] = right;
    r.m[1] = up;
    r.m[2] = forward * -1;
    RotationSample sample;
    toAxisAngle(quaternionFromRotation(r), sample.axis, sample.radians);
    return sample;
}

namespace {

class Writer {
public:
    void line(std::initializer_list<double> values)
    {
        bool first = true;
        for (double v : values) {
            if (!first)
                text_ += ';';
            first = false;
            number(v);
        }
        text_ += "\r\n";
    }
    void indexed(int index, V3 v)
    {
        integer(index);
        text_ += ';';
        number(v.x);
        text_ += ';';
        number(v.y);
        text_ += ';';
        number(v.z);
        text_ += "\r\n";
    }
    void ints(std::initializer_list<int> values)
    {
        bool first = true;
        for (int v : values) {
            if (!first)
                text_ += ';';
            first = false;
            integer(v);
        }
        text_ += "\r\n";
    }
    void text(const std::string& s) { text_ += s + "\r\n"; }
    void vec(V3 v) { line({v.x, v.y, v.z}); }
    std::string take() { return std::move(text_); }

private:
    void number(double v)
    {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%.4f", v);
        text_ += buffer;
    }
    void integer(int v) { text_ += std::to_string(v); }
    std::string text_;
};

void writeNode(Writer& w, const Node& node)
{
    for (const V3& row : node.rotation.m)
        w.vec(row);
    w.vec(node.translation);
    w.vec(node.position);
    w.vec(node.rotationAxis);
    w.line({node.rotationAngle});
    w.vec({1, 1, 1});
    w.vec({0, 0, 0});
    w.line({0});
}

void writeTrack(Writer& w, const Track& track)
{
    w.ints({track.positions.empty() ? 0 : 1});
    if (!track.positions.empty()) {
        w.ints({static_cast<int>(track.positions.size()), 1});
        for (const V3& p : track.positions)
            w.vec(p);
    }
    w.ints({track.rotations.empty() ? 0 : 1});
    if (!track.rotations.empty()) {
        w.ints({static_cast<int>(track.rotations.size()), 1});
        for (const RotationSample& r : track.rotations)
            w.line({r.axis.x, r.axis.y, r.axis.z, r.radians});
    }
    w.ints({0});   // no scale keys
}

void writeOptionalTrack(Writer& w, const Track* track)
{
    w.ints({track != nullptr ? 1 : 0});
    if (track != nullptr)
        writeTrack(w, *track);
}

V3 toLocal(const Rotation& r, V3 n)
{
    return {dot(n, r.m[0]), dot(n, r.m[1]), dot(n, r.m[2])};
}

}  // namespace

std::string writeScene(const SceneDescription& scene)
{
    Writer w;
    w.ints({kSamples, 1});
    w.ints({static_cast<int>(scene.materials.size())});
    for (std::size_t i = 0; i < scene.materials.size(); ++i) {
        const Material& m = scene.materials[i];
        w.ints({static_cast<int>(i)});
        w.text(m.name);
        w.vec(m.ambient);
        w.vec(m.diffuse);
        w.vec(m.specular);
        w.line({m.shininess});
        w.line({m.strength});
        w.line({m.transparency});
        w.ints({0});
        w.line({m.selfIllumination});
        w.ints({0});
        w.ints({m.texture.empty() ? 0 : 1});
        if (!m.texture.empty()) {
            w.text(m.texture);
            w.ints({m.envMap ? 1 : 0});
            w.line({m.uScale, m.vScale});
        }
    }
    for (const Object& o : scene.objects) {
        w.ints({0});
        w.text(o.name);
        writeNode(w, o.node);
        writeOptionalTrack(w, o.track);
        w.ints({o.smooth});
        const Mesh& mesh = o.mesh;
        w.ints({static_cast<int>(mesh.vertices.size())});
        w.ints({static_cast<int>(mesh.faces.size())});
        for (std::size_t i = 0; i < mesh.vertices.size(); ++i)
            w.indexed(static_cast<int>(i), mesh.vertices[i]);
        for (std::size_t i = 0; i < mesh.faces.size(); ++i) {
            const Face& f = mesh.faces[i];
            w.ints({static_cast<int>(i), f.v[0], f.v[1], f.v[2], i == 0 ? o.faceFlags : (i % 2 == 0 ? 3 : 6)});
        }
        w.ints({static_cast<int>(mesh.texVertices.size())});
        if (!mesh.texVertices.empty()) {
            for (std::size_t i = 0; i < mesh.texVertices.size(); ++i)
                w.indexed(static_cast<int>(i), mesh.texVertices[i]);
            w.ints({static_cast<int>(mesh.faces.size())});
            for (std::size_t i = 0; i < mesh.faces.size(); ++i) {
                const Face& f = mesh.faces[i];
                w.ints({static_cast<int>(i), f.t[0], f.t[1], f.t[2]});
            }
        }
        // Normals in the node's own frame.
        for (std::size_t i = 0; i < mesh.faces.size(); ++i) {
            const Face& f = mesh.faces[i];
            const V3 a = mesh.vertices[f.v[0]], b = mesh.vertices[f.v[1]], c = mesh.vertices[f.v[2]];
            const V3 faceNormal = normalized(cross(b - a, c - a));
            w.indexed(static_cast<int>(i), toLocal(o.node.rotation, faceNormal));
            for (int k = 0; k < 3; ++k) {
                const V3 n = i == 0 && o.firstCornersGiven ? o.firstCorners[k]
                                                           : toLocal(o.node.rotation, f.cornerNormal[k]);
                w.indexed(f.v[k], n);
            }
        }
        w.ints({1});
        w.ints({o.material});
    }
    for (const Light& l : scene.lights) {
        w.ints({1});
        w.text(l.name);
        writeNode(w, l.node);
        writeOptionalTrack(w, l.track);
        w.ints({0});   // omni
        w.vec(l.colour);
    }
    for (const Camera& c : scene.cameras) {
        w.ints({2});
        w.text(c.name);
        writeNode(w, c.eye);
        writeOptionalTrack(w, c.eyeTrack);
        writeNode(w, c.target);
        writeOptionalTrack(w, c.targetTrack);
    }
    w.ints({-1});
    return w.take();
}

}  // namespace scenes
