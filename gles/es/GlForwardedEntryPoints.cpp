// Textures, framebuffers and pixels: ES has the same calls, so these pass
// through, keeping only what the layer's own state and queries need.

#include <GL/gl.h>
#include <GL/glext.h>

#include "gles/TextureFormats.h"
#include "gles/Unsupported.h"
#include "gles/es/FixedFunctionMachine.h"

extern "C" {

void glGenTextures(GLsizei count, GLuint* textures)
{
    FixedFunctionMachine::current().driver().GenTextures(count, textures);
}

void glDeleteTextures(GLsizei count, const GLuint* textures)
{
    FixedFunctionMachine& layer = FixedFunctionMachine::current();
    for (GLsizei i = 0; i < count; ++i) {
        layer.textures.erase(textures[i]);
        if (layer.state.boundTexture == textures[i])
            layer.state.boundTexture = 0;
    }
    layer.driver().DeleteTextures(count, textures);
}

void glBindTexture(GLenum target, GLuint texture)
{
    FixedFunctionMachine::current().bindTexture(target, texture);
}

void glTexParameteri(GLenum target, GLenum name, GLint value)
{
    FixedFunctionMachine::current().texParameter(target, name, value);
}

void glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height, GLint border,
                  GLenum format, GLenum type, const void* pixels)
{
    FixedFunctionMachine& layer = FixedFunctionMachine::current();
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
    FixedFunctionMachine& layer = FixedFunctionMachine::current();
    // ES always reads RGBA bytes; the program reads nothing else.
    if (format != GL_RGBA || type != GL_UNSIGNED_BYTE) {
        reportUnsupported("glReadPixels", format != GL_RGBA ? format : type);
        return;
    }
    layer.driver().ReadPixels(x, y, width, height, format, type, pixels);
}

void glPixelStorei(GLenum name, GLint value)
{
    FixedFunctionMachine::current().driver().PixelStorei(name, value);
}

void glFlush()
{
    FixedFunctionMachine::current().driver().Flush();
}

void glFinish()
{
    FixedFunctionMachine::current().driver().Finish();
}

GLint glRenderMode(GLenum mode)
{
    FixedFunctionMachine::current();
    if (mode != GL_RENDER)
        reportUnsupported("glRenderMode", mode);
    return 0;
}

void glFeedbackBuffer(GLsizei, GLenum type, GLfloat*)
{
    FixedFunctionMachine::current();
    reportUnsupported("glFeedbackBuffer", type);
}

void glGenFramebuffers(GLsizei count, GLuint* framebuffers)
{
    FixedFunctionMachine::current().driver().GenFramebuffers(count, framebuffers);
}

void glDeleteFramebuffers(GLsizei count, const GLuint* framebuffers)
{
    FixedFunctionMachine::current().driver().DeleteFramebuffers(count, framebuffers);
}

void glBindFramebuffer(GLenum target, GLuint framebuffer)
{
    FixedFunctionMachine::current().driver().BindFramebuffer(target, framebuffer);
}

void glFramebufferRenderbuffer(GLenum target, GLenum attachment, GLenum renderbufferTarget, GLuint renderbuffer)
{
    FixedFunctionMachine::current().driver().FramebufferRenderbuffer(target, attachment, renderbufferTarget,
                                                                     renderbuffer);
}

GLenum glCheckFramebufferStatus(GLenum target)
{
    return FixedFunctionMachine::current().driver().CheckFramebufferStatus(target);
}

void glGenRenderbuffers(GLsizei count, GLuint* renderbuffers)
{
    FixedFunctionMachine::current().driver().GenRenderbuffers(count, renderbuffers);
}

void glDeleteRenderbuffers(GLsizei count, const GLuint* renderbuffers)
{
    FixedFunctionMachine::current().driver().DeleteRenderbuffers(count, renderbuffers);
}

void glBindRenderbuffer(GLenum target, GLuint renderbuffer)
{
    FixedFunctionMachine::current().driver().BindRenderbuffer(target, renderbuffer);
}

void glRenderbufferStorage(GLenum target, GLenum format, GLsizei width, GLsizei height)
{
    FixedFunctionMachine::current().driver().RenderbufferStorage(target, format, width, height);
}

void glBlitFramebuffer(GLint srcX0, GLint srcY0, GLint srcX1, GLint srcY1, GLint dstX0, GLint dstY0, GLint dstX1,
                       GLint dstY1, GLbitfield mask, GLenum filter)
{
    FixedFunctionMachine::current().driver().BlitFramebuffer(srcX0, srcY0, srcX1, srcY1, dstX0, dstY0, dstX1, dstY1, mask,
                                                             filter);
}

}  // extern "C"
