#include "assets/JpegTexture.h"

#include "assets/JpegDecoder.h"
#include "assets/Resources.h"
#include "platform/Platform.h"

GLuint createJpegTexture(const unsigned char* data, std::size_t size)
{
    const JpegImage image = decodeJpeg(data, size);
    if (image.status == JpegImage::Status::DecoderUnavailable)
        platform().showMessage(nullptr, "IJL-Init failed!", "Meldung");
    if (image.status == JpegImage::Status::DecoderUnavailable || image.status == JpegImage::Status::HeaderUnreadable)
        platform().showMessage(nullptr, "ILJ-ParamRead failed!", "Meldung");

    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    // Rows are padded to 4 bytes, the default unpack alignment, so OpenGL
    // never reads past the buffer whatever the width.
    glTexImage2D(GL_TEXTURE_2D, 0, 3, image.width, image.height, 0, GL_RGB, GL_UNSIGNED_BYTE,
                 image.rgb.empty() ? nullptr : image.rgb.data());
    return name;
}

void loadJpegTexture(GLuint& textureName, const char* resourceName)
{
    const Resource jpeg = findResource("ZYT_JPEGTEX", resourceName);
    textureName = createJpegTexture(jpeg.data, jpeg.size);
}
