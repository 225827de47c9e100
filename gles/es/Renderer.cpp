#include "gles/es/Renderer.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <type_traits>

#include "gles/RasterSizes.h"
#include "gles/ShaderSource.h"
#include "gles/Unsupported.h"
#include "gles/VertexIndexing.h"
#include "gles/es/EsFunctions.h"

namespace {

constexpr std::size_t kInitialStreamBytes = 4u << 20;
constexpr std::size_t kInitialIndexBytes = 1u << 20;

GLenum esPrimitive(DrawnAs drawnAs)
{
    return drawnAs == DrawnAs::Points ? GL_POINTS : drawnAs == DrawnAs::Lines ? GL_LINES : GL_TRIANGLES;
}

const void* byteOffset(std::size_t offset)
{
    return reinterpret_cast<const void*>(offset);
}

// The indices moved on by `first`, the vertex their vertices begin at.
template <typename Index>
void moveIndices(const std::vector<std::uint32_t>& indices, std::uint32_t first, std::vector<Index>& out)
{
    out.resize(indices.size());
    for (std::size_t i = 0; i < indices.size(); ++i)
        out[i] = static_cast<Index>(indices[i] + first);
}

}  // namespace

bool Renderer::start()
{
    esDriver.GenVertexArrays(1, &vertexArray_);
    esDriver.BindVertexArray(vertexArray_);
    esDriver.GenBuffers(1, &vertexStream_.name);
    bindArrayBuffer(vertexStream_.name);
    esDriver.BufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(kInitialStreamBytes), nullptr, GL_STREAM_DRAW);
    vertexStream_.capacity = kInitialStreamBytes;
    // The element array binding belongs to the vertex array, which stays
    // bound: the index stream is bound here and again after a list's
    // indices.
    esDriver.GenBuffers(1, &indexStream_.name);
    bindElementBuffer(indexStream_.name);
    esDriver.BufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(kInitialIndexBytes), nullptr,
                        GL_STREAM_DRAW);
    indexStream_.capacity = kInitialIndexBytes;
    enableArray(kPositionAttribute, true);
    return vertexArray_ != 0 && vertexStream_.name != 0 && indexStream_.name != 0;
}

void Renderer::bindArrayBuffer(GLuint buffer)
{
    if (buffer == boundArrayBuffer_)
        return;
    esDriver.BindBuffer(GL_ARRAY_BUFFER, buffer);
    boundArrayBuffer_ = buffer;
}

void Renderer::bindElementBuffer(GLuint buffer)
{
    if (buffer == boundElementBuffer_)
        return;
    esDriver.BindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffer);
    boundElementBuffer_ = buffer;
}

void Renderer::enableArray(GLuint location, bool on)
{
    const unsigned bit = 1u << location;
    if (((enabledArrays_ & bit) != 0) == on)
        return;
    if (on) {
        esDriver.EnableVertexAttribArray(location);
        enabledArrays_ |= bit;
        constantKnown_ &= ~bit;   // drawing from the array may leave any value behind
    } else {
        esDriver.DisableVertexAttribArray(location);
        enabledArrays_ &= ~bit;
    }
}

// Appends to a streaming buffer at a whole number of elements from its
// start, so every draw from it keeps the same attribute pointers and only
// names its first vertex (or index).  When full, the buffer is orphaned
// (the driver keeps the old storage for draws still pending) and refilled
// from the start; the pointers stay valid, as the buffer keeps its name.
// Appending maps the fresh range without synchronising: no pending draw
// reads it, so the driver need not finish the frame so far first, as it
// must for a plain buffer update.
GLint Renderer::stream(StreamBuffer& buffer, GLenum target, const void* data, std::size_t bytes, std::size_t stride)
{
    if (target == GL_ARRAY_BUFFER)
        bindArrayBuffer(buffer.name);
    else
        bindElementBuffer(buffer.name);
    std::size_t offset = (buffer.offset + stride - 1) / stride * stride;
    if (offset + bytes > buffer.capacity) {
        while (bytes > buffer.capacity)
            buffer.capacity *= 2;
        esDriver.BufferData(target, static_cast<GLsizeiptr>(buffer.capacity), nullptr, GL_STREAM_DRAW);
        offset = 0;
    }
    void* mapped = esDriver.MapBufferRange(target, static_cast<GLintptr>(offset), static_cast<GLsizeiptr>(bytes),
                                           GL_MAP_WRITE_BIT | GL_MAP_INVALIDATE_RANGE_BIT | GL_MAP_UNSYNCHRONIZED_BIT);
    if (mapped != nullptr) {
        std::memcpy(mapped, data, bytes);
        esDriver.UnmapBuffer(target);
    } else {
        esDriver.BufferSubData(target, static_cast<GLintptr>(offset), static_cast<GLsizeiptr>(bytes), data);
    }
    buffer.offset = offset + bytes;
    return static_cast<GLint>(offset / stride);
}

unsigned Renderer::uploadList(const std::vector<Vertex>& vertices)
{
    if (vertices.empty())
        return 0;
    const bool indexed = indexVertices(vertices, uniqueVertices_, vertexIndices_);
    const std::vector<Vertex>& stored = indexed ? uniqueVertices_ : vertices;
    GLuint buffer = 0;
    esDriver.GenBuffers(1, &buffer);
    bindArrayBuffer(buffer);
    esDriver.BufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(stored.size() * sizeof(Vertex)), stored.data(),
                        GL_STATIC_DRAW);
    if (indexed && buffer != 0) {
        ListIndices& indices = listIndices_[buffer];
        esDriver.GenBuffers(1, &indices.buffer);
        bindElementBuffer(indices.buffer);
        if (uniqueVertices_.size() <= 0x10000u) {
            moveIndices(vertexIndices_, 0, shortIndices_);
            esDriver.BufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(shortIndices_.size() * 2),
                                shortIndices_.data(), GL_STATIC_DRAW);
            indices.type = GL_UNSIGNED_SHORT;
        } else {
            esDriver.BufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertexIndices_.size() * 4),
                                vertexIndices_.data(), GL_STATIC_DRAW);
            indices.type = GL_UNSIGNED_INT;
        }
    }
    return buffer;
}

void Renderer::deleteBuffers(const std::vector<unsigned>& buffers)
{
    if (buffers.empty())
        return;
    esDriver.DeleteBuffers(static_cast<GLsizei>(buffers.size()), buffers.data());
    // A name deleted may come back for a new buffer: nothing of it is
    // remembered.
    for (unsigned buffer : buffers) {
        const auto indexed = listIndices_.find(buffer);
        if (indexed != listIndices_.end()) {
            esDriver.DeleteBuffers(1, &indexed->second.buffer);
            if (indexed->second.buffer == boundElementBuffer_)
                boundElementBuffer_ = 0;
            listIndices_.erase(indexed);
        }
        if (buffer == boundArrayBuffer_)
            boundArrayBuffer_ = 0;
        if (buffer == layout_.buffer)
            layoutSet_ = false;
    }
}

bool Renderer::drawsWide(const FixedFunctionState& state, DrawnAs drawnAs)
{
    return drawnAs == DrawnAs::Lines && lineWidthInPixels(state.lineWidth) > 1.0f;
}

namespace {

struct Optional {
    unsigned bit;
    GLuint location;
    GLint components;
    std::size_t member;
};
constexpr Optional kOptional[3] = {
    {kHasNormal, kNormalAttribute, 3, offsetof(Vertex, normal)},
    {kHasColour, kColourAttribute, 4, offsetof(Vertex, colour)},
    {kHasTexCoord, kTexCoordAttribute, 2, offsetof(Vertex, texCoord)},
};
constexpr std::size_t kPositionFloats = 4;

}  // namespace

GLint Renderer::streamPacked(const DrawState& draw, const Vertex* vertices, std::size_t count, unsigned read)
{
    std::size_t floats = kPositionFloats;
    for (const Optional& o : kOptional)
        if ((read & o.bit) != 0)
            floats += static_cast<std::size_t>(o.components);
    packed_.resize(count * floats);
    float* out = packed_.data();
    for (std::size_t i = 0; i < count; ++i) {
        const Vertex& v = vertices[i];
        out = std::copy(v.position, v.position + kPositionFloats, out);
        if ((read & kHasNormal) != 0)
            out = std::copy(v.normal, v.normal + 3, out);
        if ((read & kHasColour) != 0)
            out = std::copy(v.colour, v.colour + 4, out);
        if ((read & kHasTexCoord) != 0)
            out = std::copy(v.texCoord, v.texCoord + 2, out);
    }
    const std::size_t stride = floats * sizeof(float);
    const GLint first = stream(vertexStream_, GL_ARRAY_BUFFER, packed_.data(), count * stride, stride);
    pointAttributes({vertexStream_.name, stride, read, false, true}, draw.state, read);
    return first;
}

void Renderer::pointAttributes(const Layout& layout, const FixedFunctionState& current, unsigned read)
{
    if (!(layoutSet_ && layout == layout_)) {
        bindArrayBuffer(layout.buffer);
        const auto size = static_cast<GLsizei>(layout.stride);
        esDriver.VertexAttribPointer(kPositionAttribute, 4, GL_FLOAT, GL_FALSE, size,
                                     byteOffset(offsetof(Vertex, position)));
        std::size_t packedAt = kPositionFloats * sizeof(float);
        for (const Optional& o : kOptional) {
            const bool fromBuffer = (layout.attributes & o.bit) != 0;
            enableArray(o.location, fromBuffer);
            if (!fromBuffer)
                continue;
            esDriver.VertexAttribPointer(o.location, o.components, GL_FLOAT, GL_FALSE, size,
                                         byteOffset(layout.packed ? packedAt : o.member));
            packedAt += static_cast<std::size_t>(o.components) * sizeof(float);
        }
        enableArray(kOtherEndAttribute, layout.wide);
        enableArray(kSideAttribute, layout.wide);
        if (layout.wide) {
            esDriver.VertexAttribPointer(kOtherEndAttribute, 4, GL_FLOAT, GL_FALSE, size,
                                         byteOffset(offsetof(WideLineVertex, otherEnd)));
            esDriver.VertexAttribPointer(kSideAttribute, 1, GL_FLOAT, GL_FALSE, size,
                                         byteOffset(offsetof(WideLineVertex, side)));
        }
        layout_ = layout;
        layoutSet_ = true;
    }
    // Not in the buffer: the value current at replay, as OpenGL does.
    const std::array<float, 4> values[3] = {
        {current.normal[0], current.normal[1], current.normal[2], 1.0f},
        current.colour,
        {current.texCoord[0], current.texCoord[1], 0.0f, 1.0f},
    };
    for (std::size_t i = 0; i < 3; ++i) {
        const Optional& o = kOptional[i];
        const unsigned bit = 1u << o.location;
        if ((layout.attributes & o.bit) != 0 || (read & o.bit) == 0 ||
            ((constantKnown_ & bit) != 0 && constant_[o.location] == values[i]))
            continue;
        esDriver.VertexAttrib4fv(o.location, values[i].data());
        constant_[o.location] = values[i];
        constantKnown_ |= bit;
    }
}

namespace {

// Each call sends the uniform only where the program has it and its values
// differ from those it last received.
void send(Uniform<32>& u, GLsizei matrices, const float* values)
{
    if (u.present() && u.changes(values))
        esDriver.UniformMatrix4fv(u.location, matrices, GL_FALSE, values);
}

void send(Uniform<9>& u, const float* values)
{
    if (u.present() && u.changes(values))
        esDriver.UniformMatrix3fv(u.location, 1, GL_FALSE, values);
}

template <std::size_t N>
void sendVectors(Uniform<N>& u, int components, const float* values)
{
    if (!u.present() || !u.changes(values))
        return;
    const auto count = static_cast<GLsizei>(N) / components;
    switch (components) {
    case 1: esDriver.Uniform1fv(u.location, count, values); break;
    case 2: esDriver.Uniform2fv(u.location, count, values); break;
    case 3: esDriver.Uniform3fv(u.location, count, values); break;
    default: esDriver.Uniform4fv(u.location, count, values); break;
    }
}

}  // namespace

void Renderer::sendTransform(ShaderProgram& program, const DrawState& draw)
{
    if (derivedTransformStamp_ != draw.transformStamp) {
        const Mat4 modelviewProjection = multiply(draw.projection, draw.modelview);
        std::copy(modelviewProjection.m.begin(), modelviewProjection.m.end(), transform_.begin());
        std::copy(draw.modelview.m.begin(), draw.modelview.m.end(), transform_.begin() + 16);
        normalMatrix_ = normalMatrix(draw.modelview);
        derivedTransformStamp_ = draw.transformStamp;
    }
    send(program.transform, program.transformsRead, transform_.data());
    send(program.normalMatrix, normalMatrix_.data());
}

void Renderer::sendAppearance(ShaderProgram& program, const DrawState& draw)
{
    const FixedFunctionState& state = draw.state;
    if (program.sceneColour.present()) {
        if (derivedAppearanceStamp_ != draw.appearanceStamp) {
            lighting_ = lightingUniforms(state);
            derivedAppearanceStamp_ = draw.appearanceStamp;
        }
        sendVectors(program.sceneColour, 4, lighting_.sceneColour.data());
        sendVectors(program.shininess, 1, &lighting_.shininess);
        sendVectors(program.lightPosition, 4, lighting_.position[0].data());
        sendVectors(program.lightHalf, 3, lighting_.halfVector[0].data());
        sendVectors(program.lightAmbient, 3, lighting_.ambient[0].data());
        sendVectors(program.lightDiffuse, 3, lighting_.diffuse[0].data());
        sendVectors(program.lightSpecular, 3, lighting_.specular[0].data());
        sendVectors(program.lightSpot, 4, lighting_.spot[0].data());
        sendVectors(program.lightAttenuation, 4, lighting_.attenuation[0].data());
    }
    if (program.fogColour.present()) {
        // The driver's linear fog: factor = z * (-1 / (end - start)) + end / (end - start).
        const FogState& fog = state.fogSettings;
        const float scale = fog.end == fog.start ? 1.0f : 1.0f / (fog.end - fog.start);
        const float parameters[2] = {-scale, fog.end * scale};
        sendVectors(program.fogColour, 4, fog.colour.data());
        sendVectors(program.fogParameters, 2, parameters);
    }
}

void Renderer::sendSizes(ShaderProgram& program, const DrawState& draw)
{
    const FixedFunctionState& state = draw.state;
    const float pointSize = pointWidthInPixels(state.pointSize);
    sendVectors(program.pointSize, 1, &pointSize);
    const float viewportHalf[2] = {0.5f * static_cast<float>(state.viewport[2]),
                                   0.5f * static_cast<float>(state.viewport[3])};
    const float lineHalfWidth = 0.5f * lineWidthInPixels(state.lineWidth);
    sendVectors(program.viewportHalf, 2, viewportHalf);
    sendVectors(program.lineHalfWidth, 1, &lineHalfWidth);
}

// Settings the shaders do not draw; reported instead of drawn wrongly.
static void reportUndrawnSettings(const FixedFunctionState& state)
{
    if (state.fog && state.fogSettings.mode != GL_LINEAR)
        reportUnsupported("fog mode", state.fogSettings.mode);
    if (state.texture2D && state.textureGenS && state.textureGenModeS != GL_SPHERE_MAP)
        reportUnsupported("texture generation of s", state.textureGenModeS);
    if (state.texture2D && state.textureGenT && state.textureGenModeT != GL_SPHERE_MAP)
        reportUnsupported("texture generation of t", state.textureGenModeT);
}

ShaderProgram* Renderer::use(const DrawState& draw, DrawnAs drawnAs)
{
    reportUndrawnSettings(draw.state);
    const ShaderKey key = shaderKeyFor(draw.state, drawnAs, drawsWide(draw.state, drawnAs));
    ShaderProgram& program = programs_.programFor(key, usedProgram_);
    if (program.program == 0)
        return nullptr;
    if (program.program != usedProgram_) {
        esDriver.UseProgram(program.program);
        usedProgram_ = program.program;
    }
    if (program.transformStamp != draw.transformStamp) {
        sendTransform(program, draw);
        program.transformStamp = draw.transformStamp;
    }
    if (program.appearanceStamp != draw.appearanceStamp) {
        sendAppearance(program, draw);
        program.appearanceStamp = draw.appearanceStamp;
    }
    if (program.sizesStamp != draw.sizesStamp) {
        sendSizes(program, draw);
        program.sizesStamp = draw.sizesStamp;
    }
    return &program;
}

void Renderer::drawWide(const DrawState& draw, const Vertex* lines, std::size_t count)
{
    expandWideLines(lines, count, wide_);
    if (wide_.empty() || use(draw, DrawnAs::Lines) == nullptr)
        return;
    const GLint first = stream(vertexStream_, GL_ARRAY_BUFFER, wide_.data(), wide_.size() * sizeof(WideLineVertex),
                               sizeof(WideLineVertex));
    pointAttributes({vertexStream_.name, sizeof(WideLineVertex), kHasAllAttributes, true, false}, draw.state,
                    kHasAllAttributes);
    esDriver.DrawArrays(GL_TRIANGLES, first, static_cast<GLsizei>(wide_.size()));
}

void Renderer::drawImmediate(const DrawState& draw, DrawnAs drawnAs, const Vertex* vertices, std::size_t count)
{
    if (count == 0 || drawnAs == DrawnAs::Nothing)
        return;
    if (drawsWide(draw.state, drawnAs)) {
        drawWide(draw, vertices, count);
        return;
    }
    const ShaderProgram* program = use(draw, drawnAs);
    if (program == nullptr)
        return;
    const GLint first = streamPacked(draw, vertices, count, program->attributesRead);
    esDriver.DrawArrays(esPrimitive(drawnAs), first, static_cast<GLsizei>(count));
}

void Renderer::drawIndexed(const DrawState& draw, DrawnAs drawnAs, const Vertex* vertices, std::size_t count,
                           const std::vector<std::uint32_t>& indices)
{
    if (count == 0 || indices.empty() || drawnAs == DrawnAs::Nothing)
        return;
    const ShaderProgram* program = use(draw, drawnAs);
    if (program == nullptr)
        return;
    const auto first = static_cast<std::uint32_t>(streamPacked(draw, vertices, count, program->attributesRead));
    // The indices streamed in `moved`'s type; the byte they begin at.
    const auto streamed = [&](auto& moved) {
        using Index = typename std::decay_t<decltype(moved)>::value_type;
        moveIndices(indices, first, moved);
        return sizeof(Index) * static_cast<std::size_t>(stream(indexStream_, GL_ELEMENT_ARRAY_BUFFER, moved.data(),
                                                               moved.size() * sizeof(Index), sizeof(Index)));
    };
    const bool fitsShort = first + count <= 0x10000u;
    const GLenum type = fitsShort ? GL_UNSIGNED_SHORT : GL_UNSIGNED_INT;
    const std::size_t at = fitsShort ? streamed(shortIndices_) : streamed(longIndices_);
    esDriver.DrawElements(esPrimitive(drawnAs), static_cast<GLsizei>(indices.size()), type, byteOffset(at));
}

void Renderer::drawList(const DrawState& draw, const DisplayList& list, const ListDraw& listDraw)
{
    const ListRange& range = listDraw.range(fillFor(draw.state));
    const DrawnAs drawnAs = range.drawnAs;
    const std::uint32_t first = range.first;
    const std::uint32_t count = range.count;
    if (count == 0 || drawnAs == DrawnAs::Nothing || list.buffer == 0)
        return;
    const ShaderProgram* program = use(draw, drawnAs);
    if (program == nullptr)
        return;
    pointAttributes({list.buffer, sizeof(Vertex), listDraw.attributes, false, false}, draw.state,
                    program->attributesRead);
    const auto indexed = listIndices_.find(list.buffer);
    if (indexed == listIndices_.end()) {
        esDriver.DrawArrays(esPrimitive(drawnAs), static_cast<GLint>(first), static_cast<GLsizei>(count));
        return;
    }
    const ListIndices& indices = indexed->second;
    bindElementBuffer(indices.buffer);
    const std::size_t indexBytes = indices.type == GL_UNSIGNED_SHORT ? 2 : 4;
    esDriver.DrawElements(esPrimitive(drawnAs), static_cast<GLsizei>(count), indices.type,
                          byteOffset(first * indexBytes));
}
