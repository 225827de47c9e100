// glBegin/glEnd with the vertex attributes, and display lists.

#include <GL/gl.h>

#include "gles/es/Layer.h"

extern "C" {

void glBegin(GLenum mode)
{
    Layer::gathering().begin(mode);
}

void glEnd()
{
    Layer::gathering().end();
}

void glVertex3f(GLfloat x, GLfloat y, GLfloat z)
{
    Layer::gathering().vertex(x, y, z, 1.0f);
}

void glVertex4f(GLfloat x, GLfloat y, GLfloat z, GLfloat w)
{
    Layer::gathering().vertex(x, y, z, w);
}

void glNormal3f(GLfloat x, GLfloat y, GLfloat z)
{
    Layer::gathering().setNormal(x, y, z);
}

void glColor3f(GLfloat r, GLfloat g, GLfloat b)
{
    Layer::gathering().setColour(r, g, b, 1.0f);
}

void glColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a)
{
    Layer::gathering().setColour(r, g, b, a);
}

void glTexCoord2f(GLfloat s, GLfloat t)
{
    Layer::gathering().setTexCoord(s, t);
}

GLuint glGenLists(GLsizei range)
{
    Layer& layer = Layer::current();
    if (range < 0) {
        layer.fail(GL_INVALID_VALUE);
        return 0;
    }
    return layer.lists.generate(range);
}

void glNewList(GLuint list, GLenum mode)
{
    Layer::current().newList(list, mode);
}

void glEndList()
{
    Layer::current().endList();
}

void glCallList(GLuint list)
{
    Layer::current().callList(list);
}

void glDeleteLists(GLuint list, GLsizei range)
{
    Layer::current().deleteLists(list, range);
}

GLboolean glIsList(GLuint list)
{
    return Layer::current().lists.isList(list) ? GL_TRUE : GL_FALSE;
}

}  // extern "C"
