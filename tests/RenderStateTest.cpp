#include <gtest/gtest.h>

#include <GL/gl.h>
#include <cmath>

#include "app/PartRenderState.h"
#include "app/Timeline.h"
#include "platform/HeadlessPlatform.h"
#include "tests/TestPlatform.h"

namespace {

enum class View { Unchanged, Identity, LookAt };

struct Expected {
    int part;
    GLfloat clear[4];
    GLenum shade;
    double fovy, farPlane;
    View view;
    bool light;
    GLfloat eyeLight[4];   // light 0 position in eye space
    bool fog;
    GLfloat fogColour[3], fogStart, fogEnd;
    bool normalize;
    bool texGenOff;        // switched off by this part; otherwise left as it was
};

const Expected kParts[] = {
    {1, {0, 0, 0, 1}, GL_SMOOTH, 90, 200, View::Identity, true, {0, 0, 30, 1}, false, {}, 0, 0, false, false},
    {2, {0.5f, 0, 0, 1}, GL_SMOOTH, 45, 1000, View::Unchanged, false, {}, true, {0.5f, 0, 0}, 0, 1000, false, true},
    {3, {0, 0, 0, 1}, GL_SMOOTH, 150, 3000, View::Unchanged, false, {}, false, {}, 0, 0, false, false},
    {4, {0.3f, 0.3f, 0.3f, 1}, GL_SMOOTH, 45, 200, View::Identity, true, {0, 0, 30, 1}, false, {}, 0, 0, false, true},
    {5, {1, 1, 1, 1}, GL_FLAT, 120, 200, View::Identity, true, {0, 0, 50, 1}, false, {}, 0, 0, false, false},
    {6, {0, 0, 0, 1}, GL_SMOOTH, 45, 500, View::Identity, true, {0, 0, 1, 1}, false, {}, 0, 0, false, true},
    {7, {0, 0, 0, 1}, GL_FLAT, 45, 200, View::Identity, true, {0, 20, 0, 1}, false, {}, 0, 0, true, false},
    {8, {0, 0, 0, 1}, GL_FLAT, 90, 1000, View::LookAt, true, {0, -100, -60, 1}, false, {}, 0, 0, true, true},
    {9, {0.2f, 0.4f, 0.6f, 1}, GL_SMOOTH, 45, 3000, View::Unchanged, false, {}, true, {0.2f, 0.4f, 0.6f}, 10, 700, true, false},
    // Parts 10 and 11 do not touch fog: part 9's stays on.
    {10, {0, 0, 0, 1}, GL_FLAT, 45, 500, View::Identity, true, {0, 0, 20, 1}, true, {0.2f, 0.4f, 0.6f}, 10, 700, true, false},
    {11, {0, 0, 0, 1}, GL_FLAT, 45, 500, View::Identity, true, {0, 0, 20, 1}, true, {0.2f, 0.4f, 0.6f}, 10, 700, true, false},
};

// State a part must reset, or must leave alone, set to something else first.
void disturbState()
{
    glViewport(0, 0, 100, 100);   // as after a window resize
    for (GLenum light = GL_LIGHT0; light <= GL_LIGHT7; ++light)
        glEnable(light);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    glColor4f(0.25f, 0.5f, 0.75f, 1.0f);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(1.0f, 2.0f, 3.0f);
}

void expectMatrix(GLenum which, const double (&expected)[16], const char* what)
{
    GLfloat actual[16];
    glGetFloatv(which, actual);
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(actual[i], expected[i], 1e-4 * (1 + std::fabs(expected[i]))) << what << " element " << i;
}

void expectPerspective(double fovy, double farPlane)
{
    const double aspect = 1.3300000429153442;   // 1.33f widened
    const double f = 1.0 / std::tan(fovy * M_PI / 360.0);
    const double nearPlane = 1.0;
    const double projection[16] = {f / aspect, 0, 0, 0, 0, f, 0, 0,
                                   0, 0, (farPlane + nearPlane) / (nearPlane - farPlane), -1,
                                   0, 0, 2 * farPlane * nearPlane / (nearPlane - farPlane), 0};
    expectMatrix(GL_PROJECTION_MATRIX, projection, "projection");
}

void expectModelview(View view)
{
    double expected[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    if (view == View::Unchanged) {
        expected[12] = 1;
        expected[13] = 2;
        expected[14] = 3;
    } else if (view == View::LookAt) {
        expected[14] = -60;
    }
    expectMatrix(GL_MODELVIEW_MATRIX, expected, "modelview");
}

void expectVector(GLenum name, const GLfloat* expected, int count, const char* what)
{
    GLfloat actual[4] = {};
    glGetFloatv(name, actual);
    for (int i = 0; i < count; ++i)
        EXPECT_NEAR(actual[i], expected[i], 1e-5) << what << " component " << i;
}

void expectLightsAndMaterial(const Expected& part)
{
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_EQ(glIsEnabled(GL_LIGHT0), part.light ? GL_TRUE : GL_FALSE);
    for (GLenum light = GL_LIGHT1; light <= GL_LIGHT7; ++light)
        EXPECT_FALSE(glIsEnabled(light));
    if (part.light) {
        GLfloat position[4];
        glGetLightfv(GL_LIGHT0, GL_POSITION, position);
        for (int i = 0; i < 4; ++i)
            EXPECT_NEAR(position[i], part.eyeLight[i], 1e-4) << "light position " << i;
    }
    const GLfloat black[4] = {0, 0, 0, 1};
    for (GLenum face : {GL_FRONT, GL_BACK}) {
        GLfloat ambient[4];
        glGetMaterialfv(face, GL_AMBIENT, ambient);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(ambient[i], black[i]);
    }
}

void expectFog(const Expected& part)
{
    EXPECT_EQ(glIsEnabled(GL_FOG), part.fog ? GL_TRUE : GL_FALSE);
    if (!part.fog)
        return;
    GLint mode = 0;
    glGetIntegerv(GL_FOG_MODE, &mode);
    EXPECT_EQ(mode, GL_LINEAR);
    expectVector(GL_FOG_COLOR, part.fogColour, 3, "fog colour");
    GLfloat start = 0, end = 0;
    glGetFloatv(GL_FOG_START, &start);
    glGetFloatv(GL_FOG_END, &end);
    EXPECT_EQ(start, part.fogStart);
    EXPECT_EQ(end, part.fogEnd);
}

TEST(PartRenderState, EveryPartStartsWithItsStateOnTopOfWhatEarlierPartsLeft)
{
    // A context of its own, so the state starts from OpenGL's defaults.
    HeadlessPlatform fresh(60);
    ASSERT_TRUE(fresh.init());
    ASSERT_TRUE(fresh.createGLContext(fresh.createMainWindow("render state", false)));
    for (const Expected& part : kParts) {
        SCOPED_TRACE("part " + std::to_string(part.part));
        disturbState();
        applyPartRenderState(part.part);

        expectVector(GL_COLOR_CLEAR_VALUE, part.clear, 4, "clear colour");
        GLint shade = 0;
        glGetIntegerv(GL_SHADE_MODEL, &shade);
        EXPECT_EQ(static_cast<GLenum>(shade), part.shade);
        expectPerspective(part.fovy, part.farPlane);
        GLint viewport[4];
        glGetIntegerv(GL_VIEWPORT, viewport);
        EXPECT_EQ(viewport[2], 640);
        EXPECT_EQ(viewport[3], 480);
        GLint matrixMode = 0;
        glGetIntegerv(GL_MATRIX_MODE, &matrixMode);
        EXPECT_EQ(matrixMode, GL_MODELVIEW);
        expectModelview(part.view);
        expectLightsAndMaterial(part);
        EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
        expectFog(part);
        EXPECT_EQ(glIsEnabled(GL_NORMALIZE), part.normalize ? GL_TRUE : GL_FALSE);
        EXPECT_EQ(glIsEnabled(GL_TEXTURE_GEN_S), part.texGenOff ? GL_FALSE : GL_TRUE);
        EXPECT_EQ(glIsEnabled(GL_TEXTURE_GEN_T), part.texGenOff ? GL_FALSE : GL_TRUE);
        if (part.part == 6) {
            const GLfloat white[4] = {1, 1, 1, 1};
            expectVector(GL_CURRENT_COLOR, white, 4, "current colour");
        }
        for (int frame = 0; frame < 3; ++frame)
            renderPartFrame(part.part, frame, nullptr);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
}

TEST(PartRenderState, FrontMaterialOfTheLitParts)
{
    HeadlessPlatform fresh(60);
    ASSERT_TRUE(fresh.init());
    ASSERT_TRUE(fresh.createGLContext(fresh.createMainWindow("materials", false)));
    struct Material {
        int part;
        GLfloat diffuse[4], specular[4], shininess;
    };
    // Part 1 leaves the default diffuse, which carries on until part 7 sets its own.
    const Material materials[] = {
        {1, {0.8f, 0.8f, 0.8f, 1}, {1, 1, 1, 1}, 25},  {7, {0.2f, 0.4f, 0.6f, 1}, {1, 1, 1, 1}, 25},
        {8, {1, 1, 1, 1}, {1, 1, 1, 1}, 25},           {10, {1, 1, 1, 1}, {1, 1, 1, 1}, 90},
    };
    int applied = 0;
    for (const Material& material : materials) {
        while (applied < material.part)
            applyPartRenderState(++applied);
        SCOPED_TRACE("part " + std::to_string(material.part));
        GLfloat diffuse[4], specular[4], shininess = 0;
        glGetMaterialfv(GL_FRONT, GL_DIFFUSE, diffuse);
        glGetMaterialfv(GL_FRONT, GL_SPECULAR, specular);
        glGetMaterialfv(GL_FRONT, GL_SHININESS, &shininess);
        for (int i = 0; i < 4; ++i) {
            EXPECT_FLOAT_EQ(diffuse[i], material.diffuse[i]);
            EXPECT_FLOAT_EQ(specular[i], material.specular[i]);
        }
        EXPECT_EQ(shininess, material.shininess);
    }
}

TEST(PartRenderState, NumbersOutsideTheDemoOnlySwitchTheLightsOff)
{
    testPlatform();
    glEnable(GL_LIGHT3);
    glViewport(0, 0, 10, 10);
    applyPartRenderState(12);
    EXPECT_FALSE(glIsEnabled(GL_LIGHT3));
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 10);
}

}  // namespace
