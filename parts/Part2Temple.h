#pragma once
#include <GL/gl.h>

#include "scene/SceneSet.h"

class MusicPlayer;

// How many white flashes the music has triggered so far and the partTime of
// the latest; kept for the whole run, never reset.
struct Part2Flashes {
    int flashCount = 0;
    int lastFlashTime = 0;
};
extern Part2Flashes part2Flashes;

// What part 2 lays over its scene in one frame, in drawing order.
struct Part2Overlays {
    bool red = false;        // the opening fade
    float redAlpha = 0.0f;
    bool hasCard = false;
    GLuint card = 0;
    bool white = false;      // the flash
    float whiteAlpha = 0.0f;
};

// The red fade while t <= fadeTicks; the card of the n-th flash (TWL,
// KOLBAR, MERIDOS for n = 1, 2, 3); the flash while t <= lastFlashTime +
// 1200, its alpha measured from 1200 x n ticks.
Part2Overlays part2Overlays(int partTime, int fadeTicks, const Part2Flashes& flashes, GLuint texKolbar,
                            GLuint texMeridos, GLuint texTwl);

// Part 2: the temple scene (scene 0), the overlays, then one query of the
// flash track; a flash taken now shows from the next frame.
void part2Frame(const SceneSet& scenes, int partTime, int fadeTicks, MusicPlayer* music, GLuint texKolbar,
                GLuint texMeridos, GLuint texTwl);
