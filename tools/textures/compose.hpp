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

// The colours of the plate and the quince, shared by the pictures and the
// icon's SVG drawing.
namespace palette {
inline const Col plateTop = rgb8(46, 60, 38), plateFoot = rgb8(12, 18, 14);
inline const Col glow = Col(0.85f, 0.62f, 0.16f);
inline const Col rimTop = rgb8(250, 232, 170), rimFoot = rgb8(170, 150, 90);
inline const Col fruitLight = rgb8(255, 236, 120), fruitDeep = rgb8(196, 138, 24);
inline const Col stalk = rgb8(90, 60, 30);
inline const Col leafTop = rgb8(140, 190, 80), leafFoot = rgb8(60, 110, 40);
}  // namespace palette
constexpr float kShadowOpacity = 0.62f, kPlateOpacity = 0.9f, kGlowStrength = 0.22f;

// The leaf's spine at t in [0, 1] and its half width there, for a quince
// drawn as paintQuince draws it.
struct LeafPoint { float x, y, r; };
LeafPoint leafPoint(float cx, float fy, float s, float t);

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
