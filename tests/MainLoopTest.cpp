#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <vector>

#include "app/Shell.h"
#include "app/StartupTimes.h"
#include "app/Timeline.h"
#include "assets/MusicPlayer.h"
#include "fx/ParticleSystem.h"
#include "platform/HeadlessAudio.h"
#include "platform/HeadlessPlatform.h"

namespace {

// A platform that, like a browser, shows things only when the program hands
// control back: its loop records what start-up left on screen, then runs
// passes by hand and ends the process with a status saying what it saw.
class PassByPassPlatform : public HeadlessPlatform {
public:
    PassByPassPlatform() : HeadlessPlatform(60) {}

    bool screenArea(ScreenRect& area) override
    {
        area = {0, 0, 1024, 768};
        return true;
    }
    bool showSplash(const ScreenRect&, const std::vector<std::uint8_t>&, const char*) override
    {
        splashUp = true;
        return true;
    }
    void hideSplash() override { splashUp = false; }

    [[noreturn]] void runLoop(void (*pass)()) override
    {
        loop(pass);
        std::exit(failure);
    }

    bool splashUp = false;
    int failure = 0;
    std::function<void(void (*)())> loop;
};

struct Sandbox {
    PassByPassPlatform platform;
    HeadlessAudio audio{platform.clock()};
    Sandbox()
    {
        setPlatform(&platform);
        setAudio(&audio);
    }
};

ShellOptions quickStart()
{
    ShellOptions options;
    options.fullScreenChoice = FullScreenChoice::Windowed;
    options.warmUp = false;
    options.exitStatus = 3;
    return options;
}

TEST(MainLoop, TheSplashIsUpBeforeTheLoopAndTheLoadingWaitsForItsFirstPass)
{
    EXPECT_EXIT(
        {
            Sandbox sandbox;
            sandbox.platform.loop = [&sandbox](void (*pass)()) {
                // What a browser shows now is what start-up left: the splash, nothing loaded yet.
                if (!sandbox.platform.splashUp || theMusicPlayer != nullptr)
                    sandbox.platform.failure = 10;
                pass();
                if (sandbox.platform.splashUp || theMusicPlayer == nullptr || sandbox.platform.clock().frames != 0)
                    sandbox.platform.failure += 20;   // the first pass loads and draws nothing yet
                pass();
                if (sandbox.platform.clock().frames != 1)
                    sandbox.platform.failure += 40;   // each later pass draws one frame
            };
            runDemo(quickStart());
        },
        ::testing::ExitedWithCode(0), "");
}

TEST(MainLoop, APassHandlesEveryPendingEventBeforeItsOneFrame)
{
    EXPECT_EXIT(
        {
            Sandbox sandbox;
            sandbox.platform.loop = [&sandbox](void (*pass)()) {
                pass();   // loading
                sandbox.platform.postUserEvent(nullptr, kPartSwitchCode);
                sandbox.platform.postUserEvent(nullptr, kPartSwitchCode);
                const std::uint64_t frames = sandbox.platform.clock().frames;
                pass();
                if (partNumber != 3)
                    sandbox.platform.failure = 10;
                if (sandbox.platform.clock().frames != frames + 1)
                    sandbox.platform.failure += 20;
            };
            runDemo(quickStart());
        },
        ::testing::ExitedWithCode(0), "");
}

// The music's start as the start-up steps saw it.
class WatchedAudio : public HeadlessAudio {
public:
    using HeadlessAudio::HeadlessAudio;
    bool streamPlay(AudioStream stream, bool flush, std::uint32_t flags) override
    {
        drawnAhead = theStartupTimes.warmUp > 0.0;
        particlesSetUp = glowParticles.texture != 0;
        return HeadlessAudio::streamPlay(stream, flush, flags);
    }
    bool drawnAhead = false;
    bool particlesSetUp = true;
};

// Our drawing of every part while loading takes a noticeable time (seconds in
// a browser): done after the music started, it would cut part 1 short by as
// much.  The loading steps the music is started among keep their order.
TEST(MainLoop, EveryPartIsDrawnOnceBeforeTheMusicStartsAndTheSetUpAfterItStays)
{
    EXPECT_EXIT(
        {
            PassByPassPlatform platform;
            WatchedAudio audio{platform.clock()};
            setPlatform(&platform);
            setAudio(&audio);
            platform.loop = [&](void (*pass)()) {
                pass();
                if (!audio.drawnAhead)
                    platform.failure = 10;
                if (audio.particlesSetUp)
                    platform.failure += 20;
                if (glowParticles.texture == 0)
                    platform.failure += 40;
            };
            ShellOptions options = quickStart();
            options.warmUp = true;
            runDemo(options);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
