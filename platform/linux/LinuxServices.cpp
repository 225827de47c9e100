#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/SystemServices.h"
#include "platform/linux/DesktopAudio.h"
#include "platform/linux/DesktopPlatform.h"

// A program started with its input, output or error output closed would
// hand those numbers to the first files it opens: progress text meant for
// the terminal would land in a video.  They are held by /dev/null instead.
void prepareProcess()
{
    for (int standard = 0; standard <= 2; ++standard) {
        if (fcntl(standard, F_GETFD) != -1 || errno != EBADF)
            continue;
        const int held = open("/dev/null", O_RDWR);   // the lowest free number: this one
        if (held < 0)
            _exit(3);   // no file can be trusted to go where it should
        if (held != standard)
            close(held);
    }
}

std::unique_ptr<Platform> makeDesktopPlatform(bool pace, PictureSize picture, bool screenPicture)
{
    return std::make_unique<DesktopPlatform>(pace, picture, screenPicture);
}

std::unique_ptr<AudioBackend> makeDesktopAudio()
{
    return std::make_unique<DesktopAudio>();
}

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
    return "not found in the folders of PATH; install it (Debian package: ffmpeg)";
}

bool makeDirectory(const std::string& path)
{
    if (mkdir(path.c_str(), 0777) == 0 || errno == EEXIST) {
        struct stat info {};
        return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    }
    return false;
}

long residentMemoryKb()
{
    long pages = 0;
    long resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}
