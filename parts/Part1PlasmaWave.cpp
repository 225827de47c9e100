#include "parts/Part1PlasmaWave.h"

#include <GL/glu.h>
#include <cmath>

#include "fx/Overlays.h"

namespace {

constexpr int kColumns = 80;   // vertices per strip pair, so 79 quads wide
constexpr int kRows = 80;      // quad rows
constexpr float kAngleStep = 0.08f;
constexpr float kPositionStep = 0.125f;

void emitVertex(float columnAngle, float rowAngle, int column, int row, float x, float y)
{
    const PlasmaVertex vertex = plasmaVertex(columnAngle, rowAngle, column, row);
    glTexCoord2f(vertex.s, vertex.t);
    glColor3f(vertex.height, vertex.height, vertex.height);
    glVertex3f(x, y, vertex.height);
}

}  // namespace

PlasmaVertex plasmaVertex(float columnAngle, float rowAngle, int column, int row)
{
    const float sinColumn = std::sin(columnAngle);
    const float cosRow = std::cos(rowAngle);
    const float wave = cosRow * sinColumn;
    PlasmaVertex vertex;
    vertex.height = std::fabs(5.0f * wave);
    vertex.s = 0.1f * cosRow * cosRow * sinColumn + 0.0125f * static_cast<float>(column);
    vertex.t = 0.1f * wave * (wave + std::cos(columnAngle)) + 0.0125f * static_cast<float>(row);
    return vertex;
}

float plasmaPhase(int partTime)
{
    return static_cast<float>(partTime) * 0.0125f;
}

float part1VeilAlpha(int partTime)
{
    return 1.0f - static_cast<float>(partTime) * 0.00083333335f;
}

void drawPlasmaWave(GLuint texPlasma, int partTime)
{
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glBindTexture(GL_TEXTURE_2D, texPlasma);

    // Angles and positions are accumulated by repeated addition, row by row
    // and column by column, as the sheet was first drawn.
    const float phase = plasmaPhase(partTime);
    float rowAngle = phase;
    float y = -5.0f;
    for (int row = 0; row < kRows; ++row) {
        const float nextRowAngle = rowAngle + kAngleStep;
        const float nextY = y + kPositionStep;
        float columnAngle = phase;
        float x = -5.0f;
        glBegin(GL_QUAD_STRIP);
        for (int column = 0; column < kColumns; ++column) {
            emitVertex(columnAngle, nextRowAngle, column, row + 1, x, nextY);
            emitVertex(columnAngle, rowAngle, column, row, x, y);
            columnAngle += kAngleStep;
            x += kPositionStep;
        }
        glEnd();
        rowAngle = nextRowAngle;
        y = nextY;
    }

    glEnable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
}

void part1Frame(int partTime, GLuint texPlasma)
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    gluLookAt(0.0, 0.0, 8.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
    glPushMatrix();
    drawPlasmaWave(texPlasma, partTime);
    glPopMatrix();
    if (partTime <= 1200)
        drawFlatOverlay(0.0f, 0.0f, 0.0f, part1VeilAlpha(partTime));
    glFlush();
}
