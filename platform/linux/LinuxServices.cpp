#include <cerrno>
#include <csignal>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/SystemServices.h"
#include "platform/linux/DesktopAudio.h"
#include "platform/linux/DesktopPlatform.h"

void prepareProcess() {}

std::unique_ptr<Platform> makeDesktopPlatform(bool pace)
{
    return std::make_unique<DesktopPlatform>(pace);
}

std::unique_ptr<AudioBackend> makeDesktopAudio()
{
    return std::make_unique<DesktopAudio>();
}

void catchInterruptions(void (*handler)(int))
{
    struct sigaction action {};
    action.sa_handler = handler;   // no SA_RESTART: a blocked write returns at once
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);   // a sink whose reader died reports it as an error instead
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
