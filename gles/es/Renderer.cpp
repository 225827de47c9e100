#include "gles/es/Renderer.h"

#include <cstddef>
#include <cstring>

#include "gles/RasterSizes.h"
#include "gles/ShaderSource.h"
#include "gles/Unsupported.h"
#include "gles/es/EsFunctions.h"

namespace {

constexpr std::size_t kInitialStreamBytes = 4u << 20;

GLenum esPrimitive(DrawnAs drawnAs)
{
    return drawnAs == DrawnAs::Points ? GL_POINTS : drawnAs == DrawnAs::Lines ? GL_LINES : GL_TRIANGLES;
}

const void* byteOffset(std::size_t offset)
{
    return reinterpret_cast<const void*>(offset);
}

}  // namespace

bool Renderer::start()
{
    es.GenVertexArrays(1, &vertexArray_);
    es.BindVertexArray(vertexArray_);
    es.GenBuffers(1, &streamBuffer_);
    es.BindBuffer(GL_ARRAY_BUFFER, streamBuffer_);
    es.BufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(kInitialStreamBytes), nullptr, GL_STREAM_DRAW);
    streamCapacity_ = kInitialStreamBytes;
    streamOffset_ = 0;
    es.EnableVertexAttribArray(kPositionAttribute);
    return vertexArray_ != 0 && streamBuffer_ != 0;
}

// Appends to the streaming buffer; when full, the buffer is orphaned
// (the driver keeps the old storage for draws still pending) and
// refilled from the start.  Appending maps the fresh range without
// synchronising: no pending draw reads it, so the driver need not finish
// the frame so far first, as it must for a plain buffer update.
std::size_t Renderer::stream(const void* data, std::size_t bytes)
{
    es.BindBuffer(GL_ARRAY_BUFFER, streamBuffer_);
    if (streamOffset_ + bytes > streamCapacity_) {
        while (bytes > streamCapacity_)
            streamCapacity_ *= 2;
        es.BufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(streamCapacity_), nullptr, GL_STREAM_DRAW);
        streamOffset_ = 0;
    }
    const std::size_t offset = streamOffset_;
    void* target = es.MapBufferRange(GL_ARRAY_BUFFER, static_cast<GLintptr>(offset), static_cast<GLsizeiptr>(bytes),
                                     GL_MAP_WRITE_BIT | GL_MAP_INVALIDATE_RANGE_BIT | GL_MAP_UNSYNCHRONIZED_BIT);
    if (target != nullptr) {
        std::memcpy(target, data, bytes);
        es.UnmapBuffer(GL_ARRAY_BUFFER);
    } else {
        es.BufferSubData(GL_ARRAY_BUFFER, static_cast<GLintptr>(offset), static_cast<GLsizeiptr>(bytes), data);
    }
    streamOffset_ += (bytes + 15) & ~std::size_t{15};
    return offset;
}

unsigned Renderer::uploadList(const std::vector<Vertex>& vertices)
{
    if (vertices.empty())
        return 0;
    GLuint buffer = 0;
    es.GenBuffers(1, &buffer);
    es.BindBuffer(GL_ARRAY_BUFFER, buffer);
    es.BufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices.size() * sizeof(Vertex)), vertices.data(),
                  GL_STATIC_DRAW);
    return buffer;
}

void Renderer::deleteBuffers(const std::vector<unsigned>& buffers)
{
    if (!buffers.empty())
        es.DeleteBuffers(static_cast<GLsizei>(buffers.size()), buffers.data());
}

bool Renderer::wideLines(const DrawState& draw, DrawnAs drawnAs) const
{
    return drawnAs == DrawnAs::Lines && lineWidthInPixels(draw.state.lineWidth) > 1.0f;
}

void Renderer::pointAttributes(GLuint buffer, std::size_t offset, std::size_t stride, unsigned attributes,
                               const FixedFunctionState& current, bool wide)
{
    es.BindBuffer(GL_ARRAY_BUFFER, buffer);
    const auto size = static_cast<GLsizei>(stride);
    es.VertexAttribPointer(kPositionAttribute, 4, GL_FLOAT, GL_FALSE, size,
                           byteOffset(offset + offsetof(Vertex, position)));
    struct Optional {
        unsigned bit;
        GLuint location;
        GLint components;
        std::size_t member;
        const float* current;
    };
    const float currentNormal[4] = {current.normal[0], current.normal[1], current.normal[2], 1.0f};
    const float currentTexCoord[4] = {current.texCoord[0], current.texCoord[1], 0.0f, 1.0f};
    const Optional optional[3] = {
        {kHasNormal, kNormalAttribute, 3, offsetof(Vertex, normal), currentNormal},
        {kHasColour, kColourAttribute, 4, offsetof(Vertex, colour), current.colour.data()},
        {kHasTexCoord, kTexCoordAttribute, 2, offsetof(Vertex, texCoord), currentTexCoord},
    };
    for (const Optional& o : optional) {
        if ((attributes & o.bit) != 0) {
            es.EnableVertexAttribArray(o.location);
            es.VertexAttribPointer(o.location, o.components, GL_FLOAT, GL_FALSE, size, byteOffset(offset + o.member));
        } else {
            // Not in the list: the value current at replay, as OpenGL does.
            es.DisableVertexAttribArray(o.location);
            es.VertexAttrib4fv(o.location, o.current);
        }
    }
    if (wide) {
        es.EnableVertexAttribArray(kOtherEndAttribute);
        es.EnableVertexAttribArray(kSideAttribute);
        es.VertexAttribPointer(kOtherEndAttribute, 4, GL_FLOAT, GL_FALSE, size,
                               byteOffset(offset + offsetof(WideLineVertex, otherEnd)));
        es.VertexAttribPointer(kSideAttribute, 1, GL_FLOAT, GL_FALSE, size,
                               byteOffset(offset + offsetof(WideLineVertex, side)));
    } else {
        es.DisableVertexAttribArray(kOtherEndAttribute);
        es.DisableVertexAttribArray(kSideAttribute);
    }
}

void Renderer::sendTransform(ShaderProgram& program, const DrawState& draw)
{
    if (derivedTransformStamp_ != draw.transformStamp) {
        modelviewProjection_ = multiply(draw.projection, draw.modelview);
        normalMatrix_ = normalMatrix(draw.modelview);
        derivedTransformStamp_ = draw.transformStamp;
    }
    es.UniformMatrix4fv(program.modelviewProjection, 1, GL_FALSE, modelviewProjection_.m.data());
    if (program.modelview >= 0)
        es.UniformMatrix4fv(program.modelview, 1, GL_FALSE, draw.modelview.m.data());
    if (program.normalMatrix >= 0)
        es.UniformMatrix3fv(program.normalMatrix, 1, GL_FALSE, normalMatrix_.data());
}

void Renderer::sendAppearance(ShaderProgram& program, const DrawState& draw)
{
    const FixedFunctionState& state = draw.state;
    if (program.sceneColour >= 0) {
        if (derivedAppearanceStamp_ != draw.appearanceStamp) {
            lighting_ = lightingUniforms(state);
            derivedAppearanceStamp_ = draw.appearanceStamp;
        }
        es.Uniform4fv(program.sceneColour, 1, lighting_.sceneColour.data());
        es.Uniform1f(program.shininess, lighting_.shininess);
        es.Uniform4fv(program.lightPosition, kLightCount, lighting_.position[0].data());
        es.Uniform3fv(program.lightHalf, kLightCount, lighting_.halfVector[0].data());
        es.Uniform3fv(program.lightAmbient, kLightCount, lighting_.ambient[0].data());
        es.Uniform3fv(program.lightDiffuse, kLightCount, lighting_.diffuse[0].data());
        es.Uniform3fv(program.lightSpecular, kLightCount, lighting_.specular[0].data());
        es.Uniform4fv(program.lightSpot, kLightCount, lighting_.spot[0].data());
        es.Uniform4fv(program.lightAttenuation, kLightCount, lighting_.attenuation[0].data());
    }
    if (program.fogColour >= 0) {
        // The driver's linear fog: factor = z * (-1 / (end - start)) + end / (end - start).
        const FogState& fog = state.fogSettings;
        const float scale = fog.end == fog.start ? 1.0f : 1.0f / (fog.end - fog.start);
        const float parameters[2] = {-scale, fog.end * scale};
        es.Uniform4fv(program.fogColour, 1, fog.colour.data());
        es.Uniform2f(program.fogParameters, parameters[0], parameters[1]);
    }
}

void Renderer::sendSizes(ShaderProgram& program, const DrawState& draw)
{
    const FixedFunctionState& state = draw.state;
    if (program.pointSize >= 0)
        es.Uniform1f(program.pointSize, pointWidthInPixels(state.pointSize));
    if (program.viewportHalf >= 0) {
        es.Uniform2f(program.viewportHalf, 0.5f * static_cast<float>(state.viewport[2]),
                     0.5f * static_cast<float>(state.viewport[3]));
        es.Uniform1f(program.lineHalfWidth, 0.5f * lineWidthInPixels(state.lineWidth));
    }
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
    ShaderProgram& program = programs_.programFor(shaderKeyFor(draw.state, drawnAs, wideLines(draw, drawnAs)));
    if (program.program == 0)
        return nullptr;
    es.UseProgram(program.program);
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
    const std::size_t offset = stream(wide_.data(), wide_.size() * sizeof(WideLineVertex));
    pointAttributes(streamBuffer_, offset, sizeof(WideLineVertex), kHasAllAttributes, draw.state, true);
    es.DrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(wide_.size()));
}

void Renderer::drawImmediate(const DrawState& draw, DrawnAs drawnAs, const std::vector<Vertex>& vertices)
{
    if (vertices.empty() || drawnAs == DrawnAs::Nothing)
        return;
    if (wideLines(draw, drawnAs)) {
        drawWide(draw, vertices.data(), vertices.size());
        return;
    }
    if (use(draw, drawnAs) == nullptr)
        return;
    const std::size_t offset = stream(vertices.data(), vertices.size() * sizeof(Vertex));
    pointAttributes(streamBuffer_, offset, sizeof(Vertex), kHasAllAttributes, draw.state, false);
    es.DrawArrays(esPrimitive(drawnAs), 0, static_cast<GLsizei>(vertices.size()));
}

void Renderer::drawList(const DrawState& draw, const DisplayList& list, const ListDraw& listDraw)
{
    const ListRange& range = listDraw.range(fillFor(draw.state));
    const DrawnAs drawnAs = range.drawnAs;
    const std::uint32_t first = range.first;
    const std::uint32_t count = range.count;
    if (count == 0 || drawnAs == DrawnAs::Nothing || list.buffer == 0)
        return;
    if (wideLines(draw, drawnAs)) {
        drawWide(draw, list.vertices.data() + first, count);
        return;
    }
    if (use(draw, drawnAs) == nullptr)
        return;
    pointAttributes(list.buffer, 0, sizeof(Vertex), listDraw.attributes, draw.state, false);
    es.DrawArrays(esPrimitive(drawnAs), static_cast<GLint>(first), static_cast<GLsizei>(count));
}
