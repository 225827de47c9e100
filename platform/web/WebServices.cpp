#include "platform/Interruptions.h"
#include "platform/SystemServices.h"

// The demo in a page is made by app/WebMain.cpp, not through the desktop
// factories.  A page has no processes, signals, folders or FFmpeg: captures to files
// do not exist in the browser, and nothing interrupts a run from outside.

void prepareProcess() {}

bool desktopRendersAnyResolution()
{
    return true;
}

std::string ffmpegLocationNote()
{
    return "";
}

std::string missingFfmpegAdvice()
{
    return "a web page cannot run FFmpeg";
}

bool makeDirectory(const std::string&)
{
    return false;
}

long residentMemoryKb()
{
    return 0;
}

void catchInterruptions() {}

Interruption pendingInterruption()
{
    return Interruption::None;
}

bool interruptionsCanCome()
{
    return false;
}
