#include "tests/features/FeatureScenes.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <cmath>

namespace {

constexpr float kPi = 3.14159265f;

// Perspective from 5 units in front of the origin, depth test on, cleared
// to a dark blue that no scene draws itself.
void lookAtOrigin()
{
    glViewport(0, 0, kFeatureSize, kFeatureSize);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, 1.0, 1.0, 50.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(0.0, 0.0, 5.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
    glClearColor(0.1f, 0.1f, 0.2f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
}

// Pixel coordinates, y up, for the flat scenes.
void pixelCoordinates()
{
    glViewport(0, 0, kFeatureSize, kFeatureSize);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, kFeatureSize, 0.0, kFeatureSize, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(0.1f, 0.1f, 0.2f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

// A unit sphere of quad strips with normals and texture coordinates.
void sphere(float radius, int slices, int stacks)
{
    for (int stack = 0; stack < stacks; ++stack) {
        glBegin(GL_QUAD_STRIP);
        for (int slice = 0; slice <= slices; ++slice) {
            const float around = 2.0f * kPi * static_cast<float>(slice) / static_cast<float>(slices);
            for (int edge = 1; edge >= 0; --edge) {
                const float v = static_cast<float>(stack + edge) / static_cast<float>(stacks);
                const float up = kPi * (v - 0.5f);
                const float x = std::cos(up) * std::sin(around);
                const float y = std::sin(up);
                const float z = std::cos(up) * std::cos(around);
                glNormal3f(x, y, z);
                glTexCoord2f(static_cast<float>(slice) / static_cast<float>(slices), v);
                glVertex3f(radius * x, radius * y, radius * z);
            }
        }
        glEnd();
    }
}

// A torus of quads around the z axis.
void torus(float ring, float tube, int segments, int sides)
{
    auto point = [&](int segment, int side) {
        const float a = 2.0f * kPi * static_cast<float>(segment) / static_cast<float>(segments);
        const float b = 2.0f * kPi * static_cast<float>(side) / static_cast<float>(sides);
        const float r = ring + tube * std::cos(b);
        glVertex3f(r * std::cos(a), r * std::sin(a), tube * std::sin(b));
    };
    glBegin(GL_QUADS);
    for (int segment = 0; segment < segments; ++segment) {
        for (int side = 0; side < sides; ++side) {
            point(segment, side);
            point(segment + 1, side);
            point(segment + 1, side + 1);
            point(segment, side + 1);
        }
    }
    glEnd();
}

// A spot light of `colour` at `position` (x, y, z) shining along `direction`
// within `cutoff` degrees of it, switched on.
void spotLight(GLenum light, const GLfloat (&colour)[4], const GLfloat (&position)[3],
               const GLfloat (&direction)[3], GLfloat cutoff)
{
    const GLfloat positional[4] = {position[0], position[1], position[2], 1.0f};
    glLightfv(light, GL_DIFFUSE, colour);
    glLightfv(light, GL_POSITION, positional);
    glLightfv(light, GL_SPOT_DIRECTION, direction);
    glLightf(light, GL_SPOT_CUTOFF, cutoff);
    glEnable(light);
}

// A white positional light up and to the right, and a red spot light
// from the lower left, on a blue sphere with a shiny white highlight and a
// faint red glow of its own.
void litSphere()
{
    lookAtOrigin();
    glShadeModel(GL_SMOOTH);
    glEnable(GL_LIGHTING);
    glEnable(GL_NORMALIZE);
    const GLfloat white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    const GLfloat lightPosition[4] = {2.0f, 2.0f, 2.0f, 1.0f};
    glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
    glLightfv(GL_LIGHT0, GL_SPECULAR, white);
    glLightfv(GL_LIGHT0, GL_POSITION, lightPosition);
    glEnable(GL_LIGHT0);
    spotLight(GL_LIGHT1, {1.0f, 0.2f, 0.1f, 1.0f}, {-3.0f, -2.0f, 2.0f}, {3.0f, 2.0f, -2.0f}, 20.0f);
    const GLfloat diffuse[4] = {0.2f, 0.4f, 0.9f, 1.0f};
    const GLfloat emission[4] = {0.15f, 0.0f, 0.0f, 1.0f};
    glMaterialfv(GL_FRONT, GL_DIFFUSE, diffuse);
    glMaterialfv(GL_FRONT, GL_SPECULAR, white);
    glMaterialfv(GL_FRONT, GL_EMISSION, emission);
    glMaterialf(GL_FRONT, GL_SHININESS, 30.0f);
    sphere(1.6f, 32, 24);
}

// A floor of coloured stripes running away from the eye into grey fog.
void fog()
{
    lookAtOrigin();
    const GLfloat grey[4] = {0.6f, 0.6f, 0.65f, 1.0f};
    glEnable(GL_FOG);
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glFogfv(GL_FOG_COLOR, grey);
    glFogf(GL_FOG_START, 4.0f);
    glFogf(GL_FOG_END, 25.0f);
    glBegin(GL_QUADS);
    for (int row = 0; row < 20; ++row) {
        const float nearZ = 2.0f - static_cast<float>(row) * 2.0f;
        glColor3f(row % 2 == 0 ? 1.0f : 0.2f, row % 3 == 0 ? 1.0f : 0.3f, 0.2f);
        glVertex3f(-3.0f, -1.0f, nearZ);
        glVertex3f(3.0f, -1.0f, nearZ);
        glVertex3f(3.0f, -1.0f, nearZ - 2.0f);
        glVertex3f(-3.0f, -1.0f, nearZ - 2.0f);
    }
    glEnd();
}

// A checkerboard texture reflected on a sphere by sphere-map generation.
void sphereMap()
{
    lookAtOrigin();
    unsigned char texels[16 * 16 * 3];
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            unsigned char* texel = texels + (y * 16 + x) * 3;
            const bool light = ((x / 4) + (y / 4)) % 2 == 0;
            texel[0] = light ? 250 : 30;
            texel[1] = light ? 220 : 60;
            texel[2] = static_cast<unsigned char>(x * 16);
        }
    }
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 16, 16, 0, GL_RGB, GL_UNSIGNED_BYTE, texels);
    glEnable(GL_TEXTURE_2D);
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    glColor3f(1.0f, 1.0f, 1.0f);
    glRotatef(30.0f, 1.0f, 0.0f, 0.0f);
    sphere(1.6f, 32, 24);
}

// A green torus of quads in outline, tilted towards the eye.
void wireframeTorus()
{
    lookAtOrigin();
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glColor3f(0.3f, 1.0f, 0.4f);
    glRotatef(50.0f, 1.0f, 0.0f, 0.0f);
    torus(1.3f, 0.45f, 24, 10);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
}

// A lit torus of quad strips in outline with flat shading: every edge of a
// quad takes the colour the quad's last vertex is lit with.
void flatLitWireframe()
{
    lookAtOrigin();
    glShadeModel(GL_FLAT);
    glEnable(GL_LIGHTING);
    const GLfloat lightPosition[4] = {1.0f, 2.0f, 3.0f, 0.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, lightPosition);
    glEnable(GL_LIGHT0);
    const GLfloat orange[4] = {1.0f, 0.6f, 0.2f, 1.0f};
    glMaterialfv(GL_FRONT, GL_DIFFUSE, orange);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glRotatef(60.0f, 1.0f, 0.3f, 0.0f);
    constexpr int kSides = 10;
    constexpr int kRings = 16;
    for (int side = 0; side < kSides; ++side) {
        glBegin(GL_QUAD_STRIP);
        for (int ring = 0; ring <= kRings; ++ring) {
            const float a = 2.0f * kPi * static_cast<float>(ring) / kRings;
            for (int edge = 0; edge < 2; ++edge) {
                const float b = 2.0f * kPi * static_cast<float>(side + edge) / kSides;
                glNormal3f(std::cos(a) * std::cos(b), std::sin(a) * std::cos(b), std::sin(b));
                const float r = 1.3f + 0.5f * std::cos(b);
                glVertex3f(r * std::cos(a), r * std::sin(a), 0.5f * std::sin(b));
            }
        }
        glEnd();
    }
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
}

// A yellow zigzag three pixels wide, steep and shallow segments both.
void wideLine()
{
    pixelCoordinates();
    glLineWidth(3.0f);
    glColor3f(1.0f, 0.9f, 0.2f);
    glBegin(GL_LINE_STRIP);
    glVertex3f(10.5f, 20.5f, 0.0f);
    glVertex3f(40.5f, 110.5f, 0.0f);
    glVertex3f(70.5f, 30.5f, 0.0f);
    glVertex3f(118.5f, 60.5f, 0.0f);
    glEnd();
    glLineWidth(1.0f);
}

// A grid of eight-pixel points in changing colours.
void largePoints()
{
    pixelCoordinates();
    glPointSize(8.0f);
    glBegin(GL_POINTS);
    for (int row = 0; row < 6; ++row) {
        for (int column = 0; column < 6; ++column) {
            glColor3f(static_cast<float>(column) / 5.0f, static_cast<float>(row) / 5.0f, 0.8f);
            glVertex3f(14.0f + 20.0f * static_cast<float>(column), 14.0f + 20.0f * static_cast<float>(row), 0.0f);
        }
    }
    glEnd();
    glPointSize(1.0f);
}

// An opaque grey square in front, then half-transparent coloured squares
// added on top without depth writes: where they overlap they add up, and
// behind the grey square they stay hidden.
void additiveBlending()
{
    lookAtOrigin();
    auto square = [](float x, float y, float z, float half) {
        glBegin(GL_QUADS);
        glVertex3f(x - half, y - half, z);
        glVertex3f(x + half, y - half, z);
        glVertex3f(x + half, y + half, z);
        glVertex3f(x - half, y + half, z);
        glEnd();
    };
    glColor3f(0.4f, 0.4f, 0.4f);
    square(0.0f, 0.0f, 0.5f, 0.5f);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glDepthMask(GL_FALSE);
    glColor4f(0.9f, 0.1f, 0.1f, 0.6f);
    square(-0.4f, 0.3f, 0.0f, 0.9f);
    glColor4f(0.1f, 0.9f, 0.1f, 0.6f);
    square(0.4f, 0.3f, -0.5f, 0.9f);
    glColor4f(0.1f, 0.1f, 0.9f, 0.6f);
    square(0.0f, -0.4f, -1.0f, 0.9f);
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
}

// A grey wall facing the eye, finely divided (lighting is computed per
// vertex), lit by a white light whose distance attenuation is mostly
// quadratic and a red spot light whose light gathers towards its axis
// (a spot exponent) and fades linearly with distance.
void lightAttenuation()
{
    lookAtOrigin();
    glShadeModel(GL_SMOOTH);
    glEnable(GL_LIGHTING);
    const GLfloat white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    const GLfloat whitePosition[4] = {-1.0f, 1.0f, 1.2f, 1.0f};
    glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
    glLightfv(GL_LIGHT0, GL_POSITION, whitePosition);
    glLightf(GL_LIGHT0, GL_CONSTANT_ATTENUATION, 1.0f);
    glLightf(GL_LIGHT0, GL_LINEAR_ATTENUATION, 0.0f);
    glLightf(GL_LIGHT0, GL_QUADRATIC_ATTENUATION, 0.25f);
    glEnable(GL_LIGHT0);
    spotLight(GL_LIGHT1, {1.0f, 0.3f, 0.2f, 1.0f}, {1.5f, -1.5f, 2.0f}, {-1.0f, 1.0f, -2.0f}, 40.0f);
    glLightf(GL_LIGHT1, GL_SPOT_EXPONENT, 12.0f);
    glLightf(GL_LIGHT1, GL_CONSTANT_ATTENUATION, 0.4f);
    glLightf(GL_LIGHT1, GL_LINEAR_ATTENUATION, 0.3f);
    const GLfloat grey[4] = {0.9f, 0.9f, 0.9f, 1.0f};
    const GLfloat black[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    glMaterialfv(GL_FRONT, GL_DIFFUSE, grey);
    glMaterialfv(GL_FRONT, GL_SPECULAR, black);
    constexpr int kSteps = 32;
    constexpr float kHalf = 2.2f;
    glNormal3f(0.0f, 0.0f, 1.0f);
    for (int row = 0; row < kSteps; ++row) {
        glBegin(GL_QUAD_STRIP);
        for (int column = 0; column <= kSteps; ++column) {
            const float x = -kHalf + 2.0f * kHalf * static_cast<float>(column) / kSteps;
            for (int edge = 1; edge >= 0; --edge)
                glVertex3f(x, -kHalf + 2.0f * kHalf * static_cast<float>(row + edge) / kSteps, 0.0f);
        }
        glEnd();
    }
}

// Black at a tenth of alpha blended over white.  The fixed-function
// pipeline rounds the colour, alpha too, to 8 bits before blending: 26/255
// of alpha keeps 229/255 of the white, where the unrounded 0.1 would keep
// 229.5/255 and round that up.
void alphaRounding()
{
    pixelCoordinates();
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(0.0f, 0.0f, 0.0f, 0.1f);
    glBegin(GL_QUADS);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glVertex3f(kFeatureSize, 0.0f, 0.0f);
    glVertex3f(kFeatureSize, kFeatureSize, 0.0f);
    glVertex3f(0.0f, kFeatureSize, 0.0f);
    glEnd();
    glDisable(GL_BLEND);
}

}  // namespace

const std::vector<FeatureScene>& featureScenes()
{
    static const std::vector<FeatureScene> scenes = {
        {"lit-sphere", litSphere},           {"fog", fog},
        {"sphere-map", sphereMap},           {"wireframe-torus", wireframeTorus},
        {"flat-lit-wireframe", flatLitWireframe}, {"wide-line", wideLine},             {"large-points", largePoints},
        {"additive-blending", additiveBlending}, {"light-attenuation", lightAttenuation},
        {"alpha-rounding", alphaRounding},
    };
    return scenes;
}

const FeatureScene* findFeatureScene(const std::string& name)
{
    for (const FeatureScene& scene : featureScenes())
        if (name == scene.name)
            return &scene;
    return nullptr;
}
