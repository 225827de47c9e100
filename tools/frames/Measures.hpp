// What a viewer notices in single frames, as numbers: whether a name card
// stands out from the picture behind it, how much of the picture is a black
// hole, how much of an object is lit, how much is going on in the middle.
#pragma once
#include <vector>

#include "Picture.hpp"

namespace frames {

// A yes/no mask over the frame's pixels, top row first like the frame.
struct Mask {
    int width = 0, height = 0;
    std::vector<unsigned char> on;
    bool at(int x, int y) const { return on[size_t(y) * width + x] != 0; }
    int count() const;
};

// The demo stretches a card texture over the whole frame and keys it by its
// own brightness. `card` is the texture as stored (bottom row first).
// Letters are the frame pixels whose texel is near white; the box is their
// bounding box grown by `margin` pixels; the surround is every pixel of the
// box whose texel is below half white. Gives the mean luminance of the
// letters minus that of the surround.
struct CardContrast {
    double letters, surround, contrast;
    int letterPixels, surroundPixels;
};
CardContrast cardContrast(const Picture& frame, const Picture& card, int margin = 12);

// Mean luminance (0..1) over the whole frame.
double meanLuma(const Picture& frame);

// Share of pixels with every channel at most `level` (0..255).
double blackShare(const Picture& frame, int level = 2);

// Share of the masked pixels whose luminance is at least `threshold`.
double litShare(const Picture& frame, const Mask& mask, double threshold = 0.15);

// Standard deviation of luminance (0..1) over the middle half of the frame
// in each direction (320 x 240 of 640 x 480).
double centreSpread(const Picture& frame);

// Share of pixels that flip: their luminance changes by more than `levels`
// (of 255) from one frame to the next and by more than that back the other
// way to the frame after. Texture detail finer than the screen samples it
// does this as the camera moves; an edge that moves across a pixel changes
// it once.
double flickerShare(const Picture& first, const Picture& second, const Picture& third, int levels = 40);
// The same over the pixels `leftOut` does not mark, as a share of those.
double flickerShareWithout(const Picture& first, const Picture& second, const Picture& third, const Mask& leftOut,
                           int levels = 40);

}  // namespace frames

namespace frames {

// Banding: smooth regions are the connected areas (at least `minimum`
// pixels) in which each pixel differs from its neighbours above, below and
// beside by at most `levels` in every channel (of 255), and which span no
// more than that in all (a gradient is not one flat region). Where two of
// them touch, their pixels differ by more than that: a step a viewer sees as
// the edge of a band. Steps larger than `edge` are the outlines of things drawn
// in front, not bands, and are left out.
struct Banding {
    int steps = 0;          // touching pixel pairs of two smooth regions
    int largest = 0;        // the largest step between them, in levels
    int x = -1, y = -1;     // where it is
};
Banding bandSteps(const Picture& frame, int levels = 2, int edge = 32, int minimum = 16);
// The same with the masked pixels left out: they belong to no region, and a
// region does not reach across them.
Banding bandStepsWithout(const Picture& frame, const Mask& leftOut, int levels = 2, int edge = 32, int minimum = 16);

// What moves: the pixels of `frame` that differ by more than `levels` (in
// any channel) from the same pixel of any of `others` (frames just before
// and after it), grown by `rim` pixels on every side. A picture that has
// settled under a wash keeps its pixels from frame to frame; what is drawn
// over it and its fading trails do not. Every pixel moves when a frame's
// size differs.
Mask changing(const Picture& frame, const std::vector<Picture>& others, int levels = 2, int rim = 2);

// Where the finale's wash leaves a chart texture, with nothing drawn over
// it. The finale never clears the picture: each frame blends the chart,
// stretched over the frame, at 0.6 brightness and seen through the fog
// (colour (0.2, 0.4, 0.6), linear from 10 to 700, the quad at depth 250),
// over the picture with an opacity of 0.1, then 0.05, in 8 bits a channel.
// The blend rounds each share to a level, as the software renderer does:
// round(chart x a) + round(picture x (1 - a)), a in 255ths. So a pixel
// stops moving once both shares round alike, anywhere in a window about
// 10 (then 20) levels wide round the chart's value. The picture starts
// white: the trails and glows drawn over the chart come to it from above.
Picture washRest(const Picture& chart, int width = 640, int height = 480);

// How far a line of lettering, streaked sideways, runs on past its ends:
// over the rows y0..y1 (inclusive) the mean luminance (levels of 255) of the
// outermost `margin` columns on each side, where the lettering itself does
// not reach; gives the brighter side. A streak that piles up into a bright
// band out there reads as a smear; one that fades out reads as motion.
double streakEnd(const Picture& frame, int y0, int y1, int margin = 80);

}  // namespace frames
