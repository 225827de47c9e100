#pragma once
#include <string>

// Whether a video FFmpeg says it wrote really holds a picture and a sound
// stream of the codecs asked for: an encoder that exits 0 having written
// nothing or garbage must not pass for a capture.  Asks FFprobe (or, without
// it, FFmpeg itself) to read the file.  Returns "" when the file is sound,
// otherwise what is wrong with it.  `scratch` is a folder for the answer.
std::string videoStreamsMissing(const std::string& file, const std::string& videoCodec,
                                const std::string& audioCodec, const std::string& scratch);
