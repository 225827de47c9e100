#include "parts/Part1PlasmaWave.h"

#include <GL/glu.h>
#include <cmath>

#include "fx/Overlays.h"

namespace {

constexpr int kColumns = 80;   // vertices per strip pair, so 79 quads wide
constexpr int kRows = 80;      // quad rows
constexpr float kAngleStep = 0.08f;
constexpr float kPositionStep = 0.125f;

// The sines and cosines of a column's angle, and the cosine of a row's.
struct ColumnWave {
    float sinAngle;
    float cosAngle;
};

PlasmaVertex plasmaVertexFrom(ColumnWave columnWave, float cosRow, int column, int row)
{
    const float wave = cosRow * columnWave.sinAngle;
    PlasmaVertex vertex;
    vertex.height = std::fabs(5.0f * wave);
    vertex.s = 0.1f * cosRow * cosRow * columnWave.sinAngle + 0.0125f * static_cast<float>(column);
    vertex.t = 0.1f * wave * (wave + columnWave.cosAngle) + 0.0125f * static_cast<float>(row);
    return vertex;
}

void emitVertex(ColumnWave columnWave, float cosRow, int column, int row, float x, float y)
{
    const PlasmaVertex vertex = plasmaVertexFrom(columnWave, cosRow, column, row);
    glTexCoord2f(vertex.s, vertex.t);
    glColor3f(vertex.height, vertex.height, vertex.height);
    glVertex3f(x, y, vertex.height);
}

}  // namespace

PlasmaVertex plasmaVertex(float columnAngle, float rowAngle, int column, int row)
{
    return plasmaVertexFrom({std::sin(columnAngle), std::cos(columnAngle)}, std::cos(rowAngle), column, row);
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
    // Every row steps through the same column angles and every strip
    // through two of the same row angles: their sines and cosines are taken
    // once a frame, from the same sums, rather than at every vertex.
    const float phase = plasmaPhase(partTime);
    ColumnWave columnWaves[kColumns];
    float columnAngle = phase;
    for (ColumnWave& columnWave : columnWaves) {
        columnWave = {std::sin(columnAngle), std::cos(columnAngle)};
        columnAngle += kAngleStep;
    }
    float rowCosines[kRows + 1];
    float rowAngle = phase;
    for (float& rowCosine : rowCosines) {
        rowCosine = std::cos(rowAngle);
        rowAngle += kAngleStep;
    }

    float y = -5.0f;
    for (int row = 0; row < kRows; ++row) {
        const float nextY = y + kPositionStep;
        float x = -5.0f;
        glBegin(GL_QUAD_STRIP);
        for (int column = 0; column < kColumns; ++column) {
            emitVertex(columnWaves[column], rowCosines[row + 1], column, row + 1, x, nextY);
            emitVertex(columnWaves[column], rowCosines[row], column, row, x, y);
            x += kPositionStep;
        }
        glEnd();
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
