#pragma once

#include <GL/gl.h>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "gles/Vertex.h"

// What an assembled primitive is drawn as.
enum class DrawnAs { Triangles, Lines, Points, Nothing };

// How filled primitives come out: as triangles, or as their outlines
// (polygon mode GL_LINE).  Under flat shading an outline takes the colour
// of its polygon's flat vertex on every edge, so FlatOutlines give each
// edge that vertex's colour and normal.
enum class Fill { Polygons, Outlines, FlatOutlines };

// Turns the vertices of one glBegin/glEnd into independent triangles,
// lines or points, appended to `out`.  Quads and quad strips are split the way the driver
// splits them (each triangle ends with the quad's last vertex, which gives
// the quad's colour under flat shading); polygons become fans ending with
// their first vertex, which gives a polygon's flat colour.  As outlines,
// filled primitives give every triangle's three edges, a quad's four edges
// but never its diagonal, in the order the driver draws them.
DrawnAs assemblePrimitive(GLenum mode, Fill fill, const Vertex* vertices, std::size_t count,
                          std::vector<Vertex>& out);

// What a primitive of this mode comes out as under this fill, whatever its
// vertices (Nothing only for a mode glBegin refuses).
DrawnAs drawnAsFor(GLenum mode, Fill fill);

// Whether assembling a primitive of this mode under this fill only drops
// its incomplete last piece (separate points, lines or filled triangles):
// such a primitive can be gathered straight where it is drawn from.
bool assemblyKeepsVertices(GLenum mode, Fill fill);

// Whether a primitive of this mode under this fill can be drawn from its
// vertices as given, through the indices assembleIndices writes: filled
// primitives drawn as triangles or as smooth outlines, and lines.
bool assemblyIndexes(GLenum mode, Fill fill);

// A flat outline recolours each edge with its polygon's flat vertex, so it
// can be drawn through indices only where that changes nothing: nothing is
// lit and every vertex has the same colour.  flatOutlineMayIndex says
// whether a primitive begun now may turn out so (it is then gathered in
// place); flatOutlineIndexes whether its vertices, once all given, do.
// Texture coordinates generated from the normals then follow each vertex's
// own normal, as the driver's do.
bool flatOutlineMayIndex(GLenum mode, bool lit);
bool flatOutlineIndexes(const Vertex* vertices, std::size_t count, bool lit);

// What assemblePrimitive makes of the `count` vertices of a primitive that
// assemblyIndexes (or a flat outline that flatOutlineIndexes), as indices
// into them (plus `base`) appended to `out`: the same triangles or
// segments in the same order, each triangle ending with the same flat
// vertex.  Returns how many indices were appended.
std::size_t assembleIndices(GLenum mode, Fill fill, std::size_t count, std::uint32_t base,
                            std::vector<std::uint32_t>& out);

// The vertices of one piece of a mode made of separate pieces; 0 for
// strips, fans, loops and polygons, whose vertices depend on each other.
std::size_t verticesPerPiece(GLenum mode);

// True for the modes glBegin accepts.
bool isPrimitiveMode(GLenum mode);

// True for the modes that fill an area, the ones polygon mode affects.
bool isFilledMode(GLenum mode);
