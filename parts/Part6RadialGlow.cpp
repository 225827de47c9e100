#include "parts/Part6RadialGlow.h"

#include <GL/glu.h>
#include <cmath>

BlurGrid theBlurGrid;

namespace {

constexpr int kGridSide = 10;

const Vec3& entry(const std::vector<Vec3>& array, int row, int column)
{
    return array[static_cast<std::size_t>(row * kGridSide + column)];
}

// Nine triangle strips; in each pair the vertex on the lower row comes first.
template <typename TexCoordOf>
void drawGridStrips(const BlurGrid& grid, TexCoordOf texCoordOf)
{
    const std::size_t entries = kGridSide * kGridSide;
    if (grid.vertices.size() < entries || grid.texCoords.size() < entries)
        return;   // not built: nothing to draw
    for (int row = 0; row + 1 < kGridSide; ++row) {
        glBegin(GL_TRIANGLE_STRIP);
        for (int column = 0; column < kGridSide; ++column) {
            for (int r : {row, row + 1}) {
                const Vec3& vertex = entry(grid.vertices, r, column);
                const Vec3 texCoord = texCoordOf(entry(grid.texCoords, r, column), vertex);
                glNormal3f(0.0f, 0.0f, 1.0f);
                glTexCoord2f(texCoord.x, texCoord.y);
                glVertex3f(vertex.x, vertex.y, vertex.z);
            }
        }
        glEnd();
    }
}

}  // namespace

void buildBlurGrid(BlurGrid& grid)
{
    grid.vertices.assign(kGridSide * kGridSide, Vec3{});
    grid.texCoords.assign(kGridSide * kGridSide, Vec3{});
    for (int row = 0; row < kGridSide; ++row) {
        for (int column = 0; column < kGridSide; ++column) {
            const auto index = static_cast<std::size_t>(row * kGridSide + column);
            grid.vertices[index] = {2.0f * column - 10.0f, 2.0f * row - 10.0f, 0.0f, 0.0f};
            grid.texCoords[index] = {column * 0.11111111f, row * 0.11111111f, 0.0f, 0.0f};
        }
    }
}

void drawBlurGrid(const BlurGrid& grid)
{
    drawGridStrips(grid, [](const Vec3& texCoord, const Vec3&) { return texCoord; });
}

void drawBlurGridShifted(Vec3 towards, float factor, const BlurGrid& grid)
{
    drawGridStrips(grid, [&](const Vec3& texCoord, const Vec3& vertex) {
        const Vec3 shift = (towards - vertex) * factor;
        return Vec3{texCoord.x + shift.x, texCoord.y + shift.y, 0.0f, 0.0f};
    });
}

Vec3 glowCentre(int partTime)
{
    const float angle = static_cast<float>(partTime) * 0.01f;
    return {5.0f * std::sin(angle) * std::cos(angle), 5.0f * std::cos(angle) + 2.0f, 0.0f, 0.0f};
}

void part6Frame(int partTime, const BlurGrid& grid, GLuint texBlur)
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    const Vec3 centre = glowCentre(partTime);
    glLoadIdentity();
    gluLookAt(-1.0, 0.0, 15.0, -1.0, 0.0, 0.0, 0.0, 1.0, 0.0);

    // The base picture takes whatever colour the last frame left (white at
    // alpha 0); with blending off the alpha does not matter.
    glDisable(GL_BLEND);
    glDisable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texBlur);
    drawBlurGrid(grid);

    // Ten additive copies, each magnified a little more about the centre.
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glDepthFunc(GL_LEQUAL);
    glBindTexture(GL_TEXTURE_2D, texBlur);
    for (int i = 1; i <= 10; ++i) {
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f - static_cast<float>(i) * 0.1f);
        drawBlurGridShifted(centre, static_cast<float>(i) * 0.001f, grid);
    }
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glDepthFunc(GL_LESS);
    glFlush();
}
