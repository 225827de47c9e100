#pragma once
#include <chrono>
#include <string>

// Real time spent in each step of start-up, in milliseconds, for the
// benchmark's report.  Filled as the steps run; costs two clock reads each.
struct StartupTimes {
    double scenes = 0;
    double textures = 0;
    double music = 0;
    double particles = 0;
    double blurGrid = 0;
    double cloth = 0;
    double metaballs = 0;
    double warmUp = 0;       // drawing every part once offscreen, see WarmUp.h
    double total = 0;        // process start to the main loop
};

extern StartupTimes theStartupTimes;

// Runs `step` and adds its duration to `into`.
template <typename Step>
void timeStartupStep(double& into, Step&& step)
{
    const auto begin = std::chrono::steady_clock::now();
    step();
    into += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count();
}

// Milliseconds of real time since the process started.
double millisecondsSinceProcessStart();

// "scenes 62.6, textures 9.0, ..., warm-up 408.2; total 539.3": each step
// and the total, in milliseconds.
std::string describeStartupTimes(const StartupTimes& times);
