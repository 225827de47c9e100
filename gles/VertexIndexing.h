#pragma once

#include <cstdint>
#include <vector>

#include "gles/Vertex.h"

// A list's assembled vertices (three a triangle, two a line, each given
// again wherever primitives share it) as the distinct vertices and one
// index per vertex given: drawn through the indices, each shared vertex is
// shaded once instead of once per primitive that uses it.  Vertices merge
// only when equal bit for bit (a NaN mark with the same mark, never 0.0
// with -0.0), so the indexed draw gives the driver the same values in the
// same order.  `unique` holds the vertices in the order first met.
void indexVertices(const std::vector<Vertex>& vertices, std::vector<Vertex>& unique,
                   std::vector<std::uint32_t>& indices);
