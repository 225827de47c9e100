#pragma once

#include <array>

// A 4x4 matrix in OpenGL's order: column by column, m[column * 4 + row].
// The arithmetic follows the driver's own fixed-function matrix code step
// by step (float products summed in the same order), so that positions,
// normals and light directions come out the same to the last bit where
// possible.
struct Mat4 {
    std::array<float, 16> m{};

    float& at(int row, int column) { return m[static_cast<std::size_t>(column * 4 + row)]; }
    float at(int row, int column) const { return m[static_cast<std::size_t>(column * 4 + row)]; }
    bool operator==(const Mat4& other) const { return m == other.m; }
};

// The upper-left 3x3 block, column by column.
using Mat3 = std::array<float, 9>;

Mat4 identityMatrix();
Mat4 matrixFromColumns(const float* values);
Mat4 multiply(const Mat4& left, const Mat4& right);   // left * right

// What glTranslatef, glScalef, glRotatef, glOrtho and glFrustum-like
// projections multiply onto the current matrix.
void translate(Mat4& matrix, float x, float y, float z);
void scale(Mat4& matrix, float x, float y, float z);
Mat4 rotation(float degrees, float x, float y, float z);
Mat4 orthographic(double left, double right, double bottom, double top, double near, double far);

// The camera helpers' matrices, computed as the utility library does:
// the perspective in double precision, the look-at frame in float, then
// the eye moved to the origin with a translation.
Mat4 perspective(double fovyDegrees, double aspect, double near, double far);
void lookAt(Mat4& matrix, double eyeX, double eyeY, double eyeZ, double centreX, double centreY, double centreZ,
            double upX, double upY, double upZ);

// The matrix that turns object-space normals into eye space: the
// transpose of the inverse of the upper-left 3x3 block.  A singular block
// gives the identity, as the driver keeps its normals then.
Mat3 normalMatrix(const Mat4& modelview);

// matrix * (x, y, z, w).
std::array<float, 4> transform(const Mat4& matrix, const std::array<float, 4>& point);
