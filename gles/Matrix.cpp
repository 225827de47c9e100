#include "gles/Matrix.h"

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

void normalise(float (&v)[3])
{
    const float length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (length == 0.0f)
        return;
    v[0] /= length;
    v[1] /= length;
    v[2] /= length;
}

void cross(const float (&a)[3], const float (&b)[3], float (&out)[3])
{
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}

}  // namespace

Mat4 identityMatrix()
{
    Mat4 result;
    result.m = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    return result;
}

Mat4 matrixFromColumns(const float* values)
{
    Mat4 result;
    for (std::size_t i = 0; i < 16; ++i)
        result.m[i] = values[i];
    return result;
}

Mat4 multiply(const Mat4& left, const Mat4& right)
{
    Mat4 product;
    for (int row = 0; row < 4; ++row) {
        const float a0 = left.at(row, 0), a1 = left.at(row, 1), a2 = left.at(row, 2), a3 = left.at(row, 3);
        for (int column = 0; column < 4; ++column)
            product.at(row, column) = a0 * right.at(0, column) + a1 * right.at(1, column) +
                                      a2 * right.at(2, column) + a3 * right.at(3, column);
    }
    return product;
}

void translate(Mat4& matrix, float x, float y, float z)
{
    for (int row = 0; row < 4; ++row)
        matrix.at(row, 3) = matrix.at(row, 0) * x + matrix.at(row, 1) * y + matrix.at(row, 2) * z + matrix.at(row, 3);
}

void scale(Mat4& matrix, float x, float y, float z)
{
    for (int row = 0; row < 4; ++row) {
        matrix.at(row, 0) *= x;
        matrix.at(row, 1) *= y;
        matrix.at(row, 2) *= z;
    }
}

// Turns about one coordinate axis are written out directly (no
// normalisation of the axis), as the driver does; any other axis is
// normalised first.  An axis of (almost) zero length turns nothing.
Mat4 rotation(float degrees, float x, float y, float z)
{
    Mat4 r = identityMatrix();
    const float s = std::sin(static_cast<float>(degrees * kPi / 180.0));
    const float c = std::cos(static_cast<float>(degrees * kPi / 180.0));
    if (x == 0.0f && y == 0.0f && z != 0.0f) {
        r.at(0, 0) = c;
        r.at(1, 1) = c;
        r.at(0, 1) = z < 0.0f ? s : -s;
        r.at(1, 0) = z < 0.0f ? -s : s;
        return r;
    }
    if (x == 0.0f && z == 0.0f && y != 0.0f) {
        r.at(0, 0) = c;
        r.at(2, 2) = c;
        r.at(0, 2) = y < 0.0f ? -s : s;
        r.at(2, 0) = y < 0.0f ? s : -s;
        return r;
    }
    if (y == 0.0f && z == 0.0f && x != 0.0f) {
        r.at(1, 1) = c;
        r.at(2, 2) = c;
        r.at(1, 2) = x < 0.0f ? s : -s;
        r.at(2, 1) = x < 0.0f ? -s : s;
        return r;
    }
    const float length = std::sqrt(x * x + y * y + z * z);
    if (length <= 1.0e-4f)
        return r;
    x /= length;
    y /= length;
    z /= length;
    const float oneMinusC = 1.0f - c;
    r.at(0, 0) = (oneMinusC * (x * x)) + c;
    r.at(0, 1) = (oneMinusC * (x * y)) - z * s;
    r.at(0, 2) = (oneMinusC * (z * x)) + y * s;
    r.at(1, 0) = (oneMinusC * (x * y)) + z * s;
    r.at(1, 1) = (oneMinusC * (y * y)) + c;
    r.at(1, 2) = (oneMinusC * (y * z)) - x * s;
    r.at(2, 0) = (oneMinusC * (z * x)) - y * s;
    r.at(2, 1) = (oneMinusC * (y * z)) + x * s;
    r.at(2, 2) = (oneMinusC * (z * z)) + c;
    return r;
}

Mat4 orthographic(double left, double right, double bottom, double top, double near, double far)
{
    const float l = static_cast<float>(left), r = static_cast<float>(right);
    const float b = static_cast<float>(bottom), t = static_cast<float>(top);
    const float n = static_cast<float>(near), f = static_cast<float>(far);
    Mat4 o = identityMatrix();
    o.at(0, 0) = 2.0f / (r - l);
    o.at(0, 3) = -(r + l) / (r - l);
    o.at(1, 1) = 2.0f / (t - b);
    o.at(1, 3) = -(t + b) / (t - b);
    o.at(2, 2) = -2.0f / (f - n);
    o.at(2, 3) = -(f + n) / (f - n);
    return o;
}

Mat4 perspective(double fovyDegrees, double aspect, double near, double far)
{
    const double radians = fovyDegrees / 2 * kPi / 180;
    const double depth = far - near;
    const double sine = std::sin(radians);
    if (depth == 0 || sine == 0 || aspect == 0)
        return identityMatrix();
    const double cotangent = std::cos(radians) / sine;
    Mat4 p = identityMatrix();
    p.at(0, 0) = static_cast<float>(cotangent / aspect);
    p.at(1, 1) = static_cast<float>(cotangent);
    p.at(2, 2) = static_cast<float>(-(far + near) / depth);
    p.at(3, 2) = -1.0f;
    p.at(2, 3) = static_cast<float>(-2 * near * far / depth);
    p.at(3, 3) = 0.0f;
    return p;
}

void lookAt(Mat4& matrix, double eyeX, double eyeY, double eyeZ, double centreX, double centreY, double centreZ,
            double upX, double upY, double upZ)
{
    float forward[3] = {static_cast<float>(centreX - eyeX), static_cast<float>(centreY - eyeY),
                        static_cast<float>(centreZ - eyeZ)};
    float up[3] = {static_cast<float>(upX), static_cast<float>(upY), static_cast<float>(upZ)};
    normalise(forward);
    float side[3];
    cross(forward, up, side);
    normalise(side);
    cross(side, forward, up);

    Mat4 frame = identityMatrix();
    for (int i = 0; i < 3; ++i) {
        frame.at(0, i) = side[i];
        frame.at(1, i) = up[i];
        frame.at(2, i) = -forward[i];
    }
    matrix = multiply(matrix, frame);
    translate(matrix, static_cast<float>(-eyeX), static_cast<float>(-eyeY), static_cast<float>(-eyeZ));
}

Mat3 normalMatrix(const Mat4& mv)
{
    // The determinant's positive and negative products are summed apart,
    // as the driver's 3x3 inverse does.
    const float terms[6] = {mv.at(0, 0) * mv.at(1, 1) * mv.at(2, 2),  mv.at(1, 0) * mv.at(2, 1) * mv.at(0, 2),
                            mv.at(2, 0) * mv.at(0, 1) * mv.at(1, 2),  -mv.at(2, 0) * mv.at(1, 1) * mv.at(0, 2),
                            -mv.at(1, 0) * mv.at(0, 1) * mv.at(2, 2), -mv.at(0, 0) * mv.at(2, 1) * mv.at(1, 2)};
    float positive = 0.0f;
    float negative = 0.0f;
    for (float t : terms)
        (t >= 0.0f ? positive : negative) += t;
    float det = positive + negative;
    if (std::fabs(det) < 1e-25f)
        return {1, 0, 0, 0, 1, 0, 0, 0, 1};
    det = 1.0f / det;
    float inv[3][3];   // inv[row][column]
    inv[0][0] = (mv.at(1, 1) * mv.at(2, 2) - mv.at(2, 1) * mv.at(1, 2)) * det;
    inv[0][1] = -(mv.at(0, 1) * mv.at(2, 2) - mv.at(2, 1) * mv.at(0, 2)) * det;
    inv[0][2] = (mv.at(0, 1) * mv.at(1, 2) - mv.at(1, 1) * mv.at(0, 2)) * det;
    inv[1][0] = -(mv.at(1, 0) * mv.at(2, 2) - mv.at(2, 0) * mv.at(1, 2)) * det;
    inv[1][1] = (mv.at(0, 0) * mv.at(2, 2) - mv.at(2, 0) * mv.at(0, 2)) * det;
    inv[1][2] = -(mv.at(0, 0) * mv.at(1, 2) - mv.at(1, 0) * mv.at(0, 2)) * det;
    inv[2][0] = (mv.at(1, 0) * mv.at(2, 1) - mv.at(2, 0) * mv.at(1, 1)) * det;
    inv[2][1] = -(mv.at(0, 0) * mv.at(2, 1) - mv.at(2, 0) * mv.at(0, 1)) * det;
    inv[2][2] = (mv.at(0, 0) * mv.at(1, 1) - mv.at(1, 0) * mv.at(0, 1)) * det;
    // Transposed, and stored column by column: column c holds inv[c][*].
    Mat3 result;
    for (int column = 0; column < 3; ++column)
        for (int row = 0; row < 3; ++row)
            result[static_cast<std::size_t>(column * 3 + row)] = inv[column][row];
    return result;
}

std::array<float, 4> transform(const Mat4& matrix, const std::array<float, 4>& p)
{
    std::array<float, 4> out{};
    for (int row = 0; row < 4; ++row)
        out[static_cast<std::size_t>(row)] = matrix.at(row, 0) * p[0] + matrix.at(row, 1) * p[1] +
                                             matrix.at(row, 2) * p[2] + matrix.at(row, 3) * p[3];
    return out;
}
