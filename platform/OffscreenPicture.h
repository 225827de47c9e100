#pragma once
#include <cstdint>
#include <vector>

#include "platform/Platform.h"

// The persistent picture (640x480 unless asked otherwise) the demo draws into: a framebuffer object
// that keeps its pixels from frame to frame (the trails of some parts rely on
// it), presented to the window scaled with its aspect kept.
class OffscreenPicture {
public:
    // False when the context has no framebuffer objects; drawing then goes
    // to the window's back buffer.
    bool create(int width, int height);
    // Deletes the framebuffer; drawing then goes to the window until the
    // next create.
    void release();
    bool active() const { return framebuffer_ != 0; }
    int width() const { return width_; }
    int height() const { return height_; }

    void bindForDrawing() const;
    // Copies the picture into the window's back buffer of the given size,
    // letterboxed, and leaves the picture bound for drawing again.
    void presentTo(int windowWidth, int windowHeight) const;
    // RGBA bytes, rows bottom-up as OpenGL stores them.
    void readPixels(std::vector<std::uint8_t>& rgba) const;
    // The same bytes into width * height * 4 bytes at destination, which is
    // an offset into the buffer while a pixel pack buffer is bound.
    void readPixelsTo(void* destination) const;

private:
    unsigned framebuffer_ = 0;
    unsigned colour_ = 0;
    unsigned depth_ = 0;
    int width_ = 0;
    int height_ = 0;
};

// The rectangle (x, y, width, height) a picture takes inside a window when
// scaled as large as it fits with its aspect ratio kept, centred.
struct FitRect {
    int x, y, width, height;
};
FitRect fitPicture(int pictureWidth, int pictureHeight, int windowWidth, int windowHeight);

// The largest area of aspect 4:3 inside a screen of the given size, in
// whole pixels (height a multiple of 3, so width = height * 4 / 3 exactly).
PictureSize largestFourByThree(int screenWidth, int screenHeight);

// The picture drawn for an area of that many pixels (a page's canvas): the
// largest 4:3 size inside it and inside `largest`, and never smaller than
// 640x480, the size the picture is composed for.
PictureSize pictureForArea(int areaWidth, int areaHeight, PictureSize largest);
