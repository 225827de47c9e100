// glBegin/glEnd with the vertex attributes, and display lists.

#include <GL/gl.h>

#include "gles/es/Layer.h"

extern "C" {

void glBegin(GLenum mode)
{
    Layer::get().begin(mode);
}

void glEnd()
{
    Layer::get().end();
}

void glVertex3f(GLfloat x, GLfloat y, GLfloat z)
{
    Layer::get().vertex(x, y, z, 1.0f);
}

void glVertex4f(GLfloat x, GLfloat y, GLfloat z, GLfloat w)
{
    Layer::get().vertex(x, y, z, w);
}

void glNormal3f(GLfloat x, GLfloat y, GLfloat z)
{
    Layer::get().setNormal(x, y, z);
}

void glColor3f(GLfloat r, GLfloat g, GLfloat b)
{
    Layer::get().setColour(r, g, b, 1.0f);
}

void glColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a)
{
    Layer::get().setColour(r, g, b, a);
}

void glTexCoord2f(GLfloat s, GLfloat t)
{
    Layer::get().setTexCoord(s, t);
}

GLuint glGenLists(GLsizei range)
{
    if (range < 0) {
        Layer::settled().fail(GL_INVALID_VALUE);
        return 0;
    }
    return Layer::settled().lists.generate(range);
}

void glNewList(GLuint list, GLenum mode)
{
    Layer::settled().newList(list, mode);
}

void glEndList()
{
    Layer::settled().endList();
}

void glCallList(GLuint list)
{
    Layer::settled().callList(list);
}

void glDeleteLists(GLuint list, GLsizei range)
{
    Layer::settled().deleteLists(list, range);
}

GLboolean glIsList(GLuint list)
{
    return Layer::settled().lists.isList(list) ? GL_TRUE : GL_FALSE;
}

}  // extern "C"
