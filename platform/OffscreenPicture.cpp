#include "platform/OffscreenPicture.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <algorithm>

#include "platform/GlVersion.h"

namespace {

// Framebuffer objects with separate read and draw targets and the blit:
// OpenGL 3.0 or ARB_framebuffer_object, and OpenGL ES 3.0.
bool hasFramebufferObjects()
{
    return currentGlVersion().atLeast(3, 0) || hasGlExtension("GL_ARB_framebuffer_object");
}

}  // namespace

FitRect fitPicture(int pictureWidth, int pictureHeight, int windowWidth, int windowHeight)
{
    if (pictureWidth <= 0 || pictureHeight <= 0 || windowWidth <= 0 || windowHeight <= 0)
        return {0, 0, 0, 0};
    // Compare aspect ratios in integers: window wider than the picture?
    const long long wide = static_cast<long long>(windowWidth) * pictureHeight;
    const long long tall = static_cast<long long>(windowHeight) * pictureWidth;
    int width = windowWidth;
    int height = windowHeight;
    if (wide > tall)
        width = static_cast<int>(tall / pictureHeight);
    else if (wide < tall)
        height = static_cast<int>(wide / pictureWidth);
    return {(windowWidth - width) / 2, (windowHeight - height) / 2, width, height};
}

PictureSize largestFourByThree(int screenWidth, int screenHeight)
{
    int height = screenHeight < screenWidth * 3 / 4 ? screenHeight : screenWidth * 3 / 4;
    height -= height % 3;
    return {height / 3 * 4, height};
}

PictureSize pictureForArea(int areaWidth, int areaHeight, PictureSize largest)
{
    const PictureSize fit = largestFourByThree(std::min(areaWidth, largest.width), std::min(areaHeight, largest.height));
    if (fit.width < kPictureWidth || fit.height < kPictureHeight)
        return {};
    return fit;
}

bool OffscreenPicture::create(int width, int height)
{
    if (!hasFramebufferObjects())
        return false;
    glGenRenderbuffers(1, &colour_);
    glBindRenderbuffer(GL_RENDERBUFFER, colour_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    glGenRenderbuffers(1, &depth_);
    glBindRenderbuffer(GL_RENDERBUFFER, depth_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);

    glGenFramebuffers(1, &framebuffer_);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth_);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        release();
        return false;
    }
    width_ = width;
    height_ = height;
    // A window starts black, so the picture does too.
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    return true;
}

void OffscreenPicture::release()
{
    if (framebuffer_ == 0)
        return;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteFramebuffers(1, &framebuffer_);
    glDeleteRenderbuffers(1, &colour_);
    glDeleteRenderbuffers(1, &depth_);
    framebuffer_ = colour_ = depth_ = 0;
    width_ = height_ = 0;
}

void OffscreenPicture::bindForDrawing() const
{
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
}

void OffscreenPicture::presentTo(int windowWidth, int windowHeight) const
{
    const FitRect fit = fitPicture(width_, height_, windowWidth, windowHeight);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    if (fit.width != windowWidth || fit.height != windowHeight) {
        // Black bars; the demo's own clear colour is put back afterwards.
        GLfloat clearColour[4];
        glGetFloatv(GL_COLOR_CLEAR_VALUE, clearColour);
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glClearColor(clearColour[0], clearColour[1], clearColour[2], clearColour[3]);
    }
    const bool scaled = fit.width != width_ || fit.height != height_;
    glBlitFramebuffer(0, 0, width_, height_, fit.x, fit.y, fit.x + fit.width, fit.y + fit.height,
                      GL_COLOR_BUFFER_BIT, scaled ? GL_LINEAR : GL_NEAREST);
    bindForDrawing();
}

void OffscreenPicture::readPixels(std::vector<std::uint8_t>& rgba) const
{
    rgba.resize(static_cast<std::size_t>(width_) * height_ * 4);
    readPixelsTo(rgba.data());
}

void OffscreenPicture::readPixelsTo(void* destination) const
{
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_);
    GLint packAlignment = 4;
    glGetIntegerv(GL_PACK_ALIGNMENT, &packAlignment);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, destination);
    glPixelStorei(GL_PACK_ALIGNMENT, packAlignment);
}
