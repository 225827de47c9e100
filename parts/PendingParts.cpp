#include "parts/PendingParts.h"

#include <GL/gl.h>

namespace {

void clearAndFlush()
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glFlush();
}

}  // namespace

void part1Frame(int) { clearAndFlush(); }
void part2Frame(int) { clearAndFlush(); }
void part3Frame(int) { clearAndFlush(); }
void part5Frame(int) { clearAndFlush(); }
void part6Frame(int) { clearAndFlush(); }
void part9Frame(int) { clearAndFlush(); }
