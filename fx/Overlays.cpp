#include "fx/Overlays.h"

namespace {

// The quad spans 0..100 in x and y; moved to -50..50 at 250 units deep
// inside an orthographic box of -50..50 by 200..300, it covers the whole
// viewport at window depth 0.5.
void beginOverlay()
{
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glLoadIdentity();
    glTranslatef(-50.0f, -50.0f, -250.0f);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(-50.0, 50.0, -50.0, 50.0, 200.0, 300.0);
    glMatrixMode(GL_MODELVIEW);
    glDepthMask(GL_FALSE);
    glDisable(GL_LIGHTING);
}

void blendWith(GLenum sourceFactor, GLenum destinationFactor)
{
    glEnable(GL_BLEND);
    glBlendFunc(sourceFactor, destinationFactor);
}

void bindOverlayTexture(GLuint texture)
{
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
}

void drawQuad(bool textured)
{
    static const GLfloat corners[4][2] = {{0.0f, 0.0f}, {100.0f, 0.0f}, {100.0f, 100.0f}, {0.0f, 100.0f}};
    static const GLfloat texCoords[4][2] = {{0.0f, 0.0f}, {1.0f, 0.0f}, {1.0f, 1.0f}, {0.0f, 1.0f}};
    glBegin(GL_QUADS);
    glNormal3f(0.0f, 0.0f, 1.0f);
    for (int i = 0; i < 4; ++i) {
        if (textured)
            glTexCoord2f(texCoords[i][0], texCoords[i][1]);
        glVertex3f(corners[i][0], corners[i][1], 0.0f);
    }
    glEnd();
}

// Puts back the projection and switches lighting on, in the order the
// demo's parts were made with.
void endOverlay(bool textured)
{
    glDisable(GL_BLEND);
    if (textured)
        glDisable(GL_TEXTURE_2D);
    glDepthMask(GL_TRUE);
    glMatrixMode(GL_PROJECTION);
    glEnable(GL_LIGHTING);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

}  // namespace

void drawTexturedOverlay(GLuint texture, float red, float green, float blue, float alpha)
{
    beginOverlay();
    glColor4f(red, green, blue, alpha);
    blendWith(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    bindOverlayTexture(texture);
    drawQuad(true);
    endOverlay(true);
}

void drawFlatOverlay(float red, float green, float blue, float alpha)
{
    beginOverlay();
    glColor4f(red, green, blue, alpha);
    blendWith(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    drawQuad(false);
    endOverlay(false);
}

void drawColorKeyedOverlay(GLuint texture)
{
    beginOverlay();
    glColor3f(1.0f, 1.0f, 1.0f);
    blendWith(GL_SRC_COLOR, GL_ONE_MINUS_SRC_COLOR);
    bindOverlayTexture(texture);
    drawQuad(true);
    endOverlay(true);
}
