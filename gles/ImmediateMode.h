#pragma once

#include <GL/gl.h>
#include <cstddef>
#include <vector>

#include "gles/Vertex.h"

// What an assembled primitive is drawn as.
enum class DrawnAs { Triangles, Lines, Points, Nothing };

// Turns the vertices of one glBegin/glEnd into independent triangles,
// lines or points.  Quads and quad strips are split the way the driver
// splits them (each triangle ends with the quad's last vertex, which gives
// the quad's colour under flat shading); polygons become fans ending with
// their first vertex, which gives a polygon's flat colour.  With edges set
// (polygon mode GL_LINE) filled primitives give their outline instead:
// every triangle's three edges, a quad's four edges but never its diagonal.
// Each line ends with the vertex whose colour it takes when shading is flat.
DrawnAs assemblePrimitive(GLenum mode, bool edges, const Vertex* vertices, std::size_t count,
                          std::vector<Vertex>& out);

// True for the modes glBegin accepts.
bool isPrimitiveMode(GLenum mode);

// True for the modes that fill an area, the ones polygon mode affects.
bool isFilledMode(GLenum mode);
