#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/CommandLine.h"
#include "app/FrameLog.h"
#include "app/HeadlessDemo.h"
#include "app/HeadlessFrames.h"
#include "app/PngFrames.h"
#include "app/QueuedSink.h"
#include "app/StartupTimes.h"
#include "app/VideoFile.h"
#include "app/Shell.h"
#include "assets/MusicPlayer.h"
#include "platform/AudioBackend.h"
#include "platform/HeadlessPlatform.h"
#include "platform/Platform.h"
#include "platform/SystemServices.h"

namespace {

std::unique_ptr<FrameSink> videoSink(const CommandLine& command, std::uint64_t firstFrame)
{
    auto video = std::make_unique<VideoFile>(command.captureTarget, command.fps, command.scale, firstFrame);
    video->setFrameSize(command.resolution.width, command.resolution.height);
    return std::make_unique<QueuedSink>(std::move(video));
}

[[noreturn]] void runHeadless(const CommandLine& command)
{
    static HeadlessPlatform headless(command.fps, {command.resolution.width, command.resolution.height});
    std::unique_ptr<FrameSink> sink;
    if (command.mode == CommandLine::Mode::CaptureFrames)
        sink = std::make_unique<QueuedSink>(std::make_unique<PngFrames>(command.captureTarget));
    else if (command.mode == CommandLine::Mode::CaptureVideo)
        sink = videoSink(command, CaptureRange{command.fps, command.fromSeconds, command.untilSeconds,
                                               command.frames}.firstWritten());
    runHeadlessDemo(command, headless, std::move(sink));
}

// Opened before anything is shown, so that a log that cannot be written is
// said at once; a log not written whole at the end fails the run.
void keepFrameLog(const std::string& path, ShellOptions& shell)
{
    static FrameLog log(path);
    std::string error;
    if (!log.open(error)) {
        std::fprintf(stderr, "quittenhain: %s\n", error.c_str());
        std::exit(3);
    }
    shell.afterSwap = [] {
        const double musicMs =
            theMusicPlayer != nullptr ? theMusicPlayer->position() * 1000.0 / kPcmBytesPerSecond : 0.0;
        log.recordSwap(partNumber, musicMs);
    };
    shell.onEnd = [] {
        const PictureSize picture = platform().pictureSize();
        std::string failure;
        if (!log.write(picture.width, picture.height, failure)) {
            std::fprintf(stderr, "quittenhain: %s\n", failure.c_str());
            std::exit(3);
        }
        std::fprintf(stderr, "start-up, ms: %s\n", describeStartupTimes(theStartupTimes).c_str());
    };
}

[[noreturn]] void runOnDesktop(const CommandLine& command)
{
    ShellOptions shell;
    if (!command.frameLog.empty())
        keepFrameLog(command.frameLog, shell);
    const Resolution& resolution = command.resolution;
    static const std::unique_ptr<Platform> desktop =
        makeDesktopPlatform(command.vsync, {resolution.width, resolution.height}, resolution.native);
    static const std::unique_ptr<AudioBackend> speakers = makeDesktopAudio();
    setPlatform(desktop.get());
    setAudio(speakers.get());
    shell.fullScreenChoice = command.fullScreen;
    shell.warmUp = command.warmUp;
    runDemo(shell);
}

}  // namespace

int main(int argc, char** argv)
{
    prepareProcess();
    const ParsedCommandLine parsed = parseCommandLine(argc, argv);
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "quittenhain: %s\n\n%s", parsed.error.c_str(), usageText());
        return 2;
    }
    const CommandLine& command = parsed.options;
    switch (command.mode) {
    case CommandLine::Mode::Help:
        std::fputs(usageText(), stdout);
        return 0;
    case CommandLine::Mode::Version:
        std::fputs(versionText(), stdout);
        return 0;
    case CommandLine::Mode::Headless:
    case CommandLine::Mode::CaptureFrames:
    case CommandLine::Mode::CaptureVideo:
    case CommandLine::Mode::Benchmark:
        runHeadless(command);
    case CommandLine::Mode::Demo:
        runOnDesktop(command);
    }
    return 1;
}
