// Capabilities, lights, materials, fog and the rest of the server state.

#include <GL/gl.h>
#include <algorithm>

#include "gles/Unsupported.h"
#include "gles/es/FixedFunctionMachine.h"

namespace {

int lightIndex(GLenum light)
{
    return light >= GL_LIGHT0 && light < GL_LIGHT0 + kLightCount ? static_cast<int>(light - GL_LIGHT0) : -1;
}

void light(const char* call, GLenum which, GLenum name, const GLfloat* values)
{
    FixedFunctionMachine& layer = FixedFunctionMachine::current();
    if (layer.refusedInList(call))
        return;
    const int index = lightIndex(which);
    if (index < 0 || !setLight(layer.state, index, name, values, layer.modelview.top())) {
        reportUnsupported(call, index < 0 ? which : name);
        return;
    }
    layer.appearanceChanged();
}

void fog(const char* call, GLenum name, const GLfloat* values)
{
    FixedFunctionMachine& layer = FixedFunctionMachine::current();
    if (layer.refusedInList(call))
        return;
    if (!setFog(layer.state, name, values)) {
        reportUnsupported(call, name);
        return;
    }
    if (name == GL_FOG_MODE && layer.state.fogSettings.mode != GL_LINEAR)
        reportUnsupported("glFog mode", layer.state.fogSettings.mode);
    layer.appearanceChanged();
}

}  // namespace

extern "C" {

void glEnable(GLenum capability)
{
    FixedFunctionMachine::current().enable(capability, true);
}

void glDisable(GLenum capability)
{
    FixedFunctionMachine::current().enable(capability, false);
}

void glLightf(GLenum which, GLenum name, GLfloat value)
{
    light("glLightf", which, name, &value);
}

void glLightfv(GLenum which, GLenum name, const GLfloat* values)
{
    light("glLightfv", which, name, values);
}

void glLightModelfv(GLenum name, const GLfloat* values)
{
    FixedFunctionMachine& layer = FixedFunctionMachine::current();
    if (layer.refusedInList("glLightModelfv"))
        return;
    if (name != GL_LIGHT_MODEL_AMBIENT) {
        reportUnsupported("glLightModelfv", name);
        return;
    }
    layer.state.lightModelAmbient = {values[0], values[1], values[2], values[3]};
    layer.appearanceChanged();
}

void glMaterialf(GLenum face, GLenum name, GLfloat value)
{
    FixedFunctionMachine::current().material(face, name, &value);
}

void glMaterialfv(GLenum face, GLenum name, const GLfloat* values)
{
    FixedFunctionMachine::current().material(face, name, values);
}

void glShadeModel(GLenum mode)
{
    FixedFunctionMachine& layer = FixedFunctionMachine::current();
    if (layer.refusedInList("glShadeModel"))
        return;
    if (mode != GL_FLAT && mode != GL_SMOOTH) {
        layer.fail(GL_INVALID_ENUM);
        return;
    }
    layer.state.shadeModel = mode;
}

void glFogf(GLenum name, GLfloat value)
{
    fog("glFogf", name, &value);
}

void glFogi(GLenum name, GLint value)
{
    const GLfloat asFloat = static_cast<GLfloat>(value);
    fog("glFogi", name, &asFloat);
}

void glFogfv(GLenum name, const GLfloat* values)
{
    fog("glFogfv", name, values);
}

void glHint(GLenum target, GLenum)
{
    FixedFunctionMachine::current();
    // Fog is always computed per vertex and blended per fragment, the
    // driver's choice for GL_DONT_CARE, whatever the hint asks.
    if (target != GL_FOG_HINT)
        reportUnsupported("glHint", target);
}

void glTexGeni(GLenum coordinate, GLenum name, GLint value)
{
    FixedFunctionMachine& layer = FixedFunctionMachine::current();
    if (layer.refusedInList("glTexGeni"))
        return;
    if ((coordinate != GL_S && coordinate != GL_T) || name != GL_TEXTURE_GEN_MODE || value != GL_SPHERE_MAP) {
        reportUnsupported("glTexGeni", coordinate != GL_S && coordinate != GL_T ? coordinate
                                       : name != GL_TEXTURE_GEN_MODE           ? name
                                                                                : static_cast<GLenum>(value));
        return;
    }
    (coordinate == GL_S ? layer.state.textureGenModeS : layer.state.textureGenModeT) = GL_SPHERE_MAP;
}

void glPolygonMode(GLenum face, GLenum mode)
{
    FixedFunctionMachine::current().polygonMode(face, mode);
}

void glPointSize(GLfloat size)
{
    FixedFunctionMachine& layer = FixedFunctionMachine::current();
    if (layer.refusedInList("glPointSize"))
        return;
    if (size <= 0.0f) {
        layer.fail(GL_INVALID_VALUE);
        return;
    }
    layer.state.pointSize = size;
    layer.sizesChanged();
}

void glLineWidth(GLfloat width)
{
    FixedFunctionMachine& layer = FixedFunctionMachine::current();
    if (layer.refusedInList("glLineWidth"))
        return;
    if (width <= 0.0f) {
        layer.fail(GL_INVALID_VALUE);
        return;
    }
    // Width 1 is drawn by the driver's own lines; wider ones as bands.
    layer.state.lineWidth = width;
    layer.sizesChanged();
}

void glBlendFunc(GLenum source, GLenum destination)
{
    FixedFunctionMachine& layer = FixedFunctionMachine::current();
    if (layer.refusedInList("glBlendFunc"))
        return;
    layer.state.blendSource = source;
    layer.state.blendDestination = destination;
    layer.driver().BlendFunc(source, destination);
}

void glDepthMask(GLboolean flag)
{
    FixedFunctionMachine& layer = FixedFunctionMachine::current();
    if (layer.refusedInList("glDepthMask"))
        return;
    layer.state.depthMask = flag != GL_FALSE;
    layer.driver().DepthMask(flag);
}

void glDepthFunc(GLenum function)
{
    FixedFunctionMachine& layer = FixedFunctionMachine::current();
    if (layer.refusedInList("glDepthFunc"))
        return;
    layer.state.depthFunc = function;
    layer.driver().DepthFunc(function);
}

void glClear(GLbitfield mask)
{
    FixedFunctionMachine& layer = FixedFunctionMachine::current();
    if (!layer.refusedInList("glClear"))
        layer.driver().Clear(mask);
}

void glClearColor(GLfloat r, GLfloat g, GLfloat b, GLfloat a)
{
    FixedFunctionMachine& layer = FixedFunctionMachine::current();
    if (layer.refusedInList("glClearColor"))
        return;
    layer.state.clearColour = {r, g, b, a};
    layer.driver().ClearColor(r, g, b, a);
}

void glClearDepth(GLdouble depth)
{
    FixedFunctionMachine& layer = FixedFunctionMachine::current();
    if (layer.refusedInList("glClearDepth"))
        return;
    layer.state.clearDepth = static_cast<float>(depth);
    layer.driver().ClearDepthf(static_cast<GLfloat>(depth));
}

void glDepthRange(GLdouble near, GLdouble far)
{
    FixedFunctionMachine& layer = FixedFunctionMachine::current();
    if (layer.refusedInList("glDepthRange"))
        return;
    // Both ends are clamped to [0, 1], as the driver keeps them.
    layer.state.depthRange = {static_cast<float>(std::clamp(near, 0.0, 1.0)),
                              static_cast<float>(std::clamp(far, 0.0, 1.0))};
    layer.driver().DepthRangef(layer.state.depthRange[0], layer.state.depthRange[1]);
}

void glViewport(GLint x, GLint y, GLsizei width, GLsizei height)
{
    FixedFunctionMachine& layer = FixedFunctionMachine::current();
    if (layer.refusedInList("glViewport"))
        return;
    if (width < 0 || height < 0) {
        layer.fail(GL_INVALID_VALUE);
        return;
    }
    layer.state.viewport = {x, y, width, height};
    layer.sizesChanged();
    layer.driver().Viewport(x, y, width, height);
}

void glScissor(GLint x, GLint y, GLsizei width, GLsizei height)
{
    FixedFunctionMachine& layer = FixedFunctionMachine::current();
    if (layer.refusedInList("glScissor"))
        return;
    layer.state.scissor = {x, y, width, height};
    layer.driver().Scissor(x, y, width, height);
}

void glPushAttrib(GLbitfield mask)
{
    FixedFunctionMachine& layer = FixedFunctionMachine::current();
    if (layer.refusedInList("glPushAttrib"))
        return;
    // Only the whole state is saved; smaller masks would need the state
    // split by attribute group, which nothing asks for.
    if (mask != GL_ALL_ATTRIB_BITS) {
        reportUnsupported("glPushAttrib", mask);
        return;
    }
    if (!layer.attributes.push(layer.state))
        layer.fail(GL_STACK_OVERFLOW);
}

void glPopAttrib()
{
    FixedFunctionMachine& layer = FixedFunctionMachine::current();
    if (layer.refusedInList("glPopAttrib"))
        return;
    // The matrix mode is saved with the rest, the matrices themselves not.
    if (!layer.attributes.pop(layer.state)) {
        layer.fail(GL_STACK_UNDERFLOW);
        return;
    }
    layer.restoreDriverState();
}

void glPushClientAttrib(GLbitfield mask)
{
    FixedFunctionMachine& layer = FixedFunctionMachine::current();
    if (mask != GL_CLIENT_ALL_ATTRIB_BITS) {
        reportUnsupported("glPushClientAttrib", mask);
        return;
    }
    layer.pushClientAttributes();
}

void glPopClientAttrib()
{
    FixedFunctionMachine::current().popClientAttributes();
}

}  // extern "C"
