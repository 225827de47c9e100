#pragma once
#include <cmath>

// The demo's small vector: x, y, z and a fourth component w that the
// component-wise operations carry along and nothing gives a meaning.
struct Vec3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 0.0f;
};

inline Vec3 operator+(Vec3 a, Vec3 b)
{
    return {a.x + b.x, a.y + b.y, a.z + b.z, a.w + b.w};
}

inline Vec3& operator+=(Vec3& a, Vec3 b)
{
    a.x += b.x;
    a.y += b.y;
    a.z += b.z;
    a.w += b.w;
    return a;
}

inline Vec3 operator-(Vec3 a, Vec3 b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z, a.w - b.w};
}

inline Vec3 operator*(Vec3 a, float s)
{
    return {a.x * s, a.y * s, a.z * s, a.w * s};
}

inline Vec3& operator*=(Vec3& a, float s)
{
    a.x *= s;
    a.y *= s;
    a.z *= s;
    a.w *= s;
    return a;
}

inline Vec3 operator/(Vec3 a, float s)
{
    return {a.x / s, a.y / s, a.z / s, a.w / s};
}

inline Vec3& operator/=(Vec3& a, float s)
{
    a.x /= s;
    a.y /= s;
    a.z /= s;
    a.w /= s;
    return a;
}

// sqrt(x² + y² + z²), summed from z; w plays no part.
inline float length(Vec3 a)
{
    return std::sqrt(a.z * a.z + a.y * a.y + a.x * a.x);
}

// w of the result is left 0.
inline Vec3 cross(Vec3 a, Vec3 b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x, 0.0f};
}

// a divided by its length, all four components; a zero vector gives NaNs.
inline Vec3 normalize(Vec3 a)
{
    return a / length(a);
}
