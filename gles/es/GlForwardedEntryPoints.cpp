// Textures, framebuffers and pixels: ES has the same calls, so these pass
// through, keeping only what the layer's own state and queries need.

#include <GL/gl.h>
#include <GL/glext.h>

#include "gles/TextureFormats.h"
#include "gles/Unsupported.h"
#include "gles/es/Layer.h"

extern "C" {

void glGenTextures(GLsizei count, GLuint* textures)
{
    Layer::current().driver().GenTextures(count, textures);
}

void glDeleteTextures(GLsizei count, const GLuint* textures)
{
    Layer& layer = Layer::current();
    for (GLsizei i = 0; i < count; ++i) {
        layer.textures.erase(textures[i]);
        if (layer.state.boundTexture == textures[i])
            layer.state.boundTexture = 0;
    }
    layer.driver().DeleteTextures(count, textures);
}

void glBindTexture(GLenum target, GLuint texture)
{
    Layer::current().bindTexture(target, texture);
}

void glTexParameteri(GLenum target, GLenum name, GLint value)
{
    Layer::current().texParameter(target, name, value);
}

void glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height, GLint border,
                  GLenum format, GLenum type, const void* pixels)
{
    Layer& layer = Layer::current();
    if (layer.refusedInList("glTexImage2D"))
        return;
    const GLenum esFormat = esTextureFormat(internalFormat, format, type);
    if (target != GL_TEXTURE_2D || border != 0 || esFormat == 0) {
        reportUnsupported("glTexImage2D", target != GL_TEXTURE_2D ? target : border != 0 ? GL_TEXTURE_BORDER
                                                                                         : static_cast<GLenum>(internalFormat));
        return;
    }
    if (level == 0)
        layer.textures[layer.state.boundTexture] = {width, height, internalFormat};
    layer.driver().TexImage2D(target, level, static_cast<GLint>(esFormat), width, height, 0, esFormat, type, pixels);
}

void glReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type, void* pixels)
{
    Layer& layer = Layer::current();
    // ES always reads RGBA bytes; the program reads nothing else.
    if (format != GL_RGBA || type != GL_UNSIGNED_BYTE) {
        reportUnsupported("glReadPixels", format != GL_RGBA ? format : type);
        return;
    }
    layer.driver().ReadPixels(x, y, width, height, format, type, pixels);
}

void glPixelStorei(GLenum name, GLint value)
{
    Layer::current().driver().PixelStorei(name, value);
}

void glFlush()
{
    Layer::current().driver().Flush();
}

void glFinish()
{
    Layer::current().driver().Finish();
}

GLint glRenderMode(GLenum mode)
{
    Layer::current();
    if (mode != GL_RENDER)
        reportUnsupported("glRenderMode", mode);
    return 0;
}

void glFeedbackBuffer(GLsizei, GLenum type, GLfloat*)
{
    Layer::current();
    reportUnsupported("glFeedbackBuffer", type);
}

void glGenFramebuffers(GLsizei count, GLuint* framebuffers)
{
    Layer::current().driver().GenFramebuffers(count, framebuffers);
}

void glDeleteFramebuffers(GLsizei count, const GLuint* framebuffers)
{
    Layer::current().driver().DeleteFramebuffers(count, framebuffers);
}

void glBindFramebuffer(GLenum target, GLuint framebuffer)
{
    Layer::current().driver().BindFramebuffer(target, framebuffer);
}

void glFramebufferRenderbuffer(GLenum target, GLenum attachment, GLenum renderbufferTarget, GLuint renderbuffer)
{
    Layer::current().driver().FramebufferRenderbuffer(target, attachment, renderbufferTarget, renderbuffer);
}

GLenum glCheckFramebufferStatus(GLenum target)
{
    return Layer::current().driver().CheckFramebufferStatus(target);
}

void glGenRenderbuffers(GLsizei count, GLuint* renderbuffers)
{
    Layer::current().driver().GenRenderbuffers(count, renderbuffers);
}

void glDeleteRenderbuffers(GLsizei count, const GLuint* renderbuffers)
{
    Layer::current().driver().DeleteRenderbuffers(count, renderbuffers);
}

void glBindRenderbuffer(GLenum target, GLuint renderbuffer)
{
    Layer::current().driver().BindRenderbuffer(target, renderbuffer);
}

void glRenderbufferStorage(GLenum target, GLenum format, GLsizei width, GLsizei height)
{
    Layer::current().driver().RenderbufferStorage(target, format, width, height);
}

void glBlitFramebuffer(GLint srcX0, GLint srcY0, GLint srcX1, GLint srcY1, GLint dstX0, GLint dstY0, GLint dstX1,
                       GLint dstY1, GLbitfield mask, GLenum filter)
{
    Layer::current().driver().BlitFramebuffer(srcX0, srcY0, srcX1, srcY1, dstX0, dstY0, dstX1, dstY1, mask, filter);
}

}  // extern "C"
