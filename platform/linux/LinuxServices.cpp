#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/SystemServices.h"
#include "platform/linux/DesktopAudio.h"
#include "platform/linux/DesktopPlatform.h"

void prepareProcess() {}

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
