// The program's icon for desktop menus: the splash's quince on its plate.
#pragma once
#include <string>

#include "tga.hpp"

namespace tex {

// The icon at n x n pixels, upright, transparent around the plate.
AlphaImage makeIcon(int n);

// Writes the icon at every size the hicolor theme gets, as
// DIR/hicolor/NxN/apps/quittenhain.png. Throws on failure.
void writeIcons(const std::string& dir);

}  // namespace tex
