// What a viewer sees of a scene's lamps: the whole scene rasterised with a
// depth buffer from its camera, so a lamp behind a gate or a column is not
// counted, and lamps deeper than the fog's end (wholly fogged) are not
// either. The lamps are one object of the scene; each separate globe of it
// (faces joined by shared corners) is one lamp.
#pragma once
#include <string>
#include <vector>

#include "Measures.hpp"
#include "ObjectMask.hpp"

namespace frames {

struct LampFrame {
    double largestShare = 0;   // the largest lamp's visible pixels / all pixels
    bool atTopEdge = false;    // a lamp pixel in the top row
    bool stacked = false;      // two lamps one above the other in one column
};

class LampView {
public:
    // Throws std::runtime_error when the scene cannot be read or has no
    // such object or no camera.
    LampView(const std::string& scenePath, const std::string& lampObject, const View& view, double fogEnd);
    ~LampView();
    LampView(const LampView&) = delete;
    LampView& operator=(const LampView&) = delete;

    int lampCount() const;
    // Per pixel, top row first: 0 where no lamp shows, else the lamp's
    // number from 1.
    std::vector<int> lampPixels(unsigned sceneFrame) const;
    LampFrame measure(unsigned sceneFrame) const;

private:
    struct Data;
    Data* data_;
};

// Two lamps count as stacked when each shows at least `minPixels`, their
// columns overlap by at least half the narrower one's width, and one lies
// wholly above the other, less than the taller one's height apart: balls
// in a column, not a near lamp high over a far one on the horizon.
LampFrame lampFrame(const std::vector<int>& lampPixels, int width, int height, int minPixels = 20);

// The luminance spread of the middle (as centreSpread) over the pixels that
// `mask` leaves out, the mask grown by one pixel to take in the rims.
double centreSpreadWithout(const Picture& frame, const Mask& mask);

}  // namespace frames
