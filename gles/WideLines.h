#pragma once

#include <cstddef>
#include <vector>

#include "gles/Vertex.h"

// One corner of the band a wide line segment is drawn as: the end's own
// vertex, the segment's other end, and the side of the line it lies on.
// The vertex shader moves it half the width across the line's minor axis
// in window pixels, as wide aliased lines are drawn.
struct WideLineVertex {
    Vertex vertex;
    float otherEnd[4];
    float side;
};

// Each segment (pairs of vertices) as two triangles that both end at the
// segment's second end, so flat shading gives the segment's colour.
void expandWideLines(const Vertex* lines, std::size_t count, std::vector<WideLineVertex>& out);
