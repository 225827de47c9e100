#pragma once
#include <cstdint>
#include <functional>

#include "app/StepClock.h"

struct PlatformEvent;
struct PlatformWindow;

// The timeline's state, alive for the whole run.
extern int partNumber;                  // 1 to 11
extern std::uint32_t partStartTicks;    // tick count when the current part began
extern unsigned char fullScreen;        // 1 when the display was switched to full screen
extern PlatformWindow* mainWindow;

enum class FullScreenChoice { Ask, Windowed, FullScreen };

struct ShellOptions {
    FullScreenChoice fullScreenChoice = FullScreenChoice::Ask;
    // The status every way out ends with.  The demo ends with 1; tools that
    // run it (frame capture) end with 0 once they have what they asked for.
    int exitStatus = 1;
    // Draw every part once while loading, so the driver builds its code for
    // each state combination before the cuts rather than at them.
    bool warmUp = true;
    // The most effect steps a frame catches up after a stall (0: all).
    int catchUpLimit = kRealTimeCatchUpLimit;
    // Told of every part as it begins, before its first frame.
    std::function<void(int part)> onPartStart;
    // Called right after every buffer swap.
    std::function<void()> afterSwap;
    // Called on every way out, just before the process ends.
    std::function<void()> onEnd;
};

// Starts the demo on the chosen platform and runs it; never returns.
[[noreturn]] void runDemo(const ShellOptions& options);

// The start-up asset sequence: textures, music, particles, grids, cloth.
void loadAssets(PlatformWindow* window);

// Handles one window event as the demo's window procedure.
void mainWindowProc(const PlatformEvent& event);

// The process's one way out.
[[noreturn]] void endDemo();
