// Which names are videos and what their encoders take: the command line asks
// in every build, the web page's too, which has no capture (VideoFile.cpp).
#include <cctype>

#include "app/VideoFile.h"

std::string VideoFile::extensionOf(const std::string& path)
{
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || path.find_first_of("/\\", dot) != std::string::npos)
        return "";
    std::string extension = path.substr(dot + 1);
    for (char& c : extension)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension;
}

bool VideoFile::isVideoName(const std::string& path)
{
    const std::string extension = extensionOf(path);
    return extension == "mp4" || extension == "mkv" || extension == "webm";
}

bool VideoFile::takesOddSizes(const std::string& path)
{
    return extensionOf(path) == "webm";
}
