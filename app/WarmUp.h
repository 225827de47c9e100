#pragma once

// The OpenGL driver builds code for each combination of state the first
// time it draws with it (Mesa's llvmpipe compiles it with LLVM; hardware
// drivers do the same for fixed-function state).  Met in the middle of the
// demo, that holds up the first frames of a part by tens of milliseconds.
//
// warmUpParts draws every part a number of times, at times spread over its
// length and with the render state of its start, into a small target of its
// own, so that this code is built during loading.  Afterwards everything
// the picture depends on is as before: the effects' state (particle clouds,
// cloth, part 7's push, part 2's flashes, the torus angle, the metaballs),
// the demo's random sequence, the OpenGL state and the bound framebuffer.
// The music is not asked anything.  Needs the assets and the current context.
void warmUpParts();

// The same drawing with only the textures and scenes loaded, before the
// music starts, so that the music and part 1 begin together: the effects it
// draws are set up for it and the demo's random sequence put back, so the
// set-up that follows the music's start finds everything as without it.
void warmUpPartsAhead();
