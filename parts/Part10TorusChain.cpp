#include "parts/Part10TorusChain.h"

#include <GL/glu.h>

#include <cmath>

#include "fx/Overlays.h"
#include "fx/ParticleSystem.h"

float torusAngle = 0.0f;

namespace {

constexpr float kTurn = 6.283185f;

// One vertex of the tube at ring angle phi and tube angle theta.
void torusVertex(float tubeRadius, float ringRadius, float phi, float theta)
{
    const double cosPhi = std::cos(static_cast<double>(phi));
    const double sinPhi = std::sin(static_cast<double>(phi));
    const double cosTheta = std::cos(static_cast<double>(theta));
    const double sinTheta = std::sin(static_cast<double>(theta));
    glNormal3f(static_cast<float>(cosPhi * cosTheta), static_cast<float>(sinPhi * cosTheta),
               static_cast<float>(sinTheta));
    const double rho = ringRadius + tubeRadius * cosTheta;
    glVertex3f(static_cast<float>(rho * cosPhi), static_cast<float>(rho * sinPhi),
               static_cast<float>(tubeRadius * sinTheta));
}

void drawChain()
{
    const GLfloat darkBlue[4] = {0.0f, 0.0f, 0.5f, 1.0f};
    glMaterialfv(GL_FRONT, GL_DIFFUSE, darkBlue);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    // Each link is placed from the one before: the matrix is not restored.
    for (int i = 0; i < 20; ++i) {
        glRotatef(torusAngle, 1.0f, static_cast<float>(i % 2), static_cast<float>(i % 5));
        glTranslatef(0.6f, 0.6f, 0.0f);
        drawTorus(0.2f, 10, 0.5f, 10);
    }
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
}

}  // namespace

float nextTorusAngle(float angle)
{
    angle += 0.5f;
    return angle >= 360.0f ? 0.0f : angle;
}

Vec3 torusChainEye(int partTime)
{
    const float t = static_cast<float>(partTime) * 0.01f;
    const float sinT = std::sin(t);
    const float cosT = std::cos(t);
    return {10.0f * sinT, 5.0f * (cosT + sinT), 5.0f * cosT, 0.0f};
}

void drawTorus(float tubeRadius, int sides, float ringRadius, int rings)
{
    for (int i = 0; i < sides; ++i) {
        glBegin(GL_QUAD_STRIP);
        for (int j = 0; j <= rings; ++j) {
            const float phi = static_cast<float>(j % rings) * kTurn / static_cast<float>(rings);
            for (int k = 0; k < 2; ++k) {
                const float theta = (static_cast<float>((i + k) % sides) + 0.5f) * kTurn / static_cast<float>(sides);
                torusVertex(tubeRadius, ringRadius, phi, theta);
            }
        }
        glEnd();
    }
}

void part10And11Frame(int partTime, GLuint texMap, const ParticleSystem& particles, int isPart11)
{
    glClear(GL_DEPTH_BUFFER_BIT);   // the colour buffer keeps the faded trails
    glLoadIdentity();
    const Vec3 eye = torusChainEye(partTime);
    gluLookAt(eye.x, eye.y, eye.z, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
    torusAngle = nextTorusAngle(torusAngle);

    glPushMatrix();
    glPushMatrix();
    drawChain();
    glPopMatrix();
    particles.draw();
    glPopMatrix();

    drawTexturedOverlay(texMap, 0.6f, 0.6f, 0.6f, isPart11 == 1 ? 0.05f : 0.1f);
    glFlush();
}
