// Layer compositing for the pictures with an alpha channel (the splash and
// the program's icon): coverage masks, "over" blending, the rounded plate
// they both sit on and the quince they both show.
#pragma once
#include <functional>

#include "image.hpp"
#include "tga.hpp"

namespace tex {

// Coverage of whatever draw paints in white onto black.
Gray maskOf(int w, int h, const std::function<void(Image&)>& draw);
// Anti-aliased rounded rectangle [x0,x1) x [y0,y1) with corner radius r.
Gray roundedRect(int w, int h, float x0, float y0, float x1, float y1, float r);
Gray shifted(const Gray& m, int dx, int dy);
// Porter-Duff "over" of one layer onto the picture, straight (not
// premultiplied) colour: colour(x, y) at coverage(x, y) * opacity.
void over(AlphaImage& dst, const Gray& coverage, float opacity, const std::function<Col(int, int)>& colour);

// A dark leaf-green plate with a pale gold rim and a soft drop shadow, lit
// by a warm glow: it reads on light desktops (shadow, dark plate) and dark
// ones (rim, gold) alike.
struct Plate {
    float x0, y0, x1, y1, radius;
    int shadowDx, shadowDy;
    float shadowBlur;
    float glowX, glowY, glowRx, glowRy;   // centre and radii of the glow
    float rimWidth;
};
void paintPlate(AlphaImage& img, const Plate& plate);

// A golden quince with its stalk and a leaf, centred on x = cx with the
// fruit's upper bulge at y = fy; scale 1 is the size on the splash.
void paintQuince(AlphaImage& img, float cx, float fy, float scale);

}  // namespace tex
