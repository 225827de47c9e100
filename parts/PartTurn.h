#pragma once

// A turn about two axes, in degrees; each part says in which order it
// applies them.
struct PartTurn {
    float aboutX;
    float aboutY;
};
