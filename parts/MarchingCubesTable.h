#pragma once

// Cell corners 0..7 as offsets (dx, dy, dz) from the cell's lower grid
// point: 0 (0,1,1), 1 (1,1,1), 2 (1,1,0), 3 (0,1,0), 4 (0,0,1), 5 (1,0,1),
// 6 (1,0,0), 7 (0,0,0).  Edges 0..11 join corners 0-1, 1-2, 2-3, 3-0, 4-5,
// 5-6, 6-7, 7-4, 0-4, 1-5, 2-6, 3-7.  A case sets bit n for every corner n
// that lies outside the surface.
extern const signed char kMarchingCubesTriangles[256][16];
