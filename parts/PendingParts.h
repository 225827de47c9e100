#pragma once

// Frame routines of the parts whose pictures are still to come.  Each clears
// the buffers and flushes, so the timeline, the render state and the music
// run as they will with the real pictures.
void part1Frame(int partTime);
void part2Frame(int partTime);
void part3Frame(int partTime);
void part5Frame(int partTime);
void part6Frame(int partTime);
void part9Frame(int partTime);
