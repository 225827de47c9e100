#pragma once

#include <GL/gl.h>
#include <cstdint>
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
class Renderer {
public:
    bool start();

    void drawImmediate(const DrawState& draw, DrawnAs drawnAs, const std::vector<Vertex>& vertices);
    void drawList(const DrawState& draw, const DisplayList& list, const ListDraw& listDraw);

    unsigned uploadList(const std::vector<Vertex>& vertices);
    void deleteBuffers(const std::vector<unsigned>& buffers);

private:
    bool wideLines(const DrawState& draw, DrawnAs drawnAs) const;
    ShaderProgram* use(const DrawState& draw, DrawnAs drawnAs);
    void sendTransform(ShaderProgram& program, const DrawState& draw);
    void sendAppearance(ShaderProgram& program, const DrawState& draw);
    void sendSizes(ShaderProgram& program, const DrawState& draw);
    std::size_t stream(const void* data, std::size_t bytes);
    void pointAttributes(GLuint buffer, std::size_t offset, std::size_t stride, unsigned attributes,
                         const FixedFunctionState& current, bool wide);
    void drawWide(const DrawState& draw, const Vertex* lines, std::size_t count);

    ShaderPrograms programs_;
    GLuint vertexArray_ = 0;
    GLuint streamBuffer_ = 0;
    std::size_t streamCapacity_ = 0;
    std::size_t streamOffset_ = 0;
    std::vector<WideLineVertex> wide_;

    // Derived from the matrices and lights once per change, not per draw.
    std::uint64_t derivedTransformStamp_ = ~0ull;
    Mat4 modelviewProjection_{};
    Mat3 normalMatrix_{};
    std::uint64_t derivedAppearanceStamp_ = ~0ull;
    LightingUniforms lighting_{};
};
