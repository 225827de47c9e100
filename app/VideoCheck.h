#pragma once
#include <functional>
#include <string>

// Whether a video FFmpeg says it wrote really holds a picture and a sound
// stream of the codecs asked for: an encoder that exits 0 having written
// nothing or garbage must not pass for a capture.  An empty or unreadable
// file fails at once; otherwise FFprobe (or, without it, FFmpeg itself) is
// asked to read it, and stopped when stopRequested() turns true or when it
// takes far longer than reading a video does.  Returns "" when the file is
// sound, otherwise what is wrong with it.  `file` and `scratch` (a folder
// for the answer) are absolute paths, which the tools never read as options
// or URLs.
std::string videoStreamsMissing(const std::string& file, const std::string& videoCodec,
                                const std::string& audioCodec, const std::string& scratch,
                                const std::function<bool()>& stopRequested);
