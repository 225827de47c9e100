#include "app/Resolution.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

bool parseWhole(const char* from, const char* to, long& value)
{
    if (from == to || *from < '0' || *from > '9')
        return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtol(from, &end, 10);
    return errno == 0 && end == to;
}

}  // namespace

bool parseResolution(const char* text, Resolution& resolution, std::string& error)
{
    if (std::strcmp(text, "native") == 0) {
        resolution = Resolution{};
        resolution.native = true;
        return true;
    }
    const char* cross = std::strchr(text, 'x');
    long width = 0;
    long height = 0;
    if (cross == nullptr || !parseWhole(text, cross, width) ||
        !parseWhole(cross + 1, text + std::strlen(text), height)) {
        error = "--resolution needs WIDTHxHEIGHT (like 1920x1440) or native";
        return false;
    }
    // The picture is composed for 4:3; any other shape would stretch it.
    if (width * 3 != height * 4) {
        error = "--resolution " + std::string(text) + " is not of aspect 4:3 (like 1280x960 or 1920x1440)";
        return false;
    }
    if (width < 640 || width > kLargestPictureWidth) {
        error = "--resolution must lie between 640x480 and 4096x3072";
        return false;
    }
    resolution = Resolution{static_cast<int>(width), static_cast<int>(height), false};
    return true;
}
