#include "app/Timeline.h"

#include <GL/gl.h>

#include "app/StepClock.h"
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
#include "scene/SceneSet.h"

namespace {

// Part 8 turns the metaball surface computed by the step before.
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
}

void part8Step()
{
    clearMetaballField();
    accumulateMetaballField();
    moveMetaBalls();
}

void drawPicture(int partNumber, int partTime, MusicPlayer* music)
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

void stepEffects(int partNumber, int partTime)
{
    switch (partNumber) {
    case 4: glowParticles.update(); break;
    case 7: part7Step(partTime, theCloth); break;
    case 8: part8Step(); break;
    case 10:
    case 11: glow2Particles.update(); break;
    default: break;
    }
}

// Parts whose picture is never cleared but washed: what a frame shows is
// the layers of all the frames before.  Each step lays its own layer, so the
// trail is the same at any frame rate, and a frame without a new step adds
// nothing to it.
bool layersTrail(int partNumber)
{
    return partNumber == 5 || partNumber == 10 || partNumber == 11;
}

// The scene a scene part draws, or -1.
int sceneOf(int partNumber)
{
    switch (partNumber) {
    case 2: return 0;
    case 3: return 1;
    case 9: return 2;
    default: return -1;
    }
}

struct PartSteps {
    int partNumber = 0;
    std::int64_t startFrame = 0;
    int done = 0;   // steps run (layers laid) since the part began
    // The scene frame whose lights the part's drawing left set, -1 before
    // its first frame.
    std::int64_t litFrame = -1;
};

PartSteps currentSteps;
int catchUpLimit = 0;

void followPart(int partNumber)
{
    if (currentSteps.partNumber != partNumber)
        currentSteps = {partNumber};
}

// A scene sets its lights after its objects, so each frame is lit by the
// frame before.  A frame drawn after another than the 60 Hz frame before it
// (at another rate) first sets the lights of that one.
void lightAsAfterFrame(int partNumber, int frame)
{
    const int scene = sceneOf(partNumber);
    if (scene < 0 || frame < 0)
        return;
    const std::int64_t wanted = sceneFrameFor(stepPartTime(currentSteps.startFrame, frame));
    if (wanted != currentSteps.litFrame)
        placeSceneLights(theSceneSet, static_cast<std::size_t>(scene), static_cast<std::uint32_t>(wanted));
    currentSteps.litFrame = wanted;
}

// Runs the part's steps up to `due`, each at the partTime a 60 fps show
// has for it; a trail part lays the step's layer first.
void runStepsUpTo(int partNumber, int due)
{
    const StepPlan plan = planSteps(currentSteps.done, due, catchUpLimit);
    currentSteps.done += plan.dropped;
    for (int i = 0; i < plan.run; ++i) {
        const int partTime = stepPartTime(currentSteps.startFrame, currentSteps.done);
        if (layersTrail(partNumber))
            drawPicture(partNumber, partTime, theMusicPlayer);
        stepEffects(partNumber, partTime);
        currentSteps.done += 1;
    }
}

}  // namespace

void drawPartFrame(int partNumber, int partTime, MusicPlayer* music)
{
    drawPicture(partNumber, partTime, music);
    stepEffects(partNumber, partTime);
}

void beginPartSteps(int partNumber, std::int64_t startFrame)
{
    currentSteps = {partNumber, startFrame};
}

void finishPartSteps(int partNumber, int endPartTime)
{
    followPart(partNumber);
    const int end = stepsDueBy(endPartTime);
    runStepsUpTo(partNumber, end);
    if (currentSteps.litFrame >= 0)
        lightAsAfterFrame(partNumber, end - 1);
}

void setStepCatchUpLimit(int limit)
{
    catchUpLimit = limit;
}

void renderPartFrame(int partNumber, int partTime, PlatformWindow* window)
{
    followPart(partNumber);
    const int frame = stepsDueBy(partTime);
    if (layersTrail(partNumber)) {
        // The picture of 60 Hz frame k is its layer, laid with step k.
        runStepsUpTo(partNumber, frame + 1);
    } else {
        runStepsUpTo(partNumber, frame);
        lightAsAfterFrame(partNumber, frame - 1);
        drawPicture(partNumber, partTime, theMusicPlayer);
        if (sceneOf(partNumber) >= 0)
            currentSteps.litFrame = sceneFrameFor(partTime);
    }
    // One switch at most per frame: each query consumes at most one time.
    if (theMusicPlayer != nullptr && theMusicPlayer->eventDue(1))
        platform().postUserEvent(window, kPartSwitchCode);
}
