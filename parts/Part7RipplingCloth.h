#pragma once
#include <functional>

#include "fx/DemoRandom.h"

class Cloth;

// The upward push part 7 gives one random point of the cloth: where it is,
// whether it is in place and how many frames since the last one was taken away.
struct ClothImpulses {
    int index = 0;
    bool active = false;
    int frames = 0;
};

// Part 7's impulses: zero at start, never reset (the part plays once).
extern ClothImpulses part7Impulses;

// After a frame's drawing: takes away a push that has had its ten frames,
// and on every multiple of 100 ticks moves the push to a new random point
// of the first 2500.
void updateClothImpulses(ClothImpulses& impulses, Cloth& cloth, int partTime,
                         const std::function<int()>& random = demo::rand);

// How far the cloth has turned about the vertical at partTime: a tenth of
// a degree per tick.
float clothTurn(int partTime);

// Part 7: the turning cloth, solid and as an additive wireframe.
void part7Frame(int partTime, const Cloth& cloth);

// One step of part 7: the impulses at partTime, then one cloth step.
void part7Step(int partTime, Cloth& cloth);
