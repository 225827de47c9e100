#include "gles/TextureFormats.h"

#include <GL/glext.h>

namespace {

GLenum baseFormat(GLint internalFormat)
{
    switch (internalFormat) {
    case 1:
    case GL_LUMINANCE:
    case GL_LUMINANCE8: return GL_LUMINANCE;
    case 3:
    case GL_RGB:
    case GL_RGB8: return GL_RGB;
    case 4:
    case GL_RGBA:
    case GL_RGBA8: return GL_RGBA;
    default: return 0;
    }
}

}  // namespace

GLenum esTextureFormat(GLint internalFormat, GLenum format, GLenum type)
{
    const GLenum base = baseFormat(internalFormat);
    if (base == 0 || base != format || type != GL_UNSIGNED_BYTE)
        return 0;
    return base;
}
