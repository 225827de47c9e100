#pragma once
#include <functional>
#include <memory>

#include "app/CommandLine.h"
#include "app/FrameSink.h"

class HeadlessPlatform;

// Runs the demo headless as the command line asks (--headless, a capture,
// --benchmark), on the given platform, with silent audio on its virtual
// clock.  sink takes the frames a capture writes (null for the other modes);
// partStarted, when set, is told of each part with its music time in
// seconds.  Never returns.
[[noreturn]] void runHeadlessDemo(const CommandLine& command, HeadlessPlatform& headless,
                                  std::unique_ptr<FrameSink> sink,
                                  std::function<void(int part, double musicSeconds)> partStarted = {});
