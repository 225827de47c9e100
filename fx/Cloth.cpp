#include "fx/Cloth.h"

#include <GL/gl.h>

#include <cmath>
#if defined(__SSE__)
#include <xmmintrin.h>
#endif

Cloth theCloth;

namespace {

// d / length * factor for x, y and z; w of the result is 0.
Vec3 scaledDirection(float dx, float dy, float dz, float length, float factor)
{
#if defined(__SSE__)
    // The three divisions in one instruction; each lane rounds exactly as
    // its own scalar division would.
    const __m128 direction = _mm_div_ps(_mm_setr_ps(dx, dy, dz, 0.0f), _mm_set1_ps(length));
    alignas(16) float f[4];
    _mm_store_ps(f, _mm_mul_ps(direction, _mm_set1_ps(factor)));
    return {f[0], f[1], f[2], 0.0f};
#else
    return {dx / length * factor, dy / length * factor, dz / length * factor, 0.0f};
#endif
}

// Pulls p towards q when the spring is longer than its rest length and
// pushes it away when shorter.  Two points on top of each other give no
// direction, so no force (instead of NaNs that would spread over the sheet).
Vec3 springForce(Vec3 p, Vec3 q, float restLength)
{
    const float dx = q.x - p.x;
    const float dy = q.y - p.y;
    const float dz = q.z - p.z;
    const float length = std::sqrt(dz * dz + dy * dy + dx * dx);
    if (length == 0.0f)
        return {};
    return scaledDirection(dx, dy, dz, length, length - restLength);
}

// The vector from p to its home, formed through its length and direction
// as the sheet was tuned with (a spring of rest length 0); zero at home.
Vec3 homePull(Vec3 p, Vec3 home)
{
    return springForce(p, home, 0.0f);
}

// While alive, values too small for a normal float count as zero.  The
// ripples die away through damping into such tiny values, which the
// processor handles many times slower; flushing them changes positions by
// less than 1e-38.
class FlushTinyValues {
public:
#if defined(__SSE__)
    FlushTinyValues() : saved_(_mm_getcsr()) { _mm_setcsr(saved_ | kFlushToZero | kDenormalsAreZero); }
    ~FlushTinyValues() { _mm_setcsr(saved_); }

private:
    static constexpr unsigned kFlushToZero = 0x8000;
    static constexpr unsigned kDenormalsAreZero = 0x0040;
    unsigned saved_;
#endif
};

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

void Cloth::computeSpringForces()
{
    springsAcross_.resize(static_cast<std::size_t>((rows + 1) * cols));
    springsDown_.resize(static_cast<std::size_t>(rows * (cols + 1)));
    for (int j = 0; j <= rows; ++j) {
        for (int i = 0; i <= cols; ++i) {
            const auto index = static_cast<std::size_t>(indexOf(j, i));
            if (i < cols)
                springsAcross_[static_cast<std::size_t>(j * cols + i)] =
                    springForce(positions[index], positions[index + 1], spacing);
            if (j < rows)
                springsDown_[index] = springForce(positions[index], positions[index + static_cast<std::size_t>(cols + 1)], spacing);
        }
    }
}

// Summed left, upper, right and lower springs, home pull and outside force.
// A spring pulls its two ends by exactly opposite vectors, so each is
// computed once per step.
Vec3 Cloth::forceOn(int row, int column) const
{
    const int index = indexOf(row, column);
    const Vec3 p = positions[static_cast<std::size_t>(index)];
    const auto across = static_cast<std::size_t>(row * cols + column);
    const auto down = static_cast<std::size_t>(index);
    const auto stride = static_cast<std::size_t>(cols + 1);
    Vec3 force{};
    if (column > 0)
        force = force - springsAcross_[across - 1];
    if (row > 0)
        force = force - springsDown_[down - stride];
    if (column < cols)
        force += springsAcross_[across];
    if (row < rows)
        force += springsDown_[down];
    force += homePull(p, homePositions[static_cast<std::size_t>(index)]);
    force += externalForces[static_cast<std::size_t>(index)];
    return force;
}

void Cloth::step()
{
    if (positions.size() != static_cast<std::size_t>(pointCount()))
        return;   // not laid out (yet) for this grid
    const FlushTinyValues flush;
    computeSpringForces();
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
