#pragma once

// Frame routines of the parts whose pictures are still to come.  Each clears
// the buffers and flushes, so the timeline, the render state and the music
// run as they will with the real pictures.
void part4Frame(int partTime);
void part7Frame(int partTime);
void part10And11Frame(int partTime, int isPart11);
