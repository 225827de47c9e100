#include "tests/TestPlatform.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

TestPlatform& testPlatform()
{
    static TestPlatform* shared = [] {
        auto* created = new TestPlatform;   // lives to the end of the test program
        if (!created->init() || !created->createGLContext(created->createMainWindow("test", false)))
            ADD_FAILURE() << "no headless OpenGL context";
        return created;
    }();
    setPlatform(shared);
    shared->makeCurrent();
    return *shared;
}

void beginDrawingTest()
{
    testPlatform();
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
}

void endDrawingTest()
{
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

Pixel pixelAt(int x, int y)
{
    unsigned char rgba[4] = {};
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return {rgba[0], rgba[1], rgba[2]};
}

unsigned makeFlatTexture(unsigned char r, unsigned char g, unsigned char b)
{
    const unsigned char texel[4 * 4 * 3] = {r, g, b, r, g, b, r, g, b, r, g, b, r, g, b, r, g, b, r, g, b, r, g, b,
                                            r, g, b, r, g, b, r, g, b, r, g, b, r, g, b, r, g, b, r, g, b, r, g, b};
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 4, 4, 0, GL_RGB, GL_UNSIGNED_BYTE, texel);
    return name;
}
