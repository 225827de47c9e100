// Baseline JPEG output through TurboJPEG.
#pragma once
#include <string>

#include "image.hpp"

namespace tex {

// Writes an 8-bit, 3-component baseline JPEG. The rows are written in the
// order they are stored in img (no flipping here). Throws on failure.
void writeJpeg(const std::string& path, const Image& img, int quality, bool subsample420);

}  // namespace tex
