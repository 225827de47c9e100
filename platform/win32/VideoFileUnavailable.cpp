// Video capture drives FFmpeg as a child process through POSIX calls; this
// Windows build has no such path yet.  The class keeps its interface (the
// command line still recognises video names), and opening one says plainly
// that the build cannot capture video, so the run ends with a failure
// status before any frame is rendered.
#include <cctype>

#include "app/VideoFile.h"

bool VideoFile::isVideoName(const std::string& path)
{
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || path.find_first_of("/\\", dot) != std::string::npos)
        return false;
    std::string extension = path.substr(dot + 1);
    for (char& c : extension)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension == "mp4" || extension == "mkv" || extension == "webm";
}

VideoFile::~VideoFile() = default;

bool VideoFile::open(std::string& error)
{
    error = "video capture (" + path_ + ") is not available in this Windows build; capture PNG frames with "
            "--capture DIR instead";
    return false;
}

bool VideoFile::write(const FramePixels&, std::string& error)
{
    error = "video capture is not available in this Windows build";
    return false;
}

bool VideoFile::finish(std::string& error)
{
    error = "video capture is not available in this Windows build";
    return false;
}

void VideoFile::abandon() {}
