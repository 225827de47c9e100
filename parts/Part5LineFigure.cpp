#include "parts/Part5LineFigure.h"

#include <GL/glu.h>
#include <cmath>
#include <vector>

#include "fx/Overlays.h"

namespace {

// The sines and cosines one step along a strip needs.
struct StripStep {
    float sinV;
    float sinU;
    float cosU;
};

}  // namespace

void drawLineFigure(float x)
{
    // The step sizes breathe with time; where a sine passes 0 a step becomes
    // infinite and the figure shrinks to a single point.  The loops are
    // bounded by U and P alone, which every step moves forward.
    const double twoPi = 6.2831852;
    const auto dA = static_cast<float>(twoPi / (160.0 * std::fabs(std::sin(x * 0.0033333334))));
    const auto dB = static_cast<float>(twoPi / (120.0 * std::fabs(std::cos(x * 0.005))));
    const auto dQ = static_cast<float>(2.0 * std::sin(x * 0.004) * dA);

    // Every strip walks the same u and v from 0: their sines and cosines
    // are taken once a frame, from the same sums, rather than at every vertex.
    static std::vector<StripStep> steps;   // kept to reuse its storage
    steps.clear();
    float u = 0.0f;
    float v = 0.0f;
    do {
        steps.push_back({std::sin(v), std::sin(u), std::cos(u)});
        u += dA;
        v += dB;
    } while (u <= 6.283185f);

    float p = 0.0f;
    float q = 0.0f;
    do {
        const float radius = 10.0f * std::sin(q);
        const float height = 10.0f * std::cos(p);
        const float sinP = std::sin(p);
        const float cosP = std::cos(p);
        glBegin(GL_LINE_STRIP);
        for (const StripStep& step : steps) {
            const float spread = radius * step.sinV;
            glVertex3f(spread * sinP * step.cosU, spread * cosP * step.sinU, height);
        }
        glEnd();
        p += dA;
        q += dQ;
    } while (p <= 3.1415925f);
}

PartTurn lineFigureTurn(int partTime)
{
    const auto x = static_cast<float>(partTime);
    return {x * 0.11111111f, x * 0.33333334f};
}

void part5Frame(int partTime, GLuint texWhite)
{
    const auto x = static_cast<float>(partTime);
    glClear(GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    gluLookAt(5.0, 2.0, 5.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
    glPushMatrix();
    const PartTurn turn = lineFigureTurn(partTime);
    glRotatef(turn.aboutX, 1.0f, 0.0f, 0.0f);
    glRotatef(turn.aboutY, 0.0f, 1.0f, 0.0f);
    glDisable(GL_LIGHTING);
    glColor3f(0.0f, 0.0f, 0.0f);
    drawLineFigure(x);
    glEnable(GL_LIGHTING);
    glPopMatrix();
    glFlush();
    // After the flush, still part of this frame: the wash that makes trails.
    drawTexturedOverlay(texWhite, 1.0f, 1.0f, 1.0f, 0.2f);
}
