#pragma once

#include <GL/gl.h>
#include <array>
#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "gles/DisplayLists.h"
#include "gles/FixedFunctionState.h"
#include "gles/Lighting.h"
#include "gles/Matrix.h"
#include "gles/WideLines.h"
#include "gles/es/ShaderPrograms.h"

// What a draw needs besides its vertices.  The stamps change whenever the
// values behind them do, so each program receives uniforms only when they
// changed since its last draw.
struct DrawState {
    const FixedFunctionState& state;
    const Mat4& modelview;
    const Mat4& projection;
    std::uint64_t transformStamp;    // either matrix
    std::uint64_t appearanceStamp;   // lights, material, fog
    std::uint64_t sizesStamp;        // point size, line width, viewport
};

// Draws assembled vertices with the program for the current state: from a
// streaming buffer for glBegin/glEnd, from a list's own buffer for lists.
//
// The driver's program and vertex layout are remembered, so a draw sets
// only what differs from the draw before: consecutive draws from the
// streaming buffer (each at its own first vertex) or from one list's
// buffer point the attributes once.  Every call that changes either goes
// through here.  Each program's uniforms are sent only where their values
// differ from those it last received (a sprite's new material colour
// sends the values it changes, not every light's every array).
class Renderer {
public:
    bool start();

    void drawImmediate(const DrawState& draw, DrawnAs drawnAs, const Vertex* vertices, std::size_t count);
    // Triangles or lines given as indices into `count` vertices (as
    // assembleIndices writes them): strips, fans, quads and polygons send
    // each vertex once rather than once per triangle or segment.  Never
    // lines drawsWide says are drawn as bands.
    void drawIndexed(const DrawState& draw, DrawnAs drawnAs, const Vertex* vertices, std::size_t count,
                     const std::vector<std::uint32_t>& indices);
    // A list's draw from its buffer; never one drawsWide says is drawn as
    // bands, which is assembled again and drawn as immediate.
    void drawList(const DrawState& draw, const DisplayList& list, const ListDraw& listDraw);

    // A list's vertex buffer, drawn through indices (see indexVertices)
    // where that shades fewer vertices.
    unsigned uploadList(const std::vector<Vertex>& vertices);
    void deleteBuffers(const std::vector<unsigned>& buffers);

    std::size_t programCount() const { return programs_.size(); }

    // Whether lines are drawn as bands: wider than one pixel.
    static bool drawsWide(const FixedFunctionState& state, DrawnAs drawnAs);

private:
    // How the vertex attributes are pointed: at which buffer, with which
    // stride, which of the optional ones come from it, whether it holds
    // wide lines' corners, and whether its vertices are packed (only the
    // attributes it holds, one after the other in Vertex's order) rather
    // than whole Vertex structures.
    struct Layout {
        GLuint buffer = 0;
        std::size_t stride = 0;
        unsigned attributes = 0;
        bool wide = false;
        bool packed = false;
        bool operator==(const Layout& o) const
        {
            return buffer == o.buffer && stride == o.stride && attributes == o.attributes && wide == o.wide &&
                   packed == o.packed;
        }
    };

    // A buffer drawn from as it is filled: appended to, orphaned when full.
    struct StreamBuffer {
        GLuint name = 0;
        std::size_t capacity = 0;
        std::size_t offset = 0;
    };

    ShaderProgram* use(const DrawState& draw, DrawnAs drawnAs);
    void sendTransform(ShaderProgram& program, const DrawState& draw);
    void sendAppearance(ShaderProgram& program, const DrawState& draw);
    void sendSizes(ShaderProgram& program, const DrawState& draw);
    void bindArrayBuffer(GLuint buffer);
    void bindElementBuffer(GLuint buffer);
    void enableArray(GLuint location, bool on);
    // The first element (of size `stride`) the data was put at.
    GLint stream(StreamBuffer& buffer, GLenum target, const void* data, std::size_t bytes, std::size_t stride);
    // `read`: the optional attributes the program reads; those it reads
    // and the layout lacks take the current values.
    void pointAttributes(const Layout& layout, const FixedFunctionState& current, unsigned read);
    // Streams the vertices with only the attributes `read` and points the
    // attributes at them; the first vertex's index in the stream.
    GLint streamPacked(const DrawState& draw, const Vertex* vertices, std::size_t count, unsigned read);
    void drawWide(const DrawState& draw, const Vertex* lines, std::size_t count);

    ShaderPrograms programs_;
    GLuint vertexArray_ = 0;
    StreamBuffer vertexStream_;
    StreamBuffer indexStream_;   // bound to the vertex array for good
    std::vector<WideLineVertex> wide_;
    std::vector<float> packed_;
    // Indices moved to where their vertices were streamed, in the smallest
    // type that holds them.
    std::vector<std::uint16_t> shortIndices_;
    std::vector<std::uint32_t> longIndices_;
    // The index buffer of each list buffer drawn through indices.
    struct ListIndices {
        GLuint buffer = 0;
        GLenum type = GL_UNSIGNED_SHORT;
    };
    std::unordered_map<GLuint, ListIndices> listIndices_;
    std::vector<Vertex> uniqueVertices_;
    std::vector<std::uint32_t> vertexIndices_;

    // What the driver was last given.
    GLuint usedProgram_ = 0;
    GLuint boundArrayBuffer_ = 0;
    GLuint boundElementBuffer_ = 0;   // the vertex array's, which stays bound
    Layout layout_{};
    bool layoutSet_ = false;
    unsigned enabledArrays_ = 0;   // by location
    // The constant value each optional attribute was last given while its
    // array was off; forgotten once the array is switched on.
    std::array<std::array<float, 4>, 4> constant_{};
    unsigned constantKnown_ = 0;   // by location

    // Derived from the matrices and lights once per change, not per draw.
    std::uint64_t derivedTransformStamp_ = ~0ull;
    std::array<float, 32> transform_{};   // the modelview-projection, then the modelview
    Mat3 normalMatrix_{};
    std::uint64_t derivedAppearanceStamp_ = ~0ull;
    LightingUniforms lighting_{};
};
