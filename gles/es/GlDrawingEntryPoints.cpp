// glBegin/glEnd with the vertex attributes, and display lists.

#include <GL/gl.h>

#include "gles/es/FixedFunctionMachine.h"

extern "C" {

void glBegin(GLenum mode)
{
    FixedFunctionMachine::gathering().begin(mode);
}

void glEnd()
{
    FixedFunctionMachine::gathering().end();
}

void glVertex3f(GLfloat x, GLfloat y, GLfloat z)
{
    FixedFunctionMachine::gathering().vertex(x, y, z, 1.0f);
}

void glVertex4f(GLfloat x, GLfloat y, GLfloat z, GLfloat w)
{
    FixedFunctionMachine::gathering().vertex(x, y, z, w);
}

void glNormal3f(GLfloat x, GLfloat y, GLfloat z)
{
    FixedFunctionMachine::gathering().setNormal(x, y, z);
}

void glColor3f(GLfloat r, GLfloat g, GLfloat b)
{
    FixedFunctionMachine::gathering().setColour(r, g, b, 1.0f);
}

void glColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a)
{
    FixedFunctionMachine::gathering().setColour(r, g, b, a);
}

void glTexCoord2f(GLfloat s, GLfloat t)
{
    FixedFunctionMachine::gathering().setTexCoord(s, t);
}

GLuint glGenLists(GLsizei range)
{
    FixedFunctionMachine& layer = FixedFunctionMachine::current();
    if (range < 0) {
        layer.fail(GL_INVALID_VALUE);
        return 0;
    }
    return layer.lists.generate(range);
}

void glNewList(GLuint list, GLenum mode)
{
    FixedFunctionMachine::current().newList(list, mode);
}

void glEndList()
{
    FixedFunctionMachine::current().endList();
}

void glCallList(GLuint list)
{
    FixedFunctionMachine::current().callList(list);
}

void glDeleteLists(GLuint list, GLsizei range)
{
    FixedFunctionMachine::current().deleteLists(list, range);
}

GLboolean glIsList(GLuint list)
{
    return FixedFunctionMachine::current().lists.isList(list) ? GL_TRUE : GL_FALSE;
}

}  // extern "C"
