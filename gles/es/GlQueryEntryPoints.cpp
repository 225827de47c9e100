// glGet*, glIsEnabled and glGetError.

#include <GL/gl.h>
#include <cmath>

#include "gles/Unsupported.h"
#include "gles/es/FixedFunctionMachine.h"
#include "gles/es/StateQueries.h"

namespace {

constexpr int kMostValues = 16;

// Answers a glGet* query with the layer's own values, or the driver's for
// names only it keeps (asked as floats); reported for anything else.  Each
// value is handed to `store` by index, so exactly as many are written as
// the name has.
template <typename Store>
void answer(const char* call, GLenum name, Store store)
{
    FixedFunctionMachine& layer = FixedFunctionMachine::current();
    GLfloat values[kMostValues] = {};
    int count = queryLayerState(layer, name, values);
    if (count == 0) {
        count = driverQueryValues(name);
        if (count == 0) {
            reportUnsupported(call, name);
            return;
        }
        layer.driver().GetFloatv(name, values);
    }
    for (int i = 0; i < count; ++i)
        store(i, values[i]);
}

}  // namespace

extern "C" {

void glGetFloatv(GLenum name, GLfloat* values)
{
    answer("glGetFloatv", name, [values](int i, float v) { values[i] = v; });
}

void glGetDoublev(GLenum name, GLdouble* values)
{
    answer("glGetDoublev", name, [values](int i, float v) { values[i] = v; });
}

void glGetIntegerv(GLenum name, GLint* values)
{
    answer("glGetIntegerv", name, [values](int i, float v) { values[i] = static_cast<GLint>(std::lround(v)); });
}

void glGetBooleanv(GLenum name, GLboolean* values)
{
    answer("glGetBooleanv", name, [values](int i, float v) { values[i] = v != 0.0f ? GL_TRUE : GL_FALSE; });
}

GLboolean glIsEnabled(GLenum capability)
{
    bool on = false;
    if (!readCapability(FixedFunctionMachine::current().state, capability, on)) {
        reportUnsupported("glIsEnabled", capability);
        return GL_FALSE;
    }
    return on ? GL_TRUE : GL_FALSE;
}

void glGetLightfv(GLenum light, GLenum name, GLfloat* values)
{
    const bool known = light >= GL_LIGHT0 && light < GL_LIGHT0 + kLightCount;
    if (!known || !readLight(FixedFunctionMachine::current().state, static_cast<int>(light - GL_LIGHT0), name, values))
        reportUnsupported("glGetLightfv", known ? name : light);
}

void glGetMaterialfv(GLenum face, GLenum name, GLfloat* values)
{
    if (!readMaterial(FixedFunctionMachine::current().state, face, name, values))
        reportUnsupported("glGetMaterialfv", name);
}

void glGetTexParameteriv(GLenum target, GLenum name, GLint* values)
{
    FixedFunctionMachine::current().driver().GetTexParameteriv(target, name, values);
}

void glGetTexLevelParameteriv(GLenum target, GLint level, GLenum name, GLint* values)
{
    FixedFunctionMachine& layer = FixedFunctionMachine::current();
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
    FixedFunctionMachine& layer = FixedFunctionMachine::current();
    const GLenum own = layer.takeError();
    return own != GL_NO_ERROR ? own : layer.driver().GetError();
}

const GLubyte* glGetString(GLenum name)
{
    const EsFunctions& driver = FixedFunctionMachine::current().driver();
    return driver.GetString != nullptr ? driver.GetString(name) : nullptr;
}

}  // extern "C"
