#include "gles/es/StateQueries.h"

#include <algorithm>

#include "gles/es/FixedFunctionMachine.h"

namespace {

int copy(const float* from, int count, GLfloat* to)
{
    std::copy(from, from + count, to);
    return count;
}

int one(float value, GLfloat* to)
{
    to[0] = value;
    return 1;
}

float asFloat(GLenum value)
{
    return static_cast<float>(value);
}

}  // namespace

int queryLayerState(const FixedFunctionMachine& layer, GLenum name, GLfloat* values)
{
    const FixedFunctionState& s = layer.state;
    bool on = false;
    if (readCapability(s, name, on))
        return one(on ? 1.0f : 0.0f, values);
    switch (name) {
    case GL_MODELVIEW_MATRIX: return copy(layer.modelview.top().m.data(), 16, values);
    case GL_PROJECTION_MATRIX: return copy(layer.projection.top().m.data(), 16, values);
    case GL_TEXTURE_MATRIX: return copy(layer.textureMatrix.top().m.data(), 16, values);
    case GL_MODELVIEW_STACK_DEPTH: return one(static_cast<float>(layer.modelview.depth()), values);
    case GL_PROJECTION_STACK_DEPTH: return one(static_cast<float>(layer.projection.depth()), values);
    case GL_TEXTURE_STACK_DEPTH: return one(static_cast<float>(layer.textureMatrix.depth()), values);
    case GL_MATRIX_MODE: return one(asFloat(s.matrixMode), values);
    case GL_COLOR_CLEAR_VALUE: return copy(s.clearColour.data(), 4, values);
    case GL_DEPTH_CLEAR_VALUE: return one(s.clearDepth, values);
    case GL_DEPTH_RANGE: return copy(s.depthRange.data(), 2, values);
    case GL_MAX_CLIENT_ATTRIB_STACK_DEPTH: return one(16.0f, values);
    case GL_FOG_MODE: return one(asFloat(s.fogSettings.mode), values);
    case GL_FOG_START: return one(s.fogSettings.start, values);
    case GL_FOG_END: return one(s.fogSettings.end, values);
    case GL_FOG_DENSITY: return one(s.fogSettings.density, values);
    case GL_FOG_COLOR: return copy(s.fogSettings.colour.data(), 4, values);
    case GL_LINE_WIDTH: return one(s.lineWidth, values);
    case GL_POINT_SIZE: return one(s.pointSize, values);
    case GL_DEPTH_FUNC: return one(asFloat(s.depthFunc), values);
    case GL_DEPTH_WRITEMASK: return one(s.depthMask ? 1.0f : 0.0f, values);
    case GL_BLEND_SRC: return one(asFloat(s.blendSource), values);
    case GL_BLEND_DST: return one(asFloat(s.blendDestination), values);
    case GL_POLYGON_MODE:
        values[0] = values[1] = asFloat(s.polygonMode);
        return 2;
    case GL_SHADE_MODEL: return one(asFloat(s.shadeModel), values);
    case GL_TEXTURE_BINDING_2D: return one(static_cast<float>(s.boundTexture), values);
    case GL_CURRENT_COLOR: return copy(s.colour.data(), 4, values);
    case GL_CURRENT_NORMAL: return copy(s.normal.data(), 3, values);
    case GL_LIGHT_MODEL_AMBIENT: return copy(s.lightModelAmbient.data(), 4, values);
    case GL_VIEWPORT:
    case GL_SCISSOR_BOX: {
        const auto& box = name == GL_VIEWPORT ? s.viewport : s.scissor;
        for (int i = 0; i < 4; ++i)
            values[i] = static_cast<float>(box[static_cast<std::size_t>(i)]);
        return 4;
    }
    default: return 0;
    }
}

int driverQueryValues(GLenum name)
{
    switch (name) {
    case GL_MAX_VIEWPORT_DIMS: return 2;
    case GL_DRAW_FRAMEBUFFER_BINDING:
    case GL_READ_FRAMEBUFFER_BINDING:
    case GL_RENDERBUFFER_BINDING:
    case GL_PIXEL_PACK_BUFFER_BINDING:
    case GL_PIXEL_UNPACK_BUFFER_BINDING:
    case GL_PACK_ALIGNMENT:
    case GL_UNPACK_ALIGNMENT:
    case GL_MAX_TEXTURE_SIZE:
    case GL_RED_BITS:
    case GL_GREEN_BITS:
    case GL_BLUE_BITS:
    case GL_ALPHA_BITS:
    case GL_DEPTH_BITS: return 1;
    default: return 0;
    }
}
