// The program's icon for desktop menus: the splash's quince on its plate.
#pragma once
#include <string>

#include "compose.hpp"

namespace tex {

// Where the plate and the quince go on an n x n icon.
struct IconLayout {
    Plate plate;
    float quinceX, quinceY, quinceScale;   // as paintQuince takes them
};
IconLayout iconLayout(int n);

// The icon at n x n pixels, upright, transparent around the plate.
AlphaImage makeIcon(int n);

// The same icon as an SVG document, for the theme's scalable size
// (iconsvg.cpp).
std::string iconSvg();

// Writes the icon at every size the hicolor theme gets, as
// DIR/hicolor/NxN/apps/quittenhain.png and
// DIR/hicolor/scalable/apps/quittenhain.svg. Throws on failure.
void writeIcons(const std::string& dir);

// The icon for the Windows executable, at 16, 32, 48 and 256 pixels, as the
// .ico file `path`. Throws on failure.
void writeWindowsIcon(const std::string& path);

}  // namespace tex
