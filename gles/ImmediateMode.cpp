#include "gles/ImmediateMode.h"

#include <algorithm>

namespace {

// The outlines of a triangle and of a quad, each edge with the polygon's
// flat vertex, in the order the driver draws them; shared by the copying
// and the indexing assemblers, which must give the same edges.
template <typename Pieces>
void outlineTriangle(Pieces& pieces, std::size_t a, std::size_t b, std::size_t c)
{
    pieces.line(c, a, c);
    pieces.line(a, b, c);
    pieces.line(b, c, c);
}

template <typename Pieces>
void outlineQuad(Pieces& pieces, std::size_t a, std::size_t b, std::size_t c, std::size_t d)
{
    pieces.line(d, a, d);
    pieces.line(a, b, d);
    pieces.line(b, c, d);
    pieces.line(c, d, d);
}

class Assembler {
public:
    Assembler(const Vertex* vertices, Fill fill, std::vector<Vertex>& out)
        : v_(vertices), edges_(fill != Fill::Polygons), flat_(fill == Fill::FlatOutlines), out_(out)
    {
    }

    void triangle(std::size_t a, std::size_t b, std::size_t c)
    {
        if (edges_) {
            outlineTriangle(*this, a, b, c);
        } else {
            out_.push_back(v_[a]);
            out_.push_back(v_[b]);
            out_.push_back(v_[c]);
        }
    }

    // The quad a, b, c, d as the triangles (a, b, d) and (b, c, d); its
    // outline in the order the driver draws it.
    void quad(std::size_t a, std::size_t b, std::size_t c, std::size_t d)
    {
        if (edges_) {
            outlineQuad(*this, a, b, c, d);
        } else {
            triangle(a, b, d);
            triangle(b, c, d);
        }
    }

    void line(std::size_t a, std::size_t b) { line(a, b, b); }

    // A polygon's edge; `flat` is the polygon's vertex that colours it.
    void line(std::size_t a, std::size_t b, std::size_t flat)
    {
        out_.push_back(v_[a]);
        out_.push_back(v_[b]);
        if (!flat_)
            return;
        for (std::size_t end = out_.size() - 2; end < out_.size(); ++end) {
            std::copy(v_[flat].normal, v_[flat].normal + 3, out_[end].normal);
            std::copy(v_[flat].colour, v_[flat].colour + 4, out_[end].colour);
        }
    }

    void point(std::size_t a) { out_.push_back(v_[a]); }

    bool edges() const { return edges_; }

private:
    const Vertex* v_;
    bool edges_;
    bool flat_;
    std::vector<Vertex>& out_;
};

template <typename Pieces>
DrawnAs assembleLines(GLenum mode, Pieces& assembler, std::size_t count)
{
    if (mode == GL_LINES) {
        for (std::size_t i = 0; i + 1 < count; i += 2)
            assembler.line(i, i + 1);
    } else {
        for (std::size_t i = 0; i + 1 < count; ++i)
            assembler.line(i, i + 1);
        if (mode == GL_LINE_LOOP && count >= 2)
            assembler.line(count - 1, 0);
    }
    return count >= 2 ? DrawnAs::Lines : DrawnAs::Nothing;
}

// Makes the triangles (or outlines) of a filled primitive out of
// assembler.triangle and assembler.quad, whether the assembler copies
// vertices or writes indices.
template <typename Pieces>
void assembleFilled(GLenum mode, Pieces& assembler, std::size_t count)
{
    switch (mode) {
    case GL_TRIANGLES:
        for (std::size_t i = 0; i + 2 < count; i += 3)
            assembler.triangle(i, i + 1, i + 2);
        break;
    case GL_TRIANGLE_STRIP:
        // Every other triangle is turned around to keep the winding.
        for (std::size_t i = 0; i + 2 < count; ++i)
            assembler.triangle(i + (i & 1), i + 1 - (i & 1), i + 2);
        break;
    case GL_TRIANGLE_FAN:
        for (std::size_t i = 1; i + 1 < count; ++i)
            assembler.triangle(0, i, i + 1);
        break;
    case GL_QUADS:
        for (std::size_t i = 0; i + 3 < count; i += 4)
            assembler.quad(i, i + 1, i + 2, i + 3);
        break;
    case GL_QUAD_STRIP:
        for (std::size_t i = 0; i + 3 < count; i += 2)
            assembler.quad(i + 2, i, i + 1, i + 3);
        break;
    default:   // GL_POLYGON: its outline, or a fan
        if (count < 3)
            break;
        if (assembler.edges()) {
            for (std::size_t i = 0; i < count; ++i)
                assembler.line(i, (i + 1) % count, 0);
            break;
        }
        for (std::size_t i = 1; i + 1 < count; ++i)
            assembler.triangle(i, i + 1, 0);
        break;
    }
}

// The triangles of a filled primitive, its outline's edges, or the
// segments of lines, as indices into its vertices, in the order and with
// the flat vertex last as Assembler gives them.
class IndexAssembler {
public:
    IndexAssembler(std::uint32_t base, bool edges, std::vector<std::uint32_t>& out)
        : base_(base), edges_(edges), out_(out)
    {
    }

    void triangle(std::size_t a, std::size_t b, std::size_t c)
    {
        if (edges_) {
            outlineTriangle(*this, a, b, c);
            return;
        }
        out_.push_back(base_ + static_cast<std::uint32_t>(a));
        out_.push_back(base_ + static_cast<std::uint32_t>(b));
        out_.push_back(base_ + static_cast<std::uint32_t>(c));
    }

    void quad(std::size_t a, std::size_t b, std::size_t c, std::size_t d)
    {
        if (edges_) {
            outlineQuad(*this, a, b, c, d);
            return;
        }
        triangle(a, b, d);
        triangle(b, c, d);
    }

    void line(std::size_t a, std::size_t b)
    {
        out_.push_back(base_ + static_cast<std::uint32_t>(a));
        out_.push_back(base_ + static_cast<std::uint32_t>(b));
    }
    void line(std::size_t a, std::size_t b, std::size_t) { line(a, b); }
    bool edges() const { return edges_; }

private:
    std::uint32_t base_;
    bool edges_;
    std::vector<std::uint32_t>& out_;
};

}  // namespace

bool isPrimitiveMode(GLenum mode)
{
    return mode <= GL_POLYGON;   // GL_POINTS is 0, GL_POLYGON the last of the ten
}

bool isFilledMode(GLenum mode)
{
    return mode >= GL_TRIANGLES && mode <= GL_POLYGON;
}

DrawnAs drawnAsFor(GLenum mode, Fill fill)
{
    if (!isPrimitiveMode(mode))
        return DrawnAs::Nothing;
    if (mode == GL_POINTS)
        return DrawnAs::Points;
    if (!isFilledMode(mode) || fill != Fill::Polygons)
        return DrawnAs::Lines;
    return DrawnAs::Triangles;
}

bool assemblyKeepsVertices(GLenum mode, Fill fill)
{
    return mode == GL_POINTS || mode == GL_LINES || (mode == GL_TRIANGLES && fill == Fill::Polygons);
}

std::size_t verticesPerPiece(GLenum mode)
{
    switch (mode) {
    case GL_POINTS: return 1;
    case GL_LINES: return 2;
    case GL_TRIANGLES: return 3;
    case GL_QUADS: return 4;
    default: return 0;
    }
}

DrawnAs assemblePrimitive(GLenum mode, Fill fill, const Vertex* vertices, std::size_t count,
                          std::vector<Vertex>& out)
{
    if (!isPrimitiveMode(mode) || count == 0)
        return DrawnAs::Nothing;
    Assembler assembler(vertices, isFilledMode(mode) ? fill : Fill::Polygons, out);
    if (mode == GL_POINTS) {
        for (std::size_t i = 0; i < count; ++i)
            assembler.point(i);
        return DrawnAs::Points;
    }
    if (!isFilledMode(mode))
        return assembleLines(mode, assembler, count);
    const std::size_t before = out.size();
    assembleFilled(mode, assembler, count);
    return out.size() == before ? DrawnAs::Nothing : assembler.edges() ? DrawnAs::Lines : DrawnAs::Triangles;
}

bool assemblyIndexes(GLenum mode, Fill fill)
{
    return (isFilledMode(mode) && fill != Fill::FlatOutlines) || mode == GL_LINES || mode == GL_LINE_STRIP ||
           mode == GL_LINE_LOOP;
}

bool flatOutlineMayIndex(GLenum mode, bool lit)
{
    return isFilledMode(mode) && !lit;
}

bool flatOutlineIndexes(const Vertex* vertices, std::size_t count, bool lit)
{
    if (lit)
        return false;
    for (std::size_t i = 1; i < count; ++i)
        if (!std::equal(vertices[i].colour, vertices[i].colour + 4, vertices[0].colour))
            return false;
    return true;
}

std::size_t assembleIndices(GLenum mode, Fill fill, std::size_t count, std::uint32_t base,
                            std::vector<std::uint32_t>& out)
{
    const std::size_t before = out.size();
    IndexAssembler assembler(base, isFilledMode(mode) && fill != Fill::Polygons, out);
    if (mode == GL_LINES || mode == GL_LINE_STRIP || mode == GL_LINE_LOOP)
        assembleLines(mode, assembler, count);
    else if (isFilledMode(mode))
        assembleFilled(mode, assembler, count);
    return out.size() - before;
}
