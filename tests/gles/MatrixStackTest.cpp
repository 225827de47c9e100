#include <gtest/gtest.h>

#include <cmath>

#include "gles/Matrix.h"
#include "gles/MatrixStack.h"

namespace {

using Point = std::array<float, 4>;

void expectPoint(const Point& actual, float x, float y, float z, float w = 1.0f)
{
    EXPECT_NEAR(actual[0], x, 1e-5f);
    EXPECT_NEAR(actual[1], y, 1e-5f);
    EXPECT_NEAR(actual[2], z, 1e-5f);
    EXPECT_NEAR(actual[3], w, 1e-5f);
}

TEST(GlesMatrixStack, PushCopiesTheTopAndPopRestoresItWithinTheDepthLimit)
{
    MatrixStack stack(3);
    translate(stack.top(), 1.0f, 2.0f, 3.0f);
    ASSERT_TRUE(stack.push());
    EXPECT_EQ(stack.depth(), 2);
    EXPECT_FLOAT_EQ(stack.top().at(1, 3), 2.0f);   // the copy holds the translation
    stack.load(identityMatrix());
    ASSERT_TRUE(stack.push());
    EXPECT_FALSE(stack.push());   // a fourth level is past the limit
    EXPECT_TRUE(stack.pop());
    EXPECT_TRUE(stack.pop());
    EXPECT_FLOAT_EQ(stack.top().at(0, 3), 1.0f);
    EXPECT_FLOAT_EQ(stack.top().at(2, 3), 3.0f);
    EXPECT_FALSE(stack.pop());   // the last matrix stays
    EXPECT_EQ(stack.depth(), 1);
}

TEST(GlesMatrixStack, TransformationsApplyInTheOrderOfTheCalls)
{
    // glTranslatef then glScalef: points are scaled first, then moved.
    Mat4 m = identityMatrix();
    translate(m, 10.0f, 0.0f, 0.0f);
    scale(m, 2.0f, 3.0f, 4.0f);
    expectPoint(transform(m, {1.0f, 1.0f, 1.0f, 1.0f}), 12.0f, 3.0f, 4.0f);

    // A quarter turn about z takes x to y; a third of a turn about
    // (1, 1, 1) takes x to y as well (the axes trade places).
    expectPoint(transform(rotation(90.0f, 0.0f, 0.0f, 1.0f), {1.0f, 0.0f, 0.0f, 1.0f}), 0.0f, 1.0f, 0.0f);
    expectPoint(transform(rotation(90.0f, 0.0f, 0.0f, -1.0f), {1.0f, 0.0f, 0.0f, 1.0f}), 0.0f, -1.0f, 0.0f);
    expectPoint(transform(rotation(120.0f, 1.0f, 1.0f, 1.0f), {1.0f, 0.0f, 0.0f, 1.0f}), 0.0f, 1.0f, 0.0f);
    expectPoint(transform(rotation(90.0f, 0.0f, 2.0f, 0.0f), {0.0f, 0.0f, 1.0f, 1.0f}), 1.0f, 0.0f, 0.0f);
    expectPoint(transform(rotation(90.0f, 1.0f, 0.0f, 0.0f), {0.0f, 1.0f, 0.0f, 1.0f}), 0.0f, 0.0f, 1.0f);
    // No axis: no turn.
    EXPECT_EQ(rotation(45.0f, 0.0f, 0.0f, 0.0f), identityMatrix());
}

TEST(GlesMatrixStack, PerspectiveMatchesTheWorkedOutMatrix)
{
    // fovy 90 (cotangent 1), aspect 2, near 1, far 3.
    const Mat4 p = perspective(90.0, 2.0, 1.0, 3.0);
    EXPECT_NEAR(p.at(0, 0), 0.5f, 1e-6f);
    EXPECT_NEAR(p.at(1, 1), 1.0f, 1e-6f);
    EXPECT_NEAR(p.at(2, 2), -2.0f, 1e-6f);   // -(far + near) / (far - near)
    EXPECT_NEAR(p.at(2, 3), -3.0f, 1e-6f);   // -2 far near / (far - near)
    EXPECT_EQ(p.at(3, 2), -1.0f);
    EXPECT_EQ(p.at(3, 3), 0.0f);
    EXPECT_EQ(p.at(0, 1), 0.0f);
    // The near plane lands on depth -1, the far plane on +1.
    const Point nearPoint = transform(p, {0.0f, 0.0f, -1.0f, 1.0f});
    const Point farPoint = transform(p, {0.0f, 0.0f, -3.0f, 1.0f});
    EXPECT_NEAR(nearPoint[2] / nearPoint[3], -1.0f, 1e-6f);
    EXPECT_NEAR(farPoint[2] / farPoint[3], 1.0f, 1e-6f);
}

TEST(GlesMatrixStack, OrthographicMapsTheBoxOntoTheCube)
{
    const Mat4 o = orthographic(-50.0, 50.0, -50.0, 50.0, 200.0, 300.0);
    expectPoint(transform(o, {50.0f, -50.0f, -200.0f, 1.0f}), 1.0f, -1.0f, -1.0f);
    expectPoint(transform(o, {0.0f, 25.0f, -300.0f, 1.0f}), 0.0f, 0.5f, 1.0f);
}

TEST(GlesMatrixStack, LookAtPutsTheEyeAtTheOriginLookingDownMinusZ)
{
    // From +x towards the origin, y up.
    Mat4 m = identityMatrix();
    lookAt(m, 1.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
    expectPoint(transform(m, {1.0f, 0.0f, 0.0f, 1.0f}), 0.0f, 0.0f, 0.0f);     // the eye
    expectPoint(transform(m, {0.0f, 0.0f, 0.0f, 1.0f}), 0.0f, 0.0f, -1.0f);    // the centre, straight ahead
    expectPoint(transform(m, {0.0f, 1.0f, 0.0f, 1.0f}), 0.0f, 1.0f, -1.0f);    // up stays up
    expectPoint(transform(m, {1.0f, 0.0f, -1.0f, 1.0f}), 1.0f, 0.0f, 0.0f);    // -z world is to the right

    // Multiplied onto what is there, like every matrix call.
    Mat4 moved = identityMatrix();
    translate(moved, 0.0f, 0.0f, -5.0f);
    lookAt(moved, 0.0, 0.0, 8.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
    expectPoint(transform(moved, {0.0f, 0.0f, 0.0f, 1.0f}), 0.0f, 0.0f, -13.0f);
}

TEST(GlesMatrixStack, NormalMatrixIsTheInverseTransposeOfTheUpperBlock)
{
    // Stretching x by 2 leans a 45-degree normal towards y.
    Mat4 m = identityMatrix();
    scale(m, 2.0f, 1.0f, 1.0f);
    translate(m, 5.0f, 6.0f, 7.0f);   // translations do not touch normals
    const Mat3 n = normalMatrix(m);
    const float normal[3] = {1.0f, 1.0f, 0.0f};
    float out[3];
    for (int row = 0; row < 3; ++row)
        out[row] = n[static_cast<std::size_t>(row)] * normal[0] + n[static_cast<std::size_t>(3 + row)] * normal[1] +
                   n[static_cast<std::size_t>(6 + row)] * normal[2];
    EXPECT_NEAR(out[0], 0.5f, 1e-6f);
    EXPECT_NEAR(out[1], 1.0f, 1e-6f);
    EXPECT_NEAR(out[2], 0.0f, 1e-6f);

    // A turn keeps normals turning with the surface.
    const Mat3 turned = normalMatrix(rotation(90.0f, 0.0f, 0.0f, 1.0f));
    EXPECT_NEAR(turned[1], 1.0f, 1e-6f);   // x goes to y
    EXPECT_NEAR(turned[3], -1.0f, 1e-6f);  // y goes to -x
}

}  // namespace
