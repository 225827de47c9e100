#include "app/Shell.h"

#include <GL/gl.h>
#include <algorithm>
#include <cstdlib>
#include <memory>

#include "app/PartRenderState.h"
#include "app/SplashWindow.h"
#include "app/StartupTimes.h"
#include "app/StepClock.h"
#include "app/Timeline.h"
#include "app/WarmUp.h"
#include "assets/DemoTextures.h"
#include "assets/MusicPlayer.h"
#include "fx/Cloth.h"
#include "fx/ParticleSystem.h"
#include "parts/Part6RadialGlow.h"
#include "parts/Part8Metaballs.h"
#include "platform/Platform.h"
#include "scene/SceneSet.h"

int partNumber = 1;
std::uint32_t partStartTicks = 0;
unsigned char fullScreen = 0;
PlatformWindow* mainWindow = nullptr;

namespace {

ShellOptions shellOptions;

[[noreturn]] void failStartUp(PlatformWindow* owner, const char* text)
{
    platform().showMessage(owner, text, "Error");
    endDemo();
}

bool askFullScreen()
{
    switch (shellOptions.fullScreenChoice) {
    case FullScreenChoice::Windowed: return false;
    case FullScreenChoice::FullScreen: return true;
    case FullScreenChoice::Ask: break;
    }
    return platform().askYesNo(nullptr, "Switch to Fullscreen ?", "Question");
}

void beginPart()
{
    if (shellOptions.onPartStart)
        shellOptions.onPartStart(partNumber);
}

void quitRestoringDisplay()
{
    if (fullScreen)
        platform().restoreDisplayMode();
    endDemo();
}

// The next part's clock starts where the music says the part began, not
// at the frame that noticed it: frames at any rate then agree on partTime.
PartStart nextPartStart(std::uint32_t now)
{
    std::uint32_t switchTime = 0;
    if (theMusicPlayer == nullptr || !theMusicPlayer->lastEventTime(1, switchTime))
        return {now, 0};
    return partStartFromMusic(now, theMusicPlayer->position(), switchTime);
}

void switchToNextPart()
{
    if (partNumber >= 11)
        quitRestoringDisplay();
    const PartStart start = nextPartStart(platform().tickCount());
    finishPartSteps(partNumber, static_cast<std::int32_t>(start.ticks - partStartTicks) / 5);
    partNumber += 1;
    applyPartRenderState(partNumber);
    partStartTicks = start.ticks;
    beginPartSteps(partNumber, start.startFrame);
    beginPart();
}

std::unique_ptr<SplashWindow> splash;
bool loaded = false;

// The loading that follows the splash, in a pass of its own, so that a
// system that shows things only between passes shows the splash first.
void loadAndStart()
{
    Platform& system = platform();
    timeStartupStep(theStartupTimes.scenes, [] { loadScenes(theSceneSet); });
    loadAssets(mainWindow);
    timeStartupStep(theStartupTimes.metaballs, [] { initMetaBalls(); });

    splash.reset();
    system.showWindow(mainWindow, true);
    applyPartRenderState(partNumber);
    if (fullScreen)
        system.enterFullScreen(mainWindow);
    partStartTicks = system.tickCount();
    beginPartSteps(partNumber, 0);
    theStartupTimes.total = millisecondsSinceProcessStart();
    beginPart();
}

// One pass of the main loop: every pending event first, then one frame.
void mainLoopPass()
{
    if (!loaded) {
        loaded = true;
        loadAndStart();
        return;
    }
    Platform& system = platform();
    PlatformEvent event;
    while (system.pollEvent(event))
        mainWindowProc(event);
    const std::uint32_t elapsed = system.tickCount() - partStartTicks;
    // A fast frame may come a few milliseconds before the music's start of
    // the part; it shows the part's first moment.
    const int partTime = std::max(0, static_cast<std::int32_t>(elapsed) / 5);
    renderPartFrame(partNumber, partTime, mainWindow);
    system.swapBuffers(mainWindow);
    if (shellOptions.afterSwap)
        shellOptions.afterSwap();
}

}  // namespace

void endDemo()
{
    if (shellOptions.onEnd)
        shellOptions.onEnd();
    std::exit(shellOptions.exitStatus);
}

void loadAssets(PlatformWindow* window)
{
    StartupTimes& times = theStartupTimes;
    timeStartupStep(times.textures, [] { loadDemoTextures(); });
    // Our drawing of every part comes before the music: once the music
    // plays, part 1 waits only for the quick set-up steps below.
    if (shellOptions.warmUp)
        timeStartupStep(times.warmUp, [] { warmUpPartsAhead(); });
    timeStartupStep(times.music, [window] { theMusicPlayer = new MusicPlayer(window, "ZYT_MUCKE"); });
    timeStartupStep(times.particles, [] { setUpParticleClouds(); });
    timeStartupStep(times.blurGrid, [] { buildBlurGrid(theBlurGrid); });
    timeStartupStep(times.cloth, [] { setUpCloth(theCloth); });
}

void mainWindowProc(const PlatformEvent& event)
{
    switch (event.type) {
    case PlatformEvent::Type::Destroy:
        theSceneSet.clear();
        delete theMusicPlayer;
        theMusicPlayer = nullptr;
        endDemo();
    case PlatformEvent::Type::Size:
        if (event.resized)
            setPictureSize(event.width, event.height);
        glViewport(0, 0, event.width, event.height);
        break;
    case PlatformEvent::Type::KeyDown:
        if (event.key == kKeyEscape)
            quitRestoringDisplay();
        break;
    case PlatformEvent::Type::User:
        switchToNextPart();
        break;
    case PlatformEvent::Type::Other:
        break;
    }
}

void runDemo(const ShellOptions& options)
{
    shellOptions = options;
    setStepCatchUpLimit(options.catchUpLimit);
    Platform& system = platform();
    if (!system.init())
        failStartUp(nullptr, "RegisterClass failed");
    fullScreen = askFullScreen() ? 1 : 0;
    mainWindow = system.createMainWindow("Quittenhain", fullScreen != 0);
    if (mainWindow == nullptr)
        failStartUp(nullptr, "Window-Creation failed!");
    if (!system.createGLContext(mainWindow))
        failStartUp(mainWindow, "Choosing Pixelformat failed!");
    const PictureSize picture = system.pictureSize();
    setPictureSize(picture.width, picture.height);
    system.showWindow(mainWindow, false);
    splash = std::make_unique<SplashWindow>("SPLASH.TGA");
    partNumber = 1;
    system.runLoop(mainLoopPass);
    endDemo();   // a loop never ends by itself; should one return, the demo ends
}
