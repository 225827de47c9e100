// The matrix stacks, and the utility library's camera matrices.

#include <GL/gl.h>
#include <GL/glu.h>

#include "gles/Unsupported.h"
#include "gles/es/FixedFunctionMachine.h"

namespace {

// The stack the current matrix mode names, or null while a list is being
// recorded (matrix calls are not recorded by this layer).
MatrixStack* changeableStack(const char* call)
{
    FixedFunctionMachine& layer = FixedFunctionMachine::current();
    if (layer.refusedInList(call))
        return nullptr;
    return &layer.currentStack();
}

void changed(MatrixStack& stack)
{
    FixedFunctionMachine& layer = FixedFunctionMachine::current();
    layer.matrixChanged();
    // The texture matrix is kept (saved and restored) but not applied to
    // texture coordinates: only the identity is drawn right.
    if (&stack == &layer.textureMatrix && !(stack.top() == identityMatrix()))
        reportUnsupported("a texture matrix other than the identity", GL_TEXTURE);
}

}  // namespace

extern "C" {

void glMatrixMode(GLenum mode)
{
    FixedFunctionMachine& layer = FixedFunctionMachine::current();
    if (layer.refusedInList("glMatrixMode"))
        return;
    if (mode != GL_MODELVIEW && mode != GL_PROJECTION && mode != GL_TEXTURE) {
        layer.fail(GL_INVALID_ENUM);
        return;
    }
    layer.state.matrixMode = mode;
}

void glLoadIdentity()
{
    if (MatrixStack* stack = changeableStack("glLoadIdentity")) {
        stack->load(identityMatrix());
        changed(*stack);
    }
}

void glLoadMatrixf(const GLfloat* m)
{
    if (MatrixStack* stack = changeableStack("glLoadMatrixf")) {
        stack->load(matrixFromColumns(m));
        changed(*stack);
    }
}

void glMultMatrixf(const GLfloat* m)
{
    if (MatrixStack* stack = changeableStack("glMultMatrixf")) {
        stack->multiplyBy(matrixFromColumns(m));
        changed(*stack);
    }
}

void glPushMatrix()
{
    FixedFunctionMachine::current().pushMatrix();
}

void glPopMatrix()
{
    FixedFunctionMachine::current().popMatrix();
}

void glTranslatef(GLfloat x, GLfloat y, GLfloat z)
{
    if (MatrixStack* stack = changeableStack("glTranslatef")) {
        translate(stack->top(), x, y, z);
        changed(*stack);
    }
}

void glScalef(GLfloat x, GLfloat y, GLfloat z)
{
    if (MatrixStack* stack = changeableStack("glScalef")) {
        scale(stack->top(), x, y, z);
        changed(*stack);
    }
}

void glRotatef(GLfloat degrees, GLfloat x, GLfloat y, GLfloat z)
{
    if (MatrixStack* stack = changeableStack("glRotatef")) {
        stack->multiplyBy(rotation(degrees, x, y, z));
        changed(*stack);
    }
}

void glOrtho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble near, GLdouble far)
{
    if (left == right || bottom == top || near == far) {
        FixedFunctionMachine::current().fail(GL_INVALID_VALUE);
        return;
    }
    if (MatrixStack* stack = changeableStack("glOrtho")) {
        stack->multiplyBy(orthographic(left, right, bottom, top, near, far));
        changed(*stack);
    }
}

void gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble near, GLdouble far)
{
    if (MatrixStack* stack = changeableStack("gluPerspective")) {
        stack->multiplyBy(perspective(fovy, aspect, near, far));
        changed(*stack);
    }
}

void gluLookAt(GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centreX, GLdouble centreY, GLdouble centreZ,
               GLdouble upX, GLdouble upY, GLdouble upZ)
{
    if (MatrixStack* stack = changeableStack("gluLookAt")) {
        lookAt(stack->top(), eyeX, eyeY, eyeZ, centreX, centreY, centreZ, upX, upY, upZ);
        changed(*stack);
    }
}

}  // extern "C"
