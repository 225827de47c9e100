// opengl32.dll exports only OpenGL 1.1.  The framebuffer-object calls of the
// persistent picture are defined here with the names the OpenGL headers
// declare, each forwarding to the driver's entry point from
// wglGetProcAddress.  Without one (a plain OpenGL 1.1 driver) the call does
// nothing; OffscreenPicture asks for framebuffer objects before it uses any.
#include <windows.h>

#include <GL/gl.h>
#include <GL/glext.h>

namespace {

template <typename Function>
Function entryPoint(Function& cached, const char* name)
{
    if (cached == nullptr)
        cached = reinterpret_cast<Function>(reinterpret_cast<void*>(wglGetProcAddress(name)));
    return cached;
}

}  // namespace

#define QH_FORWARD(Type, name, parameters, arguments)                  \
    extern "C" void APIENTRY name parameters                           \
    {                                                                  \
        static Type cached = nullptr;                                  \
        if (Type function = entryPoint(cached, #name))                 \
            function arguments;                                        \
    }

QH_FORWARD(PFNGLGENRENDERBUFFERSPROC, glGenRenderbuffers, (GLsizei n, GLuint* names), (n, names))
QH_FORWARD(PFNGLBINDRENDERBUFFERPROC, glBindRenderbuffer, (GLenum target, GLuint name), (target, name))
QH_FORWARD(PFNGLRENDERBUFFERSTORAGEPROC, glRenderbufferStorage,
           (GLenum target, GLenum format, GLsizei width, GLsizei height), (target, format, width, height))
QH_FORWARD(PFNGLDELETERENDERBUFFERSPROC, glDeleteRenderbuffers, (GLsizei n, const GLuint* names), (n, names))
QH_FORWARD(PFNGLGENFRAMEBUFFERSPROC, glGenFramebuffers, (GLsizei n, GLuint* names), (n, names))
QH_FORWARD(PFNGLBINDFRAMEBUFFERPROC, glBindFramebuffer, (GLenum target, GLuint name), (target, name))
QH_FORWARD(PFNGLDELETEFRAMEBUFFERSPROC, glDeleteFramebuffers, (GLsizei n, const GLuint* names), (n, names))
QH_FORWARD(PFNGLFRAMEBUFFERRENDERBUFFERPROC, glFramebufferRenderbuffer,
           (GLenum target, GLenum attachment, GLenum renderbufferTarget, GLuint renderbuffer),
           (target, attachment, renderbufferTarget, renderbuffer))
QH_FORWARD(PFNGLBLITFRAMEBUFFERPROC, glBlitFramebuffer,
           (GLint x0, GLint y0, GLint x1, GLint y1, GLint u0, GLint v0, GLint u1, GLint v1, GLbitfield mask,
            GLenum filter),
           (x0, y0, x1, y1, u0, v0, u1, v1, mask, filter))

extern "C" GLenum APIENTRY glCheckFramebufferStatus(GLenum target)
{
    static PFNGLCHECKFRAMEBUFFERSTATUSPROC cached = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSPROC function = entryPoint(cached, "glCheckFramebufferStatus");
    return function != nullptr ? function(target) : 0;
}
