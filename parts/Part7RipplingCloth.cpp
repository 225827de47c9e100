#include "parts/Part7RipplingCloth.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "fx/Cloth.h"

ClothImpulses part7Impulses;

namespace {

constexpr float kPush = 20.0f;
constexpr int kPushFrames = 10;
constexpr int kPushablePoints = 2500;

void setUpwardForce(Cloth& cloth, int index, float upward)
{
    Vec3 force = cloth.getExternalForce(index);
    force.y = upward;
    cloth.setExternalForce(index, force);
}

void drawSolidAndWireframe(int partTime, const Cloth& cloth)
{
    glPushMatrix();
    glRotatef(clothTurn(partTime), 0.0f, 1.0f, 0.0f);
    cloth.draw();

    glTranslatef(0.0f, 0.1f, 0.0f);
    glDisable(GL_LIGHTING);
    glColor3f(0.5f, 0.5f, 1.0f);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    cloth.draw();

    glDisable(GL_BLEND);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glEnable(GL_LIGHTING);
    glPopMatrix();
}

}  // namespace

float clothTurn(int partTime)
{
    return static_cast<float>(partTime) * 0.1f;
}

void updateClothImpulses(ClothImpulses& impulses, Cloth& cloth, int partTime, const std::function<int()>& random)
{
    if (impulses.frames < kPushFrames) {
        impulses.frames += 1;
    } else if (impulses.active) {
        setUpwardForce(cloth, impulses.index, 0.0f);
        impulses.active = false;
        impulses.frames = 0;
    }
    if (partTime % 100 != 0)
        return;
    if (impulses.active)
        setUpwardForce(cloth, impulses.index, 0.0f);
    impulses.index = random() % kPushablePoints;
    setUpwardForce(cloth, impulses.index, kPush);
    impulses.active = true;
}

void part7Frame(int partTime, const Cloth& cloth)
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    gluLookAt(8.0, 5.0, 8.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    drawSolidAndWireframe(partTime, cloth);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glFlush();
}

void part7Step(int partTime, Cloth& cloth)
{
    updateClothImpulses(part7Impulses, cloth, partTime);
    cloth.step();
}
