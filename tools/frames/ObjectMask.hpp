// Where one object of a scene text covers the picture at a scene frame:
// its triangles moved by their animation keys, seen through the scene's
// camera with the part's projection, filled into a mask.
#pragma once
#include <string>

#include "Measures.hpp"

namespace frames {

struct View {
    double fovyDegrees = 45;
    int width = 640, height = 480;
};

// Throws std::runtime_error when the scene cannot be read or has no such
// object or no camera. The mask leaves out a one-pixel rim, whose pixels
// mix the object with what lies behind it.
Mask objectMask(const std::string& scenePath, const std::string& objectName, unsigned sceneFrame, const View& view);

}  // namespace frames
