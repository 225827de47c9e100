#include "parts/Part4GlowCloud.h"

#include <GL/glu.h>

#include <cmath>

#include "fx/Overlays.h"
#include "fx/ParticleSystem.h"

Vec3 part4Eye(int partTime)
{
    const float t = static_cast<float>(partTime);
    const float a = t * 0.01f;
    const float b = std::sin(t * 0.005f);
    const float cosA = std::cos(a);
    return {20.0f * b * cosA + 5.0f, 10.0f * cosA * cosA, 20.0f * b * std::sin(a) + 5.0f, 0.0f};
}

void part4Frame(int partTime, GLuint texBlack, const ParticleSystem& particles)
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    const Vec3 eye = part4Eye(partTime);
    glLoadIdentity();
    gluLookAt(eye.x, eye.y, eye.z, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
    glPushMatrix();
    particles.draw();
    glPopMatrix();
    drawTexturedOverlay(texBlack, 1.0f, 1.0f, 1.0f, 0.1f);
    glFlush();
}
