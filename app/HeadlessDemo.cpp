#include "app/HeadlessDemo.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/Benchmark.h"
#include "app/HeadlessFrames.h"
#include "app/SelfCheck.h"
#include "app/Shell.h"
#include "assets/MusicPlayer.h"
#include "platform/HeadlessAudio.h"
#include "platform/HeadlessPlatform.h"

namespace {

std::function<void(int, double)> partListener;
HeadlessPlatform* runningPlatform = nullptr;

void partBegins(int part)
{
    reportPartStart(*runningPlatform, part);
    if (partListener) {
        const VirtualClock& clock = runningPlatform->clock();
        partListener(part, static_cast<double>(clock.frames) / clock.fps);
    }
}

}  // namespace

void runHeadlessDemo(const CommandLine& command, HeadlessPlatform& headless, std::unique_ptr<FrameSink> sink,
                     std::function<void(int part, double musicSeconds)> partStarted)
{
    static HeadlessAudio silentAudio(headless.clock());
    runningPlatform = &headless;
    partListener = std::move(partStarted);
    setPlatform(&headless);
    setAudio(&silentAudio);

    HeadlessRunOptions run;
    run.range = {command.fps, command.fromSeconds, command.untilSeconds, command.frames};
    // Refused before anything is rendered or written: a range the demo ends before.
    const std::string pastTheEnd = rangePastTheEnd(run.range, readCompiledInSyncTracks("ZYT_MUCKE"));
    if (!pastTheEnd.empty()) {
        std::fprintf(stderr, "quittenhain: %s\n", pastTheEnd.c_str());
        std::exit(2);
    }
    run.sink = std::move(sink);
    if (command.mode == CommandLine::Mode::Benchmark)
        measureHeadlessRun(run, command.json);
    if (command.selfCheck)
        checkHeadlessRun(run);
    if (!startHeadlessRun(headless, std::move(run)))
        std::exit(3);

    ShellOptions shell;
    shell.fullScreenChoice = FullScreenChoice::Windowed;
    // A capture is a tool: it succeeds when it wrote its frames.  A plain
    // headless run ends like the demo (a stop asked for with --until is a success).
    const bool capture = command.mode == CommandLine::Mode::CaptureFrames ||
                         command.mode == CommandLine::Mode::CaptureVideo ||
                         command.mode == CommandLine::Mode::Benchmark;
    shell.exitStatus = capture ? 0 : 1;
    shell.warmUp = command.warmUp;
    // The virtual clock never stalls: every step runs, at any rate.
    shell.catchUpLimit = 0;
    shell.onPartStart = partBegins;
    shell.onEnd = finishHeadlessRun;
    runDemo(shell);
}
