#include <gtest/gtest.h>

#include <cmath>

#include "fx/Vec3.h"

namespace {

TEST(Vec3, NormalizeReturnsAUnitVectorAndLeavesItsArgument)
{
    const Vec3 a{3.0f, 4.0f, 0.0f, 10.0f};
    const Vec3 unit = normalize(a);
    EXPECT_FLOAT_EQ(unit.x, 0.6f);
    EXPECT_FLOAT_EQ(unit.y, 0.8f);
    EXPECT_FLOAT_EQ(unit.z, 0.0f);
    EXPECT_FLOAT_EQ(unit.w, 2.0f);   // w divided too
    EXPECT_EQ(a.x, 3.0f);
    EXPECT_EQ(length(Vec3{0.0f, 0.0f, 0.0f, 7.0f}), 0.0f);   // w ignored
}

TEST(Vec3, CrossIsRightHandedAndAntisymmetric)
{
    const Vec3 x{1, 0, 0, 0};
    const Vec3 y{0, 1, 0, 0};
    const Vec3 z = cross(x, y);
    EXPECT_EQ(z.x, 0.0f);
    EXPECT_EQ(z.y, 0.0f);
    EXPECT_EQ(z.z, 1.0f);
    const Vec3 a{1.5f, -2.0f, 0.25f, 0};
    const Vec3 b{0.5f, 3.0f, -4.0f, 0};
    const Vec3 ab = cross(a, b);
    const Vec3 ba = cross(b, a);
    EXPECT_FLOAT_EQ(ab.x, -ba.x);
    EXPECT_FLOAT_EQ(ab.y, -ba.y);
    EXPECT_FLOAT_EQ(ab.z, -ba.z);
}

TEST(Vec3, CrossOfTwoGeneralVectorsMatchesTheWorkedOutProduct)
{
    // a = (1, 2, 3), b = (4, -5, 6):
    //   x = a.y b.z - a.z b.y = 2 * 6 - 3 * (-5) = 12 + 15 = 27
    //   y = a.z b.x - a.x b.z = 3 * 4 - 1 * 6    = 12 - 6  = 6
    //   z = a.x b.y - a.y b.x = 1 * (-5) - 2 * 4 = -5 - 8  = -13
    // Check: a . (27, 6, -13) = 27 + 12 - 39 = 0 and b . (27, 6, -13) =
    // 108 - 30 - 78 = 0.  Every term is non-zero, so a flipped sign, a
    // swapped component or a wrong pairing in any of the three shows.
    const Vec3 product = cross(Vec3{1.0f, 2.0f, 3.0f, 9.0f}, Vec3{4.0f, -5.0f, 6.0f, 9.0f});
    EXPECT_EQ(product.x, 27.0f);
    EXPECT_EQ(product.y, 6.0f);
    EXPECT_EQ(product.z, -13.0f);
    EXPECT_EQ(product.w, 0.0f);   // a direction: w is not carried over
}

TEST(Vec3, InPlaceOperationsChangeAllFourComponents)
{
    Vec3 a{1, 2, 3, 4};
    (a += Vec3{1, 1, 1, 1}) *= 2.0f;
    EXPECT_EQ(a.x, 4.0f);
    EXPECT_EQ(a.w, 10.0f);
    a /= 2.0f;
    EXPECT_EQ(a.w, 5.0f);
    const Vec3 d = (a - Vec3{2, 3, 4, 5}) / 0.5f;
    EXPECT_EQ(d.x, 0.0f);
    EXPECT_EQ(d.y, 0.0f);
    EXPECT_EQ(d.w, 0.0f);
    EXPECT_TRUE(std::isnan(normalize(Vec3{}).x));   // unguarded, as documented
}

}  // namespace
