#include "app/PartRenderState.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "fx/PixelScale.h"

namespace {

int viewportWidth = 640;
int viewportHeight = 480;

enum class Modelview { Unchanged, Identity, LookAtFromFront };

struct MaterialValue {
    GLenum name;           // GL_SPECULAR, GL_SHININESS or GL_DIFFUSE
    GLfloat value[4];
};

struct PartStart {
    GLfloat clearColour[4];
    GLenum shadeModel;
    double fovy;
    double farPlane;
    Modelview modelview;
    bool hasLight;
    GLfloat lightPosition[4];
    int materialCount;
    MaterialValue material[3];   // front face, in this order, after the ambient
    void (*furtherSettings)();
};

const MaterialValue kWhiteSpecular{GL_SPECULAR, {1.0f, 1.0f, 1.0f, 1.0f}};
const MaterialValue kWhiteDiffuse{GL_DIFFUSE, {1.0f, 1.0f, 1.0f, 1.0f}};

MaterialValue shininess(GLfloat value)
{
    return {GL_SHININESS, {value, 0.0f, 0.0f, 0.0f}};
}

void linearFog(const GLfloat (&colour)[4], GLfloat start, GLfloat end)
{
    glEnable(GL_FOG);
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glFogfv(GL_FOG_COLOR, colour);
    glFogf(GL_FOG_DENSITY, 1.0f);
    glHint(GL_FOG_HINT, GL_DONT_CARE);
    glFogf(GL_FOG_START, start);
    glFogf(GL_FOG_END, end);
}

void noTextureGeneration()
{
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
}

void part2Settings()
{
    linearFog({0.5f, 0.0f, 0.0f, 1.0f}, 0.0f, 1000.0f);
    noTextureGeneration();
}

void part3Settings()
{
    glDisable(GL_FOG);
}

void part4Settings()
{
    noTextureGeneration();
    glDisable(GL_FOG);
}

void part6Settings()
{
    glDisable(GL_FOG);
    glColor3f(1.0f, 1.0f, 1.0f);
    noTextureGeneration();
}

void part7Settings()
{
    glEnable(GL_NORMALIZE);
}

void part8Settings()
{
    glEnable(GL_NORMALIZE);
    noTextureGeneration();
}

void part9Settings()
{
    linearFog({0.2f, 0.4f, 0.6f, 1.0f}, 10.0f, 700.0f);
}

// Parts 1 to 9, then the one start shared by parts 10 and 11.
const PartStart kPartStarts[10] = {
    {{0.0f, 0.0f, 0.0f, 1.0f}, GL_SMOOTH, 90, 200, Modelview::Identity, true, {0, 0, 30, 1},
     2, {kWhiteSpecular, shininess(25)}, nullptr},
    {{0.5f, 0.0f, 0.0f, 1.0f}, GL_SMOOTH, 45, 1000, Modelview::Unchanged, false, {},
     0, {}, part2Settings},
    {{0.0f, 0.0f, 0.0f, 1.0f}, GL_SMOOTH, 150, 3000, Modelview::Unchanged, false, {},
     0, {}, part3Settings},
    {{0.3f, 0.3f, 0.3f, 1.0f}, GL_SMOOTH, 45, 200, Modelview::Identity, true, {0, 0, 30, 1},
     2, {kWhiteSpecular, shininess(25)}, part4Settings},
    {{1.0f, 1.0f, 1.0f, 1.0f}, GL_FLAT, 120, 200, Modelview::Identity, true, {0, 0, 50, 1},
     2, {kWhiteSpecular, shininess(25)}, nullptr},
    {{0.0f, 0.0f, 0.0f, 1.0f}, GL_SMOOTH, 45, 500, Modelview::Identity, true, {0, 0, 1, 1},
     2, {kWhiteSpecular, shininess(128)}, part6Settings},
    {{0.0f, 0.0f, 0.0f, 1.0f}, GL_FLAT, 45, 200, Modelview::Identity, true, {0, 20, 0, 1},
     3, {kWhiteSpecular, shininess(25), {GL_DIFFUSE, {0.2f, 0.4f, 0.6f, 1.0f}}}, part7Settings},
    {{0.0f, 0.0f, 0.0f, 1.0f}, GL_FLAT, 90, 1000, Modelview::LookAtFromFront, true, {0, -100, 0, 1},
     3, {kWhiteDiffuse, kWhiteSpecular, shininess(25)}, part8Settings},
    {{0.2f, 0.4f, 0.6f, 1.0f}, GL_SMOOTH, 45, 3000, Modelview::Unchanged, false, {},
     0, {}, part9Settings},
    {{0.0f, 0.0f, 0.0f, 1.0f}, GL_FLAT, 45, 500, Modelview::Identity, true, {0, 0, 20, 1},
     3, {kWhiteDiffuse, kWhiteSpecular, shininess(90)}, nullptr},
};

void applyPartStart(const PartStart& start)
{
    glClearColor(start.clearColour[0], start.clearColour[1], start.clearColour[2], start.clearColour[3]);
    glShadeModel(start.shadeModel);

    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(start.fovy, static_cast<double>(1.33f), 1.0, start.farPlane);
    glViewport(0, 0, viewportWidth, viewportHeight);
    // Lines (the line figure, the wireframes) are one design pixel wide.
    glLineWidth(pixelScale());

    glMatrixMode(GL_MODELVIEW);
    if (start.modelview != Modelview::Unchanged)
        glLoadIdentity();
    if (start.modelview == Modelview::LookAtFromFront)
        gluLookAt(0.0, 0.0, 60.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);

    if (start.hasLight) {
        const GLfloat white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
        glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
        glLightfv(GL_LIGHT0, GL_SPECULAR, white);
        glLightfv(GL_LIGHT0, GL_POSITION, start.lightPosition);   // through the current modelview
    }
    glEnable(GL_LIGHTING);
    if (start.hasLight)
        glEnable(GL_LIGHT0);

    const GLfloat black[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, black);
    for (int i = 0; i < start.materialCount; ++i)
        glMaterialfv(GL_FRONT, start.material[i].name, start.material[i].value);

    glEnable(GL_DEPTH_TEST);
    if (start.furtherSettings != nullptr)
        start.furtherSettings();
}

}  // namespace

void setPictureSize(int width, int height)
{
    viewportWidth = width;
    viewportHeight = height;
    setPixelScale(static_cast<float>(height) / 480.0f);
}

void applyPartRenderState(int partNumber)
{
    for (GLenum light = GL_LIGHT0; light <= GL_LIGHT7; ++light)
        glDisable(light);
    if (partNumber < 1 || partNumber > 11)
        return;
    applyPartStart(kPartStarts[partNumber <= 10 ? partNumber - 1 : 9]);
}
