#include "fx/Cloth.h"

#include <GL/gl.h>

Cloth theCloth;

namespace {

// Pulls p towards q when the spring is longer than its rest length and
// pushes it away when shorter.  Two points on top of each other give no
// direction, so no force (instead of NaNs that would spread over the sheet).
Vec3 springForce(Vec3 p, Vec3 q, float restLength)
{
    const Vec3 d = q - p;
    const float length = ::length(d);
    if (length == 0.0f)
        return {};
    return d / length * (length - restLength);
}

// The vector from p to its home, formed through its length and direction
// as the sheet was tuned with; zero at home.
Vec3 homePull(Vec3 p, Vec3 home)
{
    const Vec3 d = home - p;
    const float length = ::length(d);
    if (length == 0.0f)
        return {};
    return d / length * length;
}

}  // namespace

void Cloth::init()
{
    const auto n = static_cast<std::size_t>(cols >= 0 && rows >= 0 ? pointCount() : 0);
    positions.assign(n, Vec3{});
    homePositions.assign(n, Vec3{});
    externalForces.assign(n, Vec3{});
    nextPositions.assign(n, Vec3{});
    velocities.assign(n, Vec3{});
    freeFlags.assign(n, 1);

    const float x0 = static_cast<float>(cols) * spacing * -0.5f;
    float z = static_cast<float>(rows) * spacing * -0.5f;
    for (int j = 0; j <= rows; ++j) {
        float x = x0;
        for (int i = 0; i <= cols; ++i) {
            const auto index = static_cast<std::size_t>(indexOf(j, i));
            positions[index] = {x + origin.x, origin.y, z + origin.z, 0.0f};
            homePositions[index] = positions[index];
            x += spacing;
        }
        z += spacing;
    }
}

void Cloth::setFree(int index, int value)
{
    if (contains(index))
        freeFlags[static_cast<std::size_t>(index)] = value;
}

void Cloth::setExternalForce(int index, Vec3 force)
{
    if (contains(index))
        externalForces[static_cast<std::size_t>(index)] = force;
}

Vec3 Cloth::getExternalForce(int index) const
{
    return contains(index) ? externalForces[static_cast<std::size_t>(index)] : Vec3{};
}

Vec3 Cloth::forceOn(int row, int column) const
{
    const int index = indexOf(row, column);
    const Vec3 p = positions[static_cast<std::size_t>(index)];
    const int stride = cols + 1;
    Vec3 force{};
    if (column > 0)
        force += springForce(p, positions[static_cast<std::size_t>(index - 1)], spacing);
    if (row > 0)
        force += springForce(p, positions[static_cast<std::size_t>(index - stride)], spacing);
    if (column < cols)
        force += springForce(p, positions[static_cast<std::size_t>(index + 1)], spacing);
    if (row < rows)
        force += springForce(p, positions[static_cast<std::size_t>(index + stride)], spacing);
    force += homePull(p, homePositions[static_cast<std::size_t>(index)]);
    force += externalForces[static_cast<std::size_t>(index)];
    return force;
}

void Cloth::step()
{
    if (positions.size() != static_cast<std::size_t>(pointCount()))
        return;   // not laid out (yet) for this grid
    for (int j = 0; j <= rows; ++j) {
        for (int i = 0; i <= cols; ++i) {
            const auto index = static_cast<std::size_t>(indexOf(j, i));
            Vec3 force{};
            Vec3& velocity = velocities[index];
            if (freeFlags[index] == 1) {
                force = forceOn(j, i);
                velocity += gravity;
            }
            velocity = velocity * damping + force * stiffness;
            nextPositions[index] = positions[index] + velocity;
        }
    }
    positions.swap(nextPositions);
}

void Cloth::draw() const
{
    if (rows <= 0 || positions.size() != static_cast<std::size_t>(pointCount()))
        return;
    const float du = 1.0f / static_cast<float>(cols);
    const float dv = 1.0f / static_cast<float>(rows);
    float v = 1.0f;
    for (int j = 0; j < rows; ++j) {
        glBegin(GL_QUAD_STRIP);
        float u = 1.0f;
        for (int i = 0; i <= cols; ++i) {
            const int index = indexOf(j, i);
            const Vec3 p0 = positions[static_cast<std::size_t>(index)];
            const Vec3 p1 = positions[static_cast<std::size_t>(index + cols + 1)];
            // Past the last column the next point in memory is the first of
            // the row below, which stands in for the missing right neighbour.
            const Vec3 right = positions[static_cast<std::size_t>(index + 1)];
            const Vec3 across = cross(p1 - p0, right - p0);
            // A degenerate cell has no normal to give; a zero normal leaves it unlit.
            const Vec3 normal = length(across) > 0.0f ? normalize(across) : Vec3{};
            glNormal3f(normal.x, normal.y, normal.z);
            glTexCoord2f(u, v);
            glVertex3f(p0.x, p0.y, p0.z);
            glTexCoord2f(u, v - dv);
            glVertex3f(p1.x, p1.y, p1.z);
            u -= du;
        }
        glEnd();
        v -= dv;
    }
}

void setUpCloth(Cloth& cloth)
{
    cloth.cols = 50;
    cloth.rows = 50;
    cloth.spacing = 0.5f;
    cloth.stiffness = 0.25f;
    cloth.damping = 0.95f;
    cloth.origin.y = 0.0f;
    cloth.gravity.y = 0.0f;
    cloth.init();
    for (int pinned : {0, 2401, 2352, 49})
        cloth.setFree(pinned, 0);
}
