// Where one object of a scene text covers the picture at a scene frame:
// its triangles moved by their animation keys, seen through the scene's
// camera with the part's projection, filled into a mask.
#pragma once
#include <string>
#include <vector>

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

// The outlines of a scene at a scene frame: the pixels where one object
// meets another, the fog beyond `farEnd` or the sky, or passes in front of
// itself, grown by `rim` pixels on every side. Where the camera moves these
// pixels change as the outline passes over them, whatever the textures.
// Throws as objectMask.
Mask sceneEdges(const std::string& scenePath, unsigned sceneFrame, const View& view, double farEnd, int rim = 1);

// Where the geometry changes a pixel over successive scene frames: the
// outlines of each, and the pixels that show another surface in one than in
// the next (an object moving in or out, or the same one at another depth),
// each grown by `rim` pixels. A near column sweeping across the picture
// changes every pixel it passes, dark flank and all; texture crawl changes
// pixels that show the same surface. Throws as objectMask.
Mask geometryChanges(const std::string& scenePath, const std::vector<unsigned>& sceneFrames, const View& view,
                     double farEnd, int rim = 1);

}  // namespace frames
