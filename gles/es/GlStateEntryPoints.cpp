// Capabilities, lights, materials, fog and the rest of the server state.

#include <GL/gl.h>

#include "gles/Unsupported.h"
#include "gles/es/EsFunctions.h"
#include "gles/es/Layer.h"

namespace {

int lightIndex(GLenum light)
{
    return light >= GL_LIGHT0 && light < GL_LIGHT0 + kLightCount ? static_cast<int>(light - GL_LIGHT0) : -1;
}

void light(const char* call, GLenum which, GLenum name, const GLfloat* values)
{
    Layer& layer = Layer::settled();
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
    Layer& layer = Layer::settled();
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
    Layer::settled().enable(capability, true);
}

void glDisable(GLenum capability)
{
    Layer::settled().enable(capability, false);
}

void glLightf(GLenum which, GLenum name, GLfloat value)
{
    Layer::settled();
    light("glLightf", which, name, &value);
}

void glLightfv(GLenum which, GLenum name, const GLfloat* values)
{
    Layer::settled();
    light("glLightfv", which, name, values);
}

void glLightModelfv(GLenum name, const GLfloat* values)
{
    Layer& layer = Layer::settled();
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
    Layer::settled().material(face, name, &value);
}

void glMaterialfv(GLenum face, GLenum name, const GLfloat* values)
{
    Layer::settled().material(face, name, values);
}

void glShadeModel(GLenum mode)
{
    Layer& layer = Layer::settled();
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
    Layer::settled();
    fog("glFogf", name, &value);
}

void glFogi(GLenum name, GLint value)
{
    Layer::settled();
    const GLfloat asFloat = static_cast<GLfloat>(value);
    fog("glFogi", name, &asFloat);
}

void glFogfv(GLenum name, const GLfloat* values)
{
    Layer::settled();
    fog("glFogfv", name, values);
}

void glHint(GLenum target, GLenum mode)
{
    Layer& layer = Layer::settled();
    if (target != GL_FOG_HINT) {
        reportUnsupported("glHint", target);
        return;
    }
    // Fog is always computed per vertex and blended per fragment, the
    // driver's choice for GL_DONT_CARE; the hint is only kept.
    layer.state.fogSettings.hint = mode;
}

void glTexGeni(GLenum coordinate, GLenum name, GLint value)
{
    Layer& layer = Layer::settled();
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
    Layer::settled().polygonMode(face, mode);
}

void glPointSize(GLfloat size)
{
    Layer& layer = Layer::settled();
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
    Layer& layer = Layer::settled();
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
    Layer& layer = Layer::settled();
    if (layer.refusedInList("glBlendFunc"))
        return;
    layer.state.blendSource = source;
    layer.state.blendDestination = destination;
    es.BlendFunc(source, destination);
}

void glDepthMask(GLboolean flag)
{
    Layer& layer = Layer::settled();
    if (layer.refusedInList("glDepthMask"))
        return;
    layer.state.depthMask = flag != GL_FALSE;
    es.DepthMask(flag);
}

void glDepthFunc(GLenum function)
{
    Layer& layer = Layer::settled();
    if (layer.refusedInList("glDepthFunc"))
        return;
    layer.state.depthFunc = function;
    es.DepthFunc(function);
}

void glClear(GLbitfield mask)
{
    if (!Layer::settled().refusedInList("glClear"))
        es.Clear(mask);
}

void glClearColor(GLfloat r, GLfloat g, GLfloat b, GLfloat a)
{
    Layer& layer = Layer::settled();
    if (layer.refusedInList("glClearColor"))
        return;
    layer.state.clearColour = {r, g, b, a};
    es.ClearColor(r, g, b, a);
}

void glClearDepth(GLdouble depth)
{
    Layer& layer = Layer::settled();
    if (layer.refusedInList("glClearDepth"))
        return;
    layer.state.clearDepth = static_cast<float>(depth);
    es.ClearDepthf(static_cast<GLfloat>(depth));
}

void glDepthRange(GLdouble near, GLdouble far)
{
    if (!Layer::settled().refusedInList("glDepthRange"))
        es.DepthRangef(static_cast<GLfloat>(near), static_cast<GLfloat>(far));
}

void glViewport(GLint x, GLint y, GLsizei width, GLsizei height)
{
    Layer& layer = Layer::settled();
    if (layer.refusedInList("glViewport"))
        return;
    if (width < 0 || height < 0) {
        layer.fail(GL_INVALID_VALUE);
        return;
    }
    layer.state.viewport = {x, y, width, height};
    layer.sizesChanged();
    es.Viewport(x, y, width, height);
}

void glScissor(GLint x, GLint y, GLsizei width, GLsizei height)
{
    Layer& layer = Layer::settled();
    if (layer.refusedInList("glScissor"))
        return;
    layer.state.scissor = {x, y, width, height};
    es.Scissor(x, y, width, height);
}

void glPushAttrib(GLbitfield mask)
{
    Layer& layer = Layer::settled();
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
    Layer& layer = Layer::settled();
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
    Layer& layer = Layer::settled();
    if (mask != GL_CLIENT_ALL_ATTRIB_BITS) {
        reportUnsupported("glPushClientAttrib", mask);
        return;
    }
    std::array<GLint, 2> alignments{4, 4};
    es.GetIntegerv(GL_PACK_ALIGNMENT, &alignments[0]);
    es.GetIntegerv(GL_UNPACK_ALIGNMENT, &alignments[1]);
    layer.clientAttributes.push_back(alignments);
}

void glPopClientAttrib()
{
    Layer& layer = Layer::settled();
    if (layer.clientAttributes.empty()) {
        layer.fail(GL_STACK_UNDERFLOW);
        return;
    }
    es.PixelStorei(GL_PACK_ALIGNMENT, layer.clientAttributes.back()[0]);
    es.PixelStorei(GL_UNPACK_ALIGNMENT, layer.clientAttributes.back()[1]);
    layer.clientAttributes.pop_back();
}

}  // extern "C"
