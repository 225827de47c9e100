// Checks of the frame measures on made-up pictures whose answers are known,
// for the faults that would quietly give the wrong number on real frames.
// Usage: tests ROOT (exits non-zero when any check fails). Run by run.sh.
#include <cmath>
#include <cstdio>
#include <string>

#include "../LampView.hpp"
#include "../Measures.hpp"
#include "../ObjectMask.hpp"

using namespace frames;

namespace {

int failures = 0;

void check(bool ok, const std::string& what)
{
    if (!ok) {
        std::fprintf(stderr, "FAIL: %s\n", what.c_str());
        ++failures;
    }
}

Picture plain(int width, int height, unsigned char grey)
{
    Picture p;
    p.width = width;
    p.height = height;
    p.rgb.assign(size_t(width) * height * 3, grey);
    return p;
}

void paint(Picture& p, int x0, int y0, int x1, int y1, unsigned char grey)
{
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            for (int c = 0; c < 3; ++c)
                p.rgb[(size_t(y) * p.width + x) * 3 + c] = grey;
}

struct Box {
    int x0, y0, x1, y1;
    bool holds(int x, int y) const { return x >= x0 && x < x1 && y >= y0 && y < y1; }
};

// White over `outer` except `inner`.
void ring(Picture& p, Box outer, Box inner)
{
    for (int y = outer.y0; y < outer.y1; ++y)
        for (int x = outer.x0; x < outer.x1; ++x)
            if (!inner.holds(x, y))
                paint(p, x, y, x + 1, y + 1, 255);
}

// A 64 x 64 card stored bottom row first: its first rows are the bottom of
// the screen. The letters are texel rows 8..15, columns 16..47; around them
// a rim one texel wide at 0.7, neither letter nor surround.
Picture card()
{
    Picture c = plain(64, 64, 0);
    paint(c, 15, 7, 49, 17, 178);
    paint(c, 16, 8, 48, 16, 255);
    return c;
}

// Where the letters land on a 640 x 480 frame: texel row t covers frame rows
// 480 - 7.5 (t + 1) .. 480 - 7.5 t, texel column s frame columns 10 s .. 10 (s + 1).
void cardContrastChecks()
{
    Picture frame = plain(640, 480, 0);
    paint(frame, 160, 360, 480, 420, 255);   // under the letters, texel rows 8..15
    CardContrast c = cardContrast(frame, card());
    check(std::fabs(c.contrast - 1.0) < 0.02, "card rows read bottom first: white letters over black give 1");
    check(c.letterPixels > 0 && c.surroundPixels > 0, "letters and surround both found");

    // The rim between letters and ground is left out: bright under the rim
    // changes nothing.
    ring(frame, {150, 353, 490, 428}, {160, 360, 480, 420});
    c = cardContrast(frame, card());
    check(std::fabs(c.contrast - 1.0) < 0.05, "the soft rim of the letters is not counted as surround");

    // The surround is only the box around the name: a bright picture far from
    // the name does not lower the difference.
    ring(frame, {0, 0, 640, 480}, {100, 200, 540, 455});
    c = cardContrast(frame, card());
    check(std::fabs(c.contrast - 1.0) < 0.05, "the surround stays within the box around the name");

    // The same picture flipped (letters at the top of the screen) is what a
    // card read top row first would measure: the letters then lie on black.
    Picture flipped = plain(640, 480, 0);
    paint(flipped, 160, 60, 480, 120, 255);
    check(cardContrast(flipped, card()).contrast < 0.1, "letters at the top of the screen do not count");
}

void spreadChecks()
{
    // The middle 320 x 240 half black, half white: spread 0.5, whatever lies
    // outside it.
    Picture frame = plain(640, 480, 255);
    paint(frame, 160, 120, 320, 360, 0);
    paint(frame, 320, 120, 480, 360, 255);
    paint(frame, 0, 0, 160, 480, 0);
    check(std::fabs(centreSpread(frame) - 0.5) < 0.01, "spread of a half black, half white middle is 0.5");

    // A plain middle has no spread, even with a busy border.
    Picture still = plain(640, 480, 90);
    for (int x = 0; x < 640; x += 2)
        paint(still, x, 0, x + 1, 100, 255);
    check(centreSpread(still) < 1e-9, "the border outside the middle is not measured");
}

void blackChecks()
{
    Picture frame = plain(100, 100, 3);
    paint(frame, 0, 0, 100, 10, 2);
    check(std::fabs(blackShare(frame) - 0.1) < 1e-9, "pixels at 2 are black, at 3 are not");
}

void meanAndFlickerChecks()
{
    Picture frame = plain(100, 100, 0);
    paint(frame, 0, 0, 100, 25, 255);
    check(std::fabs(meanLuma(frame) - 0.25) < 1e-9, "a quarter white, the rest black: mean luminance 0.25");

    // Rows 90..99 go up 41 levels and back: they flip. Rows 80..89 go up 40
    // and back: they do not. Rows 0..9 go up 60 and stay: an edge passing.
    Picture up = frame, after = frame;
    paint(up, 0, 90, 100, 100, 41);
    paint(up, 0, 80, 100, 90, 40);
    paint(up, 0, 0, 100, 10, 195);
    paint(after, 0, 0, 100, 10, 195);
    check(std::fabs(flickerShare(frame, up, after) - 0.1) < 1e-9,
          "a change of 41 levels and back flips, of 40 or one way not");
    check(flickerShare(frame, frame, frame) == 0, "the same frame three times does not flip");

    // The flipping rows left out (an outline passing there): nothing flips
    // among the rest, and the share is of the pixels counted.
    Mask outline{100, 100, std::vector<unsigned char>(100 * 100, 0)};
    for (size_t i = 90 * 100; i < outline.on.size(); ++i)
        outline.on[i] = 1;
    check(flickerShareWithout(frame, up, after, outline) == 0, "flipping pixels left out do not count");
    for (size_t i = 90 * 100; i < 95 * 100; ++i)
        outline.on[i] = 0;
    check(std::fabs(flickerShareWithout(frame, up, after, outline) - 5.0 / 95) < 1e-9,
          "the share is of the pixels not left out");
}

// Lamp pixels on a 64 x 48 picture: lamp `id` filling a box.
void lamp(std::vector<int>& pixels, int id, Box b)
{
    for (int y = b.y0; y < b.y1; ++y)
        for (int x = b.x0; x < b.x1; ++x)
            pixels[size_t(y) * 64 + x] = id;
}

void lampChecks()
{
    std::vector<int> pixels(64 * 48, 0);
    lamp(pixels, 1, {10, 10, 18, 18});   // 64 pixels
    lamp(pixels, 2, {11, 22, 17, 28});   // below it, 4 rows apart
    LampFrame f = lampFrame(pixels, 64, 48);
    check(f.stacked, "two lamps one below the other in a column are stacked");
    check(!f.atTopEdge, "lamps clear of the top row are not at the edge");
    check(std::fabs(f.largestShare - 64.0 / (64 * 48)) < 1e-9, "the largest lamp's share is its pixels over the frame's");

    std::vector<int> apart(64 * 48, 0);
    lamp(apart, 1, {10, 10, 18, 18});
    lamp(apart, 2, {30, 12, 36, 18});   // beside it
    lamp(apart, 3, {11, 40, 17, 46});   // far below: more than a lamp's height apart
    lamp(apart, 4, {50, 0, 58, 3});     // touching the top row, 24 pixels
    f = lampFrame(apart, 64, 48);
    check(!f.stacked, "lamps side by side or far apart are not stacked");
    check(f.atTopEdge, "a lamp pixel in the top row is at the edge");

    // Specks under 20 pixels are too small to read as balls.
    std::vector<int> specks(64 * 48, 0);
    lamp(specks, 1, {10, 10, 14, 14});
    lamp(specks, 2, {10, 16, 14, 20});
    check(!lampFrame(specks, 64, 48).stacked, "specks do not stack");
}

void unlitSpreadChecks()
{
    // A grey middle with a white lamp: the lamp and its rim left out leave
    // no spread.
    Picture frame = plain(640, 480, 100);
    paint(frame, 300, 200, 340, 240, 255);
    paint(frame, 299, 199, 341, 241, 180);   // the lamp's rim, mixed with the ground
    paint(frame, 300, 200, 340, 240, 255);
    Mask mask{640, 480, std::vector<unsigned char>(640 * 480, 0)};
    for (int y = 200; y < 240; ++y)
        for (int x = 300; x < 340; ++x)
            mask.on[size_t(y) * 640 + x] = 1;
    check(centreSpread(frame) > 0.05, "the lamp spreads the middle");
    check(centreSpreadWithout(frame, mask) < 1e-5, "without the lamp and its rim the middle is plain");
}


void bandingChecks()
{
    // Two flat halves 3 levels apart: every pair across the border is a step.
    Picture frame = plain(64, 48, 100);
    paint(frame, 32, 0, 64, 48, 103);
    Banding b = bandSteps(frame);
    check(b.steps == 48 && b.largest == 3, "flat regions 3 levels apart meet in a step along their border");
    paint(frame, 32, 0, 64, 48, 102);
    check(bandSteps(frame).steps == 0, "2 levels apart is no step");

    // Only flat regions count: a gradient of a level every two columns is
    // one smooth region spanning 15 levels, and where it meets a flat one 5
    // levels above its end that is not a step between two flat regions.
    Picture ramp = plain(64, 48, 120);
    for (int x = 0; x < 32; ++x)
        paint(ramp, x, 0, x + 1, 48, static_cast<unsigned char>(100 + x / 2));
    check(bandSteps(ramp).steps == 0, "a gradient is not a flat region");

    // The same halves 3 levels apart under grain deeper than the step: no
    // flat region is left.
    Picture grain = plain(64, 48, 0);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            paint(grain, x, y, x + 1, y + 1, static_cast<unsigned char>((x < 32 ? 100 : 103) + ((x + y) % 2 ? 6 : -6)));
    check(bandSteps(grain).steps == 0, "grain breaks the flat regions up");

    // A flat thing 60 levels above a flat ground is an outline, not a band;
    // a step in one channel only counts.
    Picture thing = plain(64, 48, 100);
    paint(thing, 20, 10, 40, 30, 160);
    check(bandSteps(thing).steps == 0, "a step above the edge limit is an outline");
    Picture blue = plain(64, 48, 100);
    for (int y = 0; y < 48; ++y)
        for (int x = 32; x < 64; ++x)
            blue.rgb[(size_t(y) * 64 + x) * 3 + 2] = 110;
    check(bandSteps(blue).largest == 10, "a step in the blue channel alone is a step");

    // Regions under the minimum size are specks, not bands.
    Picture specks = plain(64, 48, 100);
    for (int x = 4; x < 60; x += 8)
        paint(specks, x, 20, x + 3, 23, 110);
    check(bandSteps(specks).steps == 0, "specks under the minimum size are not bands");
}

void chartChecks()
{
    // A settled ground with a thing that moves 4 pixels between frames and
    // a pixel that changes by 3 levels only; 2 levels is no change.
    Picture before = plain(64, 48, 100), now = plain(64, 48, 100), after = plain(64, 48, 100);
    paint(before, 6, 4, 16, 14, 170);
    paint(now, 10, 4, 20, 14, 170);
    paint(after, 14, 4, 24, 14, 170);
    paint(now, 40, 40, 41, 41, 103);
    paint(after, 50, 40, 51, 41, 102);
    const Mask moving = changing(now, {before, after}, 2, 2);
    check(moving.at(6, 4) && moving.at(23, 13) && moving.at(40, 40), "what differs from either frame moves");
    check(moving.at(4, 2) && moving.at(25, 15) && !moving.at(3, 4) && !moving.at(26, 13),
          "the moving pixels grow by the rim, no further");
    check(!moving.at(50, 40) && !moving.at(30, 30), "a change of 2 levels or none is still");
    check(changing(now, {plain(32, 48, 100)}).count() == 64 * 48, "a frame of another size moves everywhere");

    // The thing drawn over a flat ground, 20 levels above it: a step the
    // banding measure counts; left out, the ground has no band. Two flat
    // halves of the ground 3 levels apart still meet in a band.
    Picture ground = plain(64, 48, 100);
    paint(ground, 10, 4, 20, 14, 120);
    Mask thing{64, 48, std::vector<unsigned char>(64 * 48, 0)};
    for (int y = 3; y < 15; ++y)
        for (int x = 9; x < 21; ++x)
            thing.on[size_t(y) * 64 + x] = 1;
    check(bandSteps(ground).steps > 0, "a flat thing 20 levels above the ground is a step");
    check(bandStepsWithout(ground, thing).steps == 0, "the thing left out, the ground has no band");
    paint(ground, 32, 20, 64, 48, 103);
    const Banding b = bandStepsWithout(ground, thing);
    check(b.steps == 32 + 28 && b.largest == 3, "bands away from what is left out still count");
    // Flat regions on either side of a left-out strip do not meet.
    Picture halves = plain(64, 48, 100);
    paint(halves, 32, 0, 64, 48, 103);
    Mask strip{64, 48, std::vector<unsigned char>(64 * 48, 0)};
    for (int y = 0; y < 48; ++y)
        strip.on[size_t(y) * 64 + 31] = strip.on[size_t(y) * 64 + 32] = 1;
    check(bandStepsWithout(halves, strip).steps == 0, "regions apart across a left-out strip make no step");
}

// The finale's wash over a chart: what a white picture rests at, frame
// pixel for chart texel (both 64 x 48, so no texel is filtered with another).
void washRestChecks(const std::string& root)
{
    // A smooth ramp rests as flat bands a window apart (5 to 10 levels
    // where the first wash left it), not as a ramp.
    Picture ramp = plain(64, 48, 0);
    for (int x = 0; x < 64; ++x)
        paint(ramp, x, 0, x + 1, 48, static_cast<unsigned char>(x * 4));
    const Banding rampBands = bandSteps(washRest(ramp, 64, 48));
    check(rampBands.steps > 0 && rampBands.largest >= 5, "a smooth ramp rests in bands");

    // A flat tint in the middle of its windows rests on one colour.
    Picture sea = plain(64, 48, 0);
    for (size_t i = 0; i < sea.rgb.size(); i += 3)
        sea.rgb[i] = 24, sea.rgb[i + 1] = 30, sea.rgb[i + 2] = 84;
    const Picture seaRest = washRest(sea, 64, 48);
    const unsigned char* p = seaRest.at(30, 20);
    check(p[0] == 29 && p[1] == 49 && p[2] == 88, "the sea tint rests at (29, 49, 88)");
    check(bandSteps(seaRest).steps == 0, "a flat tint rests without bands");

    // Two tints a window apart rest in a band; two windows apart in an edge.
    Picture near = plain(64, 48, 24), far = plain(64, 48, 24);
    paint(near, 32, 0, 64, 48, 75);
    paint(far, 32, 0, 64, 48, 123);
    const Banding nearBands = bandSteps(washRest(near, 64, 48));
    check(nearBands.steps == 48 && nearBands.largest == 20, "tints a window apart rest 20 levels apart");
    check(bandSteps(washRest(far, 64, 48)).steps == 0, "tints two windows apart rest in an edge");

    // The finale's chart itself, stretched over the frame.
    const Banding chart = bandSteps(washRest(loadPicture(root + "/res/textures/MAP.JPG")));
    check(chart.steps == 0, "the chart rests without bands (" + std::to_string(chart.steps) + " pixel pairs)");
}

// The orb scene of the finale: a sphere in the middle of the view, the
// camera circling it. Over three frames its outline is geometry; its face,
// the same surface at the same depth whichever way it turns, is not, and
// nor is the empty background.
void geometryChecks(const std::string& root)
{
    const Mask m = geometryChanges(root + "/res/scenes/part10.scene", {0, 1, 2}, View{45, 640, 480}, 500);
    int left = -1, right = -1;
    for (int x = 0; x < 640; ++x)
        if (m.at(x, 240))
            right = x, left = left < 0 ? x : left;
    check(left > 100 && right < 540 && right - left > 100, "the sphere's outline is marked on both sides");
    check(!m.at(320, 240) && !m.at(280, 200), "the sphere's face is not geometry changing");
    check(!m.at(5, 5) && !m.at(630, 470), "nothing drawn is not geometry changing");
    check(m.count() < 640 * 480 / 20, "only the outline's ring is marked");
}

void streakEndChecks()
{
    // A bright streak over the middle rows running on to column 600.
    Picture hard = plain(640, 100, 0);
    paint(hard, 100, 40, 600, 60, 200);
    check(std::fabs(streakEnd(hard, 40, 59) - 100) < 1e-6, "a streak over half the outer columns counts half its level");
    check(streakEnd(hard, 0, 20) == 0, "rows without the streak have nothing past the ends");

    // Ending before the outer 80 columns, it has nothing there; reaching
    // into the left ones instead, it counts on that side.
    Picture inside = plain(640, 100, 0);
    paint(inside, 100, 40, 540, 60, 200);
    check(streakEnd(inside, 40, 59) == 0, "lettering inside the margins does not count");
    Picture left = plain(640, 100, 0);
    paint(left, 20, 40, 300, 60, 200);
    check(std::fabs(streakEnd(left, 40, 59) - 150) < 1e-6, "the left end counts as well");
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: tests ROOT (the repository, for its scenes)\n");
        return 2;
    }
    cardContrastChecks();
    spreadChecks();
    blackChecks();
    meanAndFlickerChecks();
    lampChecks();
    unlitSpreadChecks();
    bandingChecks();
    chartChecks();
    washRestChecks(argv[1]);
    geometryChecks(argv[1]);
    streakEndChecks();
    if (failures == 0)
        std::printf("frame measure tests passed\n");
    return failures == 0 ? 0 : 1;
}
