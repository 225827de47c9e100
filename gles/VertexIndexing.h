#pragma once

#include <cstddef>
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
//
// Worth it only where a tenth or more of the vertices are shared, in lists
// of at least kIndexedAtLeast vertices (a small list's gain is smaller than
// its index buffer's cost): false, leaving `unique` and `indices`
// unspecified, where the list falls short, and as soon as its first
// vertices show no sharing at all (a list of faces with a normal each is
// then not hashed to the end, which matters for lists compiled every frame).
constexpr std::size_t kIndexedAtLeast = 64;
bool indexVertices(const std::vector<Vertex>& vertices, std::vector<Vertex>& unique,
                   std::vector<std::uint32_t>& indices);
