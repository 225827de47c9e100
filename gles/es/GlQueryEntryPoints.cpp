// glGet*, glIsEnabled and glGetError.

#include <GL/gl.h>
#include <cmath>

#include "gles/Unsupported.h"
#include "gles/es/EsFunctions.h"
#include "gles/es/Layer.h"
#include "gles/es/StateQueries.h"

namespace {

constexpr int kMostValues = 16;

// The layer's own value, or the driver's for names only it keeps; false
// (reported) for anything else.
template <typename Convert>
bool answer(const char* call, GLenum name, Convert convert)
{
    GLfloat values[kMostValues];
    const int count = queryLayerState(name, values);
    for (int i = 0; i < count; ++i)
        convert(i, values[i]);
    if (count > 0)
        return true;
    if (!isDriverQuery(name))
        reportUnsupported(call, name);
    return false;
}

}  // namespace

extern "C" {

void glGetFloatv(GLenum name, GLfloat* values)
{
    Layer::settled();
    if (!answer("glGetFloatv", name, [values](int i, float v) { values[i] = v; }) && isDriverQuery(name))
        es.GetFloatv(name, values);
}

void glGetDoublev(GLenum name, GLdouble* values)
{
    Layer::settled();
    if (!answer("glGetDoublev", name, [values](int i, float v) { values[i] = v; }) && isDriverQuery(name)) {
        GLfloat single[kMostValues] = {};
        es.GetFloatv(name, single);
        for (int i = 0; i < 4; ++i)
            values[i] = single[i];
    }
}

void glGetIntegerv(GLenum name, GLint* values)
{
    Layer::settled();
    if (!answer("glGetIntegerv", name, [values](int i, float v) { values[i] = static_cast<GLint>(std::lround(v)); }) &&
        isDriverQuery(name))
        es.GetIntegerv(name, values);
}

void glGetBooleanv(GLenum name, GLboolean* values)
{
    Layer::settled();
    if (!answer("glGetBooleanv", name, [values](int i, float v) { values[i] = v != 0.0f ? GL_TRUE : GL_FALSE; }) &&
        isDriverQuery(name))
        es.GetBooleanv(name, values);
}

GLboolean glIsEnabled(GLenum capability)
{
    bool on = false;
    if (!readCapability(Layer::settled().state, capability, on)) {
        reportUnsupported("glIsEnabled", capability);
        return GL_FALSE;
    }
    return on ? GL_TRUE : GL_FALSE;
}

void glGetLightfv(GLenum light, GLenum name, GLfloat* values)
{
    const bool known = light >= GL_LIGHT0 && light < GL_LIGHT0 + kLightCount;
    if (!known || !readLight(Layer::settled().state, static_cast<int>(light - GL_LIGHT0), name, values))
        reportUnsupported("glGetLightfv", known ? name : light);
}

void glGetMaterialfv(GLenum face, GLenum name, GLfloat* values)
{
    if (!readMaterial(Layer::settled().state, face, name, values))
        reportUnsupported("glGetMaterialfv", name);
}

void glGetTexParameteriv(GLenum target, GLenum name, GLint* values)
{
    Layer::settled();
    es.GetTexParameteriv(target, name, values);
}

void glGetTexLevelParameteriv(GLenum target, GLint level, GLenum name, GLint* values)
{
    Layer& layer = Layer::settled();
    const auto found = layer.textures.find(layer.state.boundTexture);
    if (target != GL_TEXTURE_2D || level != 0 || found == layer.textures.end()) {
        reportUnsupported("glGetTexLevelParameteriv", target != GL_TEXTURE_2D ? target : name);
        return;
    }
    switch (name) {
    case GL_TEXTURE_WIDTH: *values = found->second.width; break;
    case GL_TEXTURE_HEIGHT: *values = found->second.height; break;
    case GL_TEXTURE_INTERNAL_FORMAT: *values = found->second.internalFormat; break;
    default: reportUnsupported("glGetTexLevelParameteriv", name);
    }
}

GLenum glGetError()
{
    const GLenum own = Layer::settled().takeError();
    return own != GL_NO_ERROR ? own : es.GetError();
}

const GLubyte* glGetString(GLenum name)
{
    Layer::settled();
    return es.GetString != nullptr ? es.GetString(name) : nullptr;
}

}  // extern "C"
