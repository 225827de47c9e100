#include <windows.h>

#include <psapi.h>
#include <cstdio>
#include <direct.h>
#include <sys/stat.h>
#include <cerrno>

#include "platform/SystemServices.h"
#include "platform/win32/WaveOutAudio.h"
#include "platform/win32/Win32Platform.h"

namespace {

// A GUI program starts without standard streams.  Started from a console,
// it joins that console, so that Ctrl-C there reaches it, and writes to it
// unless its streams were redirected (a pipe, a file): those are kept.
// Text is UTF-8 throughout, the console is told so.
void useParentConsole()
{
    const bool redirected = GetStdHandle(STD_ERROR_HANDLE) != nullptr &&
                            GetFileType(GetStdHandle(STD_ERROR_HANDLE)) != FILE_TYPE_UNKNOWN;
    if (!AttachConsole(ATTACH_PARENT_PROCESS))
        return;
    SetConsoleOutputCP(CP_UTF8);
    if (redirected)
        return;
    std::freopen("CONOUT$", "w", stdout);
    std::freopen("CONOUT$", "w", stderr);
}

}  // namespace

void prepareProcess()
{
    useParentConsole();
    // The millisecond clock must step by 1 ms, not the default 15.6 ms.
    timeBeginPeriod(1);
}

std::unique_ptr<Platform> makeDesktopPlatform(bool pace, PictureSize picture, bool screenPicture)
{
    // The Windows window is the 640x480 of the original; other sizes are
    // rendered by the headless runs (captures, benchmark) only.
    if (screenPicture || picture.width != kPictureWidth || picture.height != kPictureHeight)
        std::fprintf(stderr, "quittenhain: --resolution applies to captures and the benchmark in the Windows "
                             "build; the window plays at 640x480\n");
    return std::make_unique<Win32Platform>(pace);
}

bool desktopRendersAnyResolution()
{
    return false;
}

std::unique_ptr<AudioBackend> makeDesktopAudio()
{
    return std::make_unique<WaveOutAudio>();
}

bool makeDirectory(const std::string& path)
{
    if (_mkdir(path.c_str()) == 0 || errno == EEXIST) {
        struct _stat info {};
        return _stat(path.c_str(), &info) == 0 && (info.st_mode & _S_IFDIR) != 0;
    }
    return false;
}

long residentMemoryKb()
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
        return 0;
    return static_cast<long>(counters.WorkingSetSize / 1024);
}
