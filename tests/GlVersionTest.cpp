#include <gtest/gtest.h>

#include "platform/GlVersion.h"

namespace {

void expectVersion(const char* text, int major, int minor, bool es)
{
    SCOPED_TRACE(text == nullptr ? "null" : text);
    const GlVersion version = parseGlVersion(text);
    EXPECT_EQ(version.major, major);
    EXPECT_EQ(version.minor, minor);
    EXPECT_EQ(version.es, es);
}

}  // namespace

TEST(GlVersion, DesktopAndEsStringsGiveTheirNumbers)
{
    expectVersion("4.5 (Compatibility Profile) Mesa 22.3.6", 4, 5, false);
    expectVersion("2.1 Mesa 7.0", 2, 1, false);
    expectVersion("OpenGL ES 3.2 Mesa 22.3.6", 3, 2, true);
    expectVersion("OpenGL ES 3.0 (ANGLE 2.1)", 3, 0, true);
    // Two-digit parts are read whole, not as their first digit.
    expectVersion("10.12.3", 10, 12, false);
}

TEST(GlVersion, NoVersionIsZero)
{
    expectVersion(nullptr, 0, 0, false);
    expectVersion("", 0, 0, false);
    // The OpenGL ES 1.x profiles name themselves differently: not a 3.0 context.
    expectVersion("OpenGL ES-CM 1.1 Mesa", 0, 0, false);
    expectVersion("OpenGL ES", 0, 0, false);
    expectVersion("3", 0, 0, false);
}

TEST(GlVersion, AtLeastComparesMajorThenMinor)
{
    const GlVersion es30 = parseGlVersion("OpenGL ES 3.0");
    EXPECT_TRUE(es30.atLeast(3, 0));
    EXPECT_TRUE(es30.atLeast(2, 1));
    EXPECT_FALSE(es30.atLeast(3, 1));
    EXPECT_TRUE(parseGlVersion("4.0").atLeast(3, 2));
}
