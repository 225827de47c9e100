#include "app/Timeline.h"

#include <GL/gl.h>

#include "assets/DemoTextures.h"
#include "assets/MusicPlayer.h"
#include "fx/Cloth.h"
#include "fx/ParticleSystem.h"
#include "parts/Part10TorusChain.h"
#include "parts/Part1PlasmaWave.h"
#include "parts/Part2Temple.h"
#include "parts/Part4GlowCloud.h"
#include "parts/Part5LineFigure.h"
#include "parts/Part6RadialGlow.h"
#include "parts/Part7RipplingCloth.h"
#include "parts/Part8Metaballs.h"
#include "parts/SceneParts.h"
#include "platform/Platform.h"

namespace {

// Part 8 turns the metaball surface computed at the end of the previous frame.
void part8Frame(int partTime)
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glPushMatrix();
    const PartTurn turn = metaballTurn(partTime);
    glRotatef(turn.aboutY, 0.0f, 1.0f, 0.0f);
    glRotatef(turn.aboutX, 1.0f, 0.0f, 0.0f);
    drawMetaballSurface();
    glPopMatrix();
    glFlush();
    clearMetaballField();
    accumulateMetaballField();
    moveMetaBalls();
}

}  // namespace

void drawPartFrame(int partNumber, int partTime, MusicPlayer* music)
{
    switch (partNumber) {
    case 1: part1Frame(partTime, texPlasma); break;
    case 2: part2Frame(theSceneSet, partTime, 100, music, texKolbar, texMeridos, texTwl); break;
    case 3: part3Frame(theSceneSet, partTime); break;
    case 4: part4Frame(partTime, texBlack, glowParticles); break;
    case 5: part5Frame(partTime, texWhite); break;
    case 6: part6Frame(partTime, theBlurGrid, texBlur); break;
    case 7: part7Frame(partTime, theCloth); break;
    case 8: part8Frame(partTime); break;
    case 9: part9Frame(theSceneSet, partTime); break;
    case 10: part10And11Frame(partTime, texMap, glow2Particles, 0); break;
    case 11: part10And11Frame(partTime, texMap, glow2Particles, 1); break;
    default: break;
    }
}

void renderPartFrame(int partNumber, int partTime, PlatformWindow* window)
{
    drawPartFrame(partNumber, partTime, theMusicPlayer);
    // One switch at most per frame: each query consumes at most one time.
    if (theMusicPlayer != nullptr && theMusicPlayer->eventDue(1))
        platform().postUserEvent(window, kPartSwitchCode);
}
